// The generic curve queries of ZcDbCurve, answered through getZcGeCurve (a segment here).
#include <gtest/gtest.h>

#include <cmath>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbCurve.h"

namespace {

TEST(ZcDbCurveTest, DistancesParametersAndPointsAgreeAlongTheCurve) {
  TestSegment segment({0, 0, 0}, {3, 4, 0});
  double start = -1, end = -1, length = -1;
  ASSERT_EQ(segment.getStartParam(start), Zcad::eOk);
  ASSERT_EQ(segment.getEndParam(end), Zcad::eOk);
  ASSERT_EQ(segment.getDistAtParam(end, length), Zcad::eOk);
  EXPECT_NEAR(length, 5.0, 1e-12);
  for (double dist : {0.0, 1.0, 2.5, 5.0}) {
    ZcGePoint3d point;
    ASSERT_EQ(segment.getPointAtDist(dist, point), Zcad::eOk);
    double back = -1;
    ASSERT_EQ(segment.getDistAtPoint(point, back), Zcad::eOk);
    EXPECT_NEAR(back, dist, 1e-9) << dist;
  }
  ZcGePoint3d point;
  EXPECT_EQ(segment.getPointAtDist(5.1, point), Zcad::eInvalidInput);
  EXPECT_EQ(segment.getPointAtDist(std::nan(""), point), Zcad::eInvalidInput);
  EXPECT_EQ(segment.getPointAtParam(end + 0.5, point), Zcad::eInvalidInput);
  EXPECT_EQ(segment.getPointAtDist(5.0 + 1e-12, point), Zcad::eOk) << "a hair beyond the end is the end";
  double param = 0;
  EXPECT_EQ(segment.getParamAtPoint({1, 0, 0}, param), Zcad::eInvalidInput) << "not on the curve";

  ZcGeVector3d deriv;
  ASSERT_EQ(segment.getFirstDeriv(0.5 * (start + end), deriv), Zcad::eOk);
  EXPECT_NEAR(deriv.y / deriv.x, 4.0 / 3.0, 1e-12);
}

TEST(ZcDbCurveTest, ClosestPointsPlainExtendedAndAlongADirection) {
  TestSegment segment({0, 0, 0}, {10, 0, 0});
  ZcGePoint3d onCurve;
  ASSERT_EQ(segment.getClosestPointTo({15, 3, 0}, onCurve), Zcad::eOk);
  EXPECT_NEAR(onCurve.x, 10.0, 1e-9);
  ASSERT_EQ(segment.getClosestPointTo({15, 3, 0}, onCurve, /*extend=*/true), Zcad::eOk);
  EXPECT_NEAR(onCurve.x, 15.0, 1e-9);
  // Seen along (1, 1, 0), the point (4, 2) lies over the curve at x = 2.
  ASSERT_EQ(segment.getClosestPointTo({4, 2, 0}, ZcGeVector3d(1, 1, 0), onCurve), Zcad::eOk);
  EXPECT_NEAR(onCurve.x, 2.0, 1e-6);
  EXPECT_EQ(segment.getClosestPointTo({4, 2, 0}, ZcGeVector3d(0, 0, 0), onCurve), Zcad::eInvalidInput);
}

TEST(ZcDbCurveTest, DegenerateCurveAnswersItsSinglePoint) {
  TestSegment dot({2, 2, 2}, {2, 2, 2});
  ZcGePoint3d point;
  ASSERT_EQ(dot.getPointAtDist(0.0, point), Zcad::eOk);
  EXPECT_EQ(point.x, 2.0);
  EXPECT_EQ(dot.getPointAtDist(0.1, point), Zcad::eInvalidInput);
  double area = -1;
  ASSERT_EQ(dot.getArea(area), Zcad::eOk);
  EXPECT_EQ(area, 0.0);
  ZcDbExtents box;
  ASSERT_EQ(dot.getGeomExtents(box), Zcad::eOk);
  EXPECT_EQ(box.minPoint().z, 2.0);
}

TEST(ZcDbCurveTest, CurveWithoutGeometryAnswersNotImplemented) {
  // A curve class that has not given its ZcGe form yet.
  struct Bare : public TestSegment {
    Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol&) const override {
      return ZcDbCurve::getZcGeCurve(curve);
    }
  } bare;
  double param = 0;
  EXPECT_EQ(bare.getEndParam(param), Zcad::eNotImplementedYet);
  EXPECT_FALSE(bare.isClosed());
  ZcDbVoidPtrArray pieces;
  EXPECT_EQ(bare.getOffsetCurves(1.0, pieces), Zcad::eNotImplementedYet);
}

}  // namespace
