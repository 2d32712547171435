#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace {

TEST(ZcGeVector3dTest, ZeroVectorNormalStaysZeroNotNaN) {
  const ZcGeVector3d zero;
  EXPECT_TRUE(zcgeIsFinite(zero.normal()));
  EXPECT_TRUE(zero.normal().isZeroLength());
  ZcGeVector3d tiny(1e-300, 0, 0);
  tiny.normalize();
  EXPECT_TRUE(zcgeIsFinite(tiny));
  EXPECT_TRUE(zcgeIsFinite(zero.perpVector()));
  EXPECT_DOUBLE_EQ(zero.angleTo(ZcGeVector3d::kXAxis), 0.0);
}

TEST(ZcGeVector3dTest, ComparisonsUseTolerance) {
  EXPECT_EQ(ZcGeVector3d(1, 2, 3), ZcGeVector3d(1, 2, 3 + 1e-12));
  EXPECT_NE(ZcGeVector3d(1, 2, 3), ZcGeVector3d(1, 2, 3 + 1e-8));
  EXPECT_TRUE(ZcGeVector3d(1, 2, 3).isEqualTo(ZcGeVector3d(1, 2, 3.1), ZcGeTol(0.2, 0.2)));
}

TEST(ZcGeVector3dTest, AngleToWithReferenceCoversFullTurn) {
  const ZcGeVector3d x = ZcGeVector3d::kXAxis;
  for (double a : {0.3, 1.7, 3.0, 4.0, 6.0}) {
    ZcGeVector3d v = x;
    v.rotateBy(a, ZcGeVector3d::kZAxis);
    EXPECT_NEAR(x.angleTo(v, ZcGeVector3d::kZAxis), a, 1e-12);
    EXPECT_NEAR(x.angleTo(v, -ZcGeVector3d::kZAxis), ZcGe::kTwoPi - a, 1e-12);
    EXPECT_NEAR(x.angleTo(v), a <= ZcGe::kPi ? a : ZcGe::kTwoPi - a, 1e-12);
  }
}

TEST(ZcGeVector3dTest, ParallelPerpendicularCodirectional) {
  const ZcGeVector3d a(1, 1, 0);
  EXPECT_TRUE(a.isParallelTo(ZcGeVector3d(-2, -2, 0)));
  EXPECT_FALSE(a.isCodirectionalTo(ZcGeVector3d(-2, -2, 0)));
  EXPECT_TRUE(a.isCodirectionalTo(ZcGeVector3d(3, 3, 0)));
  EXPECT_TRUE(a.isPerpendicularTo(ZcGeVector3d(1, -1, 5)));
  EXPECT_FALSE(a.isParallelTo(ZcGeVector3d::kIdentity));  // a zero vector has no direction
}

TEST(ZcGeVector3dTest, PerpVectorFollowsArbitraryAxisRule) {
  // Near the z axis the rule takes Y x N: for N = Z that is the x axis.
  EXPECT_EQ(ZcGeVector3d::kZAxis.perpVector(), ZcGeVector3d::kXAxis);
  EXPECT_EQ((-ZcGeVector3d::kZAxis).perpVector(), -ZcGeVector3d::kXAxis);
  for (const ZcGeVector3d& n : {ZcGeVector3d(1, 2, 3), ZcGeVector3d(0, 0.001, 1), ZcGeVector3d(-4, 0, 0.5)}) {
    const ZcGeVector3d p = n.perpVector();
    EXPECT_TRUE(p.isUnitLength());
    EXPECT_NEAR(p.dotProduct(n), 0.0, 1e-14);
  }
}

TEST(ZcGeVector3dTest, TransformIgnoresTranslation) {
  const ZcGeMatrix3d m = ZcGeMatrix3d::translation(ZcGeVector3d(5, 6, 7)) *
                         ZcGeMatrix3d::rotation(ZcGe::kHalfPi, ZcGeVector3d::kZAxis);
  ZcGeVector3d v(1, 0, 0);
  v.transformBy(m);
  EXPECT_EQ(v, ZcGeVector3d(0, 1, 0));
}

TEST(ZcGeVector3dTest, MirrorAndOrthoProject) {
  ZcGeVector3d v(1, 2, 3);
  v.mirror(ZcGeVector3d(0, 0, 2));
  EXPECT_EQ(v, ZcGeVector3d(1, 2, -3));
  EXPECT_EQ(ZcGeVector3d(1, 2, 3).orthoProject(ZcGeVector3d::kZAxis), ZcGeVector3d(1, 2, 0));
}

TEST(ZcGeVector3dTest, PlaneConversionsRoundTrip) {
  const ZcGePlane plane(ZcGePoint3d(1, 2, 3), ZcGeVector3d(1, 1, 1));
  const ZcGeVector3d v = plane.uAxis() * 2.0 - plane.vAxis() * 3.0;
  const ZcGeVector2d v2 = v.convert2d(plane);
  EXPECT_NEAR(v2.x, 2.0, 1e-14);
  EXPECT_NEAR(v2.y, -3.0, 1e-14);
  EXPECT_EQ(ZcGeVector3d(plane, v2), v);
  EXPECT_NEAR(v.angleOnPlane(plane), std::atan2(-3.0, 2.0) + ZcGe::kTwoPi, 1e-14);
}

TEST(ZcGeVector3dTest, IsFiniteDetectsNaNAndInfinity) {
  EXPECT_TRUE(zcgeIsFinite(ZcGeVector3d(1, 2, 3)));
  EXPECT_FALSE(zcgeIsFinite(ZcGeVector3d(std::numeric_limits<double>::quiet_NaN(), 0, 0)));
  EXPECT_FALSE(zcgeIsFinite(ZcGeVector3d(0, 0, std::numeric_limits<double>::infinity())));
}

TEST(ZcGeVector2dTest, AnglesAndRotation) {
  EXPECT_NEAR(ZcGeVector2d(0, -1).angle(), 1.5 * ZcGe::kPi, 1e-15);
  ZcGeVector2d v(1, 0);
  v.rotateBy(ZcGe::kHalfPi);
  EXPECT_EQ(v, ZcGeVector2d(0, 1));
  EXPECT_GT(ZcGeVector2d(1, 0).crossProduct(ZcGeVector2d(0, 1)), 0.0);
  EXPECT_TRUE(ZcGeVector2d().normal().isZeroLength());
  ZcGeVector2d m(1, 1);
  m.mirror(ZcGeVector2d(1, 0));
  EXPECT_EQ(m, ZcGeVector2d(1, -1));
}

}  // namespace
