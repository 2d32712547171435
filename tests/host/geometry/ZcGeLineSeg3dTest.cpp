#include <gtest/gtest.h>

#include <memory>

#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

TEST(ZcGeLineSeg3dTest, ParameterIsUnitInterval) {
  const ZcGeLineSeg3d seg(ZcGePoint3d(1, 1, 1), ZcGePoint3d(4, 5, 1));
  ZcGeInterval range;
  seg.getInterval(range);
  EXPECT_DOUBLE_EQ(range.lower(), 0.0);
  EXPECT_DOUBLE_EQ(range.upper(), 1.0);
  EXPECT_EQ(seg.evalPoint(0.5), seg.midPoint());
  EXPECT_DOUBLE_EQ(seg.length(), 5.0);
  EXPECT_DOUBLE_EQ(seg.length(0.2, 0.6), 2.0);
  EXPECT_EQ(seg.direction(), ZcGeVector3d(0.6, 0.8, 0));
  ZcGeVector3dArray d;
  seg.evalPoint(0.3, 2, d);
  ASSERT_EQ(d.length(), 2);
  EXPECT_EQ(d[0], ZcGeVector3d(3, 4, 0));
  EXPECT_EQ(d[1], ZcGeVector3d::kIdentity);
}

TEST(ZcGeLineSeg3dTest, ClosestPointClampsToEnds) {
  const ZcGeLineSeg3d seg(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0));
  EXPECT_EQ(seg.closestPointTo(ZcGePoint3d(3, 4, 0)), ZcGePoint3d(3, 0, 0));
  EXPECT_EQ(seg.closestPointTo(ZcGePoint3d(-3, 4, 0)), ZcGePoint3d(0, 0, 0));
  double param = -1.0;
  EXPECT_EQ(seg.closestPointTo(ZcGePoint3d(30, 4, 0), param), ZcGePoint3d(10, 0, 0));
  EXPECT_DOUBLE_EQ(param, 1.0);
  EXPECT_TRUE(seg.isOn(ZcGePoint3d(7, 0, 0), param));
  EXPECT_DOUBLE_EQ(param, 0.7);
  EXPECT_FALSE(seg.isOn(ZcGePoint3d(11, 0, 0)));
  EXPECT_DOUBLE_EQ(seg.distanceTo(ZcGePoint3d(5, 0, 2)), 2.0);
}

TEST(ZcGeLineSeg3dTest, ZeroLengthSegmentGivesFiniteAnswers) {
  const ZcGeLineSeg3d seg(ZcGePoint3d(1, 2, 3), ZcGePoint3d(1, 2, 3));
  EXPECT_TRUE(seg.isValid());
  EXPECT_TRUE(seg.isDegenerate());
  EXPECT_TRUE(seg.direction().isZeroLength());
  EXPECT_DOUBLE_EQ(seg.paramOf(ZcGePoint3d(5, 5, 5)), 0.0);
  EXPECT_DOUBLE_EQ(seg.paramAtLength(0.0, 1.0), 0.0);
  ZcGePlane plane;
  EXPECT_TRUE(seg.isPlanar(plane));
}

TEST(ZcGeLineSeg3dTest, PointAtLengthRoundTrip) {
  const ZcGeLineSeg3d seg(ZcGePoint3d(0, 0, 0), ZcGePoint3d(0, 3, 4));
  EXPECT_DOUBLE_EQ(seg.paramAtLength(0.2, 2.5, /*posParamDir=*/true), 0.7);
  EXPECT_DOUBLE_EQ(seg.paramAtLength(0.7, 2.5, /*posParamDir=*/false), 0.2);
  EXPECT_DOUBLE_EQ(seg.paramAtLength(0.7, 100.0, /*posParamDir=*/true), 1.0);  // clamped
}

TEST(ZcGeLineSeg3dTest, IntersectWith) {
  const ZcGeLineSeg3d a(ZcGePoint3d(0, 0, 0), ZcGePoint3d(2, 2, 0));
  ZcGePoint3d hit;
  EXPECT_TRUE(a.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(0, 2, 0), ZcGePoint3d(2, 0, 0)), hit));
  EXPECT_EQ(hit, ZcGePoint3d(1, 1, 0));
  EXPECT_FALSE(a.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(0, 2, 1), ZcGePoint3d(2, 0, 1)), hit));  // skew
  EXPECT_FALSE(a.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(1, 0, 0), ZcGePoint3d(3, 2, 0)), hit));  // parallel
  EXPECT_FALSE(a.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(5, 0, 0), ZcGePoint3d(5, 9, 0)), hit));  // outside
}

TEST(ZcGeLineSeg3dTest, ReverseTransformCopy) {
  ZcGeLineSeg3d seg(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0));
  seg.reverseParam();
  EXPECT_EQ(seg.startPoint(), ZcGePoint3d(1, 0, 0));
  seg.transformBy(ZcGeMatrix3d::scaling(2.0));
  EXPECT_EQ(seg.startPoint(), ZcGePoint3d(2, 0, 0));
  std::unique_ptr<ZcGeCurve3d> copy(seg.copy());
  EXPECT_EQ(copy->type(), ZcGe::kLineSeg3d);
  EXPECT_TRUE(copy->isKindOf(ZcGe::kLinearEnt3d));
  EXPECT_TRUE(copy->isKindOf(ZcGe::kCurve3d));
  EXPECT_FALSE(copy->isKindOf(ZcGe::kCircArc3d));
  ZcGePoint3d lo, hi;
  EXPECT_TRUE(copy->getExtents(lo, hi));
  EXPECT_EQ(lo, ZcGePoint3d(0, 0, 0));
  EXPECT_EQ(hi, ZcGePoint3d(2, 0, 0));
}

}  // namespace
