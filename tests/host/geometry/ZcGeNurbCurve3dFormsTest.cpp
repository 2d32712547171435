#include <gtest/gtest.h>

#include <cmath>

#include "zcad/ge/ZcGeCircArc2d.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

TEST(ZcGeNurbCurve3dFormsTest, LineSegmentHasSameParameter) {
  const ZcGeLineSeg3d seg(ZcGePoint3d(1, 2, 3), ZcGePoint3d(-4, 0, 8));
  const ZcGeNurbCurve3d c(seg);
  EXPECT_EQ(c.degree(), 1);
  for (double t : {0.0, 0.25, 0.9, 1.0})
    EXPECT_TRUE(c.evalPoint(t).isEqualTo(seg.evalPoint(t), ZcGeTol(1e-14, 1e-14)));
  EXPECT_NEAR(c.length(), seg.length(), 1e-12);
}

// Points of the NURBS lie on the analytic arc (relative 1e-12), in sweep order, and the
// joint knots are the analytic angles.
void expectExactCircle(const ZcGeCircArc3d& arc) {
  const ZcGeNurbCurve3d c(arc);
  ASSERT_TRUE(c.isValid()) << arc.startAng() << " " << arc.endAng();
  EXPECT_EQ(c.degree(), 2);
  EXPECT_TRUE(c.isRational());
  const double r = arc.radius();
  const double sweep = arc.endAng() - arc.startAng();
  EXPECT_LE(c.numControlPoints(), 2 * 4 + 1);
  EXPECT_GE(c.numControlPoints(), 2 * static_cast<int>(std::ceil(sweep / ZcGe::kHalfPi - 1e-9)) + 1);
  double prevAngle = arc.startAng();
  const double t0 = c.startParam(), t1 = c.endParam();
  EXPECT_DOUBLE_EQ(t0, arc.startAng());
  EXPECT_DOUBLE_EQ(t1, arc.endAng());
  for (int i = 0; i <= 400; ++i) {
    const double t = t0 + (t1 - t0) * i / 400.0;
    const ZcGePoint3d p = c.evalPoint(t);
    EXPECT_NEAR(p.distanceTo(arc.center()), r, 1e-12 * r) << t;
    EXPECT_NEAR((p - arc.center()).dotProduct(arc.normal()), 0.0, 1e-12 * r);
    double angle = arc.angleOf(p);
    if (i == 400 && angle < prevAngle) angle += ZcGe::kTwoPi;  // full circle: end at start + 2 pi
    EXPECT_GE(angle, prevAngle - 1e-12);
    prevAngle = angle;
  }
  // The joints are at the analytic angles.
  for (int i = 0; i < c.numKnots(); ++i) {
    const double k = c.knotAt(i);
    EXPECT_TRUE(c.evalPoint(k).isEqualTo(arc.evalPoint(k), ZcGeTol(1e-12 * r, 1e-12))) << k;
  }
  EXPECT_NEAR(c.length(), arc.length(), 1e-9 * arc.length());
}

TEST(ZcGeNurbCurve3dFormsTest, CircleAndArcsAreExact) {
  const ZcGePoint3d center(1, -2, 3);
  const ZcGeVector3d normal(0.3, -0.4, 1.0);
  expectExactCircle(ZcGeCircArc3d(center, normal, 2.5));
  for (auto [s, e] : {std::pair{0.0, 0.3}, std::pair{0.2, ZcGe::kHalfPi + 0.2}, std::pair{-1.0, 2.0},
                      std::pair{1.0, 1.0 + 1.5 * ZcGe::kPi}, std::pair{0.5, 0.5 + ZcGe::kTwoPi - 1e-3}})
    expectExactCircle(ZcGeCircArc3d(center, normal, normal.perpVector(), 1e3, s, e));
  expectExactCircle(ZcGeCircArc3d(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kXAxis, 1e-3, 0.0, 1.0));
}

TEST(ZcGeNurbCurve3dFormsTest, EllipseIsExact) {
  const ZcGeEllipArc3d e(ZcGePoint3d(1, 1, 0), ZcGeVector3d(1, 1, 0), ZcGeVector3d(-1, 1, 1), 4.0, 1.5, 0.3,
                         5.9);
  const ZcGeNurbCurve3d c(e);
  ASSERT_TRUE(c.isValid());
  for (int i = 0; i <= 300; ++i) {
    const double t = c.startParam() + (c.endParam() - c.startParam()) * i / 300.0;
    const ZcGeVector3d v = c.evalPoint(t) - e.center();
    const double x = v.dotProduct(e.majorAxis()) / 4.0, y = v.dotProduct(e.minorAxis()) / 1.5;
    EXPECT_NEAR(x * x + y * y, 1.0, 1e-12);
    EXPECT_NEAR(v.dotProduct(e.normal()), 0.0, 1e-12);
  }
  EXPECT_TRUE(c.evalPoint(c.startParam()).isEqualTo(e.startPoint(), ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(c.evalPoint(c.endParam()).isEqualTo(e.endPoint(), ZcGeTol(1e-12, 1e-12)));
  EXPECT_NEAR(c.length(), e.length(), 1e-9 * e.length());
}

TEST(ZcGeNurbCurve3dFormsTest, ExactFormExtentsMatchAnalytic) {
  const ZcGeCircArc3d arc(ZcGePoint3d(2, 2, 0), ZcGeVector3d(0, 1, 1), ZcGeVector3d(1, 0, 0), 3.0, 0.4, 5.0);
  ZcGePoint3d alo, ahi, nlo, nhi;
  arc.getExtents(alo, ahi);
  ZcGeNurbCurve3d(arc).getExtents(nlo, nhi);
  EXPECT_TRUE(alo.isEqualTo(nlo, ZcGeTol(1e-9, 1e-9)));
  EXPECT_TRUE(ahi.isEqualTo(nhi, ZcGeTol(1e-9, 1e-9)));
}

ZcGePoint3d onArc(const ZcGePoint3d& s, const ZcGePoint3d& e, double bulge) {
  // Mid-arc point: the sagitta bulge * chord / 2 to the right of the chord (seen from +z).
  const ZcGeVector3d chord = e - s;
  const ZcGeVector3d right = chord.crossProduct(ZcGeVector3d::kZAxis).normal();
  return s + chord * 0.5 + right * (bulge * chord.length() * 0.5);
}

TEST(ZcGeNurbCurve3dFormsTest, BulgePolylinePassesThroughVerticesAndMidArcs) {
  ZcGePoint3dArray v{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}, {-2, 2, 0}};
  ZcGeDoubleArray b{0.0, 0.5, -1.0, 3.0, 0.2};
  for (bool closed : {false, true}) {
    const ZcGeNurbCurve3d c = ZcGeNurbCurve3d::fromBulgePolyline(v, b, closed);
    ASSERT_TRUE(c.isValid());
    EXPECT_EQ(c.degree(), 2);
    EXPECT_TRUE(c.isRational());
    const int segments = closed ? v.length() : v.length() - 1;
    EXPECT_DOUBLE_EQ(c.endParam(), segments);
    double expectedLength = 0.0;
    for (int i = 0; i < segments; ++i) {
      const ZcGePoint3d s = v[i], e = v[(i + 1) % v.length()];
      EXPECT_TRUE(c.evalPoint(i).isEqualTo(s, ZcGeTol(1e-12, 1e-12))) << i;
      EXPECT_TRUE(c.evalPoint(i + 1.0).isEqualTo(e, ZcGeTol(1e-12, 1e-12))) << i;
      const ZcGePoint3d mid = onArc(s, e, b[i]);
      EXPECT_LE(c.distanceTo(mid), 1e-9) << i;
      if (b[i] == 0.0) {
        expectedLength += s.distanceTo(e);
      } else {
        const ZcGeCircArc2d arc(s.convert2d(), e.convert2d(), b[i]);
        expectedLength += arc.length();
        // Every point of the piece is on the bulge arc.
        for (double f = 0.05; f < 1.0; f += 0.1) {
          const ZcGePoint3d p = c.evalPoint(i + f);
          EXPECT_NEAR(p.convert2d().distanceTo(arc.center()), arc.radius(), 1e-12 * arc.radius());
        }
      }
    }
    EXPECT_NEAR(c.length(), expectedLength, 1e-9 * expectedLength);
    EXPECT_EQ(c.isClosed(), closed);
  }
}

TEST(ZcGeNurbCurve3dFormsTest, BulgeSenseFollowsNormal) {
  ZcGePoint3dArray v{{0, 0, 0}, {2, 0, 0}};
  ZcGeDoubleArray b{1.0};  // half circle
  const ZcGeNurbCurve3d up = ZcGeNurbCurve3d::fromBulgePolyline(v, b, false);
  const ZcGeNurbCurve3d down = ZcGeNurbCurve3d::fromBulgePolyline(v, b, false, -ZcGeVector3d::kZAxis);
  // Counter-clockwise seen from +z goes below the chord; seen from -z, above it.
  EXPECT_TRUE(up.evalPoint(0.5).isEqualTo(ZcGePoint3d(1, -1, 0), ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(down.evalPoint(0.5).isEqualTo(ZcGePoint3d(1, 1, 0), ZcGeTol(1e-12, 1e-12)));
}

TEST(ZcGeNurbCurve3dFormsTest, BulgePolylineDegenerateSegments) {
  // A zero-length segment (with a bulge), a tiny bulge, missing bulges.
  ZcGePoint3dArray v{{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {3, 0, 0}, {5, 0, 0}};
  ZcGeDoubleArray b{0.0, 0.7, 1e-13};
  const ZcGeNurbCurve3d c = ZcGeNurbCurve3d::fromBulgePolyline(v, b, false);
  ASSERT_TRUE(c.isValid());
  for (int i = 0; i < c.numControlPoints(); ++i) EXPECT_TRUE(zcgeIsFinite(c.controlPointAt(i)));
  for (double t = 0.0; t <= 4.0; t += 0.05) EXPECT_TRUE(zcgeIsFinite(c.evalPoint(t)));
  EXPECT_NEAR(c.length(), 5.0, 1e-9);
  // The tiny bulge is not lost to round-off: its sagitta is 1e-13.
  EXPECT_NEAR(c.evalPoint(2.5).y, -1e-13, 1e-16);
  EXPECT_TRUE(zcgeIsFinite(c.closestPointTo(ZcGePoint3d(1, 1, 0))));
  EXPECT_FALSE(
      ZcGeNurbCurve3d::fromBulgePolyline(ZcGePoint3dArray{{1, 1, 1}}, ZcGeDoubleArray(), false).isValid());
}

TEST(ZcGeNurbCurve3dFormsTest, BulgePolylineInTiltedPlane) {
  const ZcGeVector3d n(1, 1, 1);
  const ZcGeMatrix3d toWorld = ZcGeMatrix3d::planeToWorld(n);
  ZcGePoint3dArray local{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}};
  ZcGePoint3dArray world;
  for (const ZcGePoint3d& p : local) world.append(toWorld * p);
  ZcGeDoubleArray b{-0.4, 1.2};
  const ZcGeNurbCurve3d w = ZcGeNurbCurve3d::fromBulgePolyline(world, b, false, n);
  const ZcGeNurbCurve3d l = ZcGeNurbCurve3d::fromBulgePolyline(local, b, false);
  for (double t = 0.0; t <= 2.0; t += 0.1)
    EXPECT_TRUE(w.evalPoint(t).isEqualTo(toWorld * l.evalPoint(t), ZcGeTol(1e-12, 1e-12)));
}

}  // namespace
