#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

constexpr double kTol = 1e-9;
constexpr double kLineSpacing = 5.0 / 3.0;

class ZcDbMTextTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  // An MText of height 1 at the origin in the Standard style (shape font "txt").
  static ZcDbMText* make(const ZTCHAR* contents, double width = 0.0) {
    auto* mtext = new ZcDbMText();
    EXPECT_EQ(mtext->setTextHeight(1.0), Zcad::eOk);
    EXPECT_EQ(mtext->setContents(contents), Zcad::eOk);
    EXPECT_EQ(mtext->setWidth(width), Zcad::eOk);
    return mtext;
  }
  // Width of a single-line text in the same font and height.
  static double textWidth(const ZTCHAR* s) {
    return ZcDbText(ZcGePoint3d::kOrigin, s, ZcDbObjectId::kNull, /*height=*/1.0).measuredWidth();
  }
  static ZcDbExtents extentsOf(const ZcDbMText& mtext) {
    ZcDbExtents extents;
    EXPECT_EQ(mtext.getGeomExtents(extents), Zcad::eOk);
    return extents;
  }

  ZcDbDatabase db_;
};

TEST_F(ZcDbMTextTest, OneLineMeasuresLikeATextAndHangsBelowItsTopLeftLocation) {
  std::unique_ptr<ZcDbMText> mtext(make(L"HEX WAVE"));
  EXPECT_EQ(mtext->lineCount(), 1);
  EXPECT_NEAR(mtext->actualWidth(), textWidth(L"HEX WAVE"), kTol);
  EXPECT_NEAR(mtext->actualHeight(), 1.0, kTol);
  ASSERT_EQ(mtext->setLocation(ZcGePoint3d(2, 3, 0)), Zcad::eOk);
  const ZcDbExtents e = extentsOf(*mtext);
  EXPECT_TRUE(e.minPoint().isEqualTo(ZcGePoint3d(2, 2, 0)));
  EXPECT_TRUE(e.maxPoint().isEqualTo(ZcGePoint3d(2 + mtext->actualWidth(), 3, 0)));
}

TEST_F(ZcDbMTextTest, WrapsBetweenWordsAtItsWidth) {
  const double twoWords = textWidth(L"HEX HEX");
  std::unique_ptr<ZcDbMText> mtext(make(L"HEX HEX HEX HEX", twoWords * 1.01));
  EXPECT_EQ(mtext->lineCount(), 2);
  // The space where the line wraps takes no width.
  EXPECT_NEAR(mtext->actualWidth(), twoWords, kTol);
  EXPECT_NEAR(mtext->actualHeight(), 1.0 + kLineSpacing, kTol);

  ASSERT_EQ(mtext->setWidth(0.0), Zcad::eOk);  // no wrapping
  EXPECT_EQ(mtext->lineCount(), 1);
  // A word wider than the width stays whole on its own line.
  ASSERT_EQ(mtext->setWidth(0.1), Zcad::eOk);
  EXPECT_EQ(mtext->lineCount(), 4);
  EXPECT_NEAR(mtext->actualWidth(), textWidth(L"HEX"), kTol);
}

TEST_F(ZcDbMTextTest, ChineseWrapsBetweenAnyTwoCharacters) {
  // Shape-font style: each ideograph is one height wide.
  std::unique_ptr<ZcDbMText> mtext(make(L"中文字符测试文本", 3.5));
  EXPECT_EQ(mtext->lineCount(), 3);
  EXPECT_NEAR(mtext->actualWidth(), 3.0, kTol);
}

// Regression: a line could break between an ideograph and the closing punctuation after it,
// since the ideograph had already ended its word.
TEST_F(ZcDbMTextTest, ClosingPunctuationNeverStartsALine) {
  std::unique_ptr<ZcDbMText> mtext(make(L"中文字，", 3.5));
  // "中文" and "字，", not "中文字" and "，".
  EXPECT_EQ(mtext->lineCount(), 2);
  EXPECT_NEAR(mtext->actualWidth(), 2.0, kTol);
}

TEST_F(ZcDbMTextTest, ParagraphsAndLineSpacing) {
  std::unique_ptr<ZcDbMText> mtext(make(L"HEX\\PLINE\\P\\PFIVE"));
  EXPECT_EQ(mtext->lineCount(), 4);
  EXPECT_EQ(mtext->text(), ZcString(L"HEX\nLINE\n\nFIVE"));
  EXPECT_NEAR(mtext->actualHeight(), 1.0 + 3 * kLineSpacing, kTol);
  ASSERT_EQ(mtext->setLineSpacingFactor(2.0), Zcad::eOk);
  EXPECT_NEAR(mtext->actualHeight(), 1.0 + 6 * kLineSpacing, kTol);
  // "At least" spacing makes room for a taller line; "exactly" does not.
  ASSERT_EQ(mtext->setLineSpacingFactor(1.0), Zcad::eOk);
  ASSERT_EQ(mtext->setContents(L"HEX\\P\\H3;LINE"), Zcad::eOk);
  EXPECT_NEAR(mtext->actualHeight(), 1.0 + 3 * kLineSpacing, kTol);
  ASSERT_EQ(mtext->setLineSpacingStyle(ZcDb::kExactly), Zcad::eOk);
  EXPECT_NEAR(mtext->actualHeight(), 1.0 + kLineSpacing, kTol);
}

TEST_F(ZcDbMTextTest, InlineFormattingIsMeasuredAndStripped) {
  std::unique_ptr<ZcDbMText> mtext(make(L"{\\H2x;HEX}"));
  EXPECT_NEAR(mtext->actualWidth(), 2 * textWidth(L"HEX"), kTol);
  EXPECT_NEAR(mtext->actualHeight(), 2.0, kTol);
  ASSERT_EQ(mtext->setContents(L"{\\W0.5;HEX}\\U+00D8%%d"), Zcad::eOk);
  EXPECT_EQ(mtext->text(), ZcString(L"HEX\u00D8\u00B0"));
  EXPECT_NEAR(mtext->actualWidth(), 0.5 * textWidth(L"HEX") + textWidth(L"\u00D8\u00B0"), kTol);
  // The contents are kept verbatim.
  EXPECT_EQ(mtext->contents(), ZcString(L"{\\W0.5;HEX}\\U+00D8%%d"));
}

TEST_F(ZcDbMTextTest, AttachmentPutsTheLocationOnTheBox) {
  std::unique_ptr<ZcDbMText> mtext(make(L"HEX\\PWAVE"));
  ASSERT_EQ(mtext->setLocation(ZcGePoint3d(10, 10, 0)), Zcad::eOk);
  ASSERT_EQ(mtext->setAttachment(ZcDbMText::kMiddleCenter), Zcad::eOk);
  ZcDbExtents e = extentsOf(*mtext);
  EXPECT_NEAR(0.5 * (e.minPoint().x + e.maxPoint().x), 10.0, kTol);
  EXPECT_NEAR(0.5 * (e.minPoint().y + e.maxPoint().y), 10.0, kTol);
  ASSERT_EQ(mtext->setAttachment(ZcDbMText::kBottomRight), Zcad::eOk);
  e = extentsOf(*mtext);
  EXPECT_NEAR(e.maxPoint().x, 10.0, kTol);
  EXPECT_NEAR(e.minPoint().y, 10.0, kTol);
}

TEST_F(ZcDbMTextTest, TransformRotatesScalesAndStaysReadableWhenMirrored) {
  std::unique_ptr<ZcDbMText> mtext(make(L"HEX", 50.0));
  const double w = mtext->actualWidth();
  ASSERT_EQ(mtext->transformBy(ZcGeMatrix3d::rotation(ZcGe::kHalfPi, ZcGeVector3d::kZAxis) *
                               ZcGeMatrix3d::scaling(2)),
            Zcad::eOk);
  EXPECT_NEAR(mtext->rotation(), ZcGe::kHalfPi, kTol);
  EXPECT_NEAR(mtext->textHeight(), 2.0, kTol);
  EXPECT_NEAR(mtext->width(), 100.0, kTol);
  EXPECT_NEAR(mtext->actualWidth(), 2 * w, kTol);

  std::unique_ptr<ZcDbMText> flat(make(L"HEX"));
  ASSERT_EQ(flat->setLocation(ZcGePoint3d(1, 0, 0)), Zcad::eOk);
  const ZcDbExtents before = extentsOf(*flat);
  ASSERT_EQ(flat->transformBy(ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kXAxis))),
            Zcad::eOk);
  EXPECT_TRUE(flat->direction().isEqualTo(ZcGeVector3d::kXAxis));
  EXPECT_TRUE(flat->normal().isEqualTo(ZcGeVector3d::kZAxis));
  const ZcDbExtents after = extentsOf(*flat);
  EXPECT_NEAR(after.minPoint().x, -before.maxPoint().x, kTol);
  EXPECT_NEAR(after.maxPoint().x, -before.minPoint().x, kTol);

  EXPECT_EQ(flat->transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(2, 1, 1))), Zcad::eNotApplicable);
  EXPECT_NEAR(flat->textHeight(), 1.0, kTol);
}

TEST_F(ZcDbMTextTest, BadInputIsRefusedAndEmptyContentsHaveNoExtents) {
  std::unique_ptr<ZcDbMText> mtext(make(L""));
  ZcDbExtents e;
  EXPECT_EQ(mtext->getGeomExtents(e), Zcad::eInvalidExtents);
  EXPECT_EQ(mtext->actualWidth(), 0.0);
  EXPECT_EQ(mtext->setTextHeight(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(mtext->setTextHeight(std::numeric_limits<double>::quiet_NaN()), Zcad::eInvalidInput);
  EXPECT_EQ(mtext->setWidth(-1.0), Zcad::eInvalidInput);
  EXPECT_EQ(mtext->setLineSpacingFactor(4.5), Zcad::eInvalidInput);
  EXPECT_EQ(mtext->setAttachment(static_cast<ZcDbMText::AttachmentPoint>(10)), Zcad::eInvalidInput);
  EXPECT_EQ(mtext->setDirection(ZcGeVector3d::kZAxis), Zcad::eInvalidInput);
  EXPECT_DOUBLE_EQ(mtext->textHeight(), 1.0);
  EXPECT_EQ(mtext->attachment(), ZcDbMText::kTopLeft);
  // Only formatting: one empty line, no NaN.
  ASSERT_EQ(mtext->setContents(L"{\\H0.5x;}"), Zcad::eOk);
  EXPECT_EQ(mtext->lineCount(), 0);
  ASSERT_EQ(mtext->setContents(L"\\P"), Zcad::eOk);
  EXPECT_TRUE(std::isfinite(mtext->actualHeight()));
}

TEST(ZcDbMTextClassTest, ReadersFindTheClassByItsDrawingNames) {
  EXPECT_EQ(zcrxFindZcRxClass(L"AcDbMText"), ZcDbMText::desc());
  ZcRxObject* created = zcrxCreateObject(L"MTEXT");
  EXPECT_NE(ZcDbMText::cast(created), nullptr);
  delete created;
}

TEST_F(ZcDbMTextTest, FilingRoundTripsEveryField) {
  std::unique_ptr<ZcDbMText> mtext(make(L"{\\fSimSun;中文}\\PText", 12.0));
  ASSERT_EQ(mtext->setLocation(ZcGePoint3d(1, 2, 3)), Zcad::eOk);
  ASSERT_EQ(mtext->setRotation(0.4), Zcad::eOk);
  ASSERT_EQ(mtext->setAttachment(ZcDbMText::kBottomCenter), Zcad::eOk);
  ASSERT_EQ(mtext->setLineSpacingFactor(1.5), Zcad::eOk);
  MemoryDwgFiler filer;
  ASSERT_EQ(mtext->dwgOutFields(&filer), Zcad::eOk);
  filer.rewind();
  ZcDbMText copy;
  ASSERT_EQ(copy.dwgInFields(&filer), Zcad::eOk);
  EXPECT_EQ(copy.contents(), mtext->contents());
  EXPECT_TRUE(copy.location().isEqualTo(ZcGePoint3d(1, 2, 3)));
  EXPECT_NEAR(copy.rotation(), 0.4, kTol);
  EXPECT_EQ(copy.attachment(), ZcDbMText::kBottomCenter);
  EXPECT_DOUBLE_EQ(copy.width(), 12.0);
  EXPECT_DOUBLE_EQ(copy.lineSpacingFactor(), 1.5);
  EXPECT_NEAR(copy.actualWidth(), mtext->actualWidth(), kTol);
}

}  // namespace
