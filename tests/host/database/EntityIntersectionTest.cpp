// intersectWith over every pair of curve kinds: properties over random pairs, and the counts
// of constructed cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

using Curve = std::unique_ptr<ZcDbCurve>;

ZcGePoint3dArray intersections(const ZcDbEntity& a, const ZcDbEntity& b,
                               ZcDb::Intersect mode = ZcDb::kOnBothOperands) {
  ZcGePoint3dArray points;
  EXPECT_EQ(a.intersectWith(&b, mode, points), Zcad::eOk);
  return points;
}

double sizeOf(const ZcDbEntity& a, const ZcDbEntity& b) {
  ZcDbExtents box, other;
  a.getGeomExtents(box);
  b.getGeomExtents(other);
  box.addExt(other);
  return box.minPoint().distanceTo(box.maxPoint());
}

// Distance from a point to a curve by dense sampling and local refinement (a spline's own
// closest point can stop in a local minimum).
double robustDistance(const ZcDbCurve& curve, const ZcGePoint3d& p) {
  double lo = 0.0, hi = 0.0;
  curve.getStartParam(lo);
  curve.getEndParam(hi);
  constexpr int kSamples = 4000;
  auto at = [&](double t) {
    ZcGePoint3d q;
    curve.getPointAtParam(std::clamp(t, lo, hi), q);
    return q.distanceTo(p);
  };
  std::vector<double> d(kSamples + 1);
  for (int i = 0; i <= kSamples; ++i) d[i] = at(lo + (hi - lo) * i / kSamples);
  double best = 1e300;
  for (int i = 0; i <= kSamples; ++i) {
    // Every local minimum of the samples, refined by golden section.
    if ((i > 0 && d[i - 1] < d[i]) || (i < kSamples && d[i + 1] < d[i])) continue;
    double a = lo + (hi - lo) * (i - 1) / kSamples, b = lo + (hi - lo) * (i + 1) / kSamples;
    for (int it = 0; it < 100; ++it) {
      const double m1 = a + (b - a) * 0.381966, m2 = a + (b - a) * 0.618034;
      if (at(m1) < at(m2))
        b = m2;
      else
        a = m1;
    }
    best = std::min({best, d[i], at((a + b) / 2.0)});
  }
  return best;
}

double distanceTo(const ZcDbCurve& curve, const ZcGePoint3d& p) {
  ZcGePoint3d on;
  if (!ZcDbSpline::cast(&curve) && curve.getClosestPointTo(p, on) == Zcad::eOk) return on.distanceTo(p);
  return robustDistance(curve, p);
}

// Random curves of every kind, in a 10-unit square of the XY plane (some tilted out of it).
class CurveMaker {
 public:
  explicit CurveMaker(unsigned seed) : rng_(seed) {}

  double u(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
  ZcGePoint3d point(double z = 0.0) { return {u(0, 10), u(0, 10), z}; }

  Curve make(int kind) {
    switch (kind % 9) {
      case 0:
        return Curve(new ZcDbLine(point(), point()));
      case 1:
        return Curve(new ZcDbArc(point(), u(1, 6), u(0, 6.28), u(0, 6.28)));
      case 2:
        return Curve(new ZcDbCircle(point(), ZcGeVector3d::kZAxis, u(1, 6)));
      case 3: {
        const double a = u(0, 6.28);
        return Curve(new ZcDbEllipse(point(), ZcGeVector3d::kZAxis,
                                     ZcGeVector3d(std::cos(a), std::sin(a), 0) * u(2, 6), u(0.2, 1.0),
                                     u(0, 3), u(3.5, 6.28)));
      }
      case 4: {
        ZcGePoint3dArray fit;
        for (int i = 0; i < 5; ++i) fit.append(point());
        return Curve(new ZcDbSpline(fit));
      }
      case 5: {
        auto* pl = new ZcDbPolyline();
        const int n = 2 + static_cast<int>(u(0, 5));
        for (int i = 0; i < n; ++i) {
          const ZcGePoint3d p = point();
          pl->addVertexAt(i, ZcGePoint2d(p.x, p.y), u(0, 1) < 0.5 ? 0.0 : u(-1.5, 1.5));
        }
        pl->setClosed(u(0, 1) < 0.3);
        return Curve(pl);
      }
      case 6: {
        ZcGePoint3dArray v;
        ZcGeDoubleArray bulges;
        for (int i = 0; i < 4; ++i) {
          v.append(point());
          bulges.append(u(0, 1) < 0.5 ? 0.0 : u(-1, 1));
        }
        return Curve(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, v, 0.0, false, 0.0, 0.0, &bulges));
      }
      case 7: {
        ZcGePoint3dArray v;
        for (int i = 0; i < 4; ++i) v.append(point(u(0, 1) < 0.5 ? 0.0 : u(-1, 1)));
        return Curve(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, v));
      }
      default: {
        // Tilted: a circle standing across the XY plane.
        const ZcGeVector3d n(u(-1, 1), u(-1, 1), u(-1, 1));
        return Curve(new ZcDbCircle(point(), n.length() > 0.1 ? n.normal() : ZcGeVector3d::kXAxis, u(1, 5)));
      }
    }
  }

 private:
  std::mt19937 rng_;
};

TEST(EntityIntersection, RandomPairsOfEveryKindMeetOnBothCurvesAndAgreeBothWays) {
  CurveMaker maker(20261207);
  int found = 0;
  for (int trial = 0; trial < 405; ++trial) {
    const Curve a = maker.make(trial / 9 % 9), b = maker.make(trial % 9);
    const double tol = 1e-9 * sizeOf(*a, *b);
    const ZcGePoint3dArray ab = intersections(*a, *b), ba = intersections(*b, *a);
    found += ab.length();
    for (const ZcGePoint3dArray* pts : {&ab, &ba}) {
      for (int i = 0; i < pts->length(); ++i) {
        EXPECT_LE(distanceTo(*a, (*pts)[i]), tol) << "trial " << trial << " point " << i;
        EXPECT_LE(distanceTo(*b, (*pts)[i]), tol) << "trial " << trial << " point " << i;
      }
    }
    // The same point set either way round.
    ASSERT_EQ(ab.length(), ba.length()) << "trial " << trial;
    for (int i = 0; i < ab.length(); ++i) {
      double nearest = 1e300;
      for (int j = 0; j < ba.length(); ++j) nearest = std::min(nearest, ab[i].distanceTo(ba[j]));
      EXPECT_LE(nearest, 10 * tol) << "trial " << trial;
    }
  }
  EXPECT_GT(found, 150);  // the random pairs do meet
}

TEST(EntityIntersection, ConstructedCountsCrossingsTangentsAndOverlapEnds) {
  const ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 5);
  EXPECT_EQ(intersections(ZcDbLine(ZcGePoint3d(-10, 1, 0), ZcGePoint3d(10, 1, 0)), circle).length(), 2);
  const ZcGePoint3dArray tangent =
      intersections(ZcDbLine(ZcGePoint3d(-10, 5, 0), ZcGePoint3d(10, 5, 0)), circle);
  ASSERT_EQ(tangent.length(), 1);
  EXPECT_LE(tangent[0].distanceTo(ZcGePoint3d(0, 5, 0)), 1e-9);
  // Two circles touching from outside, and an ellipse touching a line at its vertex.
  EXPECT_EQ(intersections(circle, ZcDbCircle(ZcGePoint3d(8, 0, 0), ZcGeVector3d::kZAxis, 3)).length(), 1);
  const ZcDbEllipse ellipse(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(4, 0, 0), 0.5, 0,
                            6.283185307179586);
  const ZcGePoint3dArray touch =
      intersections(ellipse, ZcDbLine(ZcGePoint3d(-5, 2, 0), ZcGePoint3d(5, 2, 0)));
  ASSERT_EQ(touch.length(), 1);
  EXPECT_LE(touch[0].distanceTo(ZcGePoint3d(0, 2, 0)), 1e-6);  // a tangent point is ill-conditioned along it
  // Ellipse against circle: exact points of x^2/16 + y^2/4 = 1 and x^2 + y^2 = 9.
  const ZcGePoint3dArray ec =
      intersections(ellipse, ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 3));
  ASSERT_EQ(ec.length(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(std::abs(ec[i].x), std::sqrt(20.0 / 3.0), 1e-9);
    EXPECT_NEAR(std::abs(ec[i].y), std::sqrt(7.0 / 3.0), 1e-9);
  }

  // An arc lying along a polyline's arc segment: the ends of the common stretch.
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(-10, 0));
  pl.addVertexAt(1, ZcGePoint2d(5, 0), std::tan(3.141592653589793 / 4));  // half circle (0,0) r 5 via (0,5)
  pl.addVertexAt(2, ZcGePoint2d(-5, 0));
  const ZcDbArc arc(ZcGePoint3d(0, 0, 0), 5, 0.5, 2.0);
  const ZcGePoint3dArray overlap = intersections(arc, pl);
  ASSERT_EQ(overlap.length(), 2);
  EXPECT_LE(overlap[0].distanceTo(ZcGePoint3d(5 * std::cos(0.5), 5 * std::sin(0.5), 0)), 1e-9);
  EXPECT_LE(overlap[1].distanceTo(ZcGePoint3d(5 * std::cos(2.0), 5 * std::sin(2.0), 0)), 1e-9);
  // A line along two collinear polyline segments: one stretch across the shared vertex.
  ZcDbPolyline straight;
  straight.addVertexAt(0, ZcGePoint2d(0, 0));
  straight.addVertexAt(1, ZcGePoint2d(4, 0));
  straight.addVertexAt(2, ZcGePoint2d(8, 0));
  EXPECT_EQ(intersections(ZcDbLine(ZcGePoint3d(2, 0, 0), ZcGePoint3d(6, 0, 0)), straight).length(), 2);
  // Coincident circles share everything and have no ends.
  EXPECT_EQ(intersections(circle, ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 5)).length(), 0);
}

TEST(EntityIntersection, NonCoplanarCurvesMeetOnlyWhereOneCrossesTheOther) {
  const ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 5);
  EXPECT_EQ(intersections(ZcDbLine(ZcGePoint3d(5, 0, -1), ZcGePoint3d(5, 0, 1)), circle).length(), 1);
  EXPECT_EQ(intersections(ZcDbLine(ZcGePoint3d(4, 0, -1), ZcGePoint3d(4, 0, 1)), circle).length(), 0);
  // Skew lines stay apart; two circles in crossing planes meet twice.
  EXPECT_EQ(intersections(ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)),
                          ZcDbLine(ZcGePoint3d(0.5, -1, 1), ZcGePoint3d(0.5, 1, 1)))
                .length(),
            0);
  EXPECT_EQ(intersections(circle, ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kXAxis, 5)).length(), 2);
}

TEST(EntityIntersection, ExtendModesUseTheCarriers) {
  const ZcDbLine line(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0));
  const ZcDbArc arc(ZcGePoint3d(10, 0, 0), 2, 1.0, 2.0);  // the upper part, away from the x axis
  EXPECT_EQ(intersections(line, arc).length(), 0);
  EXPECT_EQ(intersections(line, arc, ZcDb::kExtendThis).length(), 0);
  EXPECT_EQ(intersections(line, arc, ZcDb::kExtendBoth).length(), 2);
  EXPECT_EQ(intersections(arc, line, ZcDb::kExtendBoth).length(), 2);
  // An open polyline extends at its free ends only: not backwards through its first vertex.
  ZcDbPolyline pl;
  pl.addVertexAt(0, ZcGePoint2d(0, 1));
  pl.addVertexAt(1, ZcGePoint2d(0, 3));
  pl.addVertexAt(2, ZcGePoint2d(2, 3));
  const ZcDbLine below(ZcGePoint3d(-1, 0, 0), ZcGePoint3d(1, 0, 0));
  const ZcDbLine above(ZcGePoint3d(-1, 5, 0), ZcGePoint3d(1, 5, 0));
  EXPECT_EQ(intersections(pl, below, ZcDb::kExtendThis).length(), 1);
  EXPECT_EQ(intersections(pl, above, ZcDb::kExtendThis).length(), 0);
  EXPECT_EQ(intersections(below, pl, ZcDb::kExtendArg).length(), 1);
  // An elliptical arc extends to its full ellipse.
  const ZcDbEllipse half(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(4, 0, 0), 0.5, 0, 3.14159);
  const ZcDbLine low(ZcGePoint3d(-5, -1, 0), ZcGePoint3d(5, -1, 0));
  EXPECT_EQ(intersections(half, low).length(), 0);
  EXPECT_EQ(intersections(half, low, ZcDb::kExtendThis).length(), 2);
}

TEST(EntityIntersection, ProjectedOverloadAnswersPointsOnThisEntity) {
  const ZcDbLine high(ZcGePoint3d(0, 0, 5), ZcGePoint3d(10, 0, 5));
  const ZcDbLine low(ZcGePoint3d(3, -5, 0), ZcGePoint3d(3, 5, 0));
  ZcGePoint3dArray points;
  ASSERT_EQ(high.intersectWith(&low, ZcDb::kOnBothOperands, ZcGePlane::kXYPlane, points), Zcad::eOk);
  ASSERT_EQ(points.length(), 1);
  EXPECT_LE(points[0].distanceTo(ZcGePoint3d(3, 0, 5)), 1e-9);
  EXPECT_EQ(intersections(high, low).length(), 0);
}

TEST(EntityIntersection, NonCurvesAreNotApplicable) {
  const ZcDbPoint point(ZcGePoint3d(0, 0, 0));
  const ZcDbLine line(ZcGePoint3d(-1, 0, 0), ZcGePoint3d(1, 0, 0));
  ZcGePoint3dArray points;
  EXPECT_EQ(line.intersectWith(&point, ZcDb::kOnBothOperands, points), Zcad::eNotApplicable);
  EXPECT_EQ(point.intersectWith(&line, ZcDb::kOnBothOperands, points), Zcad::eNotApplicable);
  EXPECT_EQ(line.intersectWith(nullptr, ZcDb::kOnBothOperands, points), Zcad::eNullEntityPointer);
}

}  // namespace
