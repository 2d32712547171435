#include <gtest/gtest.h>

#include <limits>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace {

TEST(ZcGePoint3dTest, ArithmeticKinds) {
  const ZcGePoint3d a(1, 2, 3), b(4, 6, 3);
  const ZcGeVector3d d = b - a;  // point - point is a vector
  EXPECT_EQ(d, ZcGeVector3d(3, 4, 0));
  EXPECT_EQ(a + d, b);
  EXPECT_EQ(b - d, a);
  EXPECT_DOUBLE_EQ(a.distanceTo(b), 5.0);
  EXPECT_EQ(a, ZcGePoint3d(1, 2, 3 + 1e-12));  // == is within gTol
  EXPECT_EQ(a.convert2d().convert3d(3.0), a);
}

TEST(ZcGePoint3dTest, TransformUsesTranslation) {
  ZcGePoint3d p(1, 0, 0);
  p.transformBy(ZcGeMatrix3d::translation(ZcGeVector3d(0, 0, 5)));
  EXPECT_EQ(p, ZcGePoint3d(1, 0, 5));
  p.rotateBy(ZcGe::kPi, ZcGeVector3d::kZAxis, ZcGePoint3d(0, 0, 0));
  EXPECT_EQ(p, ZcGePoint3d(-1, 0, 5));
  p.scaleBy(2.0, ZcGePoint3d(0, 0, 5));
  EXPECT_EQ(p, ZcGePoint3d(-2, 0, 5));
}

TEST(ZcGePoint3dTest, PlaneProjectionsAndMirror) {
  const ZcGePlane plane(ZcGePoint3d(0, 0, 1), ZcGeVector3d::kZAxis);
  const ZcGePoint3d p(3, 4, 5);
  EXPECT_EQ(p.orthoProject(plane), ZcGePoint3d(3, 4, 1));
  EXPECT_EQ(p.project(plane, ZcGeVector3d(1, 0, -1)), ZcGePoint3d(7, 4, 1));
  // A direction in the plane cannot project: the point stays.
  EXPECT_EQ(p.project(plane, ZcGeVector3d::kXAxis), p);
  ZcGePoint3d m = p;
  m.mirror(plane);
  EXPECT_EQ(m, ZcGePoint3d(3, 4, -3));
  const ZcGePoint2d local = p.convert2d(plane);
  EXPECT_EQ(ZcGePoint3d(plane, local), p.orthoProject(plane));
}

TEST(ZcGePoint3dTest, IsFinite) {
  EXPECT_TRUE(zcgeIsFinite(ZcGePoint3d(1, 2, 3)));
  EXPECT_FALSE(zcgeIsFinite(ZcGePoint3d(1, std::numeric_limits<double>::quiet_NaN(), 3)));
  EXPECT_FALSE(zcgeIsFinite(ZcGePoint2d(std::numeric_limits<double>::infinity(), 0)));
}

TEST(ZcGePoint2dTest, RotateMirrorScale) {
  ZcGePoint2d p(2, 1);
  p.rotateBy(ZcGe::kHalfPi, ZcGePoint2d(1, 1));
  EXPECT_EQ(p, ZcGePoint2d(1, 2));
  p.mirror(ZcGePoint2d(0, 0), ZcGeVector2d(1, 0));
  EXPECT_EQ(p, ZcGePoint2d(1, -2));
  p.scaleBy(0.5);
  EXPECT_EQ(p, ZcGePoint2d(0.5, -1));
}

}  // namespace
