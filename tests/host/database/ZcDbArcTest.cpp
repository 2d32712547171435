#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "CurveTestSupport.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbSpline.h"

using namespace curve_test;

namespace {

constexpr double kPi = ZcGe::kPi;

TEST(ZcDbArcTest, AnglesAreNormalisedAndTheEndParameterRunsPastTwoPi) {
  const ZcDbArc arc({1, 1, 0}, 2.0, -kPi / 2, kPi / 2);
  EXPECT_DOUBLE_EQ(arc.startAngle(), 1.5 * kPi);
  EXPECT_DOUBLE_EQ(arc.endAngle(), 0.5 * kPi);
  EXPECT_DOUBLE_EQ(arc.totalAngle(), kPi);
  double start = 0.0, end = 0.0;
  arc.getStartParam(start);
  arc.getEndParam(end);
  EXPECT_DOUBLE_EQ(end, 2.5 * kPi);
  EXPECT_DOUBLE_EQ(lengthOf(arc), 2 * kPi);
  ZcGePoint3d p;
  // Through the OCS x axis: the middle of the arc is at angle 0.
  ASSERT_EQ(arc.getPointAtParam(2 * kPi, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({3, 1, 0}));
  // As the coordinate list writes it: 0 to 90 degrees of radius 1 is 1.571 long.
  EXPECT_NEAR(ZcDbArc({0, 0, 0}, 1.0, 0.0, kPi / 2).length(), 1.5708, 5e-5);
}

TEST(ZcDbArcTest, CurveProperties) {
  const ZcDbArc arc({1, -2, 3}, ZcGeVector3d(1, -2, 2), 3.0, 5.5, 2.0);
  expectDistanceRoundTrips(arc);
  expectReversal(arc);
  expectSplineFormAgrees(arc);
  expectTightExtents(arc);
  expectDwgRoundTrip(arc);
  expectTransformsCompose(arc, skewRotation(), mirrorYZ());
  expectTransformsCompose(arc, uniformScale(), shift());
}

TEST(ZcDbArcTest, ExtentsHoldTheCircleExtremesInsideTheSweepOnly) {
  const ZcDbArc arc({0, 0, 0}, 1.0, 80 * kPi / 180, 100 * kPi / 180);
  ZcDbExtents box;
  ASSERT_EQ(arc.getGeomExtents(box), Zcad::eOk);
  EXPECT_NEAR(box.maxPoint().y, 1.0, 1e-15);
  EXPECT_NEAR(box.minPoint().y, std::sin(80 * kPi / 180), 1e-15);
  EXPECT_NEAR(box.minPoint().x, std::cos(100 * kPi / 180), 1e-15);
  EXPECT_NEAR(box.maxPoint().x, std::cos(80 * kPi / 180), 1e-15);
}

TEST(ZcDbArcTest, AnglesOfAnArcWithDownwardNormalStartAtMinusX) {
  // Mirrored drawings store such arcs: the OCS x axis of (0, 0, -1) is -X.
  const ZcDbArc arc({0, 0, 0}, ZcGeVector3d(0, 0, -1), 1.0, 0.0, kPi / 2);
  ZcGePoint3d start, end;
  arc.getStartPoint(start);
  arc.getEndPoint(end);
  EXPECT_TRUE(start.isEqualTo({-1, 0, 0}));
  EXPECT_TRUE(end.isEqualTo({0, 1, 0}));
}

TEST(ZcDbArcTest, MirrorFlipsTheNormalAndKeepsTheArcCounterClockwiseAboutIt) {
  ZcDbArc arc({2, 0, 0}, 1.0, 0.0, kPi / 2);
  const ZcGeMatrix3d mirror = mirrorYZ();
  ZcGePoint3d start, end;
  ZcGeVector3d tangent;
  arc.getStartPoint(start);
  arc.getEndPoint(end);
  arc.getFirstDeriv(0.0, tangent);
  ASSERT_EQ(arc.transformBy(mirror), Zcad::eOk);
  EXPECT_TRUE(arc.normal().isEqualTo({0, 0, -1}));
  ZcGePoint3d newStart, newEnd;
  ZcGeVector3d newTangent;
  double startParam = 0.0;
  arc.getStartPoint(newStart);
  arc.getEndPoint(newEnd);
  arc.getStartParam(startParam);
  arc.getFirstDeriv(startParam, newTangent);
  EXPECT_TRUE(newStart.isEqualTo(mirror * start));
  EXPECT_TRUE(newEnd.isEqualTo(mirror * end));
  EXPECT_TRUE(newTangent.isEqualTo(mirror * tangent));
}

TEST(ZcDbArcTest, NonUniformScalingIsRefusedAndTheCopyIsAnEllipticalArc) {
  ZcDbArc arc({1, 0, 0}, 2.0, 0.3, 2.0);
  const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling({1, 3, 1}, {0, 0, 0});
  EXPECT_EQ(arc.transformBy(stretch), Zcad::eNotApplicable);
  EXPECT_DOUBLE_EQ(arc.radius(), 2.0);
  ZcDbEntity* raw = nullptr;
  ASSERT_EQ(arc.getTransformedCopy(stretch, raw), Zcad::eOk);
  std::unique_ptr<ZcDbEntity> copy(raw);
  auto* ellipse = ZcDbEllipse::cast(copy.get());
  ASSERT_NE(ellipse, nullptr);
  EXPECT_NEAR(ellipse->majorRadius(), 6.0, 1e-12);
  EXPECT_NEAR(ellipse->radiusRatio(), 1.0 / 3.0, 1e-12);
  ZcGePoint3d start, end, p;
  arc.getStartPoint(start);
  arc.getEndPoint(end);
  ellipse->getStartPoint(p);
  EXPECT_TRUE(p.isEqualTo(stretch * start));
  ellipse->getEndPoint(p);
  EXPECT_TRUE(p.isEqualTo(stretch * end));
  for (const ZcGePoint3d& q : pointsByLength(arc, 20)) {
    ZcGePoint3d onEllipse;
    ellipse->getClosestPointTo(stretch * q, onEllipse);
    EXPECT_LE(onEllipse.distanceTo(stretch * q), 1e-9);
  }
  // Seen edge-on the image is flat: a spline.
  const ZcGeMatrix3d edgeOn = ZcGeMatrix3d::projection(ZcGePlane::kZXPlane, ZcGeVector3d::kYAxis);
  ASSERT_EQ(arc.getTransformedCopy(edgeOn, raw), Zcad::eOk);
  copy.reset(raw);
  EXPECT_NE(ZcDbSpline::cast(copy.get()), nullptr);
}

TEST(ZcDbArcTest, AreaIsBetweenTheArcAndItsChord) {
  double area = 0.0;
  ASSERT_EQ(ZcDbArc({0, 0, 0}, 2.0, 0.0, kPi).getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 2 * kPi, 1e-12);
  ASSERT_EQ(ZcDbArc({5, 5, 5}, 2.0, 1.0, 1.0 + kPi / 2).getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 2.0 * (kPi / 2 - 1.0), 1e-12);
}

TEST(ZcDbArcTest, ZeroSweepAndZeroRadiusArcsAreTheirStartPoint) {
  const auto expectPointLike = [](const ZcDbArc& arc) {
    EXPECT_EQ(lengthOf(arc), 0.0);
    double param = 0.0, area = -1.0;
    ZcGePoint3d p, start;
    arc.getStartPoint(start);
    ASSERT_EQ(arc.getParamAtDist(0.0, param), Zcad::eOk);
    ASSERT_EQ(arc.getPointAtDist(0.0, p), Zcad::eOk);
    EXPECT_TRUE(p.isEqualTo(start));
    ASSERT_EQ(arc.getArea(area), Zcad::eOk);
    EXPECT_EQ(area, 0.0);
    ASSERT_EQ(arc.getClosestPointTo({9, 9, 9}, ZcGeVector3d(0, 1, 1), p), Zcad::eOk);
    EXPECT_TRUE(zcgeIsFinite(p));
    ZcDbSpline* spline = nullptr;
    EXPECT_EQ(arc.getSpline(spline), Zcad::eDegenerateGeometry);
    EXPECT_EQ(spline, nullptr);
  };
  expectPointLike(ZcDbArc({1, 2, 3}, 2.0, 1.0, 1.0));
  expectPointLike(ZcDbArc({1, 2, 3}, 0.0, 1.0, 2.0));
  // A point on the axis of a zero radius arc is its center.
  ZcDbArc point({1, 2, 3}, 0.0, 1.0, 2.0);
  double param = 0.0;
  EXPECT_EQ(point.getParamAtPoint({1, 2, 3}, param), Zcad::eOk);
}

TEST(ZcDbArcTest, BadRadiusAndAnglesAreRefused) {
  ZcDbArc arc({0, 0, 0}, -3.0, 0.0, 1.0);
  EXPECT_EQ(arc.radius(), 0.0);
  ASSERT_EQ(arc.setRadius(3.0), Zcad::eOk);
  EXPECT_EQ(arc.setRadius(-1.0), Zcad::eInvalidInput);
  EXPECT_EQ(arc.setStartAngle(std::numeric_limits<double>::quiet_NaN()), Zcad::eInvalidInput);
  EXPECT_EQ(arc.radius(), 3.0);
  EXPECT_EQ(arc.startAngle(), 0.0);
}

TEST(ZcDbArcTest, ReversingFlipsTheNormalAndTheThickness) {
  ZcDbArc arc({0, 0, 0}, 1.0, 0.5, 2.5);
  arc.setThickness(2.0);
  ZcDbExtents before, after;
  arc.getGeomExtents(before);
  ASSERT_EQ(arc.reverseCurve(), Zcad::eOk);
  EXPECT_TRUE(arc.normal().isEqualTo({0, 0, -1}));
  EXPECT_EQ(arc.thickness(), -2.0);
  EXPECT_NEAR(arc.totalAngle(), 2.0, 1e-12);
  arc.getGeomExtents(after);
  EXPECT_TRUE(after.minPoint().isEqualTo(before.minPoint()));
  EXPECT_TRUE(after.maxPoint().isEqualTo(before.maxPoint()));
}

}  // namespace
