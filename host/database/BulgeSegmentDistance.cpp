#include "database/BulgeSegmentDistance.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "database/BulgeSegmentIntersection.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

double distance(const ZcGePoint2d& a, const ZcGePoint2d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Candidates where the nearest points lie inside both segments: there the connecting line is
// normal to both. For an arc that means it runs through the centre, so the arc's point is on
// the line through its centre and the other segment's nearest feature.
double interiorCandidates(const BulgeSegment& arc, const BulgeSegment& other) {
  const ZcGePoint2d c = arc.center();
  const double r = arc.radius();
  double best = std::numeric_limits<double>::infinity();
  auto tryDirection = [&](const ZcGeVector2d& dir) {
    const double len = std::hypot(dir.x, dir.y);
    if (len == 0.0) return;  // concentric arcs: the ends' candidates cover them
    for (const double side : {1.0, -1.0}) {
      const ZcGePoint2d q = c + dir * (side * r / len);
      const ZcGePoint2d onArc = arc.pointAt(arc.closestParam(q));
      best = std::min(best, pointSegmentDistance(onArc, other));
    }
  };
  if (other.isArc()) {
    tryDirection(other.center() - c);
  } else if (!other.isPoint()) {
    // The foot of the centre on the line, and the arc's point towards it.
    const ZcGePoint2d foot = other.pointAt(other.closestParam(c));
    tryDirection(foot - c);
  }
  return best;
}

}  // namespace

double pointSegmentDistance(const ZcGePoint2d& point, const BulgeSegment& segment) {
  return distance(point, segment.pointAt(segment.closestParam(point)));
}

double segmentDistance(const BulgeSegment& first, const BulgeSegment& second, double tol) {
  if (intersectSegments(first, second, tol).relation != SegmentRelation::kApart) return 0.0;
  // Apart: the nearest pair has an end of one segment, or lies inside both (see above).
  double best = std::min(
      {pointSegmentDistance(first.startPoint(), second), pointSegmentDistance(first.endPoint(), second),
       pointSegmentDistance(second.startPoint(), first), pointSegmentDistance(second.endPoint(), first)});
  if (first.isArc()) best = std::min(best, interiorCandidates(first, second));
  if (second.isArc()) best = std::min(best, interiorCandidates(second, first));
  return best;
}

Box2d boxOf(const BulgeSegment& segment) {
  Box2d box = Box2d::around(segment.startPoint(), segment.endPoint());
  if (!segment.isArc()) return box;
  // The axis directions the arc sweeps over (angles measured from its start, in its sense).
  const ZcGePoint2d c = segment.center();
  const double r = segment.radius();
  const double a0 = segment.startAngle();
  const double sweep = segment.sweep();
  for (int k = 0; k < 4; ++k) {
    const double axis = k * ZcGe::kHalfPi;
    double along = sweep > 0.0 ? axis - a0 : a0 - axis;
    along = std::fmod(along, ZcGe::kTwoPi);
    if (along < 0.0) along += ZcGe::kTwoPi;
    if (along <= std::fabs(sweep)) box.add(ZcGePoint2d(c.x + r * std::cos(axis), c.y + r * std::sin(axis)));
  }
  return box;
}

}  // namespace vtcad::db
