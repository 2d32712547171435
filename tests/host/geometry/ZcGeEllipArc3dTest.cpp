#include <gtest/gtest.h>

#include <cmath>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

// Perimeter by the arithmetic-geometric mean: 2*pi/M(a, b) * (a^2 - sum 2^(n-1) c_n^2).
double perimeterAgm(double a, double b) {
  long double an = a, bn = b, cn2 = static_cast<long double>(a) * a - static_cast<long double>(b) * b;
  long double sum = 0.5L * cn2, pow2 = 0.5L;
  for (int i = 0; i < 40; ++i) {
    const long double cn = 0.5L * (an - bn);
    const long double a1 = 0.5L * (an + bn), b1 = std::sqrt(an * bn);
    pow2 *= 2.0L;
    sum += pow2 * cn * cn;
    an = a1;
    bn = b1;
  }
  return static_cast<double>(2.0L * 3.14159265358979323846264338327950288L / an *
                             (static_cast<long double>(a) * a - sum));
}

// Composite Simpson in long double with many intervals: an independent arc reference.
double arcLengthSimpson(double a, double b, double t0, double t1) {
  const int n = 200000;
  const long double h = (static_cast<long double>(t1) - t0) / n;
  auto f = [&](long double t) {
    return std::sqrt(a * a * std::sin(t) * std::sin(t) + b * b * std::cos(t) * std::cos(t));
  };
  long double s = f(t0) + f(t1);
  for (int i = 1; i < n; ++i) s += f(t0 + i * h) * (i % 2 ? 4.0L : 2.0L);
  return static_cast<double>(s * h / 3.0L);
}

ZcGeEllipArc3d sampleEllipse(double start = 0.0, double end = ZcGe::kTwoPi) {
  return ZcGeEllipArc3d(ZcGePoint3d(1, -2, 0.5), ZcGeVector3d(1, 1, 0), ZcGeVector3d(-1, 1, 0.2), 5.0, 2.0,
                        start, end);
}

TEST(ZcGeEllipArc3dTest, AxesAreOrthonormalised) {
  const ZcGeEllipArc3d e = sampleEllipse();
  ASSERT_TRUE(e.isValid());
  EXPECT_TRUE(e.majorAxis().isUnitLength());
  EXPECT_TRUE(e.minorAxis().isUnitLength());
  EXPECT_NEAR(e.majorAxis().dotProduct(e.minorAxis()), 0.0, 1e-15);
  EXPECT_EQ(e.normal(), e.majorAxis().crossProduct(e.minorAxis()));
  EXPECT_DOUBLE_EQ(e.radiusRatio(), 0.4);
  EXPECT_FALSE(e.isCircular());
  EXPECT_TRUE(e.isClosed());
}

TEST(ZcGeEllipArc3dTest, FullLengthMatchesAgm) {
  for (double ratio : {1.0, 0.9, 0.4, 0.05, 1e-3}) {
    const ZcGeEllipArc3d e(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kYAxis, 3.0, 3.0 * ratio);
    const double ref = perimeterAgm(3.0, 3.0 * ratio);
    EXPECT_NEAR(e.length(), ref, 1e-10 * ref) << ratio;
  }
}

TEST(ZcGeEllipArc3dTest, ArcLengthMatchesSimpsonReference) {
  for (auto [t0, t1] : {std::pair{0.3, 1.2}, std::pair{-1.0, 2.5}, std::pair{1.0, 7.0}}) {
    const ZcGeEllipArc3d e = sampleEllipse(t0, t1);
    const double ref = arcLengthSimpson(5.0, 2.0, e.startAng(), e.endAng());
    EXPECT_NEAR(e.length(), ref, 1e-9 * ref);
  }
}

TEST(ZcGeEllipArc3dTest, PointAtLengthRoundTrip) {
  const ZcGeEllipArc3d e = sampleEllipse(0.2, 5.5);
  const double total = e.length();
  for (double frac : {0.0, 0.1, 0.37, 0.5, 0.99, 1.0}) {
    const double t = e.paramAtLength(e.startAng(), frac * total, /*posParamDir=*/true);
    EXPECT_NEAR(e.length(e.startAng(), t), frac * total, 1e-9 * total);
    const double back = e.paramAtLength(e.endAng(), frac * total, /*posParamDir=*/false);
    EXPECT_NEAR(e.length(back, e.endAng()), frac * total, 1e-9 * total);
  }
  EXPECT_DOUBLE_EQ(e.paramAtLength(e.startAng(), 2 * total), e.endAng());
}

TEST(ZcGeEllipArc3dTest, ClosestPointRecoversParameter) {
  const ZcGeEllipArc3d e = sampleEllipse(0.0, 5.0);
  for (double t : {0.0, 0.01, 0.8, 1.5708, 3.0, 4.99, 5.0}) {
    const ZcGePoint3d p = e.evalPoint(t);
    EXPECT_NEAR(e.paramOf(p), t, 1e-9) << t;
    // Off the curve along the in-plane normal (outside the ellipse, so the foot is unique).
    ZcGeVector3dArray d;
    e.evalPoint(t, 1, d);
    const ZcGeVector3d out = d[0].crossProduct(e.normal()).normal() * 0.5;
    EXPECT_NEAR(e.paramOf(p + out), t, 1e-8) << t;
  }
  // Beyond the arc: the nearer end point.
  for (double t : {5.3, 6.0}) {
    const ZcGePoint3d p = e.evalPoint(t);
    EXPECT_DOUBLE_EQ(e.distanceTo(p), std::min(p.distanceTo(e.startPoint()), p.distanceTo(e.endPoint())))
        << t;
  }
}

TEST(ZcGeEllipArc3dTest, AngleParamConversionRoundTrips) {
  const ZcGeEllipArc3d e = sampleEllipse();
  for (double t : {-1.0, 0.0, 0.7, 1.5707963267948966, 2.0, 4.0, 7.5}) {
    const double a = e.angleAtParam(t);
    EXPECT_NEAR(e.paramAtAngle(a), t, 1e-12);
    const ZcGeVector3d v = e.evalPoint(t) - e.center();
    EXPECT_NEAR(std::remainder(e.majorAxis().angleTo(v, e.normal()) - a, ZcGe::kTwoPi), 0.0, 1e-12);
  }
}

TEST(ZcGeEllipArc3dTest, AffineTransformIsExact) {
  // A shear and a non-uniform scale: the new ellipse must contain every image point, with
  // the image of the start and end as its own start and end.
  ZcGeMatrix3d shear;
  shear.entry[0][1] = 0.7;
  const ZcGeMatrix3d m = ZcGeMatrix3d::translation(ZcGeVector3d(1, 2, 3)) * shear *
                         ZcGeMatrix3d::scaling(ZcGeVector3d(2, 0.5, 1)) *
                         ZcGeMatrix3d::mirroring(ZcGePlane::kYZPlane);
  ZcGeEllipArc3d e = sampleEllipse(0.5, 4.0);
  const ZcGeEllipArc3d orig = e;
  e.transformBy(m);
  ASSERT_TRUE(e.isValid());
  EXPECT_GE(e.majorRadius(), e.minorRadius());
  EXPECT_NEAR(e.majorAxis().dotProduct(e.minorAxis()), 0.0, 1e-12);
  EXPECT_TRUE(e.startPoint().isEqualTo(m * orig.startPoint(), ZcGeTol(1e-10, 1e-10)));
  EXPECT_TRUE(e.endPoint().isEqualTo(m * orig.endPoint(), ZcGeTol(1e-10, 1e-10)));
  for (double t : {0.5, 1.0, 2.2, 3.3, 4.0})
    EXPECT_TRUE(e.evalPoint(t - orig.startAng() + e.startAng())
                    .isEqualTo(m * orig.evalPoint(t), ZcGeTol(1e-10, 1e-10)));
}

TEST(ZcGeEllipArc3dTest, FromCircleAndReverse) {
  const ZcGeCircArc3d arc(ZcGePoint3d(1, 1, 1), ZcGeVector3d(0, 0, 1), ZcGeVector3d(0, 1, 0), 2.0, 0.5, 2.0);
  ZcGeEllipArc3d e(arc);
  EXPECT_TRUE(e.isCircular());
  for (double t : {0.5, 1.0, 2.0})
    EXPECT_TRUE(e.evalPoint(t).isEqualTo(arc.evalPoint(t), ZcGeTol(1e-14, 1e-14)));
  EXPECT_NEAR(e.length(), arc.length(), 1e-13);
  e.reverseParam();
  EXPECT_TRUE(e.startPoint().isEqualTo(arc.endPoint(), ZcGeTol(1e-14, 1e-14)));
  EXPECT_TRUE(e.evalPoint(-1.0).isEqualTo(arc.evalPoint(1.0), ZcGeTol(1e-14, 1e-14)));
}

TEST(ZcGeEllipArc3dTest, ExtentsAreExact) {
  const ZcGeEllipArc3d e = sampleEllipse(1.0, 5.0);
  ZcGePoint3d lo, hi;
  ASSERT_TRUE(e.getExtents(lo, hi));
  ZcGePoint3dArray pts;
  e.getSamplePoints(20001, pts);
  for (int i = 0; i < 3; ++i) {
    double mn = pts[0][i], mx = pts[0][i];
    for (const ZcGePoint3d& p : pts) {
      mn = std::min(mn, p[i]);
      mx = std::max(mx, p[i]);
    }
    EXPECT_LE(lo[i], mn + 1e-12);
    EXPECT_GE(hi[i], mx - 1e-12);
    EXPECT_NEAR(lo[i], mn, 1e-6);
    EXPECT_NEAR(hi[i], mx, 1e-6);
  }
}

TEST(ZcGeEllipArc3dTest, DegenerateInput) {
  EXPECT_FALSE(ZcGeEllipArc3d(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kXAxis, 2, 1).isValid());
  EXPECT_FALSE(ZcGeEllipArc3d(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kYAxis, 2, 0).isValid());
  const ZcGeEllipArc3d bad(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kYAxis, 2, 0);
  EXPECT_EQ(bad.length(), 0.0);
  EXPECT_TRUE(zcgeIsFinite(bad.closestPointTo(ZcGePoint3d(1, 1, 1))));
}

}  // namespace
