// The numeric defaults of the curve base class, exercised through curves that use them.
#include <gtest/gtest.h>

#include <cmath>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeCurve3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

TEST(ZcGeCurve3dTest, AdaptiveSamplesStayWithinChordTolerance) {
  const ZcGeEllipArc3d e(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kYAxis, 10.0, 1.0, 0.0, 5.0);
  ZcGePoint3dArray pts;
  ZcGeDoubleArray params;
  const double eps = 1e-3;
  e.getSamplePoints(e.startAng(), e.endAng(), eps, pts, params);
  ASSERT_EQ(pts.length(), params.length());
  EXPECT_DOUBLE_EQ(params.first(), 0.0);
  EXPECT_DOUBLE_EQ(params.last(), 5.0);
  for (int i = 1; i < pts.length(); ++i) {
    ASSERT_GT(params[i], params[i - 1]);
    // The curve between two samples stays near the chord.
    const ZcGePoint3d mid = e.evalPoint(0.5 * (params[i] + params[i - 1]));
    const ZcGeVector3d chord = pts[i] - pts[i - 1];
    const double dev = (mid - pts[i - 1]).crossProduct(chord).length() / chord.length();
    EXPECT_LE(dev, 1.01 * eps);
  }
  ZcGePoint3dArray even;
  e.getSamplePoints(5, even);
  ASSERT_EQ(even.length(), 5);
  EXPECT_TRUE(even.last().isEqualTo(e.endPoint()));
}

TEST(ZcGeCurve3dTest, PlanarityFromSamples) {
  ZcGePlane plane;
  const ZcGeEllipArc3d e(ZcGePoint3d(1, 2, 3), ZcGeVector3d(1, 0, 1), ZcGeVector3d(0, 1, 0), 3.0, 1.0);
  ASSERT_TRUE(e.ZcGeCurve3d::isPlanar(plane));  // the sampled default, not the override
  EXPECT_TRUE(plane.normal().isParallelTo(e.normal(), ZcGeTol(1e-9, 1e-9)));
  ZcGePoint3dArray ctrl{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
  ZcGeDoubleArray k{0, 0, 0, 0, 1, 1, 1, 1};
  const ZcGeNurbCurve3d twisted(3, ZcGeKnotVector(k), ctrl);
  EXPECT_FALSE(twisted.ZcGeCurve3d::isPlanar(plane));
  EXPECT_FALSE(twisted.isPlanar(plane));
}

TEST(ZcGeCurve3dTest, StartEndAndInvalidCurves) {
  const ZcGeCircArc3d arc(ZcGePoint3d(), ZcGeVector3d::kZAxis, ZcGeVector3d::kXAxis, 1.0, 0.0, ZcGe::kHalfPi);
  ZcGePoint3d s, e;
  EXPECT_TRUE(arc.hasStartPoint(s));
  EXPECT_TRUE(arc.hasEndPoint(e));
  EXPECT_TRUE(s.isEqualTo(ZcGePoint3d(1, 0, 0)));
  EXPECT_TRUE(e.isEqualTo(ZcGePoint3d(0, 1, 0)));
  const ZcGeNurbCurve3d invalid;
  EXPECT_FALSE(invalid.hasStartPoint(s));
  EXPECT_FALSE(invalid.isOn(ZcGePoint3d()));
  EXPECT_FALSE(invalid.isClosed());
  ZcGePoint3dArray pts;
  invalid.getSamplePoints(10, pts);
  EXPECT_TRUE(pts.isEmpty());
}

// A point on the curve just before a kink (a knot of full multiplicity, as at a polyline vertex
// turned spline) must be found where it is. The sample nearest to it is the kink itself, and
// Newton's method started there used the derivative of the following span only, so it settled
// on the foot of the perpendicular on the next span, a nearby but wrong point.
TEST(ZcGeCurve3dTest, ClosestPointNextToAKinkStaysOnItsOwnSpan) {
  // Degree 1: (4,0) -> (6,3) -> (2,5), an acute corner at (6,3) whose second leg has a
  // perpendicular foot for points on the first leg near the corner.
  const double knots[] = {0, 0, 1, 2, 2};
  ZcGePoint3dArray ctrl;
  ctrl.append(ZcGePoint3d(4, 0, 0));
  ctrl.append(ZcGePoint3d(6, 3, 0));
  ctrl.append(ZcGePoint3d(2, 5, 0));
  const ZcGeNurbCurve3d polyline(1, ZcGeKnotVector(5, knots), ctrl);
  for (const double t : {0.9995, 1.0005, 1.0}) {
    const ZcGePoint3d onCurve = polyline.evalPoint(t);
    double found = -1.0;
    const ZcGePoint3d closest = polyline.closestPointTo(onCurve, found);
    EXPECT_NEAR(found, t, 1e-9) << "t = " << t;
    EXPECT_LT(closest.distanceTo(onCurve), 1e-12) << "t = " << t;
  }

  // Degree 2 with a doubled knot: an arc-like span meeting a straight one at a corner.
  const double knots2[] = {0, 0, 0, 1, 1, 2, 2, 2};
  ZcGePoint3dArray ctrl2;
  ctrl2.append(ZcGePoint3d(4, 0, 0));
  ctrl2.append(ZcGePoint3d(6.5, 1, 0));
  ctrl2.append(ZcGePoint3d(6, 3, 0));
  ctrl2.append(ZcGePoint3d(4, 4, 0));
  ctrl2.append(ZcGePoint3d(2, 5, 0));
  const ZcGeNurbCurve3d corner(2, ZcGeKnotVector(8, knots2), ctrl2);
  for (const double t : {0.999, 0.9999, 1.0001}) {
    const ZcGePoint3d onCurve = corner.evalPoint(t);
    double found = -1.0;
    corner.closestPointTo(onCurve, found);
    EXPECT_NEAR(found, t, 1e-7) << "t = " << t;
  }
}

}  // namespace
