#include <gtest/gtest.h>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

const ZcGePoint3d kSamples[] = {{1, 2, 3}, {-4, 0.5, 7}, {0, 0, 0}, {1e3, -2e3, 5}};

ZcGeMatrix3d someAffine() {
  return ZcGeMatrix3d::translation(ZcGeVector3d(3, -2, 1)) *
         ZcGeMatrix3d::rotation(0.7, ZcGeVector3d(1, 2, 3), ZcGePoint3d(1, 1, 1)) *
         ZcGeMatrix3d::scaling(ZcGeVector3d(2, 0.5, 3), ZcGePoint3d(0, 1, 0));
}

TEST(ZcGeMatrix3dTest, ProductAppliesRightFactorFirst) {
  const ZcGeMatrix3d t = ZcGeMatrix3d::translation(ZcGeVector3d(10, 0, 0));
  const ZcGeMatrix3d r = ZcGeMatrix3d::rotation(ZcGe::kHalfPi, ZcGeVector3d::kZAxis);
  EXPECT_EQ((t * r) * ZcGePoint3d(1, 0, 0), ZcGePoint3d(10, 1, 0));
  EXPECT_EQ((r * t) * ZcGePoint3d(1, 0, 0), ZcGePoint3d(0, 11, 0));
  ZcGeMatrix3d m = r;
  m.preMultBy(t);
  EXPECT_EQ(m, t * r);
  m = r;
  m.postMultBy(t);
  EXPECT_EQ(m, r * t);
  m.setToProduct(t, r);
  EXPECT_EQ(m, t * r);
}

TEST(ZcGeMatrix3dTest, InverseUndoesAffineTransforms) {
  const ZcGeMatrix3d m = someAffine();
  EXPECT_TRUE((m * m.inverse()).isIdentity(ZcGeTol(1e-12, 1e-12)));
  for (const ZcGePoint3d& p : kSamples)
    EXPECT_TRUE((m.inverse() * (m * p)).isEqualTo(p, ZcGeTol(1e-9, 1e-9)));
  ZcGeMatrix3d inv;
  EXPECT_TRUE(m.inverse(inv, 1e-12));
  ZcGeMatrix3d copy = m;
  copy.invert();
  EXPECT_EQ(copy, inv);
  EXPECT_NEAR(m.det() * inv.det(), 1.0, 1e-12);
}

TEST(ZcGeMatrix3dTest, SingularInverseIsIdentityAndReported) {
  const ZcGeMatrix3d flat = ZcGeMatrix3d::projection(ZcGePlane::kXYPlane, ZcGeVector3d::kZAxis);
  EXPECT_TRUE(flat.isSingular());
  EXPECT_NEAR(flat.det(), 0.0, 1e-15);
  EXPECT_EQ(flat.inverse(), ZcGeMatrix3d::kIdentity);
  ZcGeMatrix3d inv = someAffine();
  EXPECT_FALSE(flat.inverse(inv, 1e-10));
  EXPECT_EQ(inv, ZcGeMatrix3d::kIdentity);
  // A uniform small scale is not singular: the test is relative.
  EXPECT_FALSE(ZcGeMatrix3d::scaling(1e-6).isSingular());
}

TEST(ZcGeMatrix3dTest, RotationThenInverseRotationIsIdentity) {
  const ZcGePoint3d c(3, 4, 5);
  const ZcGeVector3d axis(1, -1, 2);
  const ZcGeMatrix3d m = ZcGeMatrix3d::rotation(1.234, axis, c) * ZcGeMatrix3d::rotation(-1.234, axis, c);
  EXPECT_TRUE(m.isIdentity(ZcGeTol(1e-12, 1e-12)));
  // Counter-clockwise about +z.
  EXPECT_EQ(ZcGeMatrix3d::rotation(ZcGe::kHalfPi, ZcGeVector3d::kZAxis) * ZcGePoint3d(1, 0, 0),
            ZcGePoint3d(0, 1, 0));
  EXPECT_EQ(ZcGeMatrix3d::rotation(0.5, ZcGeVector3d::kIdentity), ZcGeMatrix3d::kIdentity);
}

TEST(ZcGeMatrix3dTest, MirrorTwiceIsIdentity) {
  const ZcGePlane plane(ZcGePoint3d(1, 2, 3), ZcGeVector3d(1, 1, 0));
  const ZcGeMatrix3d mirrors[] = {
      ZcGeMatrix3d::mirroring(plane), ZcGeMatrix3d::mirroring(ZcGePoint3d(1, -1, 2)),
      ZcGeMatrix3d::mirroring(ZcGePoint3d(0, 1, 0), ZcGeVector3d(1, 1, 1)),
      ZcGeMatrix3d::mirroring(ZcGeLineSeg3d(ZcGePoint3d(0, 0, 1), ZcGePoint3d(2, 0, 1)))};
  for (const ZcGeMatrix3d& m : mirrors) {
    EXPECT_TRUE((m * m).isIdentity(ZcGeTol(1e-12, 1e-12)));
    EXPECT_TRUE(m.isUniScaledOrtho());
  }
  EXPECT_LT(ZcGeMatrix3d::mirroring(plane).det(), 0.0);
  // The plane's points are fixed, the normal flips.
  const ZcGeMatrix3d m = ZcGeMatrix3d::mirroring(plane);
  EXPECT_EQ(m * plane.pointOnPlane(), plane.pointOnPlane());
  EXPECT_EQ(m * plane.normal(), -plane.normal());
  EXPECT_EQ(ZcGeMatrix3d::mirroring(ZcGePoint3d(1, 1, 1)) * ZcGePoint3d(0, 0, 0), ZcGePoint3d(2, 2, 2));
  EXPECT_EQ(ZcGeMatrix3d::mirroring(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kXAxis) * ZcGePoint3d(1, 1, 1),
            ZcGePoint3d(1, -1, -1));
}

TEST(ZcGeMatrix3dTest, AlignCoordSysMapsFrameOntoFrame) {
  const ZcGePoint3d o1(1, 2, 3), o2(-5, 0, 2);
  const ZcGeVector3d x1 = ZcGeVector3d(1, 1, 0).normal(), z1 = ZcGeVector3d::kZAxis, y1 = z1.crossProduct(x1);
  const ZcGeVector3d x2 = ZcGeVector3d(0, 0, 2), y2 = ZcGeVector3d(2, 0, 0), z2 = ZcGeVector3d(0, 2, 0);
  const ZcGeMatrix3d m = ZcGeMatrix3d::alignCoordSys(o1, x1, y1, z1, o2, x2, y2, z2);
  EXPECT_EQ(m * o1, o2);
  EXPECT_EQ(m * x1, x2);
  EXPECT_EQ(m * y1, y2);
  EXPECT_EQ(m * (o1 + x1 * 3.0 + z1), o2 + x2 * 3.0 + z2);
  EXPECT_NEAR(m.scale(), 2.0, 1e-14);
  EXPECT_TRUE(m.isUniScaledOrtho());
}

TEST(ZcGeMatrix3dTest, PlaneToWorldAndBack) {
  const ZcGeVector3d n(0.2, -0.3, 0.9);
  const ZcGeMatrix3d toWorld = ZcGeMatrix3d::planeToWorld(n), toPlane = ZcGeMatrix3d::worldToPlane(n);
  EXPECT_TRUE((toWorld * toPlane).isIdentity(ZcGeTol(1e-12, 1e-12)));
  EXPECT_EQ(toWorld * ZcGeVector3d::kZAxis, n.normal());
  EXPECT_EQ(toWorld * ZcGeVector3d::kXAxis, n.perpVector());
  const ZcGePlane plane(ZcGePoint3d(1, 2, 3), ZcGeVector3d(1, 1, 1));
  const ZcGeMatrix3d w2p = ZcGeMatrix3d::worldToPlane(plane);
  EXPECT_NEAR((w2p * ZcGePoint3d(7, 8, 9)).z, plane.signedDistanceTo(ZcGePoint3d(7, 8, 9)), 1e-12);
  EXPECT_EQ(w2p * plane.pointOnPlane(), ZcGePoint3d::kOrigin);
}

TEST(ZcGeMatrix3dTest, CoordSystemRoundTripAndTranslation) {
  ZcGeMatrix3d m;
  m.setCoordSystem(ZcGePoint3d(1, 2, 3), ZcGeVector3d(0, 1, 0), ZcGeVector3d(-1, 0, 0),
                   ZcGeVector3d(0, 0, 1));
  ZcGePoint3d o;
  ZcGeVector3d x, y, z;
  m.getCoordSystem(o, x, y, z);
  EXPECT_EQ(o, ZcGePoint3d(1, 2, 3));
  EXPECT_EQ(x, ZcGeVector3d(0, 1, 0));
  EXPECT_EQ(y, ZcGeVector3d(-1, 0, 0));
  EXPECT_EQ(m.getTranslation(), ZcGeVector3d(1, 2, 3));
  EXPECT_EQ(m.transpose().transpose(), m);
}

TEST(ZcGeMatrix3dTest, OrthoClassification) {
  EXPECT_TRUE(ZcGeMatrix3d::scaling(3.0).isUniScaledOrtho());
  EXPECT_FALSE(ZcGeMatrix3d::scaling(ZcGeVector3d(1, 2, 1)).isUniScaledOrtho());
  EXPECT_TRUE(ZcGeMatrix3d::scaling(ZcGeVector3d(1, 2, 1)).isScaledOrtho());
  ZcGeMatrix3d shear;
  shear.entry[0][1] = 0.5;
  EXPECT_FALSE(shear.isScaledOrtho());
  EXPECT_NEAR(ZcGeMatrix3d::scaling(ZcGeVector3d(1, 2, 1)).scale(), 2.0, 0.0);
}

TEST(ZcGeMatrix3dTest, ProjectionAlongDirection) {
  const ZcGeMatrix3d m =
      ZcGeMatrix3d::projection(ZcGePlane(ZcGePoint3d(0, 0, 2), ZcGeVector3d::kZAxis), ZcGeVector3d(1, 0, 1));
  EXPECT_EQ(m * ZcGePoint3d(0, 0, 0), ZcGePoint3d(2, 0, 2));
}

}  // namespace
