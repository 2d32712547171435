#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

const ZcGeTol kTight(1e-12, 1e-12);

ZcGeCircArc3d tiltedArc() {
  return ZcGeCircArc3d(ZcGePoint3d(1, 2, 3), ZcGeVector3d(1, 1, 1), ZcGeVector3d(1, -1, 0), 2.5, 0.4, 4.0);
}

// Dense-sampling box, never larger than the exact one.
void sampledExtents(const ZcGeCurve3d& c, ZcGePoint3d& lo, ZcGePoint3d& hi) {
  ZcGePoint3dArray pts;
  c.getSamplePoints(20001, pts);
  lo = hi = pts[0];
  for (const ZcGePoint3d& p : pts)
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], p[i]);
      hi[i] = std::max(hi[i], p[i]);
    }
}

TEST(ZcGeCircArc3dTest, ParameterIsAngleFromRefVec) {
  const ZcGeCircArc3d arc = tiltedArc();
  ASSERT_TRUE(arc.isValid());
  EXPECT_TRUE(arc.refVec().isPerpendicularTo(arc.normal()));
  for (double a : {0.4, 1.0, 2.5, 4.0}) {
    const ZcGePoint3d p = arc.evalPoint(a);
    EXPECT_NEAR(p.distanceTo(arc.center()), 2.5, 1e-12);
    EXPECT_NEAR(arc.refVec().angleTo(p - arc.center(), arc.normal()), a, 1e-12);
    EXPECT_NEAR(arc.paramOf(p), a, 1e-12);
  }
  EXPECT_DOUBLE_EQ(arc.length(), 2.5 * 3.6);
  EXPECT_NEAR(arc.length(1.0, 2.0), 2.5, 1e-15);
}

TEST(ZcGeCircArc3dTest, DerivativesMatchFiniteDifferences) {
  const ZcGeCircArc3d arc = tiltedArc();
  ZcGeVector3dArray d;
  const double t = 1.3, h = 1e-5;
  arc.evalPoint(t, 2, d);
  const ZcGeVector3d fd1 = (arc.evalPoint(t + h) - arc.evalPoint(t - h)) / (2 * h);
  const ZcGeVector3d fd2 = (arc.evalPoint(t + h).asVector() - arc.evalPoint(t).asVector() * 2.0 +
                            arc.evalPoint(t - h).asVector()) /
                           (h * h);
  EXPECT_TRUE(d[0].isEqualTo(fd1, ZcGeTol(1e-8, 1e-8)));
  EXPECT_TRUE(d[1].isEqualTo(fd2, ZcGeTol(1e-4, 1e-4)));
}

TEST(ZcGeCircArc3dTest, AngleNormalisation) {
  ZcGeCircArc3d arc(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kXAxis, 1.0, 5.0, 1.0);
  // An end below the start runs on through zero.
  EXPECT_NEAR(arc.endAng() - arc.startAng(), 1.0 - 5.0 + ZcGe::kTwoPi, 1e-15);
  arc.setAngles(0.0, 10.0);
  EXPECT_NEAR(arc.endAng(), ZcGe::kTwoPi, 0.0);  // sweep capped at a full turn
  EXPECT_TRUE(arc.isClosed());
  arc.setAngles(0.0, 3.0);
  EXPECT_FALSE(arc.isClosed());
}

TEST(ZcGeCircArc3dTest, ThreePointArc) {
  const ZcGePoint3d a(3, 0, 1), b(0, 3, 1), c(-3, 0, 1);
  const ZcGeCircArc3d arc(a, b, c);
  ASSERT_TRUE(arc.isValid());
  EXPECT_TRUE(arc.center().isEqualTo(ZcGePoint3d(0, 0, 1), kTight));
  EXPECT_NEAR(arc.radius(), 3.0, 1e-12);
  EXPECT_TRUE(arc.startPoint().isEqualTo(a, kTight));
  EXPECT_TRUE(arc.endPoint().isEqualTo(c, kTight));
  EXPECT_TRUE(arc.isOn(b, ZcGeTol(1e-12, 1e-12)));
  // Through the other side: the arc from a via (0,-3) to c is the other half.
  const ZcGeCircArc3d other(a, ZcGePoint3d(0, -3, 1), c);
  EXPECT_TRUE(other.isOn(ZcGePoint3d(0, -3, 1), kTight));
  EXPECT_FALSE(other.isOn(b));
  // Reflex arcs.
  const ZcGeCircArc3d reflex(a, ZcGePoint3d(0, -3, 1), b);
  EXPECT_NEAR(reflex.endAng() - reflex.startAng(), 1.5 * ZcGe::kPi, 1e-12);
  EXPECT_FALSE(ZcGeCircArc3d(a, a, c).isValid());
  EXPECT_FALSE(ZcGeCircArc3d(a, ZcGePoint3d(0, 0, 1), c).isValid());  // collinear
}

TEST(ZcGeCircArc3dTest, ClosestPointAndPointAtLength) {
  const ZcGeCircArc3d arc(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kXAxis, 2.0, 0.0, ZcGe::kHalfPi);
  EXPECT_TRUE(arc.closestPointTo(ZcGePoint3d(5, 5, 7))
                  .isEqualTo(ZcGePoint3d(std::sqrt(2.0), std::sqrt(2.0), 0), kTight));
  EXPECT_TRUE(arc.closestPointTo(ZcGePoint3d(1, -0.5, 0)).isEqualTo(ZcGePoint3d(2, 0, 0), kTight));
  EXPECT_TRUE(arc.closestPointTo(ZcGePoint3d(-1, 0.2, 0)).isEqualTo(ZcGePoint3d(0, 2, 0), kTight));
  EXPECT_TRUE(zcgeIsFinite(arc.closestPointTo(ZcGePoint3d(0, 0, 4))));  // on the axis
  const double t = arc.paramAtLength(0.1, 1.0, /*posParamDir=*/true);
  EXPECT_NEAR(arc.length(0.1, t), 1.0, 1e-14);
  EXPECT_NEAR(arc.paramAtLength(t, 1.0, /*posParamDir=*/false), 0.1, 1e-14);
}

TEST(ZcGeCircArc3dTest, ExtentsAreExact) {
  const ZcGeCircArc3d arc = tiltedArc();
  ZcGePoint3d lo, hi, slo, shi;
  ASSERT_TRUE(arc.getExtents(lo, hi));
  sampledExtents(arc, slo, shi);
  for (int i = 0; i < 3; ++i) {
    EXPECT_LE(lo[i], slo[i] + 1e-12);
    EXPECT_GE(hi[i], shi[i] - 1e-12);
    EXPECT_NEAR(lo[i], slo[i], 1e-6);
    EXPECT_NEAR(hi[i], shi[i], 1e-6);
  }
}

TEST(ZcGeCircArc3dTest, ReverseParamKeepsPointSet) {
  ZcGeCircArc3d arc = tiltedArc();
  const ZcGeCircArc3d orig = arc;
  arc.reverseParam();
  EXPECT_TRUE(arc.startPoint().isEqualTo(orig.endPoint(), kTight));
  EXPECT_TRUE(arc.endPoint().isEqualTo(orig.startPoint(), kTight));
  EXPECT_TRUE(arc.evalPoint(-2.0).isEqualTo(orig.evalPoint(2.0), kTight));
  arc.reverseParam();
  EXPECT_TRUE(arc.evalPoint(2.0).isEqualTo(orig.evalPoint(2.0), kTight));
  EXPECT_EQ(arc.normal(), orig.normal());
}

TEST(ZcGeCircArc3dTest, ConformalTransformsMapPointsExactly) {
  const ZcGeMatrix3d transforms[] = {
      ZcGeMatrix3d::rotation(0.8, ZcGeVector3d(0, 1, 1), ZcGePoint3d(3, 0, 0)) * ZcGeMatrix3d::scaling(1.5),
      ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d(0, 0, 1), ZcGeVector3d(1, 0, 0.3))),
  };
  for (const ZcGeMatrix3d& m : transforms) {
    ZcGeCircArc3d arc = tiltedArc();
    const ZcGeCircArc3d orig = arc;
    arc.transformBy(m);
    ASSERT_TRUE(arc.isValid());
    for (double a : {0.4, 1.1, 2.9, 4.0})
      EXPECT_TRUE(arc.evalPoint(a).isEqualTo(m * orig.evalPoint(a), ZcGeTol(1e-10, 1e-10)));
  }
}

TEST(ZcGeCircArc3dTest, NonUniformTransformKeepsEndPoints) {
  ZcGeCircArc3d arc(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kXAxis, 1.0, 0.0, 2.0);
  const ZcGeMatrix3d m = ZcGeMatrix3d::scaling(ZcGeVector3d(2, 1, 1));
  const ZcGePoint3d s = m * arc.startPoint(), e = m * arc.endPoint();
  arc.transformBy(m);
  EXPECT_TRUE(arc.startPoint().isEqualTo(s, ZcGeTol(1e-10, 1e-10)));
  EXPECT_TRUE(arc.endPoint().isEqualTo(e, ZcGeTol(1e-10, 1e-10)));
}

TEST(ZcGeCircArc3dTest, InvalidInput) {
  EXPECT_FALSE(ZcGeCircArc3d(ZcGePoint3d(), ZcGeVector3d::kZAxis, 0.0).isValid());
  EXPECT_FALSE(ZcGeCircArc3d(ZcGePoint3d(), ZcGeVector3d(), 1.0).isValid());
  EXPECT_FALSE(ZcGeCircArc3d(ZcGePoint3d(std::nan(""), 0, 0), ZcGeVector3d::kZAxis, 1.0).isValid());
  // A reference vector along the normal falls back to a perpendicular one.
  const ZcGeCircArc3d arc(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kZAxis, 1.0, 0.0, 1.0);
  EXPECT_TRUE(arc.isValid());
}

}  // namespace
