#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CurveTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbHelix.h"

using namespace curve_test;

namespace {

constexpr double kPi = ZcGe::kPi;

TEST(ZcDbHelixTest, DefaultHelixIsAThreeTurnSpringOfHeightOne) {
  const ZcDbHelix helix;
  EXPECT_EQ(helix.turns(), 3.0);
  EXPECT_DOUBLE_EQ(helix.height(), 1.0);
  EXPECT_TRUE(helix.twist());
  ZcGePoint3d start, end;
  helix.getStartPoint(start);
  helix.getEndPoint(end);
  EXPECT_TRUE(start.isEqualTo({1, 0, 0}));
  EXPECT_TRUE(end.isEqualTo({1, 0, 1}, ZcGeTol(1e-12, 1e-12)));
  const double analytic = 3.0 * std::hypot(2 * kPi, 1.0 / 3.0);
  EXPECT_NEAR(helix.totalLength(), analytic, 1e-12 * analytic);
  EXPECT_NEAR(lengthOf(helix), analytic, 1e-9 * analytic);
  EXPECT_NEAR(helix.turnSlope(), std::atan2(1.0 / 3.0, 2 * kPi), 1e-12);
  // A spline and a curve to everyone who asks.
  EXPECT_NE(ZcDbSpline::cast(&helix), nullptr);
  EXPECT_STREQ(helix.isA()->dxfName(), L"HELIX");
  EXPECT_STREQ(helix.isA()->name(), L"AcDbHelix");
}

TEST(ZcDbHelixTest, SplineStaysOnTheHelix) {
  ZcDbHelix helix;
  ASSERT_EQ(helix.setAxisPoint({1, 2, 3}), Zcad::eOk);
  ASSERT_EQ(helix.setAxisVector({0, 1, 1}), Zcad::eOk);
  ASSERT_EQ(helix.setBaseRadius(4.0), Zcad::eOk);
  ASSERT_EQ(helix.setTopRadius(4.0), Zcad::eOk);
  ASSERT_EQ(helix.setTurnHeight(2.0), Zcad::eOk);
  const ZcGeVector3d axis = helix.axisVector();
  const ZcGePoint3d base = helix.axisPoint();
  for (const ZcGePoint3d& p : pointsByLength(helix, 500)) {
    const ZcGeVector3d offset = p - base;
    EXPECT_NEAR(offset.orthoProject(axis).length(), 4.0, 1e-7 * 4.0);
  }
  // Points at a fraction of the length rise by that fraction of the height.
  const double length = lengthOf(helix);
  for (double fraction : {0.1, 0.37, 0.5, 0.93}) {
    ZcGePoint3d p;
    helix.getPointAtDist(fraction * length, p);
    EXPECT_NEAR((p - base).dotProduct(axis), fraction * helix.height(), 1e-7) << fraction;
  }
}

TEST(ZcDbHelixTest, ConstrainedQuantityStaysWhenAnotherIsSet) {
  ZcDbHelix helix;  // turn height constrained
  ASSERT_EQ(helix.setHeight(2.0), Zcad::eOk);
  EXPECT_DOUBLE_EQ(helix.turns(), 6.0);
  ASSERT_EQ(helix.setConstrain(ZcDbHelix::kHeight), Zcad::eOk);
  ASSERT_EQ(helix.setTurns(4.0), Zcad::eOk);
  EXPECT_DOUBLE_EQ(helix.turnHeight(), 0.5);
  EXPECT_DOUBLE_EQ(helix.height(), 2.0);
  ASSERT_EQ(helix.setTurnHeight(0.25), Zcad::eOk);
  EXPECT_DOUBLE_EQ(helix.turns(), 8.0);
  ASSERT_EQ(helix.setConstrain(ZcDbHelix::kTurns), Zcad::eOk);
  ASSERT_EQ(helix.setHeight(4.0), Zcad::eOk);
  EXPECT_DOUBLE_EQ(helix.turnHeight(), 0.5);
  EXPECT_EQ(helix.setTurns(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(helix.setTurns(501.0), Zcad::eInvalidInput);
  EXPECT_EQ(helix.setTurns(std::nan("")), Zcad::eInvalidInput);
  EXPECT_EQ(helix.setBaseRadius(-1.0), Zcad::eInvalidInput);
  EXPECT_DOUBLE_EQ(helix.turns(), 8.0);
}

TEST(ZcDbHelixTest, CurveProperties) {
  ZcDbHelix cone;
  ASSERT_EQ(cone.setBaseRadius(3.0), Zcad::eOk);
  ASSERT_EQ(cone.setTopRadius(1.0), Zcad::eOk);
  ASSERT_EQ(cone.setTwist(false), Zcad::eOk);
  expectDistanceRoundTrips(cone, 301);
  expectReversal(cone);
  expectSplineFormAgrees(cone);
  expectTightExtents(cone);
  expectDwgRoundTrip(cone);
  expectTransformsCompose(cone, skewRotation(), mirrorYZ());
  expectTransformsCompose(cone, uniformScale(), shift());
  EXPECT_NEAR(lengthOf(cone), cone.totalLength(), 1e-6 * cone.totalLength());
}

TEST(ZcDbHelixTest, ReversedHelixStartsAtTheTopWithTheSameTwist) {
  ZcDbHelix helix;
  ASSERT_EQ(helix.setTopRadius(2.0), Zcad::eOk);
  ZcGePoint3d end;
  helix.getEndPoint(end);
  ASSERT_EQ(helix.reverseCurve(), Zcad::eOk);
  EXPECT_TRUE(helix.startPoint().isEqualTo(end, ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(helix.axisVector().isEqualTo({0, 0, -1}));
  EXPECT_EQ(helix.baseRadius(), 2.0);
  EXPECT_EQ(helix.topRadius(), 1.0);
  EXPECT_TRUE(helix.twist());
}

TEST(ZcDbHelixTest, MirrorFlipsTheTwistAndStretchingGivesASpline) {
  ZcDbHelix helix;
  ASSERT_EQ(helix.transformBy(mirrorYZ()), Zcad::eOk);
  EXPECT_FALSE(helix.twist());
  const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling({1, 2, 1});
  EXPECT_EQ(helix.transformBy(stretch), Zcad::eNotApplicable);
  ZcDbEntity* raw = nullptr;
  ASSERT_EQ(helix.getTransformedCopy(stretch, raw), Zcad::eOk);
  std::unique_ptr<ZcDbEntity> copy(raw);
  EXPECT_EQ(copy->isA(), ZcDbSpline::desc());
  ZcDbSpline* spline = nullptr;
  ASSERT_EQ(helix.getSpline(spline), Zcad::eOk);
  EXPECT_EQ(spline->isA(), ZcDbSpline::desc()) << "a plain spline, not a helix";
  delete spline;
}

TEST(ZcDbHelixTest, ConvertsToA3dPolylineAlongTheHelix) {
  const ZcDbHelix helix;
  ZcDbCurve* raw = nullptr;
  int segments = 0;
  ASSERT_EQ(helix.toPolyline(raw, /*precision=*/10, &segments, /*maxSegments=*/10000), Zcad::eOk);
  std::unique_ptr<ZcDbCurve> polyline(raw);
  ASSERT_NE(ZcDb3dPolyline::cast(polyline.get()), nullptr);
  EXPECT_GT(segments, 3 * 16);
  EXPECT_NEAR(lengthOf(*polyline), helix.totalLength(), 2e-3 * helix.totalLength());
}

TEST(ZcDbHelixTest, FlatSpiralAndConeTipAreFinite) {
  ZcDbHelix spiral;
  ASSERT_EQ(spiral.setHeight(0.0), Zcad::eInvalidInput) << "turn height constrained: no turns for height 0";
  ASSERT_EQ(spiral.setConstrain(ZcDbHelix::kTurns), Zcad::eOk);
  ASSERT_EQ(spiral.setHeight(0.0), Zcad::eOk);
  ASSERT_EQ(spiral.setTopRadius(0.0), Zcad::eOk);
  EXPECT_EQ(spiral.turnSlope(), 0.0);
  double area = 0.0;
  ASSERT_EQ(spiral.getArea(area), Zcad::eOk);
  EXPECT_TRUE(std::isfinite(area));
  EXPECT_NEAR(lengthOf(spiral), spiral.totalLength(), 1e-6 * spiral.totalLength());
  ASSERT_EQ(spiral.setBaseRadius(0.0), Zcad::eOk);
  EXPECT_EQ(lengthOf(spiral), 0.0);
  ZcGePoint3d p;
  EXPECT_EQ(spiral.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo(ZcGePoint3d::kOrigin));
}

}  // namespace
