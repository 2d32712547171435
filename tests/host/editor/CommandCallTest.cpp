// zcedCommand: typed arguments, pauses, arguments that run out, and CMDECHO.
#include <vector>

#include "EditorTestSupport.h"
#include "zcad/zced.h"

namespace vtcad::editor::testing {
namespace {

using CommandCall = EditorTest;

// "ASK" reads a point, a number and a word; the test command "T" runs it through zcedCommand.
std::vector<std::wstring>& asked() {
  static std::vector<std::wstring> values;
  return values;
}

void askCommand() {
  zds_point p{};
  double d = 0;
  ZTCHAR word[32] = {};
  int a = zcedGetPoint(nullptr, L"\nPoint: ", p);
  int b = zcedGetReal(L"\nNumber: ", &d);
  int c = zcedGetString(0, L"\nWord: ", word, 32);
  asked().push_back(std::to_wstring(a) + L" " + std::to_wstring(static_cast<int>(p[0])) + L" " +
                    std::to_wstring(b) + L" " + std::to_wstring(static_cast<int>(d)) + L" " +
                    std::to_wstring(c) + L" " + word);
}

class CommandCallFixture : public CommandCall {
 protected:
  void SetUp() override {
    CommandCall::SetUp();
    asked().clear();
    zcedRegCmds()->addCommand(L"EditorTest2", L"ASK", L"ASK", 0, askCommand);
  }
  void TearDown() override {
    CommandStack::instance().removeGroup(L"EditorTest2");
    CommandCall::TearDown();
  }
};

TEST_F(CommandCallFixture, TypedArgumentsAnswerThePrompts) {
  int status = 0;
  body() = [&] {
    zds_point p = {7, 0, 0};
    status = zcedCommand(RTSTR, L"_ASK", RTPOINT, p, RTREAL, 3.0, RTSTR, L"word", RTNONE);
  };
  run(L"T\n");
  EXPECT_EQ(status, RTNORM);
  ASSERT_EQ(asked().size(), 1u);
  EXPECT_EQ(asked()[0], L"5100 7 5100 3 5100 word");
}

TEST_F(CommandCallFixture, APauseAndArgumentsThatRunOutAskTheScript) {
  body() = [&] {
    zds_point p = {1, 0, 0};
    zcedCommand(RTSTR, L"ASK", RTPOINT, p, RTSTR, L"\\", RTNONE);
  };
  run(L"T 9 rest\n");
  ASSERT_EQ(asked().size(), 1u);
  EXPECT_EQ(asked()[0], L"5100 1 5100 9 5100 rest");
}

TEST_F(CommandCallFixture, APauseAnsweredWithACancelOrTheEndOfInputIsReportedAsACancel) {
  std::vector<int> statuses;
  body() = [&] {
    zds_point p = {1, 0, 0};
    statuses.push_back(zcedCommand(RTSTR, L"ASK", RTPOINT, p, RTSTR, L"\\", RTSTR, L"w", RTNONE));
    statuses.push_back(zcedCommand(RTSTR, L"ASK", RTPOINT, p, RTSTR, L"\\", RTSTR, L"w", RTNONE));
    statuses.push_back(zcedCommand(RTSTR, L"ASK", RTPOINT, p, RTSTR, L"\\", RTSTR, L"w", RTNONE));
  };
  run(L"T\n4\n^C\n");
  EXPECT_EQ(statuses, (std::vector<int>{RTNORM, RTCAN, RTCAN}));
}

TEST_F(CommandCallFixture, AnUnknownCommandIsAnError) {
  int status = 0;
  body() = [&] { status = zcedCommand(RTSTR, L"_NOPE", RTNONE); };
  run(L"T\n");
  EXPECT_EQ(status, RTERROR);
}

TEST_F(CommandCallFixture, CmdEchoZeroKeepsTheHostCommandQuiet) {
  body() = [&] {
    resbuf off{};
    off.restype = RTSHORT;
    off.resval.rint = 0;
    zcedSetVar(L"CMDECHO", &off);
    zds_point p = {2, 0, 0};
    zcedCommand(RTSTR, L"ASK", RTPOINT, p, RTREAL, 1.0, RTSTR, L"w", RTNONE);
    resbuf on = off;
    on.resval.rint = 1;
    zcedSetVar(L"CMDECHO", &on);
  };
  run(L"T\n");
  EXPECT_FALSE(said("Point:")) << transcript_;
  ASSERT_EQ(asked().size(), 1u);
}

}  // namespace
}  // namespace vtcad::editor::testing
