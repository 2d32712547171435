#include <gtest/gtest.h>

#include "editor/Keywords.h"

namespace vtcad::editor {
namespace {

TEST(Keywords, CapitalsAbbreviateAndCaseDoesNotMatter) {
  Keywords keywords(L"Yes No eXit LType Width");
  EXPECT_EQ(keywords.match(L"y"), L"Yes");
  EXPECT_EQ(keywords.match(L"YES"), L"Yes");
  EXPECT_EQ(keywords.match(L"n"), L"No");
  EXPECT_EQ(keywords.match(L"x"), L"eXit");
  EXPECT_EQ(keywords.match(L"exit"), L"eXit");
  EXPECT_EQ(keywords.match(L"lt"), L"LType");
  EXPECT_EQ(keywords.match(L"lty"), L"LType");
  EXPECT_FALSE(keywords.match(L"l"));  // shorter than the abbreviation
  EXPECT_FALSE(keywords.match(L"Yesterday"));
  EXPECT_FALSE(keywords.match(L""));
}

TEST(Keywords, GlobalNamesAnswerUnderscoreInput) {
  Keywords keywords(L"Ja Nein _ Yes No");
  EXPECT_EQ(keywords.match(L"j"), L"Yes");
  EXPECT_EQ(keywords.match(L"_No"), L"No");
  EXPECT_EQ(keywords.match(L"_n"), L"No");
  EXPECT_FALSE(keywords.match(L"_Ja"));
}

TEST(Keywords, ExactMatchWinsOverAbbreviation) {
  Keywords keywords(L"Close C");
  EXPECT_EQ(keywords.match(L"c"), L"C");
}

}  // namespace
}  // namespace vtcad::editor
