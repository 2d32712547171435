#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

const ZcGeTol kTight(1e-10, 1e-10);

ZcGeKnotVector knots(std::initializer_list<double> values) {
  ZcGeDoubleArray a(values);
  return ZcGeKnotVector(a);
}

// A rational cubic space curve with an interior double knot.
ZcGeNurbCurve3d rationalCubic() {
  ZcGePoint3dArray ctrl{{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {4, 0, 2}, {6, -1, 1}, {7, 2, 0}, {9, 1, -1}};
  ZcGeDoubleArray w{1.0, 0.5, 2.0, 1.0, 0.7, 1.5, 1.0};
  return ZcGeNurbCurve3d(3, knots({0, 0, 0, 0, 1, 2.5, 2.5, 4, 4, 4, 4}), ctrl, w);
}

// Central differences of the curve's point (order 1) or first derivative (order 2).
ZcGeVector3d finiteDifference(const ZcGeCurve3d& c, double t, int order) {
  const double h = 1e-6;
  ZcGeVector3dArray dp, dm;
  const ZcGePoint3d pp = c.evalPoint(t + h, 1, dp), pm = c.evalPoint(t - h, 1, dm);
  return order == 1 ? (pp - pm) / (2 * h) : (dp[0] - dm[0]) / (2 * h);
}

TEST(ZcGeNurbCurve3dTest, ValidityChecks) {
  EXPECT_TRUE(rationalCubic().isValid());
  EXPECT_FALSE(ZcGeNurbCurve3d().isValid());
  ZcGePoint3dArray ctrl{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  EXPECT_FALSE(ZcGeNurbCurve3d(2, knots({0, 0, 0, 1, 1}), ctrl).isValid());     // knot count
  EXPECT_FALSE(ZcGeNurbCurve3d(2, knots({0, 0, 1, 0, 1, 1}), ctrl).isValid());  // decreasing
  EXPECT_FALSE(ZcGeNurbCurve3d(2, knots({0, 0, 0, 1, 1, 1}), ctrl, ZcGeDoubleArray{1, -1, 1}).isValid());
  ctrl[1].x = std::numeric_limits<double>::quiet_NaN();
  const ZcGeNurbCurve3d nanCurve(2, knots({0, 0, 0, 1, 1, 1}), ctrl);
  EXPECT_FALSE(nanCurve.isValid());
  // Queries on invalid curves stay finite.
  EXPECT_TRUE(zcgeIsFinite(nanCurve.evalPoint(0.5)));
  EXPECT_EQ(nanCurve.length(), 0.0);
  EXPECT_TRUE(zcgeIsFinite(ZcGeNurbCurve3d().closestPointTo(ZcGePoint3d(1, 1, 1))));
}

TEST(ZcGeNurbCurve3dTest, RationalDerivativesMatchFiniteDifferences) {
  const ZcGeNurbCurve3d c = rationalCubic();
  for (double t : {0.0, 0.3, 1.0, 1.7, 2.4, 3.0, 3.9}) {
    ZcGeVector3dArray d;
    c.evalPoint(t, 2, d);
    ASSERT_EQ(d.length(), 2);
    const double tt = std::clamp(t, 1e-5, 4.0 - 1e-5);  // differences need both sides
    if (tt != t || t == 1.0 || t == 2.5) continue;      // knots: one-sided derivatives
    EXPECT_TRUE(d[0].isEqualTo(finiteDifference(c, t, 1), ZcGeTol(1e-6, 1e-6 * d[0].length()))) << t;
    EXPECT_TRUE(d[1].isEqualTo(finiteDifference(c, t, 2), ZcGeTol(1e-4, 1e-5 * (1 + d[1].length())))) << t;
  }
  // A cubic polynomial's fourth derivative vanishes; a rational one's does not.
  ZcGeVector3dArray d;
  ZcGePoint3dArray ctrl{{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {4, 0, 2}};
  ZcGeNurbCurve3d(3, knots({0, 0, 0, 0, 1, 1, 1, 1}), ctrl).evalPoint(0.4, 4, d);
  EXPECT_TRUE(d[3].isZeroLength());
  EXPECT_FALSE(d[2].isZeroLength());
}

TEST(ZcGeNurbCurve3dTest, StraightCurveLengthIsDistance) {
  // Unevenly spaced collinear control points: the speed varies, the length does not.
  ZcGePoint3dArray ctrl{{0, 0, 0}, {0.1, 0.2, 0.3}, {2, 4, 6}, {2.5, 5, 7.5}, {3, 6, 9}};
  const ZcGeNurbCurve3d c(3, knots({0, 0, 0, 0, 0.3, 1, 1, 1, 1}), ctrl);
  const double expected = ZcGePoint3d(0, 0, 0).distanceTo(ZcGePoint3d(3, 6, 9));
  EXPECT_NEAR(c.length(), expected, 1e-12 * expected);
  EXPECT_NEAR(c.length(0.3, 1.0), c.evalPoint(0.3).distanceTo(c.evalPoint(1.0)), 1e-12 * expected);
}

TEST(ZcGeNurbCurve3dTest, PointAtLengthRoundTrip) {
  const ZcGeNurbCurve3d c = rationalCubic();
  const double total = c.length();
  for (double frac : {0.0, 1e-6, 0.2, 0.5, 0.77, 0.999999, 1.0}) {
    const double t = c.paramAtLength(0.0, frac * total, /*posParamDir=*/true);
    EXPECT_NEAR(c.length(0.0, t), frac * total, 1e-9 * total) << frac;
    const double b = c.paramAtLength(4.0, frac * total, /*posParamDir=*/false);
    EXPECT_NEAR(c.length(b, 4.0), frac * total, 1e-9 * total) << frac;
  }
  // From an interior datum, across knots, and beyond the end.
  const double t = c.paramAtLength(0.7, 0.4 * total, /*posParamDir=*/true);
  EXPECT_NEAR(c.length(0.7, t), 0.4 * total, 1e-9 * total);
  EXPECT_DOUBLE_EQ(c.paramAtLength(0.7, 2 * total), 4.0);
  EXPECT_DOUBLE_EQ(c.paramAtLength(0.7, 2 * total, /*posParamDir=*/false), 0.0);
  // A negative length walks backwards.
  EXPECT_NEAR(c.paramAtLength(t, -0.4 * total), 0.7, 1e-9);
}

TEST(ZcGeNurbCurve3dTest, ClosestPointRecoversParameterIncludingEnds) {
  const ZcGeNurbCurve3d c = rationalCubic();
  for (double t : {0.0, 1e-7, 0.5, 1.0, 2.5, 3.2, 4.0 - 1e-7, 4.0}) {
    EXPECT_NEAR(c.paramOf(c.evalPoint(t)), t, 1e-8) << t;
    double param;
    EXPECT_TRUE(c.isOn(c.evalPoint(t), param));
  }
  // Beyond the ends along the end tangents.
  ZcGeVector3dArray d;
  const ZcGePoint3d s = c.evalPoint(0.0, 1, d);
  EXPECT_DOUBLE_EQ(c.paramOf(s - d[0]), 0.0);
  const ZcGePoint3d e = c.evalPoint(4.0, 1, d);
  EXPECT_DOUBLE_EQ(c.paramOf(e + d[0]), 4.0);
  EXPECT_FALSE(c.isOn(ZcGePoint3d(100, 100, 100)));
}

// Regression: a point 1e-9 off the seam tied in distance (to round-off) with the seam's end
// point and got the end instead of the foot of the perpendicular.
TEST(ZcGeNurbCurve3dTest, ClosestPointTieAtSeamPrefersPerpendicularFoot) {
  const ZcGeNurbCurve3d circle(ZcGeCircArc3d(ZcGePoint3d(), ZcGeVector3d::kZAxis, 2.0));
  ASSERT_TRUE(circle.isClosed());
  for (double y : {-1e-9, -0.01, 0.0, 0.01}) {
    const ZcGePoint3d p = circle.closestPointTo(ZcGePoint3d(3, y, 0));
    EXPECT_TRUE(p.isEqualTo(ZcGePoint3d::kOrigin + ZcGeVector3d(3, y, 0).normal() * 2.0, kTight)) << y;
  }
}

TEST(ZcGeNurbCurve3dTest, ReverseTwiceIsIdentity) {
  ZcGeNurbCurve3d c = rationalCubic();
  const ZcGeNurbCurve3d orig = c;
  c.reverseParam();
  for (double t : {0.0, 0.9, 2.5, 3.3, 4.0})
    EXPECT_TRUE(c.evalPoint(4.0 - t).isEqualTo(orig.evalPoint(t), kTight));
  c.reverseParam();
  EXPECT_TRUE(c.isEqualTo(orig));
}

TEST(ZcGeNurbCurve3dTest, TransformMovesControlPointsKeepsWeights) {
  ZcGeNurbCurve3d c = rationalCubic();
  const ZcGeNurbCurve3d orig = c;
  const ZcGeMatrix3d m = ZcGeMatrix3d::rotation(0.6, ZcGeVector3d(1, 2, 0), ZcGePoint3d(1, 0, 0)) *
                         ZcGeMatrix3d::scaling(ZcGeVector3d(1, 3, 0.5));
  c.transformBy(m);
  for (double t : {0.0, 0.9, 2.5, 3.3, 4.0})
    EXPECT_TRUE(c.evalPoint(t).isEqualTo(m * orig.evalPoint(t), kTight));
  for (int i = 0; i < c.numControlPoints(); ++i) EXPECT_EQ(c.weightAt(i), orig.weightAt(i));
}

TEST(ZcGeNurbCurve3dTest, KnotInsertionTrimAndElevationKeepShape) {
  const ZcGeNurbCurve3d orig = rationalCubic();
  ZcGeNurbCurve3d c = orig;
  c.insertKnot(1.7);
  c.insertKnot(1.7);
  c.insertKnot(2.5);  // raises the double knot to three
  c.insertKnot(2.5);  // already full: no-op
  EXPECT_EQ(c.numKnots(), orig.numKnots() + 3);
  EXPECT_EQ(c.numControlPoints(), orig.numControlPoints() + 3);
  for (double t = 0.0; t <= 4.0; t += 0.13)
    EXPECT_TRUE(c.evalPoint(t).isEqualTo(orig.evalPoint(t), kTight)) << t;

  // Regression: the end was trimmed on the reversed curve and reversed back with a different
  // knot sum, which shifted the parameter and broke the knot order.
  ZcGeNurbCurve3d trimmed = orig;
  trimmed.hardTrimByParams(3.1, 0.6);  // swapped
  ZcGeInterval range;
  trimmed.getInterval(range);
  EXPECT_DOUBLE_EQ(range.lower(), 0.6);
  EXPECT_DOUBLE_EQ(range.upper(), 3.1);
  EXPECT_TRUE(trimmed.isValid());
  for (double t = 0.6; t <= 3.1; t += 0.1)
    EXPECT_TRUE(trimmed.evalPoint(t).isEqualTo(orig.evalPoint(t), kTight)) << t;
  EXPECT_NEAR(trimmed.length(), orig.length(0.6, 3.1), 1e-10);

  ZcGeNurbCurve3d elevated = orig;
  elevated.elevateDegree(2);
  EXPECT_EQ(elevated.degree(), 5);
  EXPECT_TRUE(elevated.isValid());
  for (double t = 0.0; t <= 4.0; t += 0.13)
    EXPECT_TRUE(elevated.evalPoint(t).isEqualTo(orig.evalPoint(t), kTight)) << t;
}

TEST(ZcGeNurbCurve3dTest, CompactPeriodicFormEqualsUnwrapped) {
  // Four control points on a square, uniform period: the compact form of a closed C2 cubic.
  ZcGePoint3dArray ctrl{{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
  const ZcGeNurbCurve3d compact(3, knots({0, 1, 2, 3, 4}), ctrl, /*isPeriodic=*/true);
  ASSERT_TRUE(compact.isValid());
  EXPECT_TRUE(compact.isPeriodic());
  EXPECT_EQ(compact.numControlPoints(), 7);
  EXPECT_EQ(compact.numKnots(), 11);
  double period = 0.0;
  EXPECT_TRUE(compact.isPeriodic(period));
  EXPECT_DOUBLE_EQ(period, 4.0);
  EXPECT_TRUE(compact.isClosed());
  // C2 across the seam, and evaluation wraps.
  ZcGeVector3dArray d0, d1;
  const ZcGePoint3d p0 = compact.evalPoint(0.0, 2, d0), p1 = compact.evalPoint(4.0, 2, d1);
  EXPECT_TRUE(p0.isEqualTo(p1, kTight));
  EXPECT_TRUE(d0[0].isEqualTo(d1[0], kTight));
  EXPECT_TRUE(d0[1].isEqualTo(d1[1], kTight));
  EXPECT_TRUE(compact.evalPoint(5.3).isEqualTo(compact.evalPoint(1.3), kTight));
  EXPECT_TRUE(compact.evalPoint(-0.7).isEqualTo(compact.evalPoint(3.3), kTight));
  // Moving a wrapped control point keeps the copy in step.
  ZcGeNurbCurve3d moved = compact;
  moved.setControlPointAt(0, ZcGePoint3d(2, 0, 0));
  EXPECT_EQ(moved.controlPointAt(4), ZcGePoint3d(2, 0, 0));
  // Length over the seam equals the same piece elsewhere by symmetry.
  EXPECT_NEAR(compact.length(3.5, 4.5), compact.length(0.5, 1.5), 1e-12);
  EXPECT_NEAR(compact.length(0.0, 8.0), 2 * compact.length(), 1e-12);
  // Walking past the seam.
  const double total = compact.length();
  const double t = compact.paramAtLength(3.0, 0.5 * total);
  EXPECT_NEAR(t, 1.0, 1e-9);
}

// Dense wavy curves too: the extents skip the spans whose control points lie inside the box
// found so far, which must never leave out a bulge of the curve.
TEST(ZcGeNurbCurve3dTest, ExtentsAreTightAndContainTheCurve) {
  ZcGePoint3dArray wave;
  for (int i = 0; i < 600; ++i) {
    const double t = i * 0.05;
    wave.append(
        ZcGePoint3d(t + 0.3 * std::sin(7 * t), std::sin(3 * t) * (1 + 0.1 * t), 0.2 * std::cos(11 * t)));
  }
  // One span whose ends lie on y = 0 while it rises to 2.25 between them: its control points
  // reach beyond the box of the ends, so it must be searched.
  const ZcGeNurbCurve3d arch(3, knots({0, 0, 0, 0, 1, 1, 1, 1}),
                             ZcGePoint3dArray{{0, 0, 0}, {1, 3, 0}, {2, 3, 0}, {3, 0, 0}});
  ZcGePoint3d archLow, archHigh;
  ASSERT_TRUE(arch.getExtents(archLow, archHigh));
  EXPECT_NEAR(archHigh.y, 2.25, 1e-12);
  const ZcGeNurbCurve3d curves[] = {rationalCubic(), ZcGeNurbCurve3d(wave),
                                    ZcGeNurbCurve3d::interpolateClosed(wave)};
  for (const ZcGeNurbCurve3d& c : curves) {
    ZcGePoint3d lo, hi;
    ASSERT_TRUE(c.getExtents(lo, hi));
    ZcGePoint3dArray pts;
    c.getSamplePoints(200001, pts);
    for (int i = 0; i < 3; ++i) {
      double mn = pts[0][i], mx = pts[0][i];
      for (const ZcGePoint3d& p : pts) {
        mn = std::min(mn, p[i]);
        mx = std::max(mx, p[i]);
      }
      EXPECT_LE(lo[i], mn + 1e-12) << c.numControlPoints() << " axis " << i;
      EXPECT_GE(hi[i], mx - 1e-12) << c.numControlPoints() << " axis " << i;
      // Samples miss a peak between them by up to about 1e-6 on the wavy curves.
      const double tolerance = c.isRational() ? 1e-7 : 1e-5;
      EXPECT_NEAR(lo[i], mn, tolerance) << c.numControlPoints() << " axis " << i;
      EXPECT_NEAR(hi[i], mx, tolerance) << c.numControlPoints() << " axis " << i;
    }
  }
}

TEST(ZcGeNurbCurve3dTest, DefinitionDataRoundTrip) {
  const ZcGeNurbCurve3d c = rationalCubic();
  int degree;
  bool rational, periodic;
  ZcGeKnotVector kv;
  ZcGePoint3dArray ctrl;
  ZcGeDoubleArray w;
  c.getDefinitionData(degree, rational, periodic, kv, ctrl, w);
  EXPECT_EQ(degree, 3);
  EXPECT_TRUE(rational);
  EXPECT_FALSE(periodic);
  EXPECT_TRUE(ZcGeNurbCurve3d(degree, kv, ctrl, w, periodic).isEqualTo(c));
  std::unique_ptr<ZcGeCurve3d> copy(c.copy());
  EXPECT_TRUE(copy->isKindOf(ZcGe::kSplineEnt3d));
  EXPECT_EQ(copy->type(), ZcGe::kNurbCurve3d);
}

TEST(ZcGeNurbCurve3dTest, RationalFlagAndWeights) {
  ZcGePoint3dArray ctrl{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  ZcGeNurbCurve3d c(2, knots({0, 0, 0, 1, 1, 1}), ctrl);
  EXPECT_FALSE(c.isRational());
  EXPECT_EQ(c.weightAt(1), 1.0);
  const ZcGePoint3d mid = c.evalPoint(0.5);
  c.makeRational(2.0);
  EXPECT_TRUE(c.isRational());
  EXPECT_TRUE(c.evalPoint(0.5).isEqualTo(mid, kTight));  // equal weights change nothing
  c.makeNonRational();
  EXPECT_FALSE(c.isRational());
  c.setWeightAt(1, 3.0);
  EXPECT_TRUE(c.isRational());
  EXPECT_GT(c.evalPoint(0.5).y, mid.y);  // a heavier middle pulls the curve toward it
  ZcGePlane plane;
  EXPECT_TRUE(c.isPlanar(plane));
  EXPECT_TRUE(plane.normal().isParallelTo(ZcGeVector3d::kZAxis));
}

TEST(ZcGeNurbCurve3dTest, PeriodicCurveEditsKeepShape) {
  ZcGePoint3dArray pts{{0, 0, 0}, {4, -1, 0}, {6, 2, 1}, {3, 5, 0}, {-1, 3, -1}};
  const ZcGeNurbCurve3d loop = ZcGeNurbCurve3d::interpolateClosed(pts);
  const double t0 = loop.startParam(), t1 = loop.endParam();

  ZcGeNurbCurve3d inserted = loop;
  inserted.insertKnot(0.37 * (t0 + t1));
  EXPECT_FALSE(inserted.isPeriodic());  // the unwrapped form: same shape
  ZcGeNurbCurve3d elevated = loop;
  elevated.elevateDegree(1);
  ZcGeNurbCurve3d trimmed = loop;
  const double a = t0 + 0.1 * (t1 - t0), b = t0 + 0.8 * (t1 - t0);
  trimmed.hardTrimByParams(a, b);
  ASSERT_TRUE(inserted.isValid() && elevated.isValid() && trimmed.isValid());
  for (double f = 0.0; f <= 1.0; f += 0.05) {
    const double t = t0 + f * (t1 - t0);
    EXPECT_TRUE(inserted.evalPoint(t).isEqualTo(loop.evalPoint(t), kTight)) << f;
    EXPECT_TRUE(elevated.evalPoint(t).isEqualTo(loop.evalPoint(t), kTight)) << f;
    if (t >= a && t <= b) {
      EXPECT_TRUE(trimmed.evalPoint(t).isEqualTo(loop.evalPoint(t), kTight)) << f;
    }
  }
  EXPECT_TRUE(trimmed.evalPoint(a).isEqualTo(loop.evalPoint(a), kTight));
  EXPECT_TRUE(trimmed.evalPoint(b).isEqualTo(loop.evalPoint(b), kTight));
}

TEST(ZcGeNurbCurve3dTest, PeriodicPointAtLengthWrapsBothWays) {
  ZcGePoint3dArray pts{{0, 0, 0}, {4, -1, 0}, {6, 2, 1}, {3, 5, 0}, {-1, 3, -1}};
  const ZcGeNurbCurve3d loop = ZcGeNurbCurve3d::interpolateClosed(pts);
  const double t0 = loop.startParam(), t1 = loop.endParam(), total = loop.length();
  const double datum = t0 + 0.9 * (t1 - t0);
  // Forward over the seam, several turns.
  const double fwd = loop.paramAtLength(datum, 2.3 * total, /*posParamDir=*/true);
  EXPECT_NEAR(loop.length(datum, t1) + loop.length(t0, fwd), 0.3 * total, 1e-9 * total);
  // Backward over the seam.
  const double start = t0 + 0.05 * (t1 - t0);
  const double bwd = loop.paramAtLength(start, 0.2 * total, /*posParamDir=*/false);
  EXPECT_NEAR(loop.length(t0, start) + loop.length(bwd, t1), 0.2 * total, 1e-9 * total);
}

}  // namespace
