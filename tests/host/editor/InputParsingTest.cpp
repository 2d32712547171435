#include <gtest/gtest.h>

#include <cmath>

#include "editor/InputParsing.h"

namespace vtcad::editor {
namespace {

TEST(InputParsing, NumbersAreDecimalOnly) {
  EXPECT_EQ(parseReal(L"12"), 12.0);
  EXPECT_EQ(parseReal(L"-.5"), -0.5);
  EXPECT_EQ(parseReal(L"1e3"), 1000.0);
  for (const wchar_t* bad : {L"", L"abc", L"1,2", L"inf", L"nan", L"0x10", L"1e999", L"12a"}) {
    EXPECT_FALSE(parseReal(bad)) << bad;
  }
}

TEST(InputParsing, IntegersOfTheCommandLineRange) {
  EXPECT_EQ(parseInteger(L"-32768").value, -32768);
  EXPECT_EQ(parseInteger(L"32768").status, IntegerParse::kOutOfRange);
  EXPECT_EQ(parseInteger(L"99999999999999999999").status, IntegerParse::kOutOfRange);
  EXPECT_EQ(parseInteger(L"2.5").status, IntegerParse::kNotInteger);
  EXPECT_EQ(parseInteger(L"-").status, IntegerParse::kNotInteger);
}

TEST(InputParsing, PointForms) {
  ZcGePoint3d last(10, 20, 5);
  EXPECT_TRUE(parsePoint(L"3,4", last)->isEqualTo(ZcGePoint3d(3, 4, 0)));
  EXPECT_TRUE(parsePoint(L"3,4,6", last)->isEqualTo(ZcGePoint3d(3, 4, 6)));
  EXPECT_TRUE(parsePoint(L"@1,2", last)->isEqualTo(ZcGePoint3d(11, 22, 5)));
  EXPECT_TRUE(parsePoint(L"@", last)->isEqualTo(last));
  ZcGePoint3d polar = *parsePoint(L"@10<90", last);
  EXPECT_NEAR(polar.x, 10, 1e-9);
  EXPECT_NEAR(polar.y, 30, 1e-9);
  for (const wchar_t* bad : {L"3", L"3,", L"a,b", L"1,2,3,4", L"<5", L"@1<"}) {
    EXPECT_FALSE(parsePoint(bad, last)) << bad;
  }
}

TEST(InputParsing, HandleReferences) {
  EXPECT_EQ(handleReference(L"#2F"), L"2F");
  EXPECT_FALSE(handleReference(L"#"));
  EXPECT_FALSE(handleReference(L"#xyz"));
  EXPECT_FALSE(handleReference(L"2F"));
}

}  // namespace
}  // namespace vtcad::editor
