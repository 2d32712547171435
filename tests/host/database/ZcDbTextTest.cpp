#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/FontService.h"
#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

constexpr double kTol = 1e-9;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

class ZcDbTextTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override {
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    vtcad::db::FontService::instance().resetFontFiles();
  }

  ZcDbObjectId addStyle(const ZTCHAR* name, const ZTCHAR* fileName, const ZTCHAR* bigFont,
                        const ZTCHAR* typeface) {
    ZcDbTextStyleTable* table = nullptr;
    EXPECT_EQ(db_.getTextStyleTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* style = new ZcDbTextStyleTableRecord();
    style->setName(name);
    style->setFileName(fileName);
    style->setBigFontFileName(bigFont);
    if (typeface)
      style->setFont(typeface, /*bold=*/false, /*italic=*/false, /*charset=*/0, /*pitchAndFamily=*/0);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, style), Zcad::eOk);
    style->close();
    table->close();
    return id;
  }

  static ZcDbExtents extentsOf(const ZcDbText& text) {
    ZcDbExtents extents;
    EXPECT_EQ(text.getGeomExtents(extents), Zcad::eOk);
    return extents;
  }
  static double widthOf(const ZcDbExtents& e) { return e.maxPoint().x - e.minPoint().x; }
  static double heightOf(const ZcDbExtents& e) { return e.maxPoint().y - e.minPoint().y; }

  ZcDbDatabase db_;
};

TEST_F(ZcDbTextTest, ExtentsGrowLinearlyWithHeightAndLength) {
  ZcDbText one(ZcGePoint3d(5, 7, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ZcDbText two(ZcGePoint3d(5, 7, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/2.0);
  ZcDbText twice(ZcGePoint3d(5, 7, 0), L"HEXHEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const ZcDbExtents e1 = extentsOf(one);
  // Capitals without descenders: baseline to cap height, starting at the position.
  EXPECT_NEAR(e1.minPoint().x, 5.0, kTol);
  EXPECT_NEAR(e1.minPoint().y, 7.0, kTol);
  EXPECT_NEAR(heightOf(e1), 1.0, kTol);
  EXPECT_GT(widthOf(e1), 2.0);
  EXPECT_LT(widthOf(e1), 3.5);
  EXPECT_NEAR(widthOf(extentsOf(two)), 2.0 * widthOf(e1), kTol);
  EXPECT_NEAR(heightOf(extentsOf(two)), 2.0, kTol);
  EXPECT_NEAR(widthOf(extentsOf(twice)), 2.0 * widthOf(e1), kTol);
  EXPECT_NEAR(one.measuredWidth(), widthOf(e1), kTol);
}

TEST_F(ZcDbTextTest, ExtentsIncludeDescendersAndFollowWidthFactorAndOblique) {
  ZcDbText text(ZcGePoint3d::kOrigin, L"Typography", ZcDbObjectId::kNull, /*height=*/2.0);
  const ZcDbExtents plain = extentsOf(text);
  EXPECT_LT(plain.minPoint().y, -0.3);  // 'y', 'p', 'g' reach below the baseline
  ASSERT_EQ(text.setWidthFactor(0.5), Zcad::eOk);
  EXPECT_NEAR(widthOf(extentsOf(text)), 0.5 * widthOf(plain), kTol);
  ASSERT_EQ(text.setOblique(ZcGe::kPi / 12), Zcad::eOk);
  const ZcDbExtents slanted = extentsOf(text);
  EXPECT_NEAR(slanted.maxPoint().x - plain.maxPoint().x * 0.5, plain.maxPoint().y * std::tan(ZcGe::kPi / 12),
              kTol);
  // -15 degrees is kept as 345 degrees.
  ASSERT_EQ(text.setOblique(-ZcGe::kPi / 12), Zcad::eOk);
  EXPECT_NEAR(text.oblique(), ZcGe::kTwoPi - ZcGe::kPi / 12, kTol);
}

TEST_F(ZcDbTextTest, ExtentsRotateWithTheTextAndLieInItsPlane) {
  ZcDbText flat(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const double w = widthOf(extentsOf(flat));
  ZcDbText turned(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0,
                  /*rotation=*/ZcGe::kHalfPi);
  const ZcDbExtents e = extentsOf(turned);
  EXPECT_NEAR(e.minPoint().x, -1.0, kTol);
  EXPECT_NEAR(e.maxPoint().x, 0.0, kTol);
  EXPECT_NEAR(e.maxPoint().y, w, kTol);

  // A text standing in the YZ plane (normal +X): its OCS x axis is world +Y.
  ZcDbText upright(ZcGePoint3d(3, 0, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ASSERT_EQ(upright.setNormal(ZcGeVector3d::kXAxis), Zcad::eOk);
  const ZcDbExtents u = extentsOf(upright);
  EXPECT_NEAR(u.minPoint().x, 3.0, kTol);
  EXPECT_NEAR(u.maxPoint().x, 3.0, kTol);
  EXPECT_NEAR(u.maxPoint().y - u.minPoint().y, w, kTol);
  EXPECT_NEAR(u.maxPoint().z - u.minPoint().z, 1.0, kTol);
}

TEST_F(ZcDbTextTest, ChineseTextIsMeasuredWithTheChineseFont) {
  const ZcDbObjectId bigFont = addStyle(L"GB", L"gbenor.shx", L"gbcbig.shx", nullptr);
  const ZcDbObjectId song = addStyle(L"Song", L"", L"", L"宋体");
  ZcDbText shape(ZcGePoint3d::kOrigin, L"中文字", bigFont, /*height=*/2.5);
  ZcDbText trueType(ZcGePoint3d::kOrigin, L"中文字", song, /*height=*/2.5);
  ZcDbText latin(ZcGePoint3d::kOrigin, L"ABC", song, /*height=*/2.5);
  // Big-font ideographs fill a cell of the text height.
  EXPECT_NEAR(shape.measuredWidth(), 3 * 2.5, kTol);
  EXPECT_GT(trueType.measuredWidth(), shape.measuredWidth());
  EXPECT_GT(trueType.measuredWidth(), latin.measuredWidth());
}

TEST_F(ZcDbTextTest, MissingFontFilesFallBackWithoutFailing) {
  vtcad::db::FontService::instance().setFontFile(vtcad::db::FontFace::kLatin, "/nonexistent.ttf");
  vtcad::db::FontService::instance().setFontFile(vtcad::db::FontFace::kCjk, "/nonexistent.ttc");
  ZcDbText text(ZcGePoint3d::kOrigin, L"abc中", ZcDbObjectId::kNull, /*height=*/2.0);
  EXPECT_NEAR(text.measuredWidth(), (3 * 0.6 + 1.0) * 2.0, kTol);
  EXPECT_NEAR(heightOf(extentsOf(text)), 2.0, kTol);
}

TEST_F(ZcDbTextTest, PercentCodesAreMeasuredAsTheirGlyphs) {
  auto width = [](const ZTCHAR* s) {
    return ZcDbText(ZcGePoint3d::kOrigin, s, ZcDbObjectId::kNull, 1.0).measuredWidth();
  };
  EXPECT_NEAR(width(L"%%c20"), width(L"\u00D820"), kTol);
  EXPECT_NEAR(width(L"45%%d"), width(L"45\u00B0"), kTol);
  EXPECT_NEAR(width(L"%%p0.1"), width(L"\u00B10.1"), kTol);
  EXPECT_NEAR(width(L"%%uA%%oB%%u%%o"), width(L"AB"), kTol);
  EXPECT_NEAR(width(L"100%%%"), width(L"100%"), kTol);
}

TEST_F(ZcDbTextTest, AlignmentModesPlaceTheBoxOnTheAlignmentPoint) {
  ZcDbText text(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/2.0);
  const double w = text.measuredWidth();
  const ZcGePoint3d at(10, 20, 0);

  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextCenter), Zcad::eOk);
  ASSERT_EQ(text.setAlignmentPoint(at), Zcad::eOk);
  EXPECT_NEAR(extentsOf(text).minPoint().x, 10.0 - w / 2, kTol);
  EXPECT_NEAR(extentsOf(text).minPoint().y, 20.0, kTol);

  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextRight), Zcad::eOk);
  EXPECT_NEAR(extentsOf(text).maxPoint().x, 10.0, kTol);
  EXPECT_TRUE(text.position().isEqualTo(ZcGePoint3d(10.0 - w, 20.0, 0.0)));

  ASSERT_EQ(text.setVerticalMode(ZcDb::kTextTop), Zcad::eOk);
  EXPECT_NEAR(extentsOf(text).maxPoint().y, 20.0, kTol);

  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextMid), Zcad::eOk);
  const ZcDbExtents mid = extentsOf(text);
  EXPECT_NEAR(0.5 * (mid.minPoint().x + mid.maxPoint().x), 10.0, kTol);
  EXPECT_NEAR(0.5 * (mid.minPoint().y + mid.maxPoint().y), 20.0, kTol);

  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextLeft), Zcad::eOk);
  ASSERT_EQ(text.setVerticalMode(ZcDb::kTextBottom), Zcad::eOk);
  const double descent =
      vtcad::db::FontService::instance().descent(vtcad::db::resolveFontChoice(L"txt", L"", L""));
  EXPECT_NEAR(text.position().y, 20.0 + 2.0 * descent, kTol);

  // The position follows the string.
  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextRight), Zcad::eOk);
  ASSERT_EQ(text.setTextString(L"HEXHEX"), Zcad::eOk);
  EXPECT_NEAR(text.position().x, 10.0 - 2 * w, kTol);
}

TEST_F(ZcDbTextTest, AlignedAndFittedTextsSpanTheirTwoPoints) {
  ZcDbText text(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const double w = text.measuredWidth();
  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextAlign), Zcad::eOk);
  ASSERT_EQ(text.setAlignmentPoint(ZcGePoint3d(6, 8, 0)), Zcad::eOk);
  EXPECT_NEAR(text.rotation(), std::atan2(8.0, 6.0), kTol);
  EXPECT_NEAR(text.height(), 10.0 / w, kTol);
  EXPECT_NEAR(text.measuredWidth(), 10.0, kTol);

  ZcDbText fit(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ASSERT_EQ(fit.setHorizontalMode(ZcDb::kTextFit), Zcad::eOk);
  ASSERT_EQ(fit.setAlignmentPoint(ZcGePoint3d(2 * w, 0, 0)), Zcad::eOk);
  EXPECT_NEAR(fit.height(), 1.0, kTol);
  EXPECT_NEAR(fit.widthFactor(), 2.0, kTol);

  // Coincident points define nothing: the text keeps its size.
  ASSERT_EQ(fit.setAlignmentPoint(ZcGePoint3d::kOrigin), Zcad::eOk);
  EXPECT_NEAR(fit.widthFactor(), 2.0, kTol);
}

TEST_F(ZcDbTextTest, MirroredTextStaysReadableWithMirrtextOff) {
  ASSERT_EQ(db_.setMirrtext(false), Zcad::eOk);
  ZcDbText text(ZcGePoint3d(1, 0, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const ZcDbExtents before = extentsOf(text);
  const ZcGeMatrix3d mirrorX = ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kXAxis));
  ASSERT_EQ(text.transformBy(mirrorX), Zcad::eOk);
  EXPECT_FALSE(text.isMirroredInX());
  EXPECT_FALSE(text.isMirroredInY());
  EXPECT_NEAR(text.rotation(), 0.0, kTol);
  const ZcDbExtents after = extentsOf(text);
  EXPECT_NEAR(after.minPoint().x, -before.maxPoint().x, kTol);
  EXPECT_NEAR(after.maxPoint().x, -before.minPoint().x, kTol);
  EXPECT_NEAR(after.minPoint().y, before.minPoint().y, kTol);

  // Mirrored across a horizontal line: still upright, in the mirrored place.
  ZcDbText low(ZcGePoint3d(0, 1, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ASSERT_EQ(low.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kYAxis))),
            Zcad::eOk);
  EXPECT_FALSE(low.isMirroredInY());
  EXPECT_NEAR(extentsOf(low).maxPoint().y, -1.0, kTol);
  EXPECT_NEAR(extentsOf(low).minPoint().y, -2.0, kTol);

  // Mirrored through its own plane a text looks the same: it stays as it was.
  ZcDbText flat(ZcGePoint3d(1, 2, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0, /*rotation=*/0.5);
  ASSERT_EQ(flat.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane::kXYPlane)), Zcad::eOk);
  EXPECT_TRUE(flat.normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_NEAR(flat.rotation(), 0.5, kTol);
  EXPECT_TRUE(flat.position().isEqualTo(ZcGePoint3d(1, 2, 0)));
  EXPECT_FALSE(flat.isMirroredInX() || flat.isMirroredInY());
}

TEST_F(ZcDbTextTest, MirroredTextIsMirroredWithMirrtextOn) {
  ASSERT_EQ(db_.setMirrtext(true), Zcad::eOk);
  ZcDbText text(ZcGePoint3d(1, 0, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const ZcDbExtents before = extentsOf(text);
  ASSERT_EQ(text.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kXAxis))),
            Zcad::eOk);
  EXPECT_TRUE(text.isMirroredInX());
  EXPECT_FALSE(text.isMirroredInY());
  EXPECT_TRUE(text.position().isEqualTo(ZcGePoint3d(-1, 0, 0)));
  EXPECT_NEAR(extentsOf(text).minPoint().x, -before.maxPoint().x, kTol);

  ZcDbText low(ZcGePoint3d(0, 1, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ASSERT_EQ(low.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kYAxis))),
            Zcad::eOk);
  EXPECT_TRUE(low.isMirroredInY());
  EXPECT_FALSE(low.isMirroredInX());
  EXPECT_NEAR(extentsOf(low).maxPoint().y, -1.0, kTol);
}

TEST_F(ZcDbTextTest, TransformRoundTripsAndNonUniformScaleGoesToTheWidthFactor) {
  ZcDbText text(ZcGePoint3d(1, 2, 0), L"Round trip", ZcDbObjectId::kNull, /*height=*/1.5, /*rotation=*/0.3);
  const ZcGeMatrix3d m = ZcGeMatrix3d::translation(ZcGeVector3d(4, -2, 1)) *
                         ZcGeMatrix3d::rotation(1.1, ZcGeVector3d::kZAxis) * ZcGeMatrix3d::scaling(2.5);
  ASSERT_EQ(text.transformBy(m), Zcad::eOk);
  EXPECT_NEAR(text.height(), 3.75, kTol);
  EXPECT_NEAR(text.rotation(), 1.4, kTol);
  ASSERT_EQ(text.transformBy(m.inverse()), Zcad::eOk);
  EXPECT_TRUE(text.position().isEqualTo(ZcGePoint3d(1, 2, 0), ZcGeTol(1e-9, 1e-9)));
  EXPECT_NEAR(text.height(), 1.5, kTol);
  EXPECT_NEAR(text.rotation(), 0.3, kTol);
  EXPECT_NEAR(text.widthFactor(), 1.0, kTol);

  ZcDbText wide(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  const double w = wide.measuredWidth();
  ASSERT_EQ(wide.transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(2, 1, 1))), Zcad::eOk);
  EXPECT_NEAR(wide.widthFactor(), 2.0, kTol);
  EXPECT_NEAR(wide.height(), 1.0, kTol);
  EXPECT_NEAR(wide.measuredWidth(), 2 * w, kTol);
}

TEST_F(ZcDbTextTest, BadInputIsRefusedAndChangesNothing) {
  ZcDbText text(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  EXPECT_EQ(text.setHeight(kNaN), Zcad::eInvalidInput);
  EXPECT_EQ(text.setHeight(-1.0), Zcad::eInvalidInput);
  EXPECT_EQ(text.setWidthFactor(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(text.setOblique(ZcGe::kPi * 86 / 180), Zcad::eInvalidInput);
  EXPECT_EQ(text.setRotation(std::numeric_limits<double>::infinity()), Zcad::eInvalidInput);
  EXPECT_EQ(text.setPosition(ZcGePoint3d(kNaN, 0, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(text.setNormal(ZcGeVector3d::kIdentity), Zcad::eInvalidInput);
  EXPECT_EQ(text.setHorizontalMode(static_cast<ZcDb::TextHorzMode>(9)), Zcad::eInvalidInput);
  EXPECT_EQ(text.transformBy(ZcGeMatrix3d::scaling(0.0)), Zcad::eInvalidInput);
  ZcGeMatrix3d bad;
  bad(0, 3) = kNaN;
  EXPECT_EQ(text.transformBy(bad), Zcad::eInvalidInput);
  EXPECT_DOUBLE_EQ(text.height(), 1.0);
  EXPECT_DOUBLE_EQ(text.widthFactor(), 1.0);
  EXPECT_TRUE(text.position().isEqualTo(ZcGePoint3d::kOrigin));
}

TEST_F(ZcDbTextTest, EmptyAndZeroHeightTextsHaveNoNaN) {
  ZcDbText empty(ZcGePoint3d::kOrigin, L"", ZcDbObjectId::kNull, /*height=*/1.0);
  ZcDbExtents extents;
  EXPECT_EQ(empty.getGeomExtents(extents), Zcad::eInvalidExtents);
  EXPECT_EQ(empty.setHorizontalMode(ZcDb::kTextFit), Zcad::eOk);
  EXPECT_EQ(empty.setAlignmentPoint(ZcGePoint3d(5, 0, 0)), Zcad::eOk);
  EXPECT_TRUE(std::isfinite(empty.widthFactor()));

  ZcDbText flat(ZcGePoint3d(1, 1, 0), L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ASSERT_EQ(flat.setHeight(0.0), Zcad::eOk);
  ASSERT_EQ(flat.setHorizontalMode(ZcDb::kTextAlign), Zcad::eOk);
  ASSERT_EQ(flat.setAlignmentPoint(ZcGePoint3d(1, 1, 0)), Zcad::eOk);
  ASSERT_EQ(flat.getGeomExtents(extents), Zcad::eOk);
  EXPECT_TRUE(extents.minPoint().isEqualTo(ZcGePoint3d(1, 1, 0)));
  EXPECT_TRUE(extents.maxPoint().isEqualTo(ZcGePoint3d(1, 1, 0)));
}

TEST_F(ZcDbTextTest, ConstructorTakesTheDatabaseDefaults) {
  ASSERT_EQ(db_.setTextsize(3.5), Zcad::eOk);
  ZcDbText text(ZcGePoint3d::kOrigin, L"x");
  EXPECT_DOUBLE_EQ(text.height(), 3.5);
  EXPECT_EQ(text.textStyle(), db_.textstyle());
  const ZcDbObjectId fixed = addStyle(L"Fixed", L"romans.shx", L"", nullptr);
  ZcDbTextStyleTableRecord* style = nullptr;
  ASSERT_EQ(zcdbOpenObject(style, fixed, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(style->setTextSize(7.0), Zcad::eOk);
  style->close();
  EXPECT_DOUBLE_EQ(ZcDbText(ZcGePoint3d::kOrigin, L"x", fixed).height(), 7.0);
}

TEST_F(ZcDbTextTest, ResidentTextsChangeOnlyWhenOpenForWrite) {
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db_.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  auto* text = new ZcDbText(ZcGePoint3d::kOrigin, L"HEX", ZcDbObjectId::kNull, /*height=*/1.0);
  ZcDbObjectId id;
  ASSERT_EQ(space->appendZcDbEntity(id, text), Zcad::eOk);
  text->close();
  space->close();

  ZcDbText* reader = nullptr;
  ASSERT_EQ(zcdbOpenObject(reader, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(reader->setHeight(2.0), Zcad::eNotOpenForWrite);
  EXPECT_EQ(reader->transformBy(ZcGeMatrix3d::scaling(2.0)), Zcad::eNotOpenForWrite);
  EXPECT_DOUBLE_EQ(reader->height(), 1.0);
  ZcDbExtents extents;
  EXPECT_EQ(reader->getGeomExtents(extents), Zcad::eOk);
  reader->close();
}

TEST(ZcDbTextClassTest, ReadersFindTheClassByItsDrawingNames) {
  EXPECT_EQ(zcrxFindZcRxClass(L"AcDbText"), ZcDbText::desc());
  ZcRxObject* created = zcrxCreateObject(L"TEXT");
  EXPECT_NE(ZcDbText::cast(created), nullptr);
  delete created;
}

TEST_F(ZcDbTextTest, FilingRoundTripsEveryField) {
  ZcDbText text(ZcGePoint3d(1, 2, 3), L"Filed %%d", db_.textstyle(), /*height=*/2.0, /*rotation=*/0.5);
  ASSERT_EQ(text.setHorizontalMode(ZcDb::kTextCenter), Zcad::eOk);
  ASSERT_EQ(text.setVerticalMode(ZcDb::kTextTop), Zcad::eOk);
  ASSERT_EQ(text.setAlignmentPoint(ZcGePoint3d(4, 5, 6)), Zcad::eOk);
  ASSERT_EQ(text.setOblique(0.2), Zcad::eOk);
  ASSERT_EQ(text.setThickness(0.7), Zcad::eOk);
  ASSERT_EQ(text.mirrorInX(true), Zcad::eOk);
  MemoryDwgFiler filer;
  ASSERT_EQ(text.dwgOutFields(&filer), Zcad::eOk);
  filer.rewind();
  ZcDbText copy;
  ASSERT_EQ(copy.dwgInFields(&filer), Zcad::eOk);
  EXPECT_EQ(copy.textString(), text.textString());
  EXPECT_TRUE(copy.position().isEqualTo(text.position()));
  EXPECT_TRUE(copy.alignmentPoint().isEqualTo(ZcGePoint3d(4, 5, 6)));
  EXPECT_EQ(copy.textStyle(), db_.textstyle());
  EXPECT_EQ(copy.horizontalMode(), ZcDb::kTextCenter);
  EXPECT_EQ(copy.verticalMode(), ZcDb::kTextTop);
  EXPECT_TRUE(copy.isMirroredInX());
  EXPECT_DOUBLE_EQ(copy.oblique(), 0.2);
  EXPECT_DOUBLE_EQ(copy.thickness(), 0.7);
  EXPECT_DOUBLE_EQ(copy.rotation(), 0.5);
}

}  // namespace
