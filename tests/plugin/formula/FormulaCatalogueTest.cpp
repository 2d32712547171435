// The two catalogue tables: one list in two languages, with the ranges the generators clamp to.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "formula/FormulaCatalogue.h"

namespace veltrace {
namespace {

TEST(FormulaCatalogue, BothLanguagesListTheSameEntriesWithTheSameRanges) {
  const FormulaCurveDef* chinese = formulaCatalogue(/*chinese=*/true);
  const FormulaCurveDef* english = formulaCatalogue(/*chinese=*/false);
  for (int i = 0; i < kFormulaCurveCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(chinese[i].previewId, i < 70 ? 407 + i : 478);
    EXPECT_EQ(english[i].previewId, chinese[i].previewId);
    // Both texts start with the entry's number.
    const std::wstring number = std::to_wstring(i + 1);
    EXPECT_EQ(std::wstring(chinese[i].listText).rfind(number, 0), 0u);
    EXPECT_EQ(std::wstring(english[i].listText).rfind(number, 0), 0u);
    for (int k = 0; k < kFormulaParamCount; ++k) {
      const FormulaParamDef& zh = chinese[i].params[k];
      const FormulaParamDef& en = english[i].params[k];
      EXPECT_EQ(zh.minimum, en.minimum);
      EXPECT_EQ(zh.defaultValue, en.defaultValue);
      EXPECT_EQ(zh.maximum, en.maximum);
      EXPECT_LE(en.minimum, en.defaultValue);
      EXPECT_LE(en.defaultValue, en.maximum);
      // A slot is labelled in both languages or in neither.
      EXPECT_EQ(zh.label[0] == L'\0', en.label[0] == L'\0');
    }
  }
}

TEST(FormulaCatalogue, TextsAreKeptAsUsersKnowThem) {
  const FormulaCurveDef* chinese = formulaCatalogue(/*chinese=*/true);
  const FormulaCurveDef* english = formulaCatalogue(/*chinese=*/false);
  EXPECT_STREQ(english[1].params[1].label, L"Hight");
  EXPECT_STREQ(chinese[20].listText, L"21.Talbot鱼尾曲线 ");
  EXPECT_STREQ(english[67].listText, L"68.Lamé Curve(Norvik_LOGO)");
  EXPECT_STREQ(chinese[17].listText, L"18.心脏线（肾形线）");
  EXPECT_STREQ(chinese[70].listText, L"71.........");
  EXPECT_STREQ(chinese[68].params[1].label, L"N*10");
  // A hidden slot with a range, and a slot that carries nothing.
  const FormulaParamDef& hidden = english[4].params[1];
  EXPECT_STREQ(hidden.label, L"");
  EXPECT_EQ(hidden.maximum, 10000);
  const FormulaParamDef& none = english[0].params[1];
  EXPECT_STREQ(none.label, L"");
  EXPECT_EQ(none.minimum + none.defaultValue + none.maximum, 0);
}

}  // namespace
}  // namespace veltrace
