#include <gtest/gtest.h>

#include "zcad/ge/ZcGeLineSeg2d.h"

namespace {

TEST(ZcGeLineSeg2dTest, QueriesAndIntersection) {
  const ZcGeLineSeg2d seg(ZcGePoint2d(0, 0), ZcGePoint2d(4, 0));
  EXPECT_DOUBLE_EQ(seg.length(), 4.0);
  EXPECT_EQ(seg.evalPoint(0.25), ZcGePoint2d(1, 0));
  EXPECT_DOUBLE_EQ(seg.paramOf(ZcGePoint2d(3, 7)), 0.75);
  EXPECT_EQ(seg.closestPointTo(ZcGePoint2d(9, 1)), ZcGePoint2d(4, 0));
  EXPECT_TRUE(seg.isOn(ZcGePoint2d(2, 0)));
  EXPECT_FALSE(seg.isOn(ZcGePoint2d(2, 0.1)));
  ZcGePoint2d hit;
  EXPECT_TRUE(seg.intersectWith(ZcGeLineSeg2d(ZcGePoint2d(1, -1), ZcGePoint2d(1, 1)), hit));
  EXPECT_EQ(hit, ZcGePoint2d(1, 0));
  EXPECT_FALSE(seg.intersectWith(ZcGeLineSeg2d(ZcGePoint2d(5, -1), ZcGePoint2d(5, 1)), hit));
  ZcGePoint2d lo, hi;
  ZcGeLineSeg2d(ZcGePoint2d(3, -1), ZcGePoint2d(1, 2)).getExtents(lo, hi);
  EXPECT_EQ(lo, ZcGePoint2d(1, -1));
  EXPECT_EQ(hi, ZcGePoint2d(3, 2));
}

TEST(ZcGeLineSeg2dTest, ZeroLength) {
  const ZcGeLineSeg2d seg(ZcGePoint2d(1, 1), ZcGePoint2d(1, 1));
  EXPECT_DOUBLE_EQ(seg.paramOf(ZcGePoint2d(5, 5)), 0.0);
  EXPECT_TRUE(seg.direction().isZeroLength());
  ZcGePoint2d hit;
  EXPECT_FALSE(seg.intersectWith(ZcGeLineSeg2d(ZcGePoint2d(0, 0), ZcGePoint2d(2, 2)), hit));
}

}  // namespace
