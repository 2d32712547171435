#include <gtest/gtest.h>

#include "database/FontMapping.h"

namespace vtcad::db {
namespace {

TEST(FontMappingTest, ChineseNamesMapToTheChineseFace) {
  for (const wchar_t* typeface :
       {L"SimSun", L"宋体", L"黑体", L"Microsoft YaHei", L"仿宋_GB2312", L"KaiTi"}) {
    EXPECT_EQ(resolveFontChoice(L"", L"", typeface).primary, FontFace::kCjk) << typeface;
  }
  for (const wchar_t* file : {L"simsun.ttc", L"C:\\Windows\\Fonts\\SIMHEI.TTF", L"hztxt.shx", L"msyh.ttc"}) {
    EXPECT_EQ(resolveFontChoice(file, L"", L"").primary, FontFace::kCjk) << file;
  }
}

TEST(FontMappingTest, EverythingElseMapsToTheLatinFace) {
  for (const wchar_t* file : {L"txt", L"txt.shx", L"simplex.shx", L"gbenor.shx", L"arial.ttf", L""}) {
    EXPECT_EQ(resolveFontChoice(file, L"gbcbig.shx", L"").primary, FontFace::kLatin) << file;
  }
  EXPECT_EQ(resolveFontChoice(L"", L"", L"Arial").primary, FontFace::kLatin);
}

TEST(FontMappingTest, OnlyShapeFontStylesUseTheHeightCellForIdeographs) {
  EXPECT_TRUE(resolveFontChoice(L"txt", L"", L"").cjkCellIsHeight);
  EXPECT_TRUE(resolveFontChoice(L"gbenor.shx", L"gbcbig.shx", L"").cjkCellIsHeight);
  EXPECT_FALSE(resolveFontChoice(L"simsun.ttc", L"", L"").cjkCellIsHeight);
  // A TrueType style carries a file name too: the typeface decides.
  EXPECT_FALSE(resolveFontChoice(L"txt", L"", L"SimSun").cjkCellIsHeight);
}

TEST(FontMappingTest, CjkCharacters) {
  EXPECT_TRUE(isCjkCharacter(U'中'));
  EXPECT_TRUE(isCjkCharacter(U'，'));
  EXPECT_TRUE(isCjkCharacter(U'あ'));
  EXPECT_FALSE(isCjkCharacter(U'A'));
  EXPECT_FALSE(isCjkCharacter(U'\u00D8'));
}

}  // namespace
}  // namespace vtcad::db
