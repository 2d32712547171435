#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

ZcGePoint3dArray wavyPoints(int n) {
  ZcGePoint3dArray pts;
  for (int i = 0; i < n; ++i) {
    const double t = i * 0.7;
    pts.append(
        ZcGePoint3d(3.0 * t + 0.3 * std::sin(5.0 * t), 2.0 * std::sin(t), 0.5 * std::cos(1.3 * t) * (i % 3)));
  }
  return pts;
}

// Every fit point lies on the curve, at its chord-length knot parameter when `atKnots`.
void expectPassesThrough(const ZcGeNurbCurve3d& c, const ZcGePoint3dArray& pts) {
  ASSERT_TRUE(c.isValid());
  double scale = 1.0;
  for (const ZcGePoint3d& p : pts) scale = std::max(scale, p.asVector().length());
  for (const ZcGePoint3d& p : pts) {
    const double t = c.paramOf(p);
    EXPECT_LE(c.evalPoint(t).distanceTo(p), 1e-9 * scale) << p.x << " " << p.y << " " << p.z;
  }
}

TEST(ZcGeNurbCurve3dFitTest, PassesThroughEveryFitPointAtChordLengthParameters) {
  const ZcGePoint3dArray pts = wavyPoints(12);
  const ZcGeNurbCurve3d c(pts);
  ASSERT_TRUE(c.isValid());
  EXPECT_EQ(c.degree(), 3);
  EXPECT_FALSE(c.isRational());
  EXPECT_EQ(c.numControlPoints(), pts.length() + 2);
  double u = 0.0;
  for (int k = 0; k < pts.length(); ++k) {
    if (k > 0) u += pts[k].distanceTo(pts[k - 1]);
    EXPECT_LE(c.evalPoint(u).distanceTo(pts[k]), 1e-9) << k;
  }
  EXPECT_DOUBLE_EQ(c.knots().endParam(), u);
  expectPassesThrough(c, pts);
}

TEST(ZcGeNurbCurve3dFitTest, TangentsAreHonouredByDirectionOnly) {
  const ZcGePoint3dArray pts = wavyPoints(6);
  const ZcGeVector3d st(0, 1, 0), et(1, -1, 0.5);
  const ZcGeNurbCurve3d c(pts, st, et);
  const ZcGeNurbCurve3d scaled(pts, st * 7.0, et * 0.01);
  expectPassesThrough(c, pts);
  ZcGeVector3dArray d;
  c.evalPoint(c.startParam(), 1, d);
  EXPECT_TRUE(d[0].isCodirectionalTo(st));
  EXPECT_NEAR(d[0].length(), 1.0, 1e-12);  // unit in the chord-length parameter
  c.evalPoint(c.endParam(), 1, d);
  EXPECT_TRUE(d[0].isCodirectionalTo(et));
  EXPECT_TRUE(scaled.isEqualTo(c, ZcGeTol(1e-12, 1e-12)));
  // Reversed tangents give a different curve.
  EXPECT_FALSE(ZcGeNurbCurve3d(pts, -st, et).isEqualTo(c));
  ZcGeVector3d s, e;
  bool sd, ed;
  EXPECT_TRUE(c.getFitTangents(s, e, sd, ed));
  EXPECT_TRUE(sd && ed);
  EXPECT_EQ(s, st);
}

TEST(ZcGeNurbCurve3dFitTest, OnlyOneTangentDefined) {
  const ZcGePoint3dArray pts = wavyPoints(5);
  const ZcGeNurbCurve3d c(pts, ZcGeVector3d(0, 0, 1), ZcGeVector3d(5, 5, 5), /*startTangentDefined=*/true,
                          /*endTangentDefined=*/false);
  expectPassesThrough(c, pts);
  ZcGeVector3dArray d;
  c.evalPoint(c.startParam(), 1, d);
  EXPECT_TRUE(d[0].isCodirectionalTo(ZcGeVector3d::kZAxis));
  // The undefined end is the same as with no tangents at all.
  const ZcGeNurbCurve3d free(pts);
  ZcGeVector3dArray d2;
  c.evalPoint(c.endParam(), 1, d);
  free.evalPoint(free.endParam(), 1, d2);
  EXPECT_TRUE(d[0].isEqualTo(d2[0], ZcGeTol(1e-12, 1e-12)));
}

TEST(ZcGeNurbCurve3dFitTest, BesselEndTangentsReproduceParabolaDirection) {
  // Points on a straight line stay straight: the estimated tangents are along it.
  ZcGePoint3dArray line{{0, 0, 0}, {1, 1, 1}, {1.5, 1.5, 1.5}, {4, 4, 4}};
  const ZcGeNurbCurve3d c(line);
  for (int i = 0; i < c.numControlPoints(); ++i) {
    const ZcGePoint3d p = c.controlPointAt(i);
    EXPECT_NEAR(p.x, p.y, 1e-12);
    EXPECT_NEAR(p.y, p.z, 1e-12);
  }
  EXPECT_NEAR(c.length(), std::sqrt(48.0), 1e-9);
  // Three points: the end derivative is that of the parabola through them.
  ZcGePoint3dArray three{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  const ZcGeNurbCurve3d arc(three);
  ZcGeVector3dArray d;
  arc.evalPoint(arc.startParam(), 1, d);
  // Chord lengths sqrt(2) each: the parabola's start slope is (s1 - (s2 - s1) / 2).
  const double h = std::sqrt(2.0);
  const ZcGeVector3d s1(1 / h, 1 / h, 0), s2(1 / h, -1 / h, 0);
  EXPECT_TRUE(d[0].isEqualTo(s1 - (s2 - s1) * 0.5, ZcGeTol(1e-12, 1e-12)));
}

TEST(ZcGeNurbCurve3dFitTest, TwoPointsGiveStraightCubic) {
  ZcGePoint3dArray two{{1, 2, 3}, {4, 6, 3}};
  const ZcGeNurbCurve3d c(two);
  ASSERT_TRUE(c.isValid());
  EXPECT_EQ(c.degree(), 3);
  EXPECT_NEAR(c.length(), 5.0, 1e-12);
  // Evenly spaced control points: the parameter is the arc length.
  EXPECT_TRUE(c.evalPoint(2.5).isEqualTo(ZcGePoint3d(2.5, 4, 3), ZcGeTol(1e-12, 1e-12)));
}

TEST(ZcGeNurbCurve3dFitTest, CoincidentConsecutivePointsDoNotBreakIt) {
  ZcGePoint3dArray pts{{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {3, 1, 0}, {3, 1, 0}};
  const ZcGeNurbCurve3d c(pts);
  ASSERT_TRUE(c.isValid());
  EXPECT_EQ(c.numFitPoints(), 7);  // the fit data keeps what was given
  expectPassesThrough(c, pts);
  for (int i = 0; i < c.numControlPoints(); ++i) EXPECT_TRUE(zcgeIsFinite(c.controlPointAt(i)));
  EXPECT_TRUE(std::isfinite(c.length()));
}

TEST(ZcGeNurbCurve3dFitTest, DegenerateInputs) {
  const ZcGeNurbCurve3d none{ZcGePoint3dArray()};
  EXPECT_FALSE(none.isValid());
  EXPECT_EQ(none.length(), 0.0);

  ZcGePoint3dArray same{{2, 2, 2}, {2, 2, 2}, {2, 2, 2}};
  const ZcGeNurbCurve3d point(same);
  EXPECT_TRUE(point.isValid());
  EXPECT_TRUE(point.isDegenerate());
  EXPECT_EQ(point.evalPoint(0.5), ZcGePoint3d(2, 2, 2));
  EXPECT_EQ(point.length(), 0.0);
  EXPECT_TRUE(std::isfinite(point.paramAtLength(0.0, 1.0)));
  EXPECT_TRUE(std::isfinite(point.paramOf(ZcGePoint3d(5, 5, 5))));

  const ZcGeNurbCurve3d one(ZcGePoint3dArray{{1, 2, 3}});
  EXPECT_TRUE(one.isDegenerate());
  EXPECT_EQ(one.evalPoint(0.0), ZcGePoint3d(1, 2, 3));

  ZcGePoint3dArray withNaN{{0, 0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0, 0}, {1, 1, 1}};
  EXPECT_FALSE(ZcGeNurbCurve3d(withNaN).isValid());
  EXPECT_FALSE(ZcGeNurbCurve3d::interpolateClosed(withNaN).isValid());
  // A NaN tangent is ignored like an undefined one.
  ZcGePoint3dArray pts{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  const ZcGeVector3d nanVec(std::numeric_limits<double>::quiet_NaN(), 0, 0);
  EXPECT_TRUE(ZcGeNurbCurve3d(pts, nanVec, nanVec).isEqualTo(ZcGeNurbCurve3d(pts)));
}

TEST(ZcGeNurbCurve3dFitTest, ClosedInterpolationIsC2AcrossSeam) {
  ZcGePoint3dArray pts{{0, 0, 0}, {4, -1, 0}, {6, 2, 1}, {3, 5, 0}, {-1, 3, -1}};
  const ZcGeNurbCurve3d c = ZcGeNurbCurve3d::interpolateClosed(pts);
  ASSERT_TRUE(c.isValid());
  EXPECT_TRUE(c.isPeriodic());
  EXPECT_TRUE(c.isClosed());
  EXPECT_TRUE(c.isFitClosed());
  expectPassesThrough(c, pts);
  ZcGeVector3dArray d0, d1;
  const ZcGePoint3d p0 = c.evalPoint(c.startParam(), 2, d0), p1 = c.evalPoint(c.endParam(), 2, d1);
  EXPECT_LE(p0.distanceTo(p1), 1e-12);
  EXPECT_LE((d0[0] - d1[0]).length(), 1e-10 * d0[0].length());
  EXPECT_LE((d0[1] - d1[1]).length(), 1e-9 * (1 + d0[1].length()));
  // The period is the closed chord-length polygon.
  double perimeter = 0.0;
  for (int i = 0; i < pts.length(); ++i) perimeter += pts[i].distanceTo(pts[(i + 1) % pts.length()]);
  double period = 0.0;
  EXPECT_TRUE(c.isPeriodic(period));
  EXPECT_NEAR(period, perimeter, 1e-12);
}

TEST(ZcGeNurbCurve3dFitTest, ClosingPointEqualToFirstIsNotAVertex) {
  ZcGePoint3dArray open{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
  ZcGePoint3dArray closed = open;
  closed.append(open.first());
  const ZcGeNurbCurve3d a = ZcGeNurbCurve3d::interpolateClosed(open);
  const ZcGeNurbCurve3d b = ZcGeNurbCurve3d::interpolateClosed(closed);
  EXPECT_TRUE(a.isEqualTo(b));
  EXPECT_EQ(b.numFitPoints(), 4);
  // A symmetric square gives a symmetric loop.
  EXPECT_NEAR(a.evalPoint(1.0).y, -a.evalPoint(5.0).y + 2.0, 1e-12);
}

TEST(ZcGeNurbCurve3dFitTest, ClosedWithTooFewPointsFallsBackToOpen) {
  ZcGePoint3dArray two{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}};
  const ZcGeNurbCurve3d c = ZcGeNurbCurve3d::interpolateClosed(two);
  EXPECT_TRUE(c.isValid());
  EXPECT_FALSE(c.isPeriodic());
  EXPECT_NEAR(c.length(), 1.0, 1e-12);
}

TEST(ZcGeNurbCurve3dFitTest, FitDataFollowsEdits) {
  ZcGePoint3dArray pts = wavyPoints(5);
  ZcGeNurbCurve3d c(pts, ZcGeTol(1e-3, 1e-3));
  ZcGeTol tol;
  EXPECT_TRUE(c.getFitTolerance(tol));
  EXPECT_EQ(tol.equalPoint(), 1e-3);
  ZcGeVector3d s, e;
  EXPECT_FALSE(c.getFitTangents(s, e));  // none given
  c.setFitPointAt(2, ZcGePoint3d(5, 5, 5));
  pts[2] = ZcGePoint3d(5, 5, 5);
  expectPassesThrough(c, pts);
  EXPECT_TRUE(c.getFitTolerance(tol));
  EXPECT_EQ(tol.equalPoint(), 1e-3);

  const ZcGeMatrix3d m = ZcGeMatrix3d::translation(ZcGeVector3d(1, 0, 0));
  c.transformBy(m);
  ZcGePoint3d p;
  EXPECT_TRUE(c.getFitPointAt(2, p));
  EXPECT_EQ(p, ZcGePoint3d(6, 5, 5));

  c.reverseParam();
  EXPECT_TRUE(c.getFitPointAt(0, p));
  EXPECT_EQ(p, m * pts.last());

  c.setControlPointAt(1, ZcGePoint3d(0, 0, 0));
  EXPECT_FALSE(c.hasFitData());
}

TEST(ZcGeNurbCurve3dFitTest, LengthOfFitSplineAgreesWithDenseChordSum) {
  const ZcGeNurbCurve3d c(wavyPoints(20));
  ZcGePoint3dArray pts;
  c.getSamplePoints(200001, pts);
  double chords = 0.0;
  for (int i = 1; i < pts.length(); ++i) chords += pts[i].distanceTo(pts[i - 1]);
  // The inscribed polygon is shorter by O(h^2); with 2e5 chords that is far below 1e-8.
  EXPECT_NEAR(c.length(), chords, 1e-8 * chords);
  EXPECT_GE(c.length(), chords);
}

}  // namespace
