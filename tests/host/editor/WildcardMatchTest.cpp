#include <gtest/gtest.h>

#include <string>

#include "editor/WildcardMatch.h"
#include "zcad/zcut.h"

namespace vtcad::editor {
namespace {

struct Case {
  const wchar_t* text;
  const wchar_t* pattern;
  bool matches;
};

TEST(WildcardMatchTest, PatternTable) {
  const Case cases[] = {
      // Plain characters, case-sensitive.
      {L"LINE", L"LINE", true},
      {L"line", L"LINE", false},
      {L"", L"", true},
      {L"A", L"", false},
      // * and ?
      {L"WALL-1", L"WALL*", true},
      {L"WALL", L"WALL*", true},
      {L"XWALL", L"WALL*", false},
      {L"abcabd", L"*abd", true},
      {L"abcab", L"*abd", false},
      {L"a", L"**?**", true},
      {L"", L"?", false},
      {L"ab", L"a?", true},
      // # digit, @ letter, . neither
      {L"L7", L"L#", true},
      {L"LX", L"L#", false},
      {L"7x", L"#@", true},
      {L"77", L"#@", false},
      {L"\u00e9", L"@", true},
      {L"-", L".", true},
      {L" ", L".", true},
      {L"a", L".", false},
      {L"5", L".", false},
      // Classes, ranges, negated classes.
      {L"b", L"[abc]", true},
      {L"d", L"[abc]", false},
      {L"q", L"[a-z]", true},
      {L"Q", L"[a-z]", false},
      {L"q", L"[z-a]", true},
      {L"d", L"[~abc]", true},
      {L"b", L"[~abc]", false},
      {L"-", L"[a-]", true},
      {L"]", L"[]x]", true},
      {L"x", L"[]x]", true},
      {L"b", L"[a`-c]", false},
      {L"-", L"[a`-c]", true},
      {L"[", L"[", true},
      {L"[ab", L"[ab", true},
      // ~ first negates; elsewhere it is a character.
      {L"DOOR", L"~WALL*", true},
      {L"WALL2", L"~WALL*", false},
      {L"A~B", L"A~B", true},
      {L"", L"~", false},
      {L"x", L"~", true},
      // Escapes.
      {L"#", L"`#", true},
      {L"5", L"`#", false},
      {L"a*b", L"a`*b", true},
      {L"axb", L"a`*b", false},
      {L"a,b", L"a`,b", true},
      {L"`", L"`", true},
      // Alternatives.
      {L"DOOR", L"WALL*,DOOR", true},
      {L"WALLS", L"WALL*,DOOR", true},
      {L"WINDOW", L"WALL*,DOOR", false},
      {L"", L"A,", true},
      {L"X", L"~A,~B", true},
      {L"A", L"~A,~B", true},
      {L"c", L"[a,c]", true},
      {L",", L"[a,c]", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wildcardMatches(c.text, c.pattern), c.matches) << "case " << (&c - cases);
  }
}

TEST(WildcardMatchTest, IgnoringCaseFoldsBothSidesBeyondAscii) {
  EXPECT_TRUE(wildcardMatchesIgnoringCase(L"wall-1", L"WALL*,DOOR"));
  EXPECT_TRUE(wildcardMatchesIgnoringCase(L"Door", L"wall*,door"));
  EXPECT_TRUE(wildcardMatchesIgnoringCase(L"\u00e9tage", L"\u00c9TAGE"));
  EXPECT_TRUE(wildcardMatchesIgnoringCase(L"q", L"[A-Z]"));
  EXPECT_FALSE(wildcardMatchesIgnoringCase(L"window", L"WALL*,DOOR"));
}

// A regression guard against exponential backtracking: many stars over a long string that
// fails only at its end.
TEST(WildcardMatchTest, ManyStarsOnALongStringStayQuickToAnswer) {
  const std::wstring text(5000, L'a');
  std::wstring pattern;
  for (int i = 0; i < 200; ++i) pattern += L"*a";
  EXPECT_TRUE(wildcardMatches(text, pattern));
  EXPECT_FALSE(wildcardMatches(text, pattern + L"b"));
}

TEST(WildcardMatchTest, ZcutWcMatchAnswersResultCodes) {
  EXPECT_EQ(zcutWcMatch(L"WALL-2", L"WALL*,DOOR"), RTNORM);
  EXPECT_EQ(zcutWcMatch(L"wall-2", L"WALL*,DOOR"), RTERROR);
  EXPECT_EQ(zcutWcMatch(nullptr, L"*"), RTERROR);
  EXPECT_EQ(zcutWcMatch(L"x", nullptr), RTERROR);
}

}  // namespace
}  // namespace vtcad::editor
