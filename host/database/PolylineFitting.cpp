#include "database/PolylineFitting.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

namespace vtcad::db::fitting {
namespace {

// Spline-fit polylines are quadratic or cubic; room for a few degrees more.
constexpr int kMaxFitDegree = 8;

// Point of the B-spline of degree p with knots `knots` and control points `ctrl` at u
// (de Boor); u is clamped to [knots[p], knots[m]] with m = ctrl.length().
ZcGePoint3d deBoor(const ZcGeDoubleArray& knots, const ZcGePoint3dArray& ctrl, int p, double u) {
  const int m = ctrl.length();
  u = std::clamp(u, knots[p], knots[m]);
  // The last span whose first knot is at or before u (binary search: a frame of thousands of
  // vertices is sampled at every fit vertex).
  const double* first = knots.asArrayPtr();
  const int span = std::max(p, static_cast<int>(std::upper_bound(first + p + 1, first + m, u) - first) - 1);
  assert(p < kMaxFitDegree);
  std::array<ZcGeVector3d, kMaxFitDegree> d;
  for (int j = 0; j <= p; ++j) d[static_cast<size_t>(j)] = ctrl[span - p + j].asVector();
  for (int r = 1; r <= p; ++r) {
    for (int j = p; j >= r; --j) {
      const int i = span - p + j;
      const double denom = knots[i + p - r + 1] - knots[i];
      const double alpha = denom > 0.0 ? (u - knots[i]) / denom : 0.0;
      d[static_cast<size_t>(j)] =
          d[static_cast<size_t>(j) - 1] * (1.0 - alpha) + d[static_cast<size_t>(j)] * alpha;
    }
  }
  const ZcGeVector3d& v = d[static_cast<size_t>(p)];
  return {v.x, v.y, v.z};
}

void buildKnots(const ZcGePoint3dArray& control, int degree, bool closed, ZcGeDoubleArray& knots,
                ZcGePoint3dArray& ctrl) {
  const int n = control.length();
  const int p = effectiveDegree(degree, n, closed);
  knots.removeAll();
  ctrl = control;
  if (closed) {
    for (int j = 0; j < p; ++j) ctrl.append(control[j]);
    const int m = ctrl.length();
    for (int i = 0; i <= m + p; ++i) knots.append(static_cast<double>(i - p));
  } else {
    for (int i = 0; i <= p; ++i) knots.append(0.0);
    for (int i = 1; i < n - p; ++i) knots.append(static_cast<double>(i));
    for (int i = 0; i <= p; ++i) knots.append(static_cast<double>(n - p));
  }
}

double cross(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.y - a.y * b.x; }
double dot(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.x + a.y * b.y; }
double norm(const ZcGeVector2d& v) { return std::hypot(v.x, v.y); }

// Unit tangent at `b` of the circle through a, b, c, pointing along `travel`. Collinear or
// coincident points give the unit `travel` direction (zero when travel is zero).
ZcGeVector2d circleTangent(const ZcGePoint2d& a, const ZcGePoint2d& b, const ZcGePoint2d& c,
                           const ZcGeVector2d& travel) {
  const ZcGeVector2d u = a - b;
  const ZcGeVector2d w = c - b;
  const double uu = dot(u, u);
  const double ww = dot(w, w);
  const double det = 2.0 * cross(u, w);
  const double travelLength = norm(travel);
  const ZcGeVector2d fallback = travelLength > 0.0 ? travel / travelLength : ZcGeVector2d(0.0, 0.0);
  if (std::fabs(det) <= 1e-12 * std::sqrt(uu * ww)) return fallback;
  // Center relative to b; the tangent is perpendicular to the radius.
  const ZcGeVector2d center((w.y * uu - u.y * ww) / det, (u.x * ww - w.x * uu) / det);
  ZcGeVector2d tangent(-center.y, center.x);
  const double len = norm(tangent);
  if (len == 0.0) return fallback;
  tangent /= len;
  if (dot(tangent, travel) < 0.0) tangent = -tangent;
  return tangent;
}

double signedAngle(const ZcGeVector2d& from, const ZcGeVector2d& to) {
  return std::atan2(cross(from, to), dot(from, to));
}

}  // namespace

int effectiveDegree(int degree, int numControl, bool closed) {
  (void)closed;  // open and closed frames need the same number of vertices per degree
  return std::max(1, std::min(degree, numControl - 1));
}

void splineDefinition(const ZcGePoint3dArray& control, int degree, bool closed, ZcGeKnotVector& knots,
                      ZcGePoint3dArray& controlPoints) {
  controlPoints.removeAll();
  knots = ZcGeKnotVector();
  if (control.length() < 2) return;
  ZcGeDoubleArray values;
  buildKnots(control, degree, closed, values, controlPoints);
  knots = ZcGeKnotVector(values);
}

ZcGePoint3dArray splineFitPoints(const ZcGePoint3dArray& control, int degree, bool closed, int segsPerSpan) {
  assert(segsPerSpan > 0);
  const int n = control.length();
  if (n < 2) return control;
  const int p = effectiveDegree(degree, n, closed);
  ZcGeDoubleArray knots;
  ZcGePoint3dArray ctrl;
  buildKnots(control, degree, closed, knots, ctrl);
  const int spans = closed ? n : n - 1;
  const int count = segsPerSpan * spans;
  const double domainStart = knots[p];
  const double domainEnd = knots[ctrl.length()];
  ZcGePoint3dArray result(closed ? count : count + 1);
  const int last = closed ? count - 1 : count;
  for (int k = 0; k <= last; ++k) {
    const double u = domainStart + (domainEnd - domainStart) * static_cast<double>(k) / count;
    result.append(deBoor(knots, ctrl, p, u));
  }
  if (!closed) {
    // The clamped curve ends exactly at the end control vertices; say so without rounding.
    result.first() = control.first();
    result.last() = control.last();
  }
  return result;
}

std::vector<CurveFitVertex> curveFit(const std::vector<ZcGePoint2d>& frame, bool closed) {
  const int n = static_cast<int>(frame.size());
  std::vector<CurveFitVertex> result;
  if (n == 0) return result;
  auto at = [&](int i) -> const ZcGePoint2d& { return frame[static_cast<size_t>((i % n + n) % n)]; };

  std::vector<ZcGeVector2d> tangents(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    ZcGeVector2d t;
    if (n < 3) {
      t = n == 2 ? at(1) - at(0) : ZcGeVector2d(1.0, 0.0);
      const double len = norm(t);
      t = len > 0.0 ? t / len : ZcGeVector2d(1.0, 0.0);
    } else if (closed || (i > 0 && i < n - 1)) {
      t = circleTangent(at(i - 1), at(i), at(i + 1), at(i + 1) - at(i - 1));
    } else if (i == 0) {
      t = circleTangent(at(2), at(0), at(1), at(1) - at(0));
    } else {
      t = circleTangent(at(n - 3), at(n - 1), at(n - 2), at(n - 1) - at(n - 2));
    }
    tangents[static_cast<size_t>(i)] = t;
  }

  const int spans = n < 2 ? 0 : (closed ? n : n - 1);
  for (int i = 0; i < n; ++i) {
    CurveFitVertex vertex;
    vertex.point = at(i);
    const ZcGeVector2d& t0 = tangents[static_cast<size_t>(i)];
    vertex.tangentAngle = std::atan2(t0.y, t0.x);
    if (i >= spans) {
      result.push_back(vertex);
      continue;
    }
    const ZcGePoint2d& p0 = at(i);
    const ZcGePoint2d& p1 = at(i + 1);
    const ZcGeVector2d& t1 = tangents[static_cast<size_t>((i + 1) % n)];
    const ZcGeVector2d v = p1 - p0;
    const double vv = dot(v, v);
    if (vv == 0.0) {  // a zero-length span: nothing to fit
      result.push_back(vertex);
      continue;
    }
    // Equal tangent lengths alpha: |v - alpha*(t0 + t1)| = 2*alpha.
    const ZcGeVector2d w = t0 + t1;
    const double a = dot(w, w) - 4.0;
    const double b = -2.0 * dot(v, w);
    double alpha = -1.0;
    if (std::fabs(a) < 1e-12) {
      if (dot(v, w) > 0.0) alpha = vv / (2.0 * dot(v, w));
    } else {
      alpha = 2.0 * vv / (-b + std::sqrt(b * b - 4.0 * a * vv));
    }
    CurveFitVertex junction;
    junction.isFrameVertex = false;
    if (!(alpha > 0.0) || !std::isfinite(alpha)) {
      // Parallel tangents both against the chord: no biarc of this kind; keep it straight.
      junction.point = p0 + v * 0.5;
    } else {
      const ZcGePoint2d h0 = p0 + t0 * alpha;
      const ZcGePoint2d h1 = p1 - t1 * alpha;
      junction.point = h0 + (h1 - h0) * 0.5;
      const ZcGeVector2d toJunction = junction.point - p0;
      const ZcGeVector2d fromJunction = p1 - junction.point;
      // The chord of an arc makes half the sweep with its tangent; bulge = tan(sweep / 4).
      if (norm(toJunction) > 0.0) vertex.bulge = std::tan(0.5 * signedAngle(t0, toJunction));
      if (norm(fromJunction) > 0.0) junction.bulge = std::tan(0.5 * signedAngle(fromJunction, t1));
      const ZcGeVector2d mid = (h1 - h0);
      const double midLength = norm(mid);
      junction.tangentAngle = midLength > 0.0 ? std::atan2(mid.y, mid.x) : vertex.tangentAngle;
    }
    result.push_back(vertex);
    result.push_back(junction);
  }
  return result;
}

}  // namespace vtcad::db::fitting
