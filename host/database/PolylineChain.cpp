#include "database/PolylineChain.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "database/CurveQueryRules.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

double dot(const ZcGeVector3d& a, const ZcGeVector3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

double normalizedAngle(double angle) {
  double a = std::fmod(angle, ZcGe::kTwoPi);
  if (a < 0.0) a += ZcGe::kTwoPi;
  return a;
}

bool isFinite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Parameter in [0, 1] of the point of segment a-b closest to `point`.
double closestOnLine(const ZcGePoint3d& a, const ZcGePoint3d& b, const ZcGePoint3d& point) {
  const ZcGeVector3d d = b - a;
  const double len2 = dot(d, d);
  if (len2 == 0.0) return 0.0;
  return std::clamp(dot(point - a, d) / len2, 0.0, 1.0);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// PolylinePlane

PolylinePlane PolylinePlane::fromNormal(const ZcGeVector3d& normal, double elevation) {
  PolylinePlane plane;
  const double len = std::sqrt(dot(normal, normal));
  // A zero normal cannot come from the database (setters refuse it); fall back to +Z.
  plane.normal = len > 0.0 ? normal / len : ZcGeVector3d::kZAxis;
  plane.xAxis = plane.normal.perpVector();
  plane.yAxis = plane.normal.crossProduct(plane.xAxis);
  plane.elevation = elevation;
  return plane;
}

ZcGePoint3d PolylinePlane::toWorld(const ZcGePoint2d& point) const {
  const ZcGeVector3d v = xAxis * point.x + yAxis * point.y + normal * elevation;
  return {v.x, v.y, v.z};
}

ZcGeVector3d PolylinePlane::toWorld(const ZcGeVector2d& vector) const {
  return xAxis * vector.x + yAxis * vector.y;
}

ZcGePoint2d PolylinePlane::toPlane(const ZcGePoint3d& point) const {
  const ZcGeVector3d v = point.asVector();
  return {dot(v, xAxis), dot(v, yAxis)};
}

double PolylinePlane::heightOf(const ZcGePoint3d& point) const { return dot(point.asVector(), normal); }

// ---------------------------------------------------------------------------------------------
// PlaneMapping

PlaneMapping PlaneMapping::of(const ZcGeMatrix3d& matrix, const PolylinePlane& source) {
  PlaneMapping m;
  m.matrix = matrix;
  m.source = source;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(matrix(r, c))) {
        m.status = Zcad::eInvalidInput;
        return m;
      }
  if (!isAffine(matrix)) {
    m.status = Zcad::eNotApplicable;
    return m;
  }
  const ZcGeVector3d u = matrix * source.xAxis;
  const ZcGeVector3d v = matrix * source.yAxis;
  const ZcGeVector3d normalImage = matrix * source.normal;
  const double lu = std::sqrt(dot(u, u));
  const double lv = std::sqrt(dot(v, v));
  const ZcGeVector3d cross = u.crossProduct(v);
  const double crossLength = std::sqrt(dot(cross, cross));
  if (!(lu > 0.0) || !(lv > 0.0) || !(crossLength > 1e-12 * lu * lv)) {
    m.status = Zcad::eNotApplicable;  // the plane collapses to a line or a point
    return m;
  }
  m.conformal = std::fabs(lu - lv) <= 1e-9 * std::max(lu, lv) && std::fabs(dot(u, v)) <= 1e-9 * lu * lv;
  ZcGeVector3d normal = cross / crossLength;
  m.flipped = dot(normal, normalImage) < 0.0;
  if (m.flipped) normal = -normal;
  m.target = PolylinePlane::fromNormal(normal, 0.0);
  m.target.elevation = m.target.heightOf(matrix * source.toWorld(ZcGePoint2d::kOrigin));
  m.widthScale = std::sqrt(lu * lv);
  m.thicknessScale = dot(normalImage, normal);
  return m;
}

ZcGePoint2d PlaneMapping::map(const ZcGePoint2d& point) const {
  return target.toPlane(matrix * source.toWorld(point));
}

double PlaneMapping::mapAngle(double angle) const {
  const ZcGeVector3d image = matrix * source.toWorld(ZcGeVector2d(std::cos(angle), std::sin(angle)));
  return std::atan2(dot(image, target.yAxis), dot(image, target.xAxis));
}

// ---------------------------------------------------------------------------------------------
// ChainLengths

void ChainLengths::build(const PolylineChain& chain, std::vector<double>& cumulative) {
  const int segments = chain.numSegments();
  cumulative.assign(1, 0.0);
  cumulative.reserve(static_cast<size_t>(segments) + 1);
  double sum = 0.0;
  for (int i = 0; i < segments; ++i) {
    sum += chain.segmentLength(i);
    cumulative.push_back(sum);
  }
}

double ChainLengths::distAt(int segment, double t) const {
  assert(segment >= 0 && segment + 1 < static_cast<int>(cumulative_.size()));
  const double start = cumulative_[static_cast<size_t>(segment)];
  return start + t * (cumulative_[static_cast<size_t>(segment) + 1] - start);
}

void ChainLengths::locate(double dist, int& segment, double& t) const {
  segment = 0;
  t = 0.0;
  if (cumulative_.size() < 2) return;
  const double d = std::clamp(dist, 0.0, total());
  // First cumulative length at or past d, looked up from index 1: its segment contains d.
  auto it = std::lower_bound(cumulative_.begin() + 1, cumulative_.end(), d);
  if (it == cumulative_.end()) --it;  // d == total() rounded above the last entry
  segment = static_cast<int>(it - cumulative_.begin()) - 1;
  const double start = cumulative_[static_cast<size_t>(segment)];
  const double length = *it - start;
  t = length > 0.0 ? std::clamp((d - start) / length, 0.0, 1.0) : 0.0;
}

// ---------------------------------------------------------------------------------------------
// PolylineChain: construction and segments

PolylineChain PolylineChain::planar(const ZcGePoint2d* points, const double* bulges, int numVerts,
                                    bool closed, const PolylinePlane& plane) {
  PolylineChain chain;
  chain.points2d_ = points;
  chain.bulges_ = bulges;
  chain.numVerts_ = numVerts;
  chain.closed_ = closed;
  chain.plane_ = plane;
  return chain;
}

PolylineChain PolylineChain::spatial(const ZcGePoint3d* points, int numVerts, bool closed) {
  PolylineChain chain;
  chain.points3d_ = points;
  chain.numVerts_ = numVerts;
  chain.closed_ = closed;
  return chain;
}

int PolylineChain::numSegments() const {
  if (numVerts_ < 2) return 0;
  return closed_ ? numVerts_ : numVerts_ - 1;
}

ZcGePoint3d PolylineChain::vertexPoint(int index) const {
  assert(index >= 0 && index < numVerts_);
  return points2d_ ? plane_.toWorld(points2d_[index]) : points3d_[index];
}

BulgeSegment PolylineChain::planarSegment(int segment) const {
  assert(points2d_ && segment >= 0 && segment < numSegments());
  const int next = segment + 1 == numVerts_ ? 0 : segment + 1;
  return BulgeSegment(points2d_[segment], points2d_[next], bulges_ ? bulges_[segment] : 0.0);
}

double PolylineChain::segmentLength(int segment) const {
  if (points2d_) return planarSegment(segment).length();
  const int next = segment + 1 == numVerts_ ? 0 : segment + 1;
  return points3d_[segment].distanceTo(points3d_[next]);
}

ZcGePoint3d PolylineChain::pointAt(int segment, double t) const {
  if (points2d_) return plane_.toWorld(planarSegment(segment).pointAt(t));
  const int next = segment + 1 == numVerts_ ? 0 : segment + 1;
  return points3d_[segment] + (points3d_[next] - points3d_[segment]) * t;
}

ZcGePoint3d PolylineChain::extendedPointAt(int segment, double t) const {
  if (points2d_) return plane_.toWorld(planarSegment(segment).pointAtExtended(t));
  return pointAt(segment, t);  // a straight segment's formula extends as it is
}

ZcGeVector3d PolylineChain::firstDeriv(int segment, double t) const {
  if (points2d_) return plane_.toWorld(planarSegment(segment).firstDeriv(t));
  const int next = segment + 1 == numVerts_ ? 0 : segment + 1;
  return points3d_[next] - points3d_[segment];
}

ZcGeVector3d PolylineChain::secondDeriv(int segment, double t) const {
  if (points2d_) return plane_.toWorld(planarSegment(segment).secondDeriv(t));
  return ZcGeVector3d::kIdentity;
}

bool PolylineChain::locateParam(double param, int& segment, double& t) const {
  segment = 0;
  t = 0.0;
  if (numVerts_ == 0) return false;
  const int segments = numSegments();
  double p = param;
  if (!fitParamIntoRange(ParamRange{0.0, static_cast<double>(segments), false}, p)) return false;
  if (segments == 0) return true;
  segment = std::min(static_cast<int>(std::floor(p)), segments - 1);
  t = p - segment;
  return true;
}

double PolylineChain::pointTolerance() const {
  ZcDbExtents box;
  if (getGeomExtents(box) != Zcad::eOk) return ZcGeContext::gTol.equalPoint();
  return onCurveTolerance(box.minPoint(), box.maxPoint());
}

// ---------------------------------------------------------------------------------------------
// Closest points

void PolylineChain::closestPoint(const ZcGePoint3d& point, bool extend, int& segment, double& t,
                                 ZcGePoint3d& result) const {
  assert(numVerts_ > 0);
  segment = 0;
  t = 0.0;
  const int segments = numSegments();
  if (segments == 0) {
    result = vertexPoint(0);
    return;
  }
  double best = std::numeric_limits<double>::infinity();
  if (points2d_) {
    // The chain is planar: the nearest point in space is the nearest to the projection.
    const ZcGePoint2d q = plane_.toPlane(point);
    for (int i = 0; i < segments; ++i) {
      const BulgeSegment seg = planarSegment(i);
      const double ti = seg.closestParam(q);
      const ZcGePoint2d p = seg.pointAt(ti);
      const double d = std::hypot(p.x - q.x, p.y - q.y);
      if (d < best) {
        best = d;
        segment = i;
        t = ti;
      }
    }
    if (extend && !closed_) {
      const BulgeSegment first = planarSegment(0);
      const double tFirst = first.closestParamExtended(q);
      if (tFirst < 0.0) {
        const ZcGePoint2d p = first.pointAtExtended(tFirst);
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d < best) {
          best = d;
          segment = 0;
          t = tFirst;
        }
      }
      const BulgeSegment last = planarSegment(segments - 1);
      const double tLast = last.closestParamExtended(q);
      if (tLast > 1.0) {
        const ZcGePoint2d p = last.pointAtExtended(tLast);
        if (std::hypot(p.x - q.x, p.y - q.y) < best) {
          segment = segments - 1;
          t = tLast;
        }
      }
    }
  } else {
    for (int i = 0; i < segments; ++i) {
      const int next = i + 1 == numVerts_ ? 0 : i + 1;
      const double ti = closestOnLine(points3d_[i], points3d_[next], point);
      const double d = pointAt(i, ti).distanceTo(point);
      if (d < best) {
        best = d;
        segment = i;
        t = ti;
      }
    }
    if (extend && !closed_) {
      auto unclamped = [&](int i) {
        const ZcGeVector3d d = points3d_[i + 1] - points3d_[i];
        const double len2 = dot(d, d);
        return len2 == 0.0 ? 0.0 : dot(point - points3d_[i], d) / len2;
      };
      const double tFirst = unclamped(0);
      if (tFirst < 0.0 && pointAt(0, tFirst).distanceTo(point) < best) {
        best = pointAt(0, tFirst).distanceTo(point);
        segment = 0;
        t = tFirst;
      }
      const double tLast = unclamped(segments - 1);
      if (tLast > 1.0 && pointAt(segments - 1, tLast).distanceTo(point) < best) {
        segment = segments - 1;
        t = tLast;
      }
    }
  }
  result = (t < 0.0 || t > 1.0) ? extendedPointAt(segment, t) : pointAt(segment, t);
}

Zcad::ErrorStatus PolylineChain::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                   bool extend) const {
  if (!isFinite(givenPoint)) return Zcad::eInvalidInput;
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  closestPoint(givenPoint, extend, segment, t, pointOnCurve);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getClosestPointTo(const ZcGePoint3d& givenPoint,
                                                   const ZcGeVector3d& direction,
                                                   ZcGePoint3d& pointOnCurve) const {
  if (!isFinite(givenPoint) || !std::isfinite(direction.x) || !std::isfinite(direction.y) ||
      !std::isfinite(direction.z))
    return Zcad::eInvalidInput;
  const double dirLength = std::sqrt(dot(direction, direction));
  if (dirLength == 0.0) return Zcad::eInvalidInput;
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  const ZcGeVector3d dir = direction / dirLength;
  // Squared distance seen along `dir`: the part of (p - given) across the direction.
  auto across = [&](const ZcGePoint3d& p) {
    const ZcGeVector3d w = p - givenPoint;
    const ZcGeVector3d perp = w - dir * dot(w, dir);
    return dot(perp, perp);
  };
  const int segments = numSegments();
  if (segments == 0) {
    pointOnCurve = vertexPoint(0);
    return Zcad::eOk;
  }
  double best = std::numeric_limits<double>::infinity();
  for (int i = 0; i < segments; ++i) {
    double ti = 0.0;
    const bool arc = points2d_ && planarSegment(i).isArc();
    if (!arc) {
      // Straight: the projected segment's closest point in closed form.
      const ZcGePoint3d a = pointAt(i, 0.0);
      const ZcGeVector3d d = pointAt(i, 1.0) - a;
      const ZcGeVector3d dPerp = d - dir * dot(d, dir);
      const ZcGeVector3d w = a - givenPoint;
      const ZcGeVector3d wPerp = w - dir * dot(w, dir);
      const double len2 = dot(dPerp, dPerp);
      ti = len2 > 0.0 ? std::clamp(-dot(wPerp, dPerp) / len2, 0.0, 1.0) : 0.0;
    } else {
      // An arc seen obliquely is an ellipse: sample, then refine the best bracket by golden
      // section (the squared distance is unimodal inside one sample step of the minimum).
      constexpr int kSamples = 64;
      int bestSample = 0;
      double bestValue = std::numeric_limits<double>::infinity();
      for (int k = 0; k <= kSamples; ++k) {
        const double v = across(pointAt(i, static_cast<double>(k) / kSamples));
        if (v < bestValue) {
          bestValue = v;
          bestSample = k;
        }
      }
      double lo = std::max(0, bestSample - 1) / static_cast<double>(kSamples);
      double hi = std::min(kSamples, bestSample + 1) / static_cast<double>(kSamples);
      constexpr double kGolden = 0.6180339887498949;
      for (int iter = 0; iter < 80 && hi - lo > 1e-15; ++iter) {
        const double m1 = hi - kGolden * (hi - lo);
        const double m2 = lo + kGolden * (hi - lo);
        if (across(pointAt(i, m1)) <= across(pointAt(i, m2))) {
          hi = m2;
        } else {
          lo = m1;
        }
      }
      ti = 0.5 * (lo + hi);
    }
    const double v = across(pointAt(i, ti));
    if (v < best) {
      best = v;
      pointOnCurve = pointAt(i, ti);
    }
  }
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------------
// Curve queries

Zcad::ErrorStatus PolylineChain::getEndParam(double& param) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  param = numSegments();
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getStartPoint(ZcGePoint3d& point) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  point = vertexPoint(0);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getEndPoint(ZcGePoint3d& point) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  point = closed_ ? vertexPoint(0) : vertexPoint(numVerts_ - 1);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getPointAtParam(double param, ZcGePoint3d& point) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  if (!locateParam(param, segment, t)) return Zcad::eInvalidInput;
  point = numSegments() == 0 ? vertexPoint(0) : pointAt(segment, t);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  if (!isFinite(point)) return Zcad::eInvalidInput;
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  ZcGePoint3d closest;
  closestPoint(point, /*extend=*/false, segment, t, closest);
  if (closest.distanceTo(point) > pointTolerance()) return Zcad::eInvalidInput;
  param = segment + t;
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getDistAtParam(const ChainLengths& lengths, double param,
                                                double& dist) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  if (!locateParam(param, segment, t)) return Zcad::eInvalidInput;
  dist = numSegments() == 0 ? 0.0 : lengths.distAt(segment, t);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getParamAtDist(const ChainLengths& lengths, double dist,
                                                double& param) const {
  if (!std::isfinite(dist)) return Zcad::eInvalidInput;
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  double d = dist;
  if (!fitDistIntoLength(lengths.total(), d)) return Zcad::eInvalidInput;
  if (numSegments() == 0) {
    param = 0.0;
    return Zcad::eOk;
  }
  int segment;
  double t;
  lengths.locate(d, segment, t);
  param = segment + t;
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getPointAtDist(const ChainLengths& lengths, double dist,
                                                ZcGePoint3d& point) const {
  double param;
  const Zcad::ErrorStatus es = getParamAtDist(lengths, dist, param);
  if (es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus PolylineChain::getDistAtPoint(const ChainLengths& lengths, const ZcGePoint3d& point,
                                                double& dist) const {
  double param;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getDistAtParam(lengths, param, dist);
}

Zcad::ErrorStatus PolylineChain::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  if (!locateParam(param, segment, t)) return Zcad::eInvalidInput;
  deriv = numSegments() == 0 ? ZcGeVector3d::kIdentity : firstDeriv(segment, t);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& deriv) const {
  double param;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, deriv);
}

Zcad::ErrorStatus PolylineChain::getSecondDeriv(double param, ZcGeVector3d& deriv) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  int segment;
  double t;
  if (!locateParam(param, segment, t)) return Zcad::eInvalidInput;
  deriv = numSegments() == 0 ? ZcGeVector3d::kIdentity : secondDeriv(segment, t);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineChain::getGeomExtents(ZcDbExtents& extents) const {
  if (numVerts_ == 0) return Zcad::eInvalidExtents;
  extents = ZcDbExtents();
  for (int i = 0; i < numVerts_; ++i) extents.addPoint(vertexPoint(i));
  if (!points2d_) return Zcad::eOk;
  const int segments = numSegments();
  for (int i = 0; i < segments; ++i) {
    const BulgeSegment seg = planarSegment(i);
    if (!seg.isArc()) continue;
    // Seen in the world, the arc is center + r*(cos a * X + sin a * Y) with X, Y the plane's
    // axes; world coordinate k is extreme where tan a = Y[k] / X[k].
    const ZcGePoint2d c = seg.center();
    const double r = seg.radius();
    const double a0 = seg.startAngle();
    const double sweepAbs = std::fabs(seg.sweep());
    const double direction = seg.sweep() > 0.0 ? 1.0 : -1.0;
    for (int k = 0; k < 3; ++k) {
      if (plane_.xAxis[k] == 0.0 && plane_.yAxis[k] == 0.0) continue;  // constant along this axis
      const double base = std::atan2(plane_.yAxis[k], plane_.xAxis[k]);
      for (double a : {base, base + ZcGe::kPi}) {
        if (normalizedAngle(direction * (a - a0)) <= sweepAbs) {
          extents.addPoint(plane_.toWorld(ZcGePoint2d(c.x + r * std::cos(a), c.y + r * std::sin(a))));
        }
      }
    }
  }
  return Zcad::eOk;
}

double PolylineChain::signedArea() const {
  if (!points2d_ || numVerts_ == 0) return 0.0;
  // Shoelace over the vertices (the closing chord included), relative to vertex 0 so large
  // coordinates do not cancel, plus the circular segment of every arc.
  const ZcGePoint2d origin = points2d_[0];
  double twice = 0.0;
  for (int i = 0; i < numVerts_; ++i) {
    const ZcGeVector2d a = points2d_[i] - origin;
    const ZcGeVector2d b = points2d_[(i + 1) % numVerts_] - origin;
    twice += a.x * b.y - a.y * b.x;
  }
  double area = 0.5 * twice;
  const int segments = numSegments();
  for (int i = 0; i < segments; ++i) area += planarSegment(i).signedSegmentArea();
  return area;
}

Zcad::ErrorStatus PolylineChain::getArea(double& area) const {
  if (numVerts_ == 0) return Zcad::eDegenerateGeometry;
  if (points2d_) {
    area = std::fabs(signedArea());
    return Zcad::eOk;
  }
  // Vector area of the closed polygon (Newell): its length is the planar area when planar.
  ZcGeVector3d sum;
  const ZcGeVector3d origin = points3d_[0].asVector();
  for (int i = 0; i < numVerts_; ++i) {
    const ZcGeVector3d a = points3d_[i].asVector() - origin;
    const ZcGeVector3d b = points3d_[(i + 1) % numVerts_].asVector() - origin;
    sum += a.crossProduct(b);
  }
  area = 0.5 * std::sqrt(dot(sum, sum));
  return Zcad::eOk;
}

}  // namespace vtcad::db
