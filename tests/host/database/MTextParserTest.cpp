#include <gtest/gtest.h>

#include "database/MTextParser.h"

namespace vtcad::db {
namespace {

std::wstring plain(const wchar_t* contents) { return parseMText(contents, 1.0, 1.0).plainText(); }

TEST(MTextParserTest, FormattingIsStrippedAndBreaksKept) {
  EXPECT_EQ(plain(L"{\\fArial|b1|i0|c0|p34;Bold}\\Pnext"), L"Bold\nnext");
  EXPECT_EQ(plain(L"\\H2.5x;\\W0.8;\\C1;\\Q15;\\LUnder\\l\\A1;line"), L"Underline");
  EXPECT_EQ(plain(L"a\\~b\\Nc\\Xd"), L"a b\nc\nd");
  EXPECT_EQ(plain(L"\\pxi-3,l3;item"), L"item");
}

TEST(MTextParserTest, EscapesAndCharacterCodes) {
  EXPECT_EQ(plain(L"\\\\ \\{x\\}"), L"\\ {x}");
  EXPECT_EQ(plain(L"\\U+4E2D%%d%%p%%c"), L"中°±Ø");
  EXPECT_EQ(plain(L"1\\S1/2;\\S+0.1^-0.2;"), L"11/2+0.1^-0.2");
  // Not a code: kept as text, as is a backslash that ends the contents.
  EXPECT_EQ(plain(L"\\z\\"), L"\\z\\");
}

TEST(MTextParserTest, GroupsRestoreTheFormatAtTheirEnd) {
  const MTextContents parsed = parseMText(L"a{\\H3;b}c{\\H2x;d}", 2.0, 1.0);
  ASSERT_EQ(parsed.items.size(), 4u);
  auto heightOf = [&parsed](size_t i) {
    return parsed.formats[static_cast<size_t>(parsed.items[i].format)].height;
  };
  EXPECT_DOUBLE_EQ(heightOf(0), 2.0);
  EXPECT_DOUBLE_EQ(heightOf(1), 3.0);
  EXPECT_DOUBLE_EQ(heightOf(2), 2.0);
  EXPECT_DOUBLE_EQ(heightOf(3), 4.0);
}

TEST(MTextParserTest, BadCodeArgumentsChangeNothing) {
  const MTextContents parsed = parseMText(L"\\H-1;\\Hnan;\\H0x;\\W;a", 2.0, 1.0);
  ASSERT_EQ(parsed.items.size(), 1u);
  EXPECT_DOUBLE_EQ(parsed.formats[static_cast<size_t>(parsed.items[0].format)].height, 2.0);
  EXPECT_DOUBLE_EQ(parsed.formats[static_cast<size_t>(parsed.items[0].format)].widthFactor, 1.0);
  // An argument without its ';' runs to the end.
  EXPECT_EQ(plain(L"x\\fArial"), L"x");
}

}  // namespace
}  // namespace vtcad::db
