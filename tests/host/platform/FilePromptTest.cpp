// File names asked for on the command line, through zcedGetFileD as plug-in code calls it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "PlatformTestSupport.h"
#include "platform/FilePrompt.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcui.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

// zcedGetFileD's answer and the path it gave, freed as plug-in code frees it.
struct Answer {
  int status = RTERROR;
  std::wstring path;
};

Answer getFile(const wchar_t* title, const wchar_t* defaultName, const wchar_t* ext, int flags) {
  resbuf result{};
  Answer answer;
  answer.status = zcedGetFileD(title, defaultName, ext, flags, &result);
  if (answer.status == RTNORM) {
    EXPECT_EQ(result.restype, RTSTR);
    answer.path = result.resval.rstring;
    std::free(result.resval.rstring);
  }
  return answer;
}

class FilePrompt : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = wideFromPath(folder_.path);
    writeFile(folder_.path / "site plan.dxf", "0\nEOF\n");
    fs::create_directory(folder_.path / "sheets");
  }
  std::wstring in(const std::wstring& name) const { return dir_ + L"/" + name; }

  TempFolder folder_;
  std::wstring dir_;
  FakeUi ui_;
  std::deque<std::optional<std::wstring>>& answers() { return ui_.commandLine.answers; }
};

}  // namespace

TEST(FilePromptText, ShowsTheDefaultInAngleBrackets) {
  EXPECT_EQ(filePromptText({L"Select drawing", L"plan.dxf", L"dxf", /*forSaving=*/false}),
            L"\nSelect drawing <plan.dxf>: ");
  EXPECT_EQ(filePromptText({L"Select drawing", L"", L"dxf", /*forSaving=*/false}), L"\nSelect drawing: ");
  EXPECT_EQ(filePromptText({L"", L"", L"", /*forSaving=*/false}), L"\nFile name: ");
}

TEST(FilePromptText, TheExtensionIsAppendedOnlyToANameWithout) {
  EXPECT_EQ(withDefaultExtension(L"plan", L"dxf"), L"plan.dxf");
  EXPECT_EQ(withDefaultExtension(L"plan.DXF", L"dxf"), L"plan.DXF");
  EXPECT_EQ(withDefaultExtension(L"plan.bak", L"dxf"), L"plan.bak");
  EXPECT_EQ(withDefaultExtension(L"dir.v2/plan", L".dxf"), L"dir.v2/plan.dxf");
  EXPECT_EQ(withDefaultExtension(L"dir/.profile", L"*.dxf"), L"dir/.profile.dxf");
  EXPECT_EQ(withDefaultExtension(L"plan", L"dwg;dxf"), L"plan.dwg");
  EXPECT_EQ(withDefaultExtension(L"plan", L""), L"plan");
  EXPECT_EQ(withDefaultExtension(L"plan", L"*"), L"plan");
  EXPECT_EQ(withDefaultExtension(L"dir/", L"dxf"), L"dir/");
}

TEST_F(FilePrompt, TheWholeLineIsTheNameAndGetsTheExtension) {
  answers() = {L"  \"" + in(L"site plan") + L"\"  "};
  Answer answer = getFile(L"Select drawing", nullptr, L"dxf", /*flags=*/0);
  EXPECT_EQ(answer.status, RTNORM);
  EXPECT_EQ(answer.path, in(L"site plan.dxf"));
  EXPECT_EQ(ui_.commandLine.prompts, std::vector<std::wstring>{L"\nSelect drawing: "});
}

TEST_F(FilePrompt, AnEmptyAnswerTakesTheDefaultOrCancels) {
  answers() = {L""};
  Answer answer = getFile(L"Select drawing", in(L"site plan").c_str(), L"dxf", /*flags=*/0);
  EXPECT_EQ(answer.status, RTNORM);
  EXPECT_EQ(answer.path, in(L"site plan.dxf"));
  answers() = {L"   "};
  EXPECT_EQ(getFile(L"Select drawing", L"", L"dxf", /*flags=*/0).status, RTCAN);
  // Esc is no empty answer: it cancels even with a default.
  answers() = {std::nullopt};
  EXPECT_EQ(getFile(L"Select drawing", in(L"site plan").c_str(), L"dxf", /*flags=*/0).status, RTCAN);
}

TEST_F(FilePrompt, AFileToOpenMustExistAndIsAskedForThreeTimesAtMost) {
  answers() = {in(L"missing"), in(L"site plan.dxf")};
  Answer found = getFile(L"Select drawing", nullptr, L"dxf", /*flags=*/0);
  EXPECT_EQ(found.status, RTNORM);
  EXPECT_EQ(found.path, in(L"site plan.dxf"));
  EXPECT_NE(
      ui_.commandLine.transcript.find(L"\nFile not found: " + in(L"missing.dxf") + L"\nSelect drawing: "),
      std::wstring::npos);

  ui_.commandLine.prompts.clear();
  answers() = {in(L"a"), in(L"b"), in(L"sheets"), in(L"site plan.dxf")};
  EXPECT_EQ(getFile(L"Select drawing", nullptr, L"", /*flags=*/0).status, RTCAN);
  EXPECT_EQ(ui_.commandLine.prompts.size(), 3u);
  EXPECT_NE(ui_.commandLine.transcript.find(L"\nNot a file: " + in(L"sheets")), std::wstring::npos);
}

TEST_F(FilePrompt, AFileToSaveNeedNotExistButMustNotBeAFolder) {
  answers() = {in(L"sheets/"), in(L"new drawing")};
  Answer answer = getFile(L"Save drawing as", nullptr, L"dxf", kZcedGetFileSave);
  EXPECT_EQ(answer.status, RTNORM);
  EXPECT_EQ(answer.path, in(L"new drawing.dxf"));
  EXPECT_FALSE(fs::exists(folder_.path / "new drawing.dxf"));
}

TEST_F(FilePrompt, NamesAreTakenLiterally) {
  answers() = {L"~/plan $HOME;x"};
  Answer answer = getFile(L"Save drawing as", nullptr, L"dxf", kZcedGetFileSave);
  EXPECT_EQ(answer.path, L"~/plan $HOME;x.dxf");
  EXPECT_EQ(zcedGetFileD(L"Select drawing", nullptr, L"dxf", /*flags=*/0, nullptr), RTERROR);
}
