// getOffsetCurves of lines, arcs, circles, ellipses and splines: one sign rule (right of the
// direction of travel), the statuses of unusable input, and over random curves every sampled
// point of an offset at |d| from its source (exact kinds to rounding, approximated kinds
// within their stated tolerance).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The offsets, owned.
struct Offsets {
  Zcad::ErrorStatus status = Zcad::eOk;
  std::vector<std::unique_ptr<ZcDbCurve>> curves;
};

Offsets offsetsOf(const ZcDbCurve& curve, double distance) {
  ZcDbVoidPtrArray raw;
  Offsets result;
  result.status = curve.getOffsetCurves(distance, raw);
  for (void* p : raw) result.curves.emplace_back(static_cast<ZcDbCurve*>(p));
  return result;
}

// The largest deviation of |offset point - closest source point| from |d| over 200 points
// spaced by parameter, and whether every point lies on the side the sign rule names.
struct Deviation {
  double worst = 0.0;
  bool rightSide = true;
};

Deviation deviationOf(const ZcDbCurve& source, const ZcDbCurve& offset, const ZcGeVector3d& normal,
                      double d) {
  Deviation result;
  double t0 = 0, t1 = 0;
  EXPECT_EQ(offset.getStartParam(t0), Zcad::eOk);
  EXPECT_EQ(offset.getEndParam(t1), Zcad::eOk);
  for (int i = 0; i <= 200; ++i) {
    ZcGePoint3d q, p;
    EXPECT_EQ(offset.getPointAtParam(t0 + (t1 - t0) * i / 200.0, q), Zcad::eOk);
    EXPECT_EQ(source.getClosestPointTo(q, p), Zcad::eOk);
    result.worst = std::max(result.worst, std::fabs(q.distanceTo(p) - std::fabs(d)));
    ZcGeVector3d tangent;
    double param = 0;
    EXPECT_EQ(source.getParamAtPoint(p, param), Zcad::eOk);
    EXPECT_EQ(source.getFirstDeriv(param, tangent), Zcad::eOk);
    const double side = (q - p).dotProduct(tangent.crossProduct(normal));
    if (side * d < 0 && std::fabs(side) > 1e-9 * std::fabs(d)) result.rightSide = false;
  }
  return result;
}

ZcGePoint3dArray points(std::initializer_list<ZcGePoint3d> list) {
  ZcGePoint3dArray array;
  for (const ZcGePoint3d& p : list) array.append(p);
  return array;
}

ZcGeDoubleArray doubles(std::initializer_list<double> list) {
  ZcGeDoubleArray array;
  for (double v : list) array.append(v);
  return array;
}

TEST(CurveOffset, PositiveGoesRightOfTravelSoItGrowsCounterClockwiseCurves) {
  const ZcDbLine line(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0));
  Offsets fromLine = offsetsOf(line, 2.0);
  ASSERT_EQ(fromLine.status, Zcad::eOk);
  ASSERT_EQ(fromLine.curves.size(), 1u);
  const auto* moved = ZcDbLine::cast(fromLine.curves[0].get());
  ASSERT_NE(moved, nullptr);
  EXPECT_TRUE(moved->startPoint().isEqualTo(ZcGePoint3d(0, -2, 0)));
  EXPECT_TRUE(moved->endPoint().isEqualTo(ZcGePoint3d(10, -2, 0)));

  const ZcDbArc arc(ZcGePoint3d(1, 2, 0), 5.0, 0.5, 2.0);
  Offsets fromArc = offsetsOf(arc, 1.5);
  ASSERT_EQ(fromArc.status, Zcad::eOk);
  const auto* grown = ZcDbArc::cast(fromArc.curves.at(0).get());
  ASSERT_NE(grown, nullptr);
  EXPECT_DOUBLE_EQ(grown->radius(), 6.5);
  EXPECT_DOUBLE_EQ(grown->startAngle(), 0.5);
  EXPECT_DOUBLE_EQ(grown->endAngle(), 2.0);

  // Reversed, a circle turns its normal over: it still runs counter-clockwise about it and
  // still grows.
  ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 4.0);
  circle.reverseCurve();
  Offsets fromCircle = offsetsOf(circle, 1.0);
  ASSERT_EQ(fromCircle.status, Zcad::eOk);
  EXPECT_DOUBLE_EQ(ZcDbCircle::cast(fromCircle.curves.at(0).get())->radius(), 5.0);

  // A counter-clockwise closed spline grows: its offset encloses more.
  ZcDbSpline loop(points({{0, 0, 0}, {10, 0, 0}, {12, 8, 0}, {2, 9, 0}, {0, 0, 0}}));
  Offsets fromLoop = offsetsOf(loop, 1.0);
  ASSERT_EQ(fromLoop.status, Zcad::eOk);
  double before = 0, after = 0;
  loop.getArea(before);
  fromLoop.curves.at(0)->getArea(after);
  EXPECT_GT(after, before);
  EXPECT_TRUE(fromLoop.curves[0]->isClosed());
}

std::unique_ptr<ZcDbEllipse> ellipseOf(double majorRadius, double ratio) {
  return std::make_unique<ZcDbEllipse>(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis,
                                       ZcGeVector3d(majorRadius, 0, 0), ratio);
}

TEST(CurveOffset, UnusableInputAnswersAStatusAndNoCurve) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const ZcDbCircle circle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 2.0);
  const ZcDbEllipse ellipse(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(4, 0, 0), 0.5);
  ZcDbHelix helix;
  const struct {
    const char* what;
    std::unique_ptr<ZcDbCurve> curve;
    double distance;
    Zcad::ErrorStatus status;
  } cases[] = {
      {"zero distance", std::make_unique<ZcDbCircle>(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 2.0), 0.0,
       Zcad::eInvalidInput},
      {"NaN distance", std::make_unique<ZcDbLine>(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), nan,
       Zcad::eInvalidInput},
      {"infinite distance", ellipseOf(4, 0.5), inf, Zcad::eInvalidInput},
      {"zero-length line", std::make_unique<ZcDbLine>(ZcGePoint3d(3, 3, 0), ZcGePoint3d(3, 3, 0)), 1.0,
       Zcad::eDegenerateGeometry},
      {"zero radius circle", std::make_unique<ZcDbCircle>(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 0.0),
       1.0, Zcad::eDegenerateGeometry},
      {"zero radius arc", std::make_unique<ZcDbArc>(ZcGePoint3d(0, 0, 0), 0.0, 0.0, 1.0), 1.0,
       Zcad::eDegenerateGeometry},
      {"null ellipse", std::make_unique<ZcDbEllipse>(), 1.0, Zcad::eDegenerateGeometry},
      {"null spline", std::make_unique<ZcDbSpline>(), 1.0, Zcad::eDegenerateGeometry},
      {"non-planar spline",
       std::make_unique<ZcDbSpline>(points({{0, 0, 0}, {5, 1, 2}, {9, 4, 0}, {12, 0, 3}})), 1.0,
       Zcad::eNonPlanarEntity},
      {"helix", std::make_unique<ZcDbHelix>(), 0.5, Zcad::eNonPlanarEntity},
      // Past the centre of curvature at the ends of the major axis (b^2/a = 1): a cusp.
      {"ellipse inside past its curvature", ellipseOf(4, 0.5), -1.5, Zcad::eGeneralModelingFailure},
      {"spline with a corner",
       std::make_unique<ZcDbSpline>(1, false, false, false, points({{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}),
                                    doubles({0, 0, 1, 2, 2}), ZcGeDoubleArray()),
       1.0, Zcad::eNotApplicable},
  };
  for (const auto& c : cases) {
    Offsets result = offsetsOf(*c.curve, c.distance);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_TRUE(result.curves.empty()) << c.what;
  }
  // Shrunk through the centre, circles, arcs and full ellipses vanish: eOk and no curve.
  for (const ZcDbCurve* curve : std::initializer_list<const ZcDbCurve*>{&circle, &ellipse}) {
    Offsets result = offsetsOf(*curve, -2.0);
    EXPECT_EQ(result.status, Zcad::eOk);
    EXPECT_TRUE(result.curves.empty());
  }
  Offsets arcGone = offsetsOf(ZcDbArc(ZcGePoint3d(0, 0, 0), 1.0, 0.0, 1.0), -1.0);
  EXPECT_EQ(arcGone.status, Zcad::eOk);
  EXPECT_TRUE(arcGone.curves.empty());
}

// Random arcs, circles, ellipses and planar splines in random planes, random distances each
// way (inside: short of the smallest radius of curvature for the closed-form kinds).
TEST(CurveOffset, EveryOffsetPointLiesAtTheDistanceFromItsSource) {
  std::mt19937 rng(20261207);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto in = [&](double lo, double hi) { return lo + (hi - lo) * unit(rng); };
  int splinesFitted = 0, splinesTried = 0;
  for (int trial = 0; trial < 160; ++trial) {
    const ZcGeVector3d normal =
        trial % 2 ? ZcGeVector3d::kZAxis : ZcGeVector3d(in(-1, 1), in(-1, 1), in(0.2, 1)).normal();
    const ZcGePoint3d centre(in(-100, 100), in(-100, 100), in(-10, 10));
    const ZcGeVector3d across = normal.perpVector().normal();
    std::unique_ptr<ZcDbCurve> curve;
    double size = 0, inward = 0;  // inward: the largest distance inside that stays smooth
    switch (trial % 4) {
      case 0: {
        const double r = in(0.5, 50);
        curve = std::make_unique<ZcDbArc>(centre, normal, r, in(0, 2 * kPi), in(0, 2 * kPi));
        size = r, inward = r;
        break;
      }
      case 1: {
        const double r = in(0.5, 50);
        curve = std::make_unique<ZcDbCircle>(centre, normal, r);
        size = r, inward = r;
        break;
      }
      case 2: {
        const double a = in(1, 50), ratio = in(0.2, 1);
        curve = std::make_unique<ZcDbEllipse>(centre, normal, across * a, ratio, in(0, 2 * kPi),
                                              unit(rng) < 0.5 ? in(0, 2 * kPi) : 0.0);
        size = a, inward = a * ratio * ratio;
        break;
      }
      default: {
        ZcGePoint3dArray fit;
        const ZcGeVector3d other = normal.crossProduct(across);
        for (int k = 0; k < 6; ++k) fit.append(centre + across * (10.0 * k + in(-3, 3)) + other * in(-3, 3));
        curve = std::make_unique<ZcDbSpline>(fit);
        size = 4, inward = 4;
        ++splinesTried;
      }
    }
    const double d = (trial % 8 < 4 ? 1.0 : -0.9 * inward) * in(0.01, 1.0) * (trial % 8 < 4 ? size : 1.0);
    Offsets result = offsetsOf(*curve, d);
    if (trial % 4 == 3 && result.status == Zcad::eGeneralModelingFailure) continue;  // a cusp
    ASSERT_EQ(result.status, Zcad::eOk) << trial;
    ASSERT_EQ(result.curves.size(), 1u) << trial;
    ZcGeVector3d planeNormal = normal;
    if (trial % 4 == 3) {
      ZcGePlane plane;
      bool planar = false;
      curve->getPlane(plane, planar);
      planeNormal = plane.normal();
      ++splinesFitted;
    }
    if (trial % 4 == 3) {
      // A spline's size is half its extents diagonal.
      ZcDbExtents box;
      curve->getGeomExtents(box);
      size = 0.5 * box.minPoint().distanceTo(box.maxPoint());
    }
    const Deviation deviation = deviationOf(*curve, *result.curves[0], planeNormal, d);
    const double allowed = trial % 4 < 2 ? 1e-9 * (size + std::fabs(d)) : 1e-6 * std::max(size, std::fabs(d));
    EXPECT_LE(deviation.worst, allowed) << "trial " << trial << " d " << d;
    EXPECT_TRUE(deviation.rightSide) << trial;
    EXPECT_EQ(result.curves[0]->isClosed(), curve->isClosed()) << trial;
  }
  EXPECT_GE(splinesFitted, splinesTried * 3 / 4);
}

}  // namespace
