#pragma once
// The list commands' tests: the four commands registered on the test command line, a folder for
// the lists they write, and the lists read back (bytes, and text decoded from GB18030).
#include <iconv.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/ListCommands.h"
#include "export/ListFile.h"
#include "frame/Utf8.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"

namespace veltrace::testing {

class ExportTest : public FrameTest {
 protected:
  static constexpr const wchar_t* kGroup = L"ExportTest";

  void SetUp() override {
    FrameTest::SetUp();
    askFileNamesOnTheCommandLine();
    ZcEdCommandStack* stack = zcedRegCmds();
    stack->addCommand(kGroup, L"PLLIST", L"PLLIST", 0, &pllistCommand);
    stack->addCommand(kGroup, L"CLIST", L"CLIST", 0, &clistCommand);
    stack->addCommand(kGroup, L"ELLLIST", L"ELLLIST", 0, &elllistCommand);
    stack->addCommand(kGroup, L"ARCLIST", L"ARCLIST", 0, &arclistCommand);
    outDir_ = settingsDir_ / "lists";
    std::filesystem::create_directories(outDir_);
    // An empty program folder: no companion program unless a test puts one there.
    programDir_ = settingsDir_ / "program";
    std::filesystem::create_directories(programDir_);
    setStringSetting(L"Location", programDir_.wstring());
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(kGroup);
    FrameTest::TearDown();
  }

  // Wide paths reach the file system as UTF-8, as the plug-in's do (the C locale the tests run
  // in would refuse a Chinese name).
  static std::filesystem::path fsPath(const std::wstring& path) {
    return std::filesystem::path(encodeUtf8(path));
  }
  // A path in the test's list folder.
  std::wstring out(const wchar_t* name) const { return decodeUtf8((outDir_ / encodeUtf8(name)).string()); }

  static std::string readBytes(const std::wstring& path) {
    std::ifstream file(fsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  // GB18030 bytes as wide text; a byte sequence iconv refuses fails the test.
  static std::wstring decodeGb18030(const std::string& bytes) {
    iconv_t converter = iconv_open("WCHAR_T", "GB18030");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::wstring text(bytes.size(), L'\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outBytes = reinterpret_cast<char*>(text.data());
    std::size_t outLeft = text.size() * sizeof(wchar_t);
    EXPECT_NE(iconv(converter, &in, &inLeft, &outBytes, &outLeft), static_cast<std::size_t>(-1)) << bytes;
    iconv_close(converter);
    text.resize(text.size() - outLeft / sizeof(wchar_t));
    return text;
  }
  static std::string encodeGb18030(const std::wstring& text) {
    iconv_t converter = iconv_open("GB18030", "WCHAR_T");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string bytes(text.size() * 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(wchar_t);
    char* outBytes = bytes.data();
    std::size_t outLeft = bytes.size();
    EXPECT_NE(iconv(converter, &in, &inLeft, &outBytes, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(converter);
    bytes.resize(bytes.size() - outLeft);
    return bytes;
  }
  // The list as text, line ends left as written.
  static std::wstring readList(const std::wstring& path) { return decodeGb18030(readBytes(path)); }

  // The lines of a list that hold cells, each cut to its content: "1", "10.000", "&nbsp;"...;
  // a row's cells are joined by "|" and the summary rows start with "=".
  static std::vector<std::wstring> rows(const std::wstring& list) {
    std::vector<std::wstring> result;
    std::wstring row;
    bool summary = false;
    std::size_t at = 0;
    while ((at = list.find(L"<td ", at)) != std::wstring::npos) {
      const std::size_t lineEnd = list.find(L"\r\n", at);
      const std::wstring line = list.substr(at, lineEnd - at);
      const std::size_t open = line.find(L"<div align=center>") + 18;
      const std::wstring content = line.substr(open, line.find(L"</div>") - open);
      summary = line.find(L"#99FF99") != std::wstring::npos;
      row += (row.empty() ? L"" : L"|") + content;
      at = lineEnd;
      if (list.compare(at, 9, L"\r\n  </tr>") == 0) {
        result.push_back((summary ? L"=" : L"") + row);
        row.clear();
      }
    }
    return result;
  }

  // Runs `command` on the entities `picked`, writes `chosen` and answers the questions after
  // the file with `answers` (lines); the rows of the list written, header row first.
  std::vector<std::wstring> listRows(const wchar_t* command, const std::vector<ZcDbObjectId>& picked,
                                     const std::wstring& answers, const wchar_t* chosen) {
    std::wstring script = std::wstring(command) + L"\n";
    for (std::size_t i = 0; i < picked.size(); ++i) script += (i ? L" " : L"") + pick(picked[i]);
    run(script + L"\n\n" + out(chosen) + L"\n" + answers);
    const std::wstring path = listFileName(out(chosen));
    EXPECT_TRUE(std::filesystem::exists(fsPath(path))) << "no list written:\n" << transcript_;
    return rows(readList(path));
  }

  // The list at `path` compared byte for byte with golden/<name>, the path in its title written
  // there as "@PATH@".
  static void expectGolden(const std::wstring& path, const char* name) {
    std::string written = readBytes(path);
    const std::string pathBytes = encodeGb18030(path);
    const std::size_t at = written.find(pathBytes);
    ASSERT_NE(at, std::string::npos);
    written.replace(at, pathBytes.size(), "@PATH@");
    const std::filesystem::path golden = std::filesystem::path(VELTRACE_LIST_GOLDEN_DIR) / name;
    // To look at a new list: VELTRACE_WRITE_GOLDEN=1 writes it where the golden file goes.
    if (std::getenv("VELTRACE_WRITE_GOLDEN")) std::ofstream(golden, std::ios::binary) << written;
    EXPECT_EQ(written, readBytes(golden.wstring())) << name;
  }
  static ::testing::AssertionResult samePoint(const ZcGePoint3d& actual, const ZcGePoint3d& expected) {
    if (actual.distanceTo(expected) < 1e-9) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.z << ") is not (" << expected.x << ", "
           << expected.y << ", " << expected.z << ")";
  }

  // Model-space entities that are not erased, in drawing order.
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    if (!space) return ids;
    for (ZcDbObjectId id : space->entityIds()) {
      if (id.isValid() && !id.isErased()) ids.push_back(id);
    }
    return ids;
  }
  template <typename T>
  std::vector<ZcDbObjectId> modelSpaceOf() const {
    std::vector<ZcDbObjectId> ids;
    for (ZcDbObjectId id : modelSpace()) {
      if (Opened<T>(id)) ids.push_back(id);
    }
    return ids;
  }

  std::filesystem::path outDir_;
  std::filesystem::path programDir_;
};

}  // namespace veltrace::testing
