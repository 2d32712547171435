// ZcDbCurve: the generic curve queries, answered through the curve's ZcGe geometry
// (getZcGeCurve). Curve classes override what they can answer faster or exactly; getArea
// here is a documented fallback (shoelace over sample points, accurate to the sampling).
#include "zcad/db/ZcDbCurve.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "ZcDbValidate.h"
#include "zcad/ge/ZcGeCurve3d.h"
#include "zcad/ge/ZcGePlane.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbCurve, ZcDbEntity, L"AcDbCurve", nullptr, nullptr)

ZcDbCurve::ZcDbCurve() = default;
ZcDbCurve::~ZcDbCurve() = default;

namespace {

struct Geometry {
  std::unique_ptr<ZcGeCurve3d> curve;
  Zcad::ErrorStatus status = Zcad::eOk;
  double start = 0.0;
  double end = 0.0;
  double length = 0.0;
};

// The curve's geometry with its interval and length; status other than eOk when there is
// none (eNotImplementedYet from the base) or it is not valid (eNotApplicable).
Geometry geometryOf(const ZcDbCurve* entity) {
  Geometry g;
  ZcGeCurve3d* raw = nullptr;
  g.status = entity->getZcGeCurve(raw);
  g.curve.reset(raw);
  if (g.status != Zcad::eOk) return g;
  if (!g.curve || !g.curve->isValid()) {
    g.status = Zcad::eNotApplicable;
    return g;
  }
  g.start = g.curve->startParam();
  g.end = g.curve->endParam();
  g.length = g.curve->length(g.start, g.end);
  return g;
}

// Tolerances relative to the curve's size: parameters and distances a hair outside the
// curve (rounding of the caller's own arithmetic) are taken as its ends.
double paramTolerance(const Geometry& g) { return 1e-9 * (1.0 + std::fabs(g.end - g.start)); }
double distTolerance(const Geometry& g) { return 1e-9 * (1.0 + g.length); }
double pointTolerance(const Geometry& g, const ZcGePoint3d& p) {
  double magnitude = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  return 1e-8 * (1.0 + magnitude + g.length);
}

// The parameter clamped into the curve, or false when it is outside beyond the tolerance.
bool clampParam(const Geometry& g, double& param) {
  if (!zcdbFinite(param)) return false;
  double lo = std::min(g.start, g.end), hi = std::max(g.start, g.end), tol = paramTolerance(g);
  if (param < lo - tol || param > hi + tol) return false;
  param = std::clamp(param, lo, hi);
  return true;
}

double distance(const ZcGePoint3d& a, const ZcGePoint3d& b) {
  double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

bool ZcDbCurve::isClosed() const {
  Geometry g = geometryOf(this);
  return g.status == Zcad::eOk && g.curve->isClosed();
}

bool ZcDbCurve::isPeriodic() const { return false; }

Zcad::ErrorStatus ZcDbCurve::getStartParam(double& param) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  param = g.start;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getEndParam(double& param) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  param = g.end;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getStartPoint(ZcGePoint3d& point) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  point = g.curve->evalPoint(g.start);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getEndPoint(ZcGePoint3d& point) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  point = g.curve->evalPoint(g.end);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getPointAtParam(double param, ZcGePoint3d& point) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (!clampParam(g, param)) return Zcad::eInvalidInput;
  point = g.curve->evalPoint(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  if (!zcdbFinite(point)) return Zcad::eInvalidInput;
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  double p = g.curve->paramOf(point);
  if (!clampParam(g, p)) return Zcad::eInvalidInput;
  if (distance(g.curve->evalPoint(p), point) > pointTolerance(g, point)) return Zcad::eInvalidInput;
  param = p;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getDistAtParam(double param, double& dist) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (!clampParam(g, param)) return Zcad::eInvalidInput;
  dist = g.curve->length(g.start, param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getParamAtDist(double dist, double& param) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (!zcdbFinite(dist) || dist < -distTolerance(g) || dist > g.length + distTolerance(g))
    return Zcad::eInvalidInput;
  dist = std::clamp(dist, 0.0, g.length);
  // A degenerate curve answers its start for the only distance it has (0).
  param = g.length > 0.0 ? g.curve->paramAtLength(g.start, dist) : g.start;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  double param = 0.0;
  if (Zcad::ErrorStatus es = getParamAtPoint(point, param); es != Zcad::eOk) return es;
  return getDistAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbCurve::getPointAtDist(double dist, ZcGePoint3d& point) const {
  double param = 0.0;
  if (Zcad::ErrorStatus es = getParamAtDist(dist, param); es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbCurve::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (!clampParam(g, param)) return Zcad::eInvalidInput;
  ZcGeVector3dArray derivs;
  g.curve->evalPoint(param, 1, derivs);
  if (derivs.length() < 1) return Zcad::eNotApplicable;
  firstDeriv = derivs[0];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  if (Zcad::ErrorStatus es = getParamAtPoint(point, param); es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbCurve::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (!clampParam(g, param)) return Zcad::eInvalidInput;
  ZcGeVector3dArray derivs;
  g.curve->evalPoint(param, 2, derivs);
  if (derivs.length() < 2) return Zcad::eNotApplicable;
  secDeriv = derivs[1];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                               bool extend) const {
  if (!zcdbFinite(givenPoint)) return Zcad::eInvalidInput;
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  if (extend && g.curve->isKindOf(ZcGe::kLinearEnt3d)) {
    // The unbounded line through the segment (a zero-length one has only its point).
    ZcGePoint3d s = g.curve->evalPoint(g.start), e = g.curve->evalPoint(g.end);
    ZcGeVector3d d = e - s;
    double dd = d.dotProduct(d);
    pointOnCurve = dd > 0.0 ? s + d * ((givenPoint - s).dotProduct(d) / dd) : s;
    return Zcad::eOk;
  }
  // Other kinds have no generic extension: the closest point of the curve as it is.
  pointOnCurve = g.curve->closestPointTo(givenPoint);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                               ZcGePoint3d& pointOnCurve, bool /*extend*/) const {
  if (!zcdbFinite(givenPoint) || !zcdbFinite(direction) || direction.lengthSqrd() == 0.0) {
    return Zcad::eInvalidInput;
  }
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  ZcGeVector3d dir = direction / std::sqrt(direction.lengthSqrd());
  // Distance seen along `direction`: the part of (point - given) across it.
  auto seen = [&](double t) {
    ZcGeVector3d v = g.curve->evalPoint(t) - givenPoint;
    ZcGeVector3d across = v - dir * v.dotProduct(dir);
    return across.lengthSqrd();
  };
  // Dense samples, then a golden-section search around the best one.
  constexpr int kSamples = 512;
  double step = (g.end - g.start) / kSamples;
  int best = 0;
  double bestValue = seen(g.start);
  for (int i = 1; i <= kSamples; ++i) {
    double value = seen(g.start + step * i);
    if (value < bestValue) {
      bestValue = value;
      best = i;
    }
  }
  double lo = g.start + step * std::max(0, best - 1), hi = g.start + step * std::min(kSamples, best + 1);
  constexpr double kGolden = 0.6180339887498949;
  for (int iter = 0; iter < 100 && std::fabs(hi - lo) > paramTolerance(g) * 1e-3; ++iter) {
    double a = hi - kGolden * (hi - lo), b = lo + kGolden * (hi - lo);
    if (seen(a) < seen(b)) {
      hi = b;
    } else {
      lo = a;
    }
  }
  pointOnCurve = g.curve->evalPoint(0.5 * (lo + hi));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getArea(double& area) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  ZcGePlane plane;
  if (!g.curve->isPlanar(plane)) return Zcad::eNotApplicable;
  ZcGePoint3dArray points;
  ZcGeDoubleArray params;
  g.curve->getSamplePoints(g.start, g.end, 1e-6 * (1.0 + g.length), points, params);
  // Shoelace in the plane's axes; the closing chord from the last point to the first is
  // part of the sum.
  ZcGePoint3d o = plane.origin();
  ZcGeVector3d u = plane.uAxis(), v = plane.vAxis();
  double twice = 0.0;
  for (int i = 0; i < points.length(); ++i) {
    const ZcGePoint3d& a = points[i];
    const ZcGePoint3d& b = points[(i + 1) % points.length()];
    double ax = (a - o).dotProduct(u), ay = (a - o).dotProduct(v);
    double bx = (b - o).dotProduct(u), by = (b - o).dotProduct(v);
    twice += ax * by - bx * ay;
  }
  area = std::fabs(twice) * 0.5;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getGeomExtents(ZcDbExtents& extents) const {
  Geometry g = geometryOf(this);
  if (g.status != Zcad::eOk) return g.status;
  ZcGePoint3d lo, hi;
  if (!g.curve->getExtents(lo, hi)) return Zcad::eNotApplicable;
  return extents.set(lo, hi);
}

// Each curve class answers these for its own kind.
Zcad::ErrorStatus ZcDbCurve::reverseCurve() { return Zcad::eNotImplementedYet; }
Zcad::ErrorStatus ZcDbCurve::getSpline(ZcDbSpline*& spline) const {
  spline = nullptr;
  return Zcad::eNotImplementedYet;
}
Zcad::ErrorStatus ZcDbCurve::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  curve = nullptr;
  return Zcad::eNotImplementedYet;
}
Zcad::ErrorStatus ZcDbCurve::getOffsetCurves(double /*offsetDist*/,
                                             ZcDbVoidPtrArray& /*offsetCurves*/) const {
  return Zcad::eNotImplementedYet;
}
Zcad::ErrorStatus ZcDbCurve::getSplitCurves(const ZcGeDoubleArray& /*params*/,
                                            ZcDbVoidPtrArray& /*curveSegments*/) const {
  return Zcad::eNotImplementedYet;
}
Zcad::ErrorStatus ZcDbCurve::extend(double /*newParam*/) { return Zcad::eNotImplementedYet; }
