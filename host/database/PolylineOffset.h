#pragma once
// PolylineOffset: the exact offset of a planar polyline (straight and circular segments) in
// its own 2-D coordinates, the engine behind every polyline kind's getOffsetCurves.
//
// Sign: a positive distance goes to the right of the direction of travel (x to the right, y
// up), so it grows a counter-clockwise closed polyline and an arc segment's radius when the
// arc runs counter-clockwise.
//
// How it is built:
// 1. Every segment is moved sideways by the distance: a straight one stays straight, an arc
//    keeps its centre and sweep with the radius changed by the distance. An arc whose radius
//    would reach 0 or below collapses into the straight segment between its moved ends.
// 2. Neighbours are joined. Where they cross (a concave corner) both are trimmed to the
//    crossing; where their extensions meet beyond the corner (a convex one) both are extended
//    to a sharp corner, as draughtsmen expect of an offset rectangle, unless the corner would
//    lie more than kMaxCornerReach distances from the source vertex (a near-reversal) or
//    they never meet (parallel, separated circles): then a round join about the source
//    vertex with the offset distance as radius fills the gap. Other cases (and joins next to
//    a collapsed arc) are joined by a straight connector or a round join; the clean-up below
//    removes what they add that is too near the source.
// 3. The joined raw offset is split at its self-intersections; every piece that comes nearer
//    to the source than the distance (less a tolerance) is a local loop and is dropped; the
//    rest is stitched back together at the split points, keeping the raw offset's direction.
//    A closed source gives only closed pieces, maybe several, maybe none (the offset is
//    larger than the polyline is wide); an open source gives open pieces (a closed loop of
//    an open source's offset is kept closed).
//
// The searches use bounding-box trees, so the work grows as n log n plus the crossings found.
// Tolerance: 1e-9 of the larger of the polyline's size and the distance.
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::db {

struct OffsetVertex {
  ZcGePoint2d point;
  double bulge = 0.0;  // of the segment that leaves this vertex
};

struct OffsetPiece {
  std::vector<OffsetVertex> vertices;
  bool closed = false;
};

enum class OffsetOutcome {
  kOffset,           // pieces holds the result (maybe none: the offset collapsed)
  kInvalidDistance,  // zero or non-finite distance
  kInvalidInput,     // a non-finite vertex or bulge
  kDegenerate,       // fewer than two distinct vertices
};

struct PolylineOffsetResult {
  OffsetOutcome outcome = OffsetOutcome::kOffset;
  std::vector<OffsetPiece> pieces;
};

// A corner reaching farther than this many offset distances from its source vertex is
// rounded instead (a turn of about 178.9 degrees).
inline constexpr double kMaxCornerReach = 100.0;

PolylineOffsetResult offsetPolyline(const std::vector<OffsetVertex>& vertices, bool closed, double distance);

}  // namespace vtcad::db
