#include "database/BulgeSegmentIntersection.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

double cross(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.y - a.y * b.x; }
double dot(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.x + a.y * b.y; }
double norm(const ZcGeVector2d& v) { return std::hypot(v.x, v.y); }
double distance(const ZcGePoint2d& a, const ZcGePoint2d& b) { return std::hypot(a.x - b.x, a.y - b.y); }
ZcGeVector2d perp(const ZcGeVector2d& v) { return {-v.y, v.x}; }

// Angle in [0, 2*pi).
double normalizedAngle(double angle) {
  double a = std::fmod(angle, ZcGe::kTwoPi);
  if (a < 0.0) a += ZcGe::kTwoPi;
  return a;
}

// Parameter tolerance of a segment: tol measured along it.
double paramTolerance(const BulgeSegment& segment, double tol) {
  return segment.length() > 0.0 ? tol / segment.length() : 0.0;
}

// The parameter of a carrier point on `segment`, or false when the point lies beyond a
// bounded segment's ends (more than tol along it).
bool paramOn(const BulgeSegment& segment, SegmentExtent extent, double tol, const ZcGePoint2d& point,
             double& t) {
  t = segment.closestParamExtended(point);
  if (extent == SegmentExtent::kCarrier) return true;
  const double eps = paramTolerance(segment, tol);
  if (t < -eps || t > 1.0 + eps) return false;
  t = std::clamp(t, 0.0, 1.0);
  return true;
}

// The exact vertex of either segment when `point` is within tol of one: computed crossings of
// segments that meet at a shared vertex come back as that vertex, bit for bit. Start points
// are preferred: a segment's end is start + chord, which may differ from the vertex it was
// made from in the last bit, while the next segment's start is that vertex.
ZcGePoint2d snappedToEnds(const ZcGePoint2d& point, const BulgeSegment& first, const BulgeSegment& second,
                          double tol) {
  const ZcGePoint2d starts[2] = {first.startPoint(), second.startPoint()};
  const ZcGePoint2d ends[2] = {first.endPoint(), second.endPoint()};
  for (const ZcGePoint2d* candidates : {starts, ends}) {
    const ZcGePoint2d* best = nullptr;
    double bestDistance = tol;
    for (int i = 0; i < 2; ++i) {
      const double d = distance(point, candidates[i]);
      if (d <= bestDistance) {
        best = &candidates[i];
        bestDistance = d;
      }
    }
    if (best) return *best;
  }
  return point;
}

void addHit(SegmentIntersection& result, const ZcGePoint2d& point, double tFirst, double tSecond) {
  if (result.count >= 4) return;
  result.hits[result.count++] = SegmentHit{point, tFirst, tSecond};
}

// A carrier point becomes a hit when it lies on both segments as bounded.
void addCarrierPoint(SegmentIntersection& result, const BulgeSegment& first, const BulgeSegment& second,
                     SegmentExtent firstExtent, SegmentExtent secondExtent, double tol,
                     const ZcGePoint2d& carrierPoint) {
  const ZcGePoint2d point = snappedToEnds(carrierPoint, first, second, tol);
  double tFirst = 0.0, tSecond = 0.0;
  if (!paramOn(first, firstExtent, tol, point, tFirst)) return;
  if (!paramOn(second, secondExtent, tol, point, tSecond)) return;
  addHit(result, point, tFirst, tSecond);
}

// A point segment against any segment: one hit when it lies within tol of it.
SegmentIntersection pointAgainst(const ZcGePoint2d& point, const BulgeSegment& other,
                                 SegmentExtent otherExtent, double tol, bool pointIsFirst) {
  SegmentIntersection result;
  double t =
      otherExtent == SegmentExtent::kCarrier ? other.closestParamExtended(point) : other.closestParam(point);
  const ZcGePoint2d onOther =
      otherExtent == SegmentExtent::kCarrier ? other.pointAtExtended(t) : other.pointAt(t);
  if (distance(point, onOther) > tol) return result;
  result.relation = SegmentRelation::kCrossing;
  if (pointIsFirst)
    addHit(result, point, 0.0, t);
  else
    addHit(result, point, t, 0.0);
  return result;
}

// Two straight segments on one line, at least one of them bounded.
SegmentIntersection collinearOverlap(const BulgeSegment& first, const BulgeSegment& second,
                                     SegmentExtent firstExtent, SegmentExtent secondExtent, double tol) {
  SegmentIntersection result;
  const bool firstBounded = firstExtent == SegmentExtent::kBounded;
  const bool secondBounded = secondExtent == SegmentExtent::kBounded;
  // The common stretch in the first segment's parameter.
  double lo = -HUGE_VAL, hi = HUGE_VAL;
  if (firstBounded) {
    lo = 0.0;
    hi = 1.0;
  }
  if (secondBounded) {
    const double a = first.closestParamExtended(second.startPoint());
    const double b = first.closestParamExtended(second.endPoint());
    lo = std::max(lo, std::min(a, b));
    hi = std::min(hi, std::max(a, b));
  }
  const double eps = paramTolerance(first, tol);
  if (hi < lo - eps) return result;
  auto hitAt = [&](double t) {
    const ZcGePoint2d point = snappedToEnds(first.pointAtExtended(t), first, second, tol);
    double tSecond = second.closestParamExtended(point);
    if (secondBounded) tSecond = std::clamp(tSecond, 0.0, 1.0);
    addHit(result, point, firstBounded ? std::clamp(t, 0.0, 1.0) : t, tSecond);
  };
  if ((hi - lo) * first.length() <= tol) {
    result.relation = SegmentRelation::kCrossing;  // the segments touch end to end
    hitAt(0.5 * (lo + hi));
  } else {
    result.relation = SegmentRelation::kOverlapping;
    hitAt(lo);
    hitAt(hi);
  }
  return result;
}

// Counter-clockwise angular range of an arc on its circle: from `from`, over `span`.
struct AngularRange {
  double from = 0.0;
  double span = ZcGe::kTwoPi;
};

AngularRange rangeOf(const BulgeSegment& arc, SegmentExtent extent) {
  if (extent == SegmentExtent::kCarrier) return {0.0, ZcGe::kTwoPi};
  const ZcGePoint2d c = arc.center();
  const ZcGePoint2d from = arc.sweep() > 0.0 ? arc.startPoint() : arc.endPoint();
  return {std::atan2(from.y - c.y, from.x - c.x), std::fabs(arc.sweep())};
}

// Two arcs on one circle, at least one of them bounded: up to two common pieces.
SegmentIntersection cocircularOverlap(const BulgeSegment& first, const BulgeSegment& second,
                                      SegmentExtent firstExtent, SegmentExtent secondExtent, double tol) {
  SegmentIntersection result;
  const bool firstBounded = firstExtent == SegmentExtent::kBounded;
  const bool secondBounded = secondExtent == SegmentExtent::kBounded;
  const ZcGePoint2d center = first.center();
  const double radius = first.radius();
  AngularRange a = rangeOf(first, firstExtent);
  const AngularRange b = rangeOf(second, secondExtent);
  const double eps = tol / radius;
  // The second range relative to the first's start, and once more a turn earlier.
  std::pair<double, double> pieces[2];
  int pieceCount = 0;
  if (!firstBounded) {
    // The first is the whole circle: the common piece is the second arc.
    a = AngularRange{b.from, ZcGe::kTwoPi};
    pieces[pieceCount++] = {0.0, b.span};
  } else if (!secondBounded) {
    pieces[pieceCount++] = {0.0, a.span};
  } else {
    // The second range relative to the first's start, and once more a turn earlier.
    const double delta = normalizedAngle(b.from - a.from);
    for (double shift : {delta, delta - ZcGe::kTwoPi}) {
      const double lo = std::max(0.0, shift), hi = std::min(a.span, shift + b.span);
      if (hi >= lo - eps) pieces[pieceCount++] = {lo, std::max(lo, hi)};
    }
  }
  auto hitAt = [&](double angle) {
    const double direction = a.from + angle;
    const ZcGePoint2d onCircle = center + ZcGeVector2d(std::cos(direction), std::sin(direction)) * radius;
    const ZcGePoint2d point = snappedToEnds(onCircle, first, second, tol);
    double tFirst = first.closestParamExtended(point), tSecond = second.closestParamExtended(point);
    if (firstBounded) tFirst = std::clamp(tFirst, 0.0, 1.0);
    if (secondBounded) tSecond = std::clamp(tSecond, 0.0, 1.0);
    addHit(result, point, tFirst, tSecond);
  };
  bool anyStretch = false;
  for (int i = 0; i < pieceCount; ++i) {
    const auto [lo, hi] = pieces[i];
    if ((hi - lo) * radius <= tol) {
      hitAt(0.5 * (lo + hi));
    } else {
      anyStretch = true;
      hitAt(lo);
      hitAt(hi);
    }
  }
  if (result.count == 0) return result;
  if (!anyStretch) {
    result.relation = SegmentRelation::kCrossing;
    // Two touching points of two pieces that are one point (the arcs meet end to end at both
    // ends of a full turn, or a piece wraps through the first's start) are reported once.
    if (result.count == 2 && distance(result.hits[0].point, result.hits[1].point) <= tol) result.count = 1;
    // Touching points come one per piece, so two at most.
    if (result.count == 2 && result.hits[1].tFirst < result.hits[0].tFirst)
      std::swap(result.hits[0], result.hits[1]);
    return result;
  }
  // A stretch and an isolated touching point (two arcs that also meet end to end across the
  // gap) can occur together: the touching point becomes a pair of one point, so the hits are
  // always the ends of common pieces, in pairs ordered by tFirst.
  result.relation = SegmentRelation::kOverlapping;
  SegmentHit pairs[2][2];
  int pairCount = 0;
  for (int i = 0, h = 0; i < pieceCount; ++i) {
    const auto [lo, hi] = pieces[i];
    const bool touching = (hi - lo) * radius <= tol;
    SegmentHit p = result.hits[h], q = touching ? p : result.hits[h + 1];
    if (q.tFirst < p.tFirst) std::swap(p, q);
    pairs[pairCount][0] = p;
    pairs[pairCount][1] = q;
    ++pairCount;
    h += touching ? 1 : 2;
  }
  if (pairCount == 2 && pairs[1][0].tFirst < pairs[0][0].tFirst) std::swap(pairs[0], pairs[1]);
  result.count = 0;
  for (int i = 0; i < pairCount; ++i) {
    result.hits[result.count++] = pairs[i][0];
    result.hits[result.count++] = pairs[i][1];
  }
  return result;
}

}  // namespace

CarrierPoints intersectLines(const ZcGePoint2d& p0, const ZcGeVector2d& d0, const ZcGePoint2d& p1,
                             const ZcGeVector2d& d1, double length, double tol) {
  CarrierPoints result;
  const double l0 = norm(d0), l1 = norm(d1);
  if (l0 == 0.0 || l1 == 0.0) return result;
  const ZcGeVector2d u0 = d0 / l0, u1 = d1 / l1;
  const double sine = cross(u0, u1);
  // Parallel when the lines part by less than tol over the extent considered: a crossing
  // that shallow has no well-defined place.
  if (std::fabs(sine) * std::max(length, tol) <= tol) {
    result.coincident = std::fabs(cross(u0, p1 - p0)) <= tol;
    return result;
  }
  const double a = cross(p1 - p0, u1) / sine;
  result.count = 1;
  result.points[0] = p0 + u0 * a;
  return result;
}

CarrierPoints intersectLineCircle(const ZcGePoint2d& p, const ZcGeVector2d& d, const ZcGePoint2d& center,
                                  double radius, double tol) {
  CarrierPoints result;
  const double l = norm(d);
  if (l == 0.0) return result;
  const ZcGeVector2d u = d / l;
  const ZcGePoint2d foot = p + u * dot(center - p, u);
  const double h = std::fabs(cross(u, center - p));
  if (h > radius + tol) return result;
  if (h >= radius - tol) {  // tangent (also a circle smaller than tol that the line passes)
    result.count = 1;
    result.points[0] = foot;
    return result;
  }
  // (r - h)(r + h) instead of r^2 - h^2: no cancellation when the line passes near the rim.
  const double w = std::sqrt((radius - h) * (radius + h));
  result.count = 2;
  result.points[0] = foot - u * w;
  result.points[1] = foot + u * w;
  return result;
}

CarrierPoints intersectCircles(const ZcGePoint2d& c0, double r0, const ZcGePoint2d& c1, double r1,
                               double tol) {
  // Measured from the smaller circle's centre: the foot of the common chord lies within its
  // radius, while from a nearly straight arc's far centre it would be a small difference of
  // two huge distances (an arc of radius 1e6 crossing one of 10 lost four digits).
  if (r0 > r1) {
    CarrierPoints swapped = intersectCircles(c1, r1, c0, r0, tol);
    if (swapped.count == 2) std::swap(swapped.points[0], swapped.points[1]);
    return swapped;
  }
  CarrierPoints result;
  const ZcGeVector2d v = c1 - c0;
  const double d = norm(v);
  if (d <= tol) {
    // Concentric: one circle, or none in common.
    result.coincident = std::fabs(r0 - r1) <= tol;
    return result;
  }
  if (d > r0 + r1 + tol || d < std::fabs(r0 - r1) - tol) return result;
  const ZcGeVector2d u = v / d;
  if (std::fabs(d - (r0 + r1)) <= tol) {  // touching from outside: the middle of the gap
    result.count = 1;
    result.points[0] = c0 + u * (r0 + 0.5 * (d - r0 - r1));
    return result;
  }
  if (std::fabs(d - std::fabs(r0 - r1)) <= tol) {  // touching from inside
    const double side = r0 >= r1 ? 1.0 : -1.0;
    const ZcGePoint2d on0 = c0 + u * (side * r0), on1 = c1 + u * (side * r1);
    result.count = 1;
    result.points[0] = on0 + (on1 - on0) * 0.5;
    return result;
  }
  const double a = (d * d + r0 * r0 - r1 * r1) / (2.0 * d);
  const double h = std::sqrt(std::max(0.0, (r0 - a) * (r0 + a)));
  const ZcGePoint2d m = c0 + u * a;
  result.count = 2;
  result.points[0] = m - perp(u) * h;
  result.points[1] = m + perp(u) * h;
  return result;
}

SegmentIntersection intersectSegments(const BulgeSegment& first, const BulgeSegment& second, double tol,
                                      SegmentExtent firstExtent, SegmentExtent secondExtent) {
  if (first.isPoint()) {
    if (second.isPoint()) {
      SegmentIntersection result;
      if (distance(first.startPoint(), second.startPoint()) <= tol) {
        result.relation = SegmentRelation::kCrossing;
        addHit(result, first.startPoint(), 0.0, 0.0);
      }
      return result;
    }
    return pointAgainst(first.startPoint(), second, secondExtent, tol, true);
  }
  if (second.isPoint()) return pointAgainst(second.startPoint(), first, firstExtent, tol, false);

  // Two coincident carriers share the whole line or circle: no ends to report.
  const bool bothCarriers = firstExtent == SegmentExtent::kCarrier && secondExtent == SegmentExtent::kCarrier;
  auto wholeCarrier = [] {
    SegmentIntersection result;
    result.relation = SegmentRelation::kOverlapping;
    return result;
  };
  CarrierPoints carrier;
  if (!first.isArc() && !second.isArc()) {
    const double extent = std::max(first.length(), second.length());
    carrier = intersectLines(first.startPoint(), first.endPoint() - first.startPoint(), second.startPoint(),
                             second.endPoint() - second.startPoint(), extent, tol);
    if (carrier.coincident)
      return bothCarriers ? wholeCarrier() : collinearOverlap(first, second, firstExtent, secondExtent, tol);
  } else if (first.isArc() && second.isArc()) {
    carrier = intersectCircles(first.center(), first.radius(), second.center(), second.radius(), tol);
    if (carrier.coincident)
      return bothCarriers ? wholeCarrier() : cocircularOverlap(first, second, firstExtent, secondExtent, tol);
  } else {
    const BulgeSegment& line = first.isArc() ? second : first;
    const BulgeSegment& arc = first.isArc() ? first : second;
    carrier = intersectLineCircle(line.startPoint(), line.endPoint() - line.startPoint(), arc.center(),
                                  arc.radius(), tol);
  }
  SegmentIntersection result;
  for (int i = 0; i < carrier.count; ++i)
    addCarrierPoint(result, first, second, firstExtent, secondExtent, tol, carrier.points[i]);
  // Two carrier points snapped to one shared end are one point.
  if (result.count == 2 && distance(result.hits[0].point, result.hits[1].point) <= tol) result.count = 1;
  if (result.count == 2 && result.hits[1].tFirst < result.hits[0].tFirst)
    std::swap(result.hits[0], result.hits[1]);
  if (result.count > 0) result.relation = SegmentRelation::kCrossing;
  return result;
}

}  // namespace vtcad::db
