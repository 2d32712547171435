#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "PolylineTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGe.h"

namespace {

using polyline_test::allFinite;
using polyline_test::dist;
using polyline_test::DrawingTest;
using polyline_test::randomPolyline;

constexpr double kPi = ZcGe::kPi;

double lengthOf(const ZcDbCurve& curve) {
  double end = 0.0, length = 0.0;
  EXPECT_EQ(curve.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(curve.getDistAtParam(end, length), Zcad::eOk);
  return length;
}

// (-r, 0) -> (r, 0) -> back, both halves bulge 1: a full circle of radius r.
std::unique_ptr<ZcDbPolyline> circle(double r, const ZcGePoint2d& c = ZcGePoint2d(0, 0)) {
  auto pl = std::make_unique<ZcDbPolyline>();
  pl->addVertexAt(0, ZcGePoint2d(c.x - r, c.y), /*bulge=*/1.0);
  pl->addVertexAt(1, ZcGePoint2d(c.x + r, c.y), /*bulge=*/1.0);
  pl->setClosed(true);
  return pl;
}

// ---------------------------------------------------------------------------------------------
// Lengths, points and parameters against closed forms

TEST(ZcDbPolylineGeometry, BulgeOneSegmentIsHalfCircle) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/1.0);
  pl.addVertexAt(1, ZcGePoint2d(2, 0));
  EXPECT_NEAR(lengthOf(pl), kPi, 1e-12);
  ZcGePoint3d mid;
  ASSERT_EQ(pl.getPointAtParam(0.5, mid), Zcad::eOk);
  // Positive bulge turns counter-clockwise: from (0,0) to (2,0) the arc passes below.
  EXPECT_NEAR(mid.x, 1.0, 1e-12);
  EXPECT_NEAR(mid.y, -1.0, 1e-12);
  EXPECT_EQ(pl.segType(0), ZcDbPolyline::kArc);
  ZcGeCircArc2d arc;
  ASSERT_EQ(pl.getArcSegAt(0, arc), Zcad::eOk);
  EXPECT_NEAR(arc.radius(), 1.0, 1e-12);
  ZcGeCircArc3d arc3d;
  ASSERT_EQ(pl.getArcSegAt(0, arc3d), Zcad::eOk);
  EXPECT_NEAR(dist(arc3d.startPoint(), ZcGePoint3d(0, 0, 0)), 0.0, 1e-12);
  EXPECT_NEAR(dist(arc3d.endPoint(), ZcGePoint3d(2, 0, 0)), 0.0, 1e-12);
  EXPECT_NEAR(dist(arc3d.evalPoint(0.5 * (arc3d.startAng() + arc3d.endAng())), mid), 0.0, 1e-12);
}

TEST(ZcDbPolylineGeometry, CircleOfTwoBulgesHasAreaLengthAndExtentsOfCircle) {
  const auto pl = circle(3.0, ZcGePoint2d(1, 2));
  double area = 0.0;
  ASSERT_EQ(pl->getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, kPi * 9.0, 1e-11);
  EXPECT_NEAR(lengthOf(*pl), 2.0 * kPi * 3.0, 1e-11);
  ZcDbExtents ext;
  ASSERT_EQ(pl->getGeomExtents(ext), Zcad::eOk);
  EXPECT_NEAR(ext.minPoint().x, -2.0, 1e-12);
  EXPECT_NEAR(ext.minPoint().y, -1.0, 1e-12);
  EXPECT_NEAR(ext.maxPoint().x, 4.0, 1e-12);
  EXPECT_NEAR(ext.maxPoint().y, 5.0, 1e-12);
}

TEST(ZcDbPolylineGeometry, AreaCountsBulgesAndClosesOpenPolylinesWithChord) {
  // Square of side 2 whose bottom edge bulges outward in a half circle.
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/1.0);
  pl.addVertexAt(1, ZcGePoint2d(2, 0));
  pl.addVertexAt(2, ZcGePoint2d(2, 2));
  pl.addVertexAt(3, ZcGePoint2d(0, 2));
  double area = 0.0;
  ASSERT_EQ(pl.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 4.0 + kPi / 2.0, 1e-12);  // open: closed by the chord (0,2)-(0,0)
  pl.setClosed(true);
  ASSERT_EQ(pl.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 4.0 + kPi / 2.0, 1e-12);
  pl.setBulgeAt(0, -1.0);  // the half circle now bites into the square
  ASSERT_EQ(pl.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 4.0 - kPi / 2.0, 1e-12);
}

TEST(ZcDbPolylineGeometry, ExtentsContainArcExtremesAndAreTight) {
  for (unsigned seed = 1; seed <= 5; ++seed) {
    std::unique_ptr<ZcDbPolyline> pl(randomPolyline(seed, 12, /*maxBulge=*/2.0, /*closed=*/seed % 2 == 0));
    ZcDbExtents ext;
    ASSERT_EQ(pl->getGeomExtents(ext), Zcad::eOk);
    double end = 0.0;
    pl->getEndParam(end);
    ZcGePoint3d lo(1e300, 1e300, 1e300), hi(-1e300, -1e300, -1e300);
    for (int k = 0; k <= 20000; ++k) {
      ZcGePoint3d p;
      ASSERT_EQ(pl->getPointAtParam(end * k / 20000.0, p), Zcad::eOk);
      for (int a = 0; a < 3; ++a) {
        EXPECT_GE(p[a], ext.minPoint()[a] - 1e-9);
        EXPECT_LE(p[a], ext.maxPoint()[a] + 1e-9);
        lo[a] = std::min(lo[a], p[a]);
        hi[a] = std::max(hi[a], p[a]);
      }
    }
    for (int a = 0; a < 2; ++a) {
      EXPECT_NEAR(lo[a], ext.minPoint()[a], 1e-3) << "seed " << seed;
      EXPECT_NEAR(hi[a], ext.maxPoint()[a], 1e-3) << "seed " << seed;
    }
  }
}

TEST(ZcDbPolylineGeometry, DistanceAndParameterRoundTrips) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::unique_ptr<ZcDbPolyline> pl(
        randomPolyline(seed, 15, /*maxBulge=*/1.5, /*closed=*/seed % 2 == 1, /*withCoincident=*/true));
    const double length = lengthOf(*pl);
    ASSERT_GT(length, 0.0);
    for (int k = 0; k <= 200; ++k) {
      const double d = length * k / 200.0;
      ZcGePoint3d p;
      ASSERT_EQ(pl->getPointAtDist(d, p), Zcad::eOk);
      double back = 0.0, param = 0.0, paramFromDist = 0.0;
      ASSERT_EQ(pl->getDistAtPoint(p, back), Zcad::eOk) << "seed " << seed << " k " << k;
      // On a closed polyline the start point is also the end point.
      if (!(pl->isClosed() && (k == 0 || k == 200))) {
        EXPECT_NEAR(back, d, 1e-9 * length);
      }
      ASSERT_EQ(pl->getParamAtDist(d, paramFromDist), Zcad::eOk);
      ASSERT_EQ(pl->getParamAtPoint(p, param), Zcad::eOk);
      ZcGePoint3d q;
      ASSERT_EQ(pl->getPointAtParam(param, q), Zcad::eOk);
      EXPECT_LT(dist(p, q), 1e-9);
      ASSERT_EQ(pl->getPointAtParam(paramFromDist, q), Zcad::eOk);
      EXPECT_LT(dist(p, q), 1e-9);
    }
  }
}

TEST(ZcDbPolylineGeometry, DerivativesMatchFiniteDifferences) {
  std::unique_ptr<ZcDbPolyline> pl(randomPolyline(7, 8, /*maxBulge=*/1.0, /*closed=*/true));
  const double h = 1e-6;
  for (double param : {0.3, 1.7, 4.5, 7.25}) {
    ZcGeVector3d d1, d2;
    ASSERT_EQ(pl->getFirstDeriv(param, d1), Zcad::eOk);
    ASSERT_EQ(pl->getSecondDeriv(param, d2), Zcad::eOk);
    ZcGePoint3d a, b, c;
    pl->getPointAtParam(param - h, a);
    pl->getPointAtParam(param, b);
    pl->getPointAtParam(param + h, c);
    EXPECT_LT(((c - a) / (2 * h) - d1).length(), 1e-6 * std::max(1.0, d1.length()));
    EXPECT_LT(((c - b * 2.0 + a.asVector()) / (h * h) - d2).length(), 1e-2 * std::max(1.0, d2.length()));
  }
}

TEST(ZcDbPolylineGeometry, ClosestPointAndExtendedClosestPoint) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0));
  pl.addVertexAt(1, ZcGePoint2d(10, 0), /*bulge=*/0.0);
  ZcGePoint3d p;
  ASSERT_EQ(pl.getClosestPointTo(ZcGePoint3d(4, 3, 7), p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(4, 0, 0)), 1e-12);
  ASSERT_EQ(pl.getClosestPointTo(ZcGePoint3d(15, 3, 0), p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(10, 0, 0)), 1e-12);
  ASSERT_EQ(pl.getClosestPointTo(ZcGePoint3d(15, 3, 0), p, /*extend=*/true), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(15, 0, 0)), 1e-12);
  // Seen straight down, the nearest point is the one under the given point.
  ASSERT_EQ(pl.getClosestPointTo(ZcGePoint3d(3, 0, 50), ZcGeVector3d(0, 0, 1), p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(3, 0, 0)), 1e-9);
}

TEST(ZcDbPolylineGeometry, ElevationAndNormalPlaceVerticesInTheWorld) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(1, 2));
  pl.addVertexAt(1, ZcGePoint2d(4, 6));
  ASSERT_EQ(pl.setElevation(5.0), Zcad::eOk);
  ZcGePoint3d p;
  ASSERT_EQ(pl.getPointAt(0, p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(1, 2, 5)), 1e-12);
  // Upside down: the object x axis is -X for the normal -Z, and the elevation goes down.
  ASSERT_EQ(pl.setNormal(ZcGeVector3d(0, 0, -1)), Zcad::eOk);
  ASSERT_EQ(pl.getPointAt(0, p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(-1, 2, -5)), 1e-12);
  ZcGePoint3d start;
  ASSERT_EQ(pl.getStartPoint(start), Zcad::eOk);
  EXPECT_LT(dist(start, p), 1e-12);
  EXPECT_NEAR(lengthOf(pl), 5.0, 1e-12);
}

// ---------------------------------------------------------------------------------------------
// Reversal and the spline form

TEST(ZcDbPolylineReverse, TwiceIsIdentityAndOnceKeepsPointsAndLength) {
  for (bool closed : {false, true}) {
    std::unique_ptr<ZcDbPolyline> pl(randomPolyline(11, 9, /*maxBulge=*/1.2, closed));
    for (unsigned i = 0; i < pl->numVerts(); ++i) pl->setWidthsAt(i, 0.1 * i, 0.05 * i + 1.0);
    std::unique_ptr<ZcDbPolyline> original(static_cast<ZcDbPolyline*>(pl->clone()));
    const double length = lengthOf(*pl);
    ASSERT_EQ(pl->reverseCurve(), Zcad::eOk);
    EXPECT_NEAR(lengthOf(*pl), length, 1e-9 * length);
    for (int k = 0; k <= 50; ++k) {
      ZcGePoint3d a, b;
      original->getPointAtDist(length * k / 50.0, a);
      pl->getPointAtDist(length * (50 - k) / 50.0, b);
      EXPECT_LT(dist(a, b), 1e-9) << "closed " << closed << " k " << k;
    }
    // Segment 0 of the reversed polyline is the old last segment run backwards; a closed
    // polyline keeps its start vertex.
    const unsigned n = pl->numVerts();
    const unsigned oldLast = closed ? n - 1 : n - 2;
    const unsigned newIndex = 0;
    double bulge = 0.0, oldBulge = 0.0, s = 0.0, e = 0.0, oldS = 0.0, oldE = 0.0;
    pl->getBulgeAt(newIndex, bulge);
    original->getBulgeAt(oldLast, oldBulge);
    EXPECT_EQ(bulge, -oldBulge);
    pl->getWidthsAt(newIndex, s, e);
    original->getWidthsAt(oldLast, oldS, oldE);
    EXPECT_EQ(s, oldE);
    EXPECT_EQ(e, oldS);
    ASSERT_EQ(pl->reverseCurve(), Zcad::eOk);
    for (unsigned i = 0; i < n; ++i) {
      ZcGePoint2d p, q;
      pl->getPointAt(i, p);
      original->getPointAt(i, q);
      EXPECT_EQ(p.x, q.x);
      EXPECT_EQ(p.y, q.y);
      double b1 = 0.0, b2 = 0.0;
      pl->getBulgeAt(i, b1);
      original->getBulgeAt(i, b2);
      EXPECT_EQ(b1, b2);
      pl->getWidthsAt(i, s, e);
      original->getWidthsAt(i, oldS, oldE);
      EXPECT_EQ(s, oldS);
      EXPECT_EQ(e, oldE);
    }
  }
}

TEST(ZcDbPolylineSpline, SplineFormLiesOnThePolylineEverywhere) {
  std::unique_ptr<ZcDbPolyline> pl(randomPolyline(3, 10, /*maxBulge=*/1.5, /*closed=*/true));
  pl->setElevation(2.0);
  ZcDbSpline* raw = nullptr;
  ASSERT_EQ(pl->getSpline(raw), Zcad::eOk);
  std::unique_ptr<ZcDbSpline> spline(raw);
  double start = 0.0, end = 0.0;
  ASSERT_EQ(spline->getStartParam(start), Zcad::eOk);
  ASSERT_EQ(spline->getEndParam(end), Zcad::eOk);
  EXPECT_NEAR(end - start, 10.0, 1e-12);  // knot parameter i is vertex i
  for (int k = 0; k <= 400; ++k) {
    ZcGePoint3d p;
    ASSERT_EQ(spline->getPointAtParam(start + (end - start) * k / 400.0, p), Zcad::eOk);
    double param = 0.0;
    EXPECT_EQ(pl->getParamAtPoint(p, param), Zcad::eOk) << "k " << k;
  }
  EXPECT_NEAR(lengthOf(*spline), lengthOf(*pl), 1e-7 * lengthOf(*pl));
}

// ---------------------------------------------------------------------------------------------
// Transforms

TEST(ZcDbPolylineTransform, RigidAndUniformTransformsKeepShape) {
  std::unique_ptr<ZcDbPolyline> pl(randomPolyline(5, 7, /*maxBulge=*/1.0, /*closed=*/true));
  double area0 = 0.0;
  pl->getArea(area0);
  const double length0 = lengthOf(*pl);
  ZcGeMatrix3d m = ZcGeMatrix3d::rotation(0.7, ZcGeVector3d(1, 2, 3).normal(), ZcGePoint3d(1, 1, 1));
  m = ZcGeMatrix3d::scaling(2.5, ZcGePoint3d(3, 0, 0)) * m;
  ZcGePoint3d before;
  pl->getPointAtParam(2.3, before);
  ASSERT_EQ(pl->transformBy(m), Zcad::eOk);
  ZcGePoint3d after;
  pl->getPointAtParam(2.3, after);
  EXPECT_LT(dist(after, m * before), 1e-9);
  double area = 0.0;
  pl->getArea(area);
  EXPECT_NEAR(area, area0 * 6.25, 1e-9 * area);
  EXPECT_NEAR(lengthOf(*pl), length0 * 2.5, 1e-9 * length0);
}

TEST(ZcDbPolylineTransform, MirrorKeepsNormalAndNegatesBulges) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/0.5);
  pl.addVertexAt(1, ZcGePoint2d(4, 0), /*bulge=*/-0.25);
  pl.addVertexAt(2, ZcGePoint2d(4, 3));
  ZcGePoint3d before;
  pl.getPointAtParam(0.5, before);
  const ZcGeMatrix3d mirror = ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d(1, 0, 0), ZcGeVector3d(1, 0, 0)));
  ASSERT_EQ(pl.transformBy(mirror), Zcad::eOk);
  EXPECT_TRUE(pl.normal().isEqualTo(ZcGeVector3d::kZAxis));
  double b0 = 0.0, b1 = 0.0;
  pl.getBulgeAt(0, b0);
  pl.getBulgeAt(1, b1);
  EXPECT_EQ(b0, -0.5);
  EXPECT_EQ(b1, 0.25);
  ZcGePoint3d after;
  pl.getPointAtParam(0.5, after);
  EXPECT_LT(dist(after, mirror * before), 1e-12);
}

TEST(ZcDbPolylineTransform, UnevenScalingWorksForLinesOnlyAndLeavesArcsUnchanged) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0));
  pl.addVertexAt(1, ZcGePoint2d(1, 0));
  pl.addVertexAt(2, ZcGePoint2d(1, 1));
  const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling(ZcGeVector3d(3, 1, 1));
  ASSERT_EQ(pl.transformBy(stretch), Zcad::eOk);
  ZcGePoint2d p;
  pl.getPointAt(2, p);
  EXPECT_NEAR(p.x, 3.0, 1e-12);
  pl.setBulgeAt(0, 0.3);
  EXPECT_EQ(pl.transformBy(stretch), Zcad::eNotApplicable);
  pl.getPointAt(2, p);
  EXPECT_NEAR(p.x, 3.0, 1e-12);
  EXPECT_EQ(pl.transformBy(ZcGeMatrix3d::projection(ZcGePlane::kYZPlane, ZcGeVector3d::kXAxis)),
            Zcad::eNotApplicable);  // flattens the plane to a line
}

// ---------------------------------------------------------------------------------------------
// Degenerate and bad input

TEST(ZcDbPolylineDegenerate, OneVertexIsAPoint) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(3, 4));
  double end = -1.0, d = -1.0, param = -1.0;
  ASSERT_EQ(pl.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(end, 0.0);
  ASSERT_EQ(pl.getDistAtParam(0.0, d), Zcad::eOk);
  EXPECT_EQ(d, 0.0);
  ZcGePoint3d p;
  ASSERT_EQ(pl.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(3, 4, 0)), 1e-15);
  ASSERT_EQ(pl.getParamAtPoint(ZcGePoint3d(3, 4, 0), param), Zcad::eOk);
  EXPECT_EQ(param, 0.0);
  EXPECT_EQ(pl.getPointAtDist(1.0, p), Zcad::eInvalidInput);
  EXPECT_EQ(pl.segType(0), ZcDbPolyline::kPoint);
  ZcDbPolyline empty;
  EXPECT_EQ(empty.getPointAtDist(0.0, p), Zcad::eDegenerateGeometry);
  EXPECT_EQ(empty.segType(0), ZcDbPolyline::kEmpty);
}

TEST(ZcDbPolylineDegenerate, CoincidentVerticesAndBulgedZeroLengthSegmentsGiveNoNaN) {
  ZcDbPolyline pl;
  for (unsigned i = 0; i < 4; ++i) pl.addVertexAt(i, ZcGePoint2d(1, 1), /*bulge=*/i == 1 ? 1.0 : 0.0);
  pl.setClosed(true);
  EXPECT_EQ(pl.segType(1), ZcDbPolyline::kCoincident);
  EXPECT_EQ(lengthOf(pl), 0.0);
  double area = -1.0;
  ASSERT_EQ(pl.getArea(area), Zcad::eOk);
  EXPECT_EQ(area, 0.0);
  for (double param : {0.0, 0.5, 1.5, 3.99, 4.0}) {
    ZcGePoint3d p;
    ZcGeVector3d d1, d2;
    ASSERT_EQ(pl.getPointAtParam(param, p), Zcad::eOk);
    ASSERT_EQ(pl.getFirstDeriv(param, d1), Zcad::eOk);
    ASSERT_EQ(pl.getSecondDeriv(param, d2), Zcad::eOk);
    EXPECT_TRUE(allFinite(p) && allFinite(d1) && allFinite(d2));
  }
  double param = -1.0;
  ZcGePoint3d p;
  ASSERT_EQ(pl.getPointAtDist(0.0, p), Zcad::eOk);
  ASSERT_EQ(pl.getParamAtDist(0.0, param), Zcad::eOk);
  EXPECT_TRUE(std::isfinite(param));
  ZcDbExtents ext;
  ASSERT_EQ(pl.getGeomExtents(ext), Zcad::eOk);
  EXPECT_LT(dist(ext.minPoint(), ext.maxPoint()), 1e-15);
}

TEST(ZcDbPolylineInput, NonFiniteValuesAreRefusedAndNothingIsStored) {
  const double nan = std::nan("");
  const double inf = INFINITY;
  ZcDbPolyline pl;
  EXPECT_EQ(pl.addVertexAt(0, ZcGePoint2d(nan, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(pl.addVertexAt(0, ZcGePoint2d(0, 0), inf), Zcad::eInvalidInput);
  EXPECT_EQ(pl.numVerts(), 0u);
  ASSERT_EQ(pl.addVertexAt(0, ZcGePoint2d(0, 0)), Zcad::eOk);
  EXPECT_EQ(pl.setPointAt(0, ZcGePoint2d(0, inf)), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setBulgeAt(0, nan), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setWidthsAt(0, nan, 1.0), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setWidthsAt(0, -1.0, 1.0), Zcad::eNegativeValueNotAllowed);
  EXPECT_EQ(pl.setElevation(inf), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setNormal(ZcGeVector3d(0, 0, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setNormal(ZcGeVector3d(nan, 0, 1)), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setPointAt(5, ZcGePoint2d(0, 0)), Zcad::eInvalidIndex);
  ZcGePoint2d p;
  ASSERT_EQ(pl.getPointAt(0, p), Zcad::eOk);
  EXPECT_EQ(p.x, 0.0);
  double bulge = 1.0;
  pl.getBulgeAt(0, bulge);
  EXPECT_EQ(bulge, 0.0);
  EXPECT_TRUE(pl.normal().isEqualTo(ZcGeVector3d::kZAxis));
  ZcGeMatrix3d bad;
  bad(0, 3) = nan;
  EXPECT_EQ(pl.transformBy(bad), Zcad::eInvalidInput);
}

TEST(ZcDbPolylineWidths, NegativeWidthTakesConstantWidth) {
  ZcDbPolyline pl;
  ASSERT_EQ(pl.setConstantWidth(0.5), Zcad::eOk);
  pl.addVertexAt(0, ZcGePoint2d(0, 0));  // widths -1: the constant width
  pl.addVertexAt(1, ZcGePoint2d(1, 0), /*bulge=*/0.0, /*startWidth=*/0.2, /*endWidth=*/0.3);
  double s = 0.0, e = 0.0, w = -1.0;
  pl.getWidthsAt(0, s, e);
  EXPECT_EQ(s, 0.5);
  EXPECT_EQ(e, 0.5);
  EXPECT_EQ(pl.getConstantWidth(w), Zcad::eNotApplicable);
  EXPECT_EQ(w, 0.0);
  ASSERT_EQ(pl.setConstantWidth(2.0), Zcad::eOk);
  EXPECT_EQ(pl.getConstantWidth(w), Zcad::eOk);
  EXPECT_EQ(w, 2.0);
  EXPECT_TRUE(pl.hasWidth());
}

// ---------------------------------------------------------------------------------------------
// The length cache

TEST(ZcDbPolylineLengthCache, HundredThousandVerticesAnswerPointAtDistLikeAWalk) {
  constexpr int kCount = 100000;
  ZcDbPolyline pl(kCount);
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> step(0.0, 2.0), bulge(-0.8, 0.8);
  ZcGePoint2d p(0, 0);
  for (int i = 0; i < kCount; ++i) {
    pl.addVertexAt(static_cast<unsigned>(i), p, i % 3 == 0 ? bulge(rng) : 0.0);
    p = ZcGePoint2d(p.x + step(rng), p.y + step(rng) - 1.0);
  }
  // Reference: walk the segments one by one.
  std::vector<double> cumulative(1, 0.0);
  for (int i = 0; i + 1 < kCount; ++i) {
    double before = 0.0, after = 0.0;
    pl.getDistAtParam(i, before);
    pl.getDistAtParam(i + 1, after);
    ZcGeCircArc2d arc;
    ZcGeLineSeg2d line;
    double len = 0.0;
    if (pl.getArcSegAt(static_cast<unsigned>(i), arc) == Zcad::eOk) {
      len = arc.length();
    } else {
      ASSERT_EQ(pl.getLineSegAt(static_cast<unsigned>(i), line), Zcad::eOk);
      len = line.length();
    }
    cumulative.push_back(cumulative.back() + len);
    ASSERT_NEAR(after - before, len, 1e-9 * std::max(1.0, len));
  }
  const double total = cumulative.back();
  EXPECT_NEAR(lengthOf(pl), total, 1e-9 * total);
  std::uniform_real_distribution<double> pick(0.0, total);
  for (int k = 0; k < 2000; ++k) {
    const double d = pick(rng);
    const auto it = std::upper_bound(cumulative.begin(), cumulative.end(), d);
    const int segment = static_cast<int>(it - cumulative.begin()) - 1;
    const double fraction = (d - cumulative[segment]) / (cumulative[segment + 1] - cumulative[segment]);
    ZcGePoint3d q, expected;
    ASSERT_EQ(pl.getPointAtDist(d, q), Zcad::eOk);
    ASSERT_EQ(pl.getPointAtParam(segment + fraction, expected), Zcad::eOk);
    EXPECT_LT(dist(q, expected), 1e-7);
  }
}

TEST(ZcDbPolylineLengthCache, RegressionCacheFollowsEveryChangeAndCopy) {
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 0));
  pl.addVertexAt(1, ZcGePoint2d(10, 0));
  EXPECT_NEAR(lengthOf(pl), 10.0, 1e-12);  // cache built
  std::unique_ptr<ZcDbPolyline> copy(static_cast<ZcDbPolyline*>(pl.clone()));
  pl.setPointAt(1, ZcGePoint2d(20, 0));
  EXPECT_NEAR(lengthOf(pl), 20.0, 1e-12);
  EXPECT_NEAR(lengthOf(*copy), 10.0, 1e-12);
  pl.setBulgeAt(0, 1.0);
  EXPECT_NEAR(lengthOf(pl), 10.0 * kPi, 1e-11);
  pl.addVertexAt(2, ZcGePoint2d(20, 5));
  EXPECT_NEAR(lengthOf(pl), 10.0 * kPi + 5.0, 1e-11);
  pl.setClosed(true);
  EXPECT_NEAR(lengthOf(pl), 10.0 * kPi + 5.0 + std::hypot(20.0, 5.0), 1e-11);
  pl.removeVertexAt(2);
  pl.setClosed(false);
  EXPECT_NEAR(lengthOf(pl), 10.0 * kPi, 1e-11);
  pl.transformBy(ZcGeMatrix3d::scaling(0.5));
  EXPECT_NEAR(lengthOf(pl), 5.0 * kPi, 1e-11);
  pl.reverseCurve();
  EXPECT_NEAR(lengthOf(pl), 5.0 * kPi, 1e-11);
  pl.reset(/*reuse=*/true, 1);
  EXPECT_EQ(lengthOf(pl), 0.0);
  ASSERT_EQ(copy->copyFrom(&pl), Zcad::eOk);
  EXPECT_EQ(lengthOf(*copy), 0.0);
}

class ZcDbPolylineInDrawing : public DrawingTest {};

TEST_F(ZcDbPolylineInDrawing, RegressionCacheIsRightAfterUndo) {
  auto* pl = new ZcDbPolyline();
  pl->addVertexAt(0, ZcGePoint2d(0, 0));
  pl->addVertexAt(1, ZcGePoint2d(3, 4));
  const ZcDbObjectId id = append(pl);
  db_.beginUndoGroup();
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_NEAR(lengthOf(*pl), 5.0, 1e-12);
  pl->setPointAt(1, ZcGePoint2d(6, 8));
  EXPECT_NEAR(lengthOf(*pl), 10.0, 1e-12);
  pl->close();
  db_.endUndoGroup();
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_NEAR(lengthOf(*pl), 5.0, 1e-12);
  ZcGePoint3d p;
  ASSERT_EQ(pl->getPointAtDist(5.0, p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(3, 4, 0)), 1e-12);
  pl->close();
}

TEST_F(ZcDbPolylineInDrawing, ModifiersAnswerNotOpenForWriteWhenOpenForRead) {
  auto* pl = new ZcDbPolyline();
  pl->addVertexAt(0, ZcGePoint2d(0, 0));
  const ZcDbObjectId id = append(pl);
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(pl->addVertexAt(1, ZcGePoint2d(1, 1)), Zcad::eNotOpenForWrite);
  EXPECT_EQ(pl->setBulgeAt(0, 0.5), Zcad::eNotOpenForWrite);
  EXPECT_EQ(pl->numVerts(), 1u);
  pl->close();
}

// ---------------------------------------------------------------------------------------------
// Conversion with old-style polylines

TEST_F(ZcDbPolylineInDrawing, ConvertToAndFromKeepIdHandleAndVertexData) {
  auto* pl = new ZcDbPolyline();
  pl->addVertexAt(0, ZcGePoint2d(0, 0), /*bulge=*/0.5, /*startWidth=*/0.1, /*endWidth=*/0.2);
  pl->addVertexAt(1, ZcGePoint2d(5, 0), /*bulge=*/-1.0, /*startWidth=*/0.3, /*endWidth=*/0.4);
  pl->addVertexAt(2, ZcGePoint2d(5, 5));
  pl->setClosed(true);
  pl->setElevation(2.5);
  pl->setThickness(1.5);
  pl->setPlinegen(true);
  pl->setColorIndex(3);
  const ZcDbObjectId id = append(pl);
  ZcDbHandle handle = id.handle();
  double length = 0.0;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  length = lengthOf(*pl);
  pl->close();

  // PL2OLD: the old-style polyline takes the id; 36 tells the caller to delete the old object.
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  ZcDb2dPolyline* old = nullptr;
  ASSERT_EQ(pl->convertTo(old, /*transferId=*/true), Zcad::eObjectToBeDeleted);
  ASSERT_NE(old, nullptr);
  delete pl;
  EXPECT_EQ(old->objectId(), id);
  EXPECT_NEAR(lengthOf(*old), length, 1e-12);
  EXPECT_TRUE(old->isClosed());
  EXPECT_EQ(old->elevation(), 2.5);
  EXPECT_EQ(old->thickness(), 1.5);
  EXPECT_TRUE(old->isLinetypeGenerationOn());
  EXPECT_EQ(old->colorIndex(), 3);
  ZcDbObjectIdArray vertexIds;
  std::unique_ptr<ZcDbObjectIterator> it(old->vertexIterator());
  for (it->start(); !it->done(); it->step()) vertexIds.append(it->objectId());
  ASSERT_EQ(vertexIds.length(), 3);
  ZcDb2dVertex* v = nullptr;
  ASSERT_EQ(zcdbOpenObject(v, vertexIds[1], ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(v->ownerId(), id);
  EXPECT_EQ(v->bulge(), -1.0);
  EXPECT_EQ(v->startWidth(), 0.3);
  EXPECT_EQ(v->endWidth(), 0.4);
  v->close();
  old->close();

  // OLDPL2LW: the new lightweight polyline takes the id back; the 2-D polyline and its
  // vertices go.
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
  auto* back = new ZcDbPolyline();
  ASSERT_EQ(back->convertFrom(entity, /*transferId=*/true), Zcad::eOk);
  EXPECT_EQ(entity, back);
  back->close();
  EXPECT_TRUE(vertexIds[0].isErased());
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(pl->objectId().handle(), handle);
  ASSERT_EQ(pl->numVerts(), 3u);
  double bulge = 0.0, s = 0.0, e = 0.0;
  pl->getBulgeAt(0, bulge);
  pl->getWidthsAt(0, s, e);
  EXPECT_EQ(bulge, 0.5);
  EXPECT_EQ(s, 0.1);
  EXPECT_EQ(e, 0.2);
  EXPECT_TRUE(pl->isClosed());
  EXPECT_EQ(pl->elevation(), 2.5);
  EXPECT_EQ(pl->thickness(), 1.5);
  EXPECT_TRUE(pl->hasPlinegen());
  EXPECT_EQ(pl->colorIndex(), 3);
  EXPECT_NEAR(lengthOf(*pl), length, 1e-12);
  pl->close();
}

TEST_F(ZcDbPolylineInDrawing, ConvertFromRefusesOtherEntitiesAndChangesNothing) {
  ZcDbEntity* notAPolyline = new ZcDbPolyline();
  auto* target = new ZcDbPolyline();
  EXPECT_EQ(target->convertFrom(notAPolyline, /*transferId=*/false), Zcad::eIllegalEntityType);
  EXPECT_EQ(target->numVerts(), 0u);
  delete target;
  delete notAPolyline;
}

}  // namespace
