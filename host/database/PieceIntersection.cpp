#include "database/PieceIntersection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "database/BulgeSegmentIntersection.h"
#include "database/ParametricIntersection.h"

namespace vtcad::db {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The parameter range a straight piece takes part with, widened by tol along it.
struct Range {
  double lo = 0.0;
  double hi = 1.0;
};

Range straightRange(const CurvePiece& piece, double tol) {
  const double len = (piece.end3d - piece.start3d).length();
  const double eps = len > 0.0 ? tol / len : 0.0;
  return {piece.extension.beforeStart ? -kInf : -eps, piece.extension.afterEnd ? kInf : 1.0 + eps};
}

double clampToPiece(const CurvePiece& piece, double t) {
  if (!piece.extension.beforeStart) t = std::max(t, 0.0);
  if (!piece.extension.afterEnd) t = std::min(t, 1.0);
  return t;
}

SegmentExtent extentOf(const CurvePiece& piece) {
  return piece.extension.any() ? SegmentExtent::kCarrier : SegmentExtent::kBounded;
}

// A straight carrier hit must lie on the side the piece extends to (a first segment of a
// polyline extends before its start only).
bool withinExtension(const CurvePiece& piece, double t, double tol) {
  if (piece.segment.isArc() || !piece.extension.any()) return true;
  const Range r = straightRange(piece, tol);
  return t >= r.lo && t <= r.hi;
}

// The piece as a segment in the object coordinates of `plane` (which holds it): the same
// ends and parameter, the bulge turned over when the planes face opposite ways.
BulgeSegment segmentIn(const CurvePiece& piece, const PolylinePlane& plane) {
  double bulge = 0.0;
  if (piece.segment.isArc()) {
    bulge = std::tan(piece.segment.sweep() / 4.0);
    if (piece.plane.normal.dotProduct(plane.normal) < 0.0) bulge = -bulge;
  }
  return BulgeSegment(plane.toPlane(piece.start3d), plane.toPlane(piece.end3d), bulge);
}

bool liesInPlane(const CurvePiece& piece, const PolylinePlane& plane, double tol) {
  auto near = [&](const ZcGePoint3d& p) { return std::abs(plane.heightOf(p) - plane.elevation) <= tol; };
  if (!near(piece.start3d) || !near(piece.end3d)) return false;
  if (!piece.segment.isArc()) return true;
  // Ends and middle in the plane and the normals parallel: the whole circle is in it.
  const double r = piece.segment.radius();
  return near(piecePoint(piece, 0.5)) && piece.plane.normal.crossProduct(plane.normal).length() * r <= tol;
}

void coplanar(const CurvePiece& a, const CurvePiece& b, const PolylinePlane& plane, double tol,
              PiecePairResult& out) {
  const BulgeSegment sa = &plane == &a.plane ? a.segment : segmentIn(a, plane);
  const BulgeSegment sb = &plane == &b.plane ? b.segment : segmentIn(b, plane);
  const SegmentIntersection r = intersectSegments(sa, sb, tol, extentOf(a), extentOf(b));
  if (r.relation == SegmentRelation::kApart) return;
  if (r.relation == SegmentRelation::kOverlapping) {
    for (int i = 0; i + 1 < r.count; i += 2) {
      const SegmentHit& h0 = r.hits[i];
      const SegmentHit& h1 = r.hits[i + 1];
      // Clip an overlap along a one-sided extension to the side that extends.
      const double s0 = clampToPiece(a, h0.tFirst), s1 = clampToPiece(a, h1.tFirst);
      if (s1 <= s0 && (h1.tFirst > h0.tFirst)) continue;
      out.overlapEnds.push_back({plane.toWorld(sa.pointAtExtended(s0)), s0, h0.tSecond});
      out.overlapEnds.push_back({plane.toWorld(sa.pointAtExtended(s1)), s1, h1.tSecond});
    }
    return;
  }
  for (int i = 0; i < r.count; ++i) {
    const SegmentHit& h = r.hits[i];
    if (!withinExtension(a, h.tFirst, tol) || !withinExtension(b, h.tSecond, tol)) continue;
    out.crossings.push_back({plane.toWorld(h.point), h.tFirst, h.tSecond});
  }
}

// Two straight pieces in 3-D: closest approach, or the overlap of collinear ones.
void straightPair(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const ZcGeVector3d u = a.end3d - a.start3d;
  const ZcGeVector3d v = b.end3d - b.start3d;
  const double uu = u.dotProduct(u), vv = v.dotProduct(v);
  const Range ra = straightRange(a, tol), rb = straightRange(b, tol);
  double t = 0.0;
  if (uu == 0.0) {
    if (paramOnSegmentPiece(b, a.start3d, tol, t)) out.crossings.push_back({a.start3d, 0.0, t});
    return;
  }
  if (vv == 0.0) {
    if (paramOnSegmentPiece(a, b.start3d, tol, t)) out.crossings.push_back({b.start3d, t, 0.0});
    return;
  }
  const ZcGeVector3d w = a.start3d - b.start3d;
  const double lenU = std::sqrt(uu), lenV = std::sqrt(vv);
  const double crossLen = u.crossProduct(v).length();
  // Parallel when the longer one's far end strays less than tol from the other's direction.
  if (crossLen * std::max(lenU, lenV) <= tol * lenU * lenV) {
    if (w.crossProduct(u).length() > tol * lenU) return;  // apart
    // Collinear: b's ends on a's parameter.
    double s0 = (b.start3d - a.start3d).dotProduct(u) / uu;
    double s1 = (b.end3d - a.start3d).dotProduct(u) / uu;
    double lo = std::min(s0, s1), hi = std::max(s0, s1);
    if (b.extension.beforeStart || b.extension.afterEnd) {
      // An extended b runs on beyond its ends along its direction sense.
      const bool forward = s1 >= s0;
      if ((b.extension.beforeStart && forward) || (b.extension.afterEnd && !forward)) lo = -kInf;
      if ((b.extension.afterEnd && forward) || (b.extension.beforeStart && !forward)) hi = kInf;
    }
    lo = std::max(lo, a.extension.beforeStart ? -kInf : 0.0);
    hi = std::min(hi, a.extension.afterEnd ? kInf : 1.0);
    if (!std::isfinite(lo) || !std::isfinite(hi)) return;  // an endless common stretch has no ends
    const double eps = tol / lenU;
    if (hi < lo - eps) return;
    auto onB = [&](double s) { return (a.start3d + u * s - b.start3d).dotProduct(v) / vv; };
    if ((hi - lo) <= eps) {
      const double s = (lo + hi) / 2.0;
      out.crossings.push_back({a.start3d + u * s, s, onB(s)});
      return;
    }
    out.overlapEnds.push_back({a.start3d + u * lo, lo, onB(lo)});
    out.overlapEnds.push_back({a.start3d + u * hi, hi, onB(hi)});
    return;
  }
  // Closest approach of the carriers.
  const double uv = u.dotProduct(v), uw = u.dotProduct(w), vw = v.dotProduct(w);
  const double det = uu * vv - uv * uv;
  const double s = (uv * vw - vv * uw) / det;
  t = (uu * vw - uv * uw) / det;
  if (s < ra.lo || s > ra.hi || t < rb.lo || t > rb.hi) return;
  const double sc = clampToPiece(a, s), tc = clampToPiece(b, t);
  const ZcGePoint3d pa = a.start3d + u * sc, pb = b.start3d + v * tc;
  if (pa.distanceTo(pb) > tol) return;
  out.crossings.push_back({pa, sc, tc});
}

// A straight piece against a circular one in another plane: the point where the line
// crosses the arc's plane.
void straightThroughPlane(const CurvePiece& line, const CurvePiece& arc, double tol, bool lineFirst,
                          PiecePairResult& out) {
  const ZcGeVector3d u = line.end3d - line.start3d;
  const double rate = u.dotProduct(arc.plane.normal);
  if (rate == 0.0) return;  // parallel to the plane and not in it
  const double s = (arc.plane.elevation - arc.plane.heightOf(line.start3d)) / rate;
  const Range r = straightRange(line, tol);
  if (s < r.lo || s > r.hi) return;
  const double sc = clampToPiece(line, s);
  const ZcGePoint3d x = line.start3d + u * sc;
  double t = 0.0;
  if (!paramOnSegmentPiece(arc, x, tol, t)) return;
  out.crossings.push_back(lineFirst ? PieceHit{x, sc, t} : PieceHit{x, t, sc});
}

// Two circular pieces in different planes: the points of the first's circle on the line
// where the planes meet, kept when they lie on the second.
void arcsAcrossPlanes(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  const ZcGeVector3d dir = a.plane.normal.crossProduct(b.plane.normal);
  const double d2 = dir.dotProduct(dir);
  if (d2 < 1e-30) return;  // parallel planes apart
  // A point on both planes: solve along the two normals.
  const ZcGeVector3d n1 = a.plane.normal, n2 = b.plane.normal;
  const double h1 = a.plane.elevation, h2 = b.plane.elevation;
  const ZcGeVector3d p = (n2.crossProduct(dir) * h1 + dir.crossProduct(n1) * h2) / d2;
  const ZcGePoint3d origin(p.x, p.y, p.z);
  const ZcGePoint2d p2 = a.plane.toPlane(origin);
  const ZcGeVector3d d3 = dir / std::sqrt(d2);
  const ZcGeVector2d dir2(d3.dotProduct(a.plane.xAxis), d3.dotProduct(a.plane.yAxis));
  const CarrierPoints cp = intersectLineCircle(p2, dir2, a.segment.center(), a.segment.radius(), tol);
  for (int i = 0; i < cp.count; ++i) {
    const ZcGePoint3d x = a.plane.toWorld(cp.points[i]);
    double ta = 0.0, tb = 0.0;
    if (!paramOnSegmentPiece(a, x, tol, ta) || !paramOnSegmentPiece(b, x, tol, tb)) continue;
    out.crossings.push_back({x, ta, tb});
  }
}

}  // namespace

bool paramOnSegmentPiece(const CurvePiece& piece, const ZcGePoint3d& point, double tol, double& t) {
  if (!piece.segment.isArc()) {
    const ZcGeVector3d u = piece.end3d - piece.start3d;
    const double uu = u.dotProduct(u);
    t = uu > 0.0 ? (point - piece.start3d).dotProduct(u) / uu : 0.0;
    const Range r = straightRange(piece, tol);
    if (t < r.lo || t > r.hi) return false;
    t = clampToPiece(piece, t);
    return piecePoint(piece, t).distanceTo(point) <= tol;
  }
  if (std::abs(piece.plane.heightOf(point) - piece.plane.elevation) > tol) return false;
  const ZcGePoint2d q = piece.plane.toPlane(point);
  if (piece.extension.any()) {
    t = piece.segment.closestParamExtended(q);
  } else {
    t = piece.segment.closestParam(q);
  }
  const ZcGePoint2d on = piece.segment.pointAtExtended(t);
  return std::hypot(on.x - q.x, on.y - q.y) <= tol;
}

void intersectPieces(const CurvePiece& a, const CurvePiece& b, double tol, PiecePairResult& out) {
  if (a.kind != CurvePiece::Kind::kSegment || b.kind != CurvePiece::Kind::kSegment) {
    intersectParametric(a, b, tol, out);
    return;
  }
  if (!a.segment.isArc() && !b.segment.isArc()) {
    straightPair(a, b, tol, out);
    return;
  }
  // The plane of a circular piece is the common plane, if there is one.
  const CurvePiece& planar = a.segment.isArc() ? a : b;
  const CurvePiece& other = a.segment.isArc() ? b : a;
  if (liesInPlane(other, planar.plane, tol)) {
    coplanar(a, b, planar.plane, tol, out);
    return;
  }
  if (!other.segment.isArc()) {
    straightThroughPlane(other, planar, tol, /*lineFirst=*/&other == &a, out);
    return;
  }
  arcsAcrossPlanes(a, b, tol, out);
}

}  // namespace vtcad::db
