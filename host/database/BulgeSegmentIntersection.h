#pragma once
// Intersections of planar polyline segments (BulgeSegment: straight or circular) and of their
// carriers (the infinite line, the full circle), in closed form. The polyline offsets, their
// clean-up and the entities' intersectWith all meet segments here.
//
// Tolerance: `tol` is a distance (the callers give about 1e-9 of the drawing's size).
// - Carriers that come within tol of touching are tangent and meet in one point, reported
//   once (a line at distance r - tol/2 from a circle's centre is tangent, not a secant).
// - Parallel lines within tol of each other, and circles whose centres and radii agree within
//   tol, coincide: the segments overlap, and the ends of the overlap are reported.
// - A carrier point within tol (along the segment) beyond a segment's end counts as on the
//   segment; its parameter is clamped to [0, 1].
// Degenerate segments (isPoint) meet another segment when they lie within tol of it.
#include "database/BulgeSegment.h"

namespace vtcad::db {

// Which part of a segment takes part: the segment itself, or its carrier (a straight segment
// as an infinite line, an arc as its full circle). Carrier parameters run beyond [0, 1] as
// BulgeSegment::closestParamExtended answers them.
enum class SegmentExtent { kBounded, kCarrier };

enum class SegmentRelation {
  kApart,        // no common point
  kCrossing,     // isolated common points (crossings and tangent points)
  kOverlapping,  // a common stretch: the hits are the ends of each common piece, in pairs
};

struct SegmentHit {
  ZcGePoint2d point;
  double tFirst = 0.0;   // parameter on the first segment (BulgeSegment's t)
  double tSecond = 0.0;  // parameter on the second segment
};

struct SegmentIntersection {
  SegmentRelation relation = SegmentRelation::kApart;
  int count = 0;
  // Two crossings at most; two arcs of one circle can share two pieces, so four overlap ends.
  // A common piece shorter than tol is reported as one crossing point.
  SegmentHit hits[4];
};

// Common points of two segments, ordered by tFirst. Two coincident carriers (both kCarrier)
// that share an infinite stretch answer kOverlapping with no hits.
SegmentIntersection intersectSegments(const BulgeSegment& first, const BulgeSegment& second, double tol,
                                      SegmentExtent firstExtent = SegmentExtent::kBounded,
                                      SegmentExtent secondExtent = SegmentExtent::kBounded);

// Carrier-level closed forms (points only), for callers with their own bounds.
struct CarrierPoints {
  int count = 0;  // 0, 1 (tangent) or 2
  ZcGePoint2d points[2];
  bool coincident = false;  // same line or same circle: count is 0
};
// Lines through p0 along d0 and through p1 along d1 (directions need not be unit; a zero
// direction gives no points). `length` is the extent over which parallelism is judged.
CarrierPoints intersectLines(const ZcGePoint2d& p0, const ZcGeVector2d& d0, const ZcGePoint2d& p1,
                             const ZcGeVector2d& d1, double length, double tol);
CarrierPoints intersectLineCircle(const ZcGePoint2d& p, const ZcGeVector2d& d, const ZcGePoint2d& center,
                                  double radius, double tol);
CarrierPoints intersectCircles(const ZcGePoint2d& c0, double r0, const ZcGePoint2d& c1, double r1,
                               double tol);

}  // namespace vtcad::db
