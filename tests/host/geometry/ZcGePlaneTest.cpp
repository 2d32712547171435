#include <gtest/gtest.h>

#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

TEST(ZcGePlaneTest, ThreePointFormHasOriginInTheMiddle) {
  const ZcGePlane p(ZcGePoint3d(2, 0, 1), ZcGePoint3d(1, 0, 1), ZcGePoint3d(1, 3, 1));
  EXPECT_TRUE(p.isValid());
  EXPECT_EQ(p.pointOnPlane(), ZcGePoint3d(1, 0, 1));
  EXPECT_EQ(p.normal(), ZcGeVector3d::kZAxis);
  EXPECT_EQ(p.uAxis(), ZcGeVector3d::kXAxis);
  EXPECT_EQ(p.vAxis(), ZcGeVector3d::kYAxis);
}

TEST(ZcGePlaneTest, DegenerateInputGivesInvalidButFinitePlane) {
  const ZcGePlane collinear(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 1), ZcGePoint3d(2, 2, 2));
  EXPECT_FALSE(collinear.isValid());
  EXPECT_TRUE(zcgeIsFinite(collinear.closestPointTo(ZcGePoint3d(5, 5, 5))));
  EXPECT_FALSE(ZcGePlane(ZcGePoint3d(), ZcGeVector3d()).isValid());
  EXPECT_FALSE(ZcGePlane(0, 0, 0, 1).isValid());
}

TEST(ZcGePlaneTest, DistancesAndClosestPoint) {
  const ZcGePlane p(1, 0, 0, -2);  // x = 2
  EXPECT_EQ(p.pointOnPlane(), ZcGePoint3d(2, 0, 0));
  EXPECT_DOUBLE_EQ(p.signedDistanceTo(ZcGePoint3d(5, 1, 1)), 3.0);
  EXPECT_DOUBLE_EQ(p.signedDistanceTo(ZcGePoint3d(-1, 1, 1)), -3.0);
  EXPECT_EQ(p.closestPointTo(ZcGePoint3d(5, 1, 1)), ZcGePoint3d(2, 1, 1));
  EXPECT_TRUE(p.isOn(ZcGePoint3d(2, 7, -3)));
  double a, b, c, d;
  p.getCoefficients(a, b, c, d);
  EXPECT_DOUBLE_EQ(d, -2.0);
  EXPECT_TRUE(p.isCoplanarTo(ZcGePlane(ZcGePoint3d(2, 5, 5), ZcGeVector3d(-3, 0, 0))));
  EXPECT_FALSE(p.isCoplanarTo(ZcGePlane(ZcGePoint3d(3, 5, 5), ZcGeVector3d(1, 0, 0))));
}

TEST(ZcGePlaneTest, IntersectionsAndProjection) {
  const ZcGePlane xy = ZcGePlane::kXYPlane;
  ZcGePoint3d hit;
  EXPECT_TRUE(xy.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(1, 1, -1), ZcGePoint3d(1, 1, 3)), hit));
  EXPECT_EQ(hit, ZcGePoint3d(1, 1, 0));
  EXPECT_FALSE(xy.intersectWith(ZcGeLineSeg3d(ZcGePoint3d(1, 1, 1), ZcGePoint3d(1, 1, 3)), hit));
  EXPECT_FALSE(xy.intersectWith(ZcGePoint3d(0, 0, 1), ZcGeVector3d::kXAxis, hit));
  EXPECT_TRUE(xy.projectPoint(ZcGePoint3d(0, 0, 2), ZcGeVector3d(1, 0, -1), hit));
  EXPECT_EQ(hit, ZcGePoint3d(2, 0, 0));
  ZcGePoint3d linePoint;
  ZcGeVector3d lineDir;
  EXPECT_TRUE(xy.intersectWith(ZcGePlane(ZcGePoint3d(3, 0, 0), ZcGeVector3d(1, 0, 1)), linePoint, lineDir));
  EXPECT_TRUE(xy.isOn(linePoint));
  EXPECT_NEAR(linePoint.x, 3.0, 1e-12);
  EXPECT_TRUE(lineDir.isParallelTo(ZcGeVector3d::kYAxis));
  EXPECT_FALSE(xy.intersectWith(ZcGePlane(ZcGePoint3d(0, 0, 1), ZcGeVector3d::kZAxis), linePoint, lineDir));
}

TEST(ZcGePlaneTest, MirrorTransformKeepsAxesRightHanded) {
  ZcGePlane p(ZcGePoint3d(0, 0, 1), ZcGeVector3d::kZAxis);
  p.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane::kYZPlane));
  EXPECT_EQ(p.normal(), p.uAxis().crossProduct(p.vAxis()));
  EXPECT_TRUE(p.isOn(ZcGePoint3d(5, 5, 1)));
  p.reverseNormal();
  EXPECT_EQ(p.normal(), p.uAxis().crossProduct(p.vAxis()));
}

TEST(ZcGePlaneTest, StandardPlanes) {
  EXPECT_EQ(ZcGePlane::kXYPlane.normal(), ZcGeVector3d::kZAxis);
  EXPECT_EQ(ZcGePlane::kYZPlane.normal(), ZcGeVector3d::kXAxis);
  EXPECT_EQ(ZcGePlane::kZXPlane.normal(), ZcGeVector3d::kYAxis);
  for (const ZcGePlane* p : {&ZcGePlane::kXYPlane, &ZcGePlane::kYZPlane, &ZcGePlane::kZXPlane})
    EXPECT_EQ(p->uAxis().crossProduct(p->vAxis()), p->normal());
}

}  // namespace
