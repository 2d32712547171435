#include <gtest/gtest.h>

#include "dxf/DxfText.h"

using namespace vtcad::dxf;

TEST(DxfText, ChineseCodePageFilesDecode) {
  // "中文" in GBK bytes, as an R2000 drawing with $DWGCODEPAGE ANSI_936 stores it.
  TextDecoder decoder(/*utf8=*/false, "ANSI_936");
  EXPECT_EQ(decoder.decode("\xD6\xD0\xCE\xC4"), L"\u4E2D\u6587");
  EXPECT_EQ(decoder.toUtf8("\xD6\xD0\xCE\xC4"), "\xE4\xB8\xAD\xE6\x96\x87");
  TextDecoder latin(/*utf8=*/false, "ANSI_1252");
  EXPECT_EQ(latin.decode("Stra\xDF"
                         "e \x80"),
            L"Stra\u00DFe \u20AC");
}

TEST(DxfText, UnicodeAndMultibyteEscapesResolve) {
  TextDecoder decoder;
  EXPECT_EQ(decoder.decode("\\U+4E2D\\U+6587 ok"), L"\u4E2D\u6587 ok");
  // A cut-off escape stays as it is.
  EXPECT_EQ(decoder.decode("\\U+4E"), L"\\U+4E");
  // \M+5 is code page 936: D6D0 is U+4E2D.
  EXPECT_EQ(decoder.decode("\\M+5D6D0"), L"\u4E2D");
}

TEST(DxfText, InvalidBytesBecomeReplacementCharacters) {
  TextDecoder decoder;
  EXPECT_EQ(decoder.decode("a\xFF"
                           "b\xE4\xB8"),
            L"a\uFFFDb\uFFFD\uFFFD");
  EXPECT_EQ(utf8ToWide("\xC0\x80"), L"\uFFFD\uFFFD");  // overlong NUL
  TextDecoder gbk(/*utf8=*/false, "ANSI_936");
  EXPECT_EQ(gbk.decode("x\xD6"), L"x\uFFFD");  // a lead byte cut off by the end
}

TEST(DxfText, WideToUtf8RoundTripsEveryPlane) {
  std::wstring text = L"A\u00E9\u4E2D\U0001F600";
  EXPECT_EQ(utf8ToWide(wideToUtf8(text)), text);
}

TEST(DxfText, Utf8CodePageOfAnOldFileIsNotReadAsLatin) {
  TextDecoder decoder(/*utf8=*/false, "UTF8");
  EXPECT_TRUE(decoder.isUtf8());
  EXPECT_EQ(decoder.decode("\xE4\xB8\xAD"), L"\u4E2D");
}
