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
//    crossing; a gap on the convex side is filled by a round join about the source vertex
//    with the distance as radius (the true offset), a gap on the concave side by a straight
//    connector, which the clean-up cuts away with the loop it makes. Joins next to a
//    collapsed arc are round.
// 3. The joined raw offset is split at its self-intersections, where it crosses the other
//    side's raw offset and, for an open source, at the circles of radius |d| about the ends;
//    every piece that comes nearer to the source than the distance (less a tolerance) is a
//    local loop and is dropped; the rest is stitched back together at the split points,
//    keeping the raw offset's direction. A closed source gives only closed pieces, maybe
//    several, maybe none (the offset is larger than the polyline is wide); an open source
//    gives open pieces (a closed loop of an open source's offset is kept closed).
// 4. A round join that came through whole is replaced by the sharp corner where its
//    neighbours' extensions meet, as draughtsmen expect of an offset rectangle, when that
//    corner lies within kMaxCornerReach distances of the source vertex and the extended
//    segments keep their distance from the whole source.
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
