#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "CurveTestSupport.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbSpline.h"

using namespace curve_test;

namespace {

constexpr double kPi = ZcGe::kPi;

// Perimeter of an ellipse by the arithmetic-geometric mean (machine precision):
// 4 a E(e) with E = K (1 - sum 2^(n-1) c_n^2), K = pi / (2 AGM).
double ellipsePerimeter(double a, double b) {
  double an = 1.0, bn = b / a, cn = std::sqrt(1.0 - bn * bn), sum = 0.5 * cn * cn, power = 0.5;
  for (int n = 0; n < 40 && cn > 1e-18; ++n) {
    const double next = 0.5 * (an + bn);
    cn = 0.5 * (an - bn);
    bn = std::sqrt(an * bn);
    an = next;
    power *= 2.0;
    sum += power * cn * cn;
  }
  return 4.0 * a * (kPi / (2.0 * an)) * (1.0 - sum);
}

ZcDbEllipse tiltedArc() {
  const ZcGeVector3d normal = ZcGeVector3d(1, 2, 2) / 3.0;
  const ZcGeVector3d major = ZcGeVector3d(2, -1, 0).normal() * 4.0;
  return ZcDbEllipse({1, -1, 2}, normal, major, 0.4, 5.0, 2.5);
}

TEST(ZcDbEllipseTest, ParametersAndAnglesConvertKeepingTheTurns) {
  const ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.5);
  EXPECT_NEAR(ellipse.paramAtAngle(kPi / 4), std::atan(2.0), 1e-15);
  EXPECT_NEAR(ellipse.paramAtAngle(2 * kPi + kPi / 4), 2 * kPi + std::atan(2.0), 1e-14);
  EXPECT_NEAR(ellipse.paramAtAngle(-kPi / 2), -kPi / 2, 1e-15);
  for (double angle = -7.0; angle < 7.0; angle += 0.37)
    EXPECT_NEAR(ellipse.angleAtParam(ellipse.paramAtAngle(angle)), angle, 1e-13) << angle;
  // The point at a parameter lies at the geometric angle angleAtParam from the major axis.
  ZcGePoint3d p;
  ASSERT_EQ(ellipse.getPointAtParam(1.0, p), Zcad::eOk);
  EXPECT_NEAR(std::atan2(p.y, p.x), ellipse.angleAtParam(1.0), 1e-14);
}

TEST(ZcDbEllipseTest, FullEllipseLengthAndAreaMatchTheClosedForms) {
  const ZcDbEllipse ellipse({1, 2, 3}, ZcGeVector3d(0, 0, 1), {0, 5, 0}, 0.3);
  EXPECT_TRUE(ellipse.isClosed());
  EXPECT_TRUE(ellipse.isPeriodic());
  EXPECT_NEAR(lengthOf(ellipse), ellipsePerimeter(5.0, 1.5), 1e-9 * ellipsePerimeter(5.0, 1.5));
  double area = 0.0;
  ASSERT_EQ(ellipse.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, kPi * 5.0 * 1.5, 1e-12);
  EXPECT_TRUE(ellipse.minorAxis().isEqualTo({-1.5, 0, 0}));
}

TEST(ZcDbEllipseTest, CurveProperties) {
  const ZcDbEllipse arc = tiltedArc();
  expectDistanceRoundTrips(arc);
  expectReversal(arc);
  expectSplineFormAgrees(arc);
  expectTightExtents(arc);
  expectDwgRoundTrip(arc);
  expectTransformsCompose(arc, skewRotation(), mirrorYZ());
  expectTransformsCompose(arc, uniformScale(), shift());
  // Non-uniform scaling keeps an ellipse (exactly), but not the proportions of lengths.
  expectTransformsCompose(arc, ZcGeMatrix3d::scaling({1, 3, 0.5}), skewRotation(), /*sameStart=*/false);
  const ZcDbEllipse full({0, 0, 0}, ZcGeVector3d(0, 1, 0), {0, 0, 3}, 0.7);
  expectDistanceRoundTrips(full);
  expectReversal(full);
  expectSplineFormAgrees(full);
  expectTightExtents(full);
}

TEST(ZcDbEllipseTest, NonUniformScalingKeepsTheEndPoints) {
  ZcDbEllipse arc = tiltedArc();
  const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling({1, 3, 0.5}, {1, 1, 1});
  ZcGePoint3d start, end, p;
  arc.getStartPoint(start);
  arc.getEndPoint(end);
  ASSERT_EQ(arc.transformBy(stretch), Zcad::eOk);
  EXPECT_FALSE(arc.isClosed());
  arc.getStartPoint(p);
  EXPECT_TRUE(p.isEqualTo(stretch * start, ZcGeTol(1e-12, 1e-12)));
  arc.getEndPoint(p);
  EXPECT_TRUE(p.isEqualTo(stretch * end, ZcGeTol(1e-12, 1e-12)));
  EXPECT_LE(arc.radiusRatio(), 1.0);
  EXPECT_TRUE(arc.majorAxis().isPerpendicularTo(arc.normal()));
}

TEST(ZcDbEllipseTest, StartAndEndParametersSetOneAfterTheOther) {
  // As hatch boundaries are rebuilt: a full ellipse, then the edge's parameters.
  ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {3, 0, 0}, 0.5, 0.0, 2 * kPi);
  ASSERT_EQ(ellipse.setStartParam(4.0), Zcad::eOk);
  ASSERT_EQ(ellipse.setEndParam(1.0), Zcad::eOk);
  double start = 0.0, end = 0.0;
  ellipse.getStartParam(start);
  ellipse.getEndParam(end);
  EXPECT_DOUBLE_EQ(start, 4.0);
  EXPECT_NEAR(end, 1.0 + 2 * kPi, 1e-15);
  EXPECT_FALSE(ellipse.isClosed());
  // Equal ends mean the full ellipse.
  ASSERT_EQ(ellipse.setEndParam(4.0 + 2 * kPi), Zcad::eOk);
  EXPECT_TRUE(ellipse.isClosed());
  // Angles: a quarter from the major axis to the minor axis is a quarter in parameters too.
  ASSERT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d::kZAxis, {3, 0, 0}, 0.5, 0.0, kPi / 2), Zcad::eOk);
  EXPECT_NEAR(ellipse.endAngle(), kPi / 2, 1e-15);
  ellipse.getEndParam(end);
  EXPECT_NEAR(end, kPi / 2, 1e-15);
}

TEST(ZcDbEllipseTest, InvalidDefinitionsAreRefusedAndNothingStored) {
  ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.5);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.0), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 1.5), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 1}, 0.5), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d(), {2, 0, 0}, 0.5), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.set({0, 0, nan}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.5), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.setRadiusRatio(2.0), Zcad::eInvalidInput);
  EXPECT_EQ(ellipse.setStartParam(nan), Zcad::eInvalidInput);
  EXPECT_TRUE(ellipse.majorAxis().isEqualTo({2, 0, 0}));
  EXPECT_EQ(ellipse.radiusRatio(), 0.5);
  // A major axis off perpendicular by rounding only is made perpendicular, its length kept.
  ASSERT_EQ(ellipse.set({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 1e-9}, 0.5), Zcad::eOk);
  EXPECT_EQ(ellipse.majorAxis().z, 0.0);
  EXPECT_NEAR(ellipse.majorRadius(), 2.0, 1e-15);
  // The constructor gives the null ellipse for what set() refuses.
  EXPECT_TRUE(ZcDbEllipse({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, -1.0).isNull());
}

TEST(ZcDbEllipseTest, NullEllipseIsItsCenter) {
  const ZcDbEllipse ellipse;
  EXPECT_TRUE(ellipse.isNull());
  EXPECT_EQ(lengthOf(ellipse), 0.0);
  ZcGePoint3d p;
  double param = 0.0, area = -1.0;
  ASSERT_EQ(ellipse.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo(ZcGePoint3d::kOrigin));
  ASSERT_EQ(ellipse.getParamAtPoint(ZcGePoint3d::kOrigin, param), Zcad::eOk);
  ASSERT_EQ(ellipse.getArea(area), Zcad::eOk);
  EXPECT_EQ(area, 0.0);
  ZcDbSpline* spline = nullptr;
  EXPECT_EQ(ellipse.getSpline(spline), Zcad::eDegenerateGeometry);
}

TEST(ZcDbEllipseTest, HalfEllipseAreaIsBetweenArcAndDiameter) {
  const ZcDbEllipse half({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.5, 0.0, kPi);
  double area = 0.0;
  ASSERT_EQ(half.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, kPi, 1e-12);
}

TEST(ZcDbEllipseTest, ReversingAFullEllipseKeepsItFull) {
  ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 0, 0}, 0.5);
  ASSERT_EQ(ellipse.reverseCurve(), Zcad::eOk);
  EXPECT_TRUE(ellipse.isClosed());
  EXPECT_TRUE(ellipse.normal().isEqualTo({0, 0, -1}));
  EXPECT_NEAR(lengthOf(ellipse), ellipsePerimeter(2.0, 1.0), 1e-8);
}

}  // namespace
