// The input functions through scripts, as commands meet them.
#include <cmath>
#include <numbers>
#include <vector>

#include "EditorTestSupport.h"
#include "zcad/zced.h"

namespace vtcad::editor::testing {
namespace {

using Prompts = EditorTest;

TEST_F(Prompts, BadInputIsAnsweredAndThePromptRepeats) {
  std::vector<int> got;
  body() = [&] {
    int value = 0;
    got.push_back(zcedGetInt(L"\nHow many: ", &value));
    got.push_back(value);
    zcedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG, nullptr);
    double real = 0;
    got.push_back(zcedGetReal(L"\nFactor: ", &real));
    got.push_back(static_cast<int>(real * 10));
  };
  run(L"T abc 2.5 99999 7 -1 0  2.5\n");
  EXPECT_EQ(got, (std::vector<int>{RTNORM, 7, RTNORM, 25}));
  EXPECT_TRUE(said("Requires an integer value."));
  EXPECT_TRUE(said("Requires an integer between -32768 and 32767."));
  EXPECT_TRUE(said("Value must be positive and nonzero."));
  // Each input is echoed after its prompt.
  EXPECT_TRUE(said("How many: abc\n")) << transcript_;
  EXPECT_TRUE(said("Factor: 2.5")) << transcript_;
}

TEST_F(Prompts, KeywordsEnterAndCancel) {
  std::vector<int> got;
  std::vector<std::wstring> words;
  body() = [&] {
    ZTCHAR word[64] = {};
    for (int i = 0; i < 4; ++i) {
      zcedInitGet(0, L"Yes No");
      got.push_back(zcedGetKword(L"\nAgain [Yes/No] <Yes>: ", word, 64));
      words.push_back(word);
    }
    int n = 0;
    zcedInitGet(0, L"Width");
    got.push_back(zcedGetInt(L"\nNumber or [Width]: ", &n));
    zcedGetInput(word, 64);
    words.push_back(word);
  };
  run(L"T n maybe y\n\nT W\n");
  ASSERT_EQ(got.size(), 5u);
  // A prompt without a leading line break, asked again, still starts a line of its own.
  transcript_.clear();
  body() = [] {
    ZTCHAR answer[64] = {};
    zcedInitGet(0, L"Yes No");
    zcedGetKword(L"Lower left?[Y/N](Y):", answer, 64);
  };
  run(L"T\nx\ny\n");
  EXPECT_TRUE(said("Invalid option keyword.\nLower left?[Y/N](Y):")) << transcript_;
  EXPECT_EQ(got[0], RTNORM);
  EXPECT_EQ(words[0], L"No");
  EXPECT_EQ(got[1], RTNORM);  // "maybe" was refused, then "y"
  EXPECT_EQ(words[1], L"Yes");
  EXPECT_TRUE(said("Invalid option keyword.")) << transcript_;
  EXPECT_EQ(got[2], RTNONE);  // the empty line
  EXPECT_EQ(got[3], RTCAN);   // "T" is no keyword... it is refused; then "W" neither; then the end
  (void)words;
}

TEST_F(Prompts, PointsDistancesAndAngles) {
  zds_point p{}, q{};
  double distance = 0, angle = 0, orient = 0, between = 0;
  body() = [&] {
    zcedGetPoint(nullptr, L"\nFrom: ", p);
    zcedGetPoint(p, L"\nTo: ", q);  // relative to the last point
    zcedGetDist(nullptr, L"\nDistance: ", &distance);
    zcedGetAngle(nullptr, L"\nAngle: ", &angle);
    zcedGetOrient(nullptr, L"\nOrientation: ", &orient);
    zcedGetDist(p, L"\nFrom the first point: ", &between);
  };
  run(L"T 1,2 @3,4 0,0 3,4 90 0,0 -1,0 4,6\n");
  EXPECT_DOUBLE_EQ(q[0], 4.0);
  EXPECT_DOUBLE_EQ(q[1], 6.0);
  EXPECT_DOUBLE_EQ(distance, 5.0);
  EXPECT_NEAR(angle, std::numbers::pi / 2, 1e-12);
  EXPECT_NEAR(orient, std::numbers::pi, 1e-12);
  EXPECT_NEAR(between, 5.0, 1e-12);
}

TEST_F(Prompts, InvalidPointIsRefused) {
  int status = 0;
  body() = [&] {
    zds_point p{};
    status = zcedGetPoint(nullptr, L"\nPoint: ", p);
  };
  run(L"T 5 a,b 1,1\n");
  EXPECT_EQ(status, RTNORM);
  EXPECT_EQ(std::count(transcript_.begin(), transcript_.end(), 'I'), 2);  // "Invalid point." twice
}

TEST_F(Prompts, StringsWithAndWithoutSpaces) {
  ZTCHAR one[64] = {}, line[64] = {}, small[4] = {};
  int truncated = 0;
  body() = [&] {
    zcedGetString(0, L"\nWord: ", one, 64);
    zcedGetString(1, L"\nLine: ", line, 64);
    truncated = zcedGetString(0, L"\nShort: ", small, 4);
  };
  run(L"T first second part\nlonger\n");
  EXPECT_STREQ(one, L"first");
  EXPECT_STREQ(line, L"second part");
  EXPECT_EQ(truncated, RTINPUTTRUNCATED);
  EXPECT_STREQ(small, L"lon");
}

TEST_F(Prompts, TheEndOfTheScriptCancelsTheWaitingPrompt) {
  std::vector<int> got;
  body() = [&] {
    int n = 0;
    got.push_back(zcedGetInt(L"\nFirst: ", &n));
    got.push_back(zcedGetInt(L"\nSecond: ", &n));
  };
  RunOutcome outcome = run(L"T 4");
  EXPECT_EQ(got, (std::vector<int>{RTNORM, RTCAN}));
  EXPECT_EQ(outcome.end, RunEnd::kEndOfInput);
}

TEST_F(Prompts, CaretCCancelsThePromptNotTheScript) {
  std::vector<int> got;
  body() = [&] {
    int n = 0;
    got.push_back(zcedGetInt(L"\nNumber: ", &n));
  };
  run(L"T ^C\nT 3\n");
  EXPECT_EQ(got, (std::vector<int>{RTCAN, RTNORM}));
  EXPECT_TRUE(said("*Cancel*"));
}

TEST_F(Prompts, EnterRepeatsTheLastCommandAndUnknownNamesAreSaid) {
  int runs = 0;
  body() = [&] { ++runs; };
  run(L"T\n\n_T\nNOSUCH\n");
  EXPECT_EQ(runs, 3);
  EXPECT_TRUE(said("Unknown command \"NOSUCH\".")) << transcript_;
}

TEST_F(Prompts, PrintfTakesWideStrings) {
  body() = [] { zcutPrintf(L"\n%s has %d vertices", L"\u591a\u6bb5\u7ebf", 4); };
  run(L"T\n");
  EXPECT_TRUE(said("\xe5\xa4\x9a\xe6\xae\xb5\xe7\xba\xbf has 4 vertices")) << transcript_;
}

}  // namespace
}  // namespace vtcad::editor::testing
