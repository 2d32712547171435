#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "CurveTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbSpline.h"

using namespace curve_test;

namespace {

constexpr double kPi = ZcGe::kPi;

TEST(ZcDbCircleTest, MeasuresAsTheCoordinateListWritesThem) {
  const ZcDbCircle circle({3, 4, 5}, ZcGeVector3d::kZAxis, 2.0);
  double area = 0.0;
  ASSERT_EQ(circle.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 12.566, 5e-4);
  EXPECT_NEAR(lengthOf(circle), 12.566, 5e-4);
  EXPECT_DOUBLE_EQ(circle.circumference(), 4 * kPi);
  EXPECT_DOUBLE_EQ(circle.diameter(), 4.0);
  EXPECT_TRUE(circle.isClosed());
  EXPECT_TRUE(circle.isPeriodic());
}

TEST(ZcDbCircleTest, CurveProperties) {
  const ZcDbCircle circle({1, -2, 3}, ZcGeVector3d(0.3, 1, -2), 2.5);
  expectDistanceRoundTrips(circle);
  expectReversal(circle, /*sameStart=*/false);
  expectSplineFormAgrees(circle);
  expectTightExtents(circle);
  expectDwgRoundTrip(circle);
  // The start point follows the normal's OCS, not the transform: compare shapes only.
  expectTransformsCompose(circle, skewRotation(), mirrorYZ(), /*sameStart=*/false);
  expectTransformsCompose(circle, uniformScale(), shift(), /*sameStart=*/false);
}

TEST(ZcDbCircleTest, ParametersWrapAroundTheCircle) {
  const ZcDbCircle circle({0, 0, 0}, ZcGeVector3d(0, 1, 1), 1.0);
  ZcGePoint3d a, b;
  ASSERT_EQ(circle.getPointAtParam(1.0, a), Zcad::eOk);
  ASSERT_EQ(circle.getPointAtParam(1.0 + 4 * kPi, b), Zcad::eOk);
  EXPECT_TRUE(a.isEqualTo(b));
  ASSERT_EQ(circle.getPointAtParam(1.0 - 2 * kPi, b), Zcad::eOk);
  EXPECT_TRUE(a.isEqualTo(b));
}

TEST(ZcDbCircleTest, TiltedExtentsAreExact) {
  const ZcDbCircle circle({0, 0, 0}, ZcGeVector3d(0, 1, 1), 1.0);
  ZcDbExtents box;
  ASSERT_EQ(circle.getGeomExtents(box), Zcad::eOk);
  EXPECT_TRUE(box.maxPoint().isEqualTo({1, std::sqrt(0.5), std::sqrt(0.5)}));
  EXPECT_TRUE(box.minPoint().isEqualTo({-1, -std::sqrt(0.5), -std::sqrt(0.5)}));
}

TEST(ZcDbCircleTest, ZeroRadiusIsKeptAndAnsweredAsAPoint) {
  ZcDbCircle circle({1, 2, 3}, ZcGeVector3d::kZAxis, 0.0);
  EXPECT_EQ(lengthOf(circle), 0.0);
  ZcGePoint3d p;
  double param = -1.0;
  ZcGeVector3d d;
  ASSERT_EQ(circle.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({1, 2, 3}));
  ASSERT_EQ(circle.getParamAtPoint({1, 2, 3}, param), Zcad::eOk);
  ASSERT_EQ(circle.getFirstDeriv(param, d), Zcad::eOk);
  EXPECT_TRUE(d.isZeroLength());
  ASSERT_EQ(circle.getClosestPointTo({5, 5, 5}, ZcGeVector3d(1, 0, 0), p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({1, 2, 3}));
  ZcDbSpline* spline = nullptr;
  EXPECT_EQ(circle.getSpline(spline), Zcad::eDegenerateGeometry);
  ZcGeCurve3d* ge = nullptr;
  EXPECT_EQ(circle.getZcGeCurve(ge), Zcad::eDegenerateGeometry);
  // Negative radii are refused by the setter and become 0 in the constructor.
  EXPECT_EQ(circle.setRadius(-2.0), Zcad::eInvalidInput);
  EXPECT_EQ(circle.setRadius(std::numeric_limits<double>::infinity()), Zcad::eInvalidInput);
  EXPECT_EQ(circle.radius(), 0.0);
  EXPECT_EQ(ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, -5.0).radius(), 0.0);
}

TEST(ZcDbCircleTest, NonUniformScalingIsRefusedAndTheCopyIsAnEllipse) {
  ZcDbCircle circle({1, 1, 0}, ZcGeVector3d::kZAxis, 1.0);
  const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling({1, 2, 1}, {0, 0, 0});
  EXPECT_EQ(circle.transformBy(stretch), Zcad::eNotApplicable);
  ZcDbEntity* raw = nullptr;
  ASSERT_EQ(circle.getTransformedCopy(stretch, raw), Zcad::eOk);
  std::unique_ptr<ZcDbEntity> copy(raw);
  const ZcDbEllipse* ellipse = ZcDbEllipse::cast(copy.get());
  ASSERT_NE(ellipse, nullptr);
  EXPECT_TRUE(ellipse->isClosed());
  EXPECT_TRUE(ellipse->center().isEqualTo({1, 2, 0}));
  EXPECT_TRUE(ellipse->majorAxis().isParallelTo(ZcGeVector3d::kYAxis));
  EXPECT_NEAR(ellipse->majorRadius(), 2.0, 1e-12);
  EXPECT_NEAR(ellipse->radiusRatio(), 0.5, 1e-12);
  double area = 0.0;
  ellipse->getArea(area);
  EXPECT_NEAR(area, 2 * kPi, 1e-12);
  // A vertical circle projected onto the XY plane is flat: a spline.
  const ZcDbCircle vertical({0, 0, 0}, ZcGeVector3d::kYAxis, 1.0);
  ASSERT_EQ(
      vertical.getTransformedCopy(ZcGeMatrix3d::projection(ZcGePlane::kXYPlane, ZcGeVector3d::kZAxis), raw),
      Zcad::eOk);
  copy.reset(raw);
  EXPECT_NE(ZcDbSpline::cast(copy.get()), nullptr);
}

TEST(ZcDbCircleTest, ReversingKeepsTheShapeAndTurnsTheDirection) {
  ZcDbCircle circle({0, 0, 0}, ZcGeVector3d::kZAxis, 1.0);
  ZcGeVector3d before, after;
  circle.getFirstDeriv(ZcGePoint3d(0, 1, 0), before);
  ASSERT_EQ(circle.reverseCurve(), Zcad::eOk);
  EXPECT_TRUE(circle.normal().isEqualTo({0, 0, -1}));
  circle.getFirstDeriv(ZcGePoint3d(0, 1, 0), after);
  EXPECT_TRUE(after.isEqualTo(-before));
}

}  // namespace
