#pragma once
// The shared curve builder: one entity through a list of world points, placed in the current
// space of the working drawing. Points on one straight line give a line; others a spline or,
// when the user chose polylines, a polyline. The formula curves, the fence mapping and the
// influence commands draw their results through it.
#include <optional>

#include "frame/PolylineFromPoints.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// True (the default): curves through points are splines; false: polylines. Chosen in the
// formula dialog; it holds for every caller until the process ends.
extern bool curveOutputAsSpline;

// Points whose directions from the first point agree within this (radians) are on one line.
inline constexpr double kStraightAngleTolerance = 0.001;

// The new entity's id, or nullopt (nothing created) for fewer than 2 distinct points, a
// non-finite coordinate, or when the host refuses the entity. The result is:
// - a line from the first to the last point, in `colour`, when every point lies on that
//   segment (each direction from the first point within kStraightAngleTolerance of the
//   direction to the last, none beyond the last; points on the first point count as on it);
// - otherwise, with curveOutputAsSpline false, polylineFromPoints(points, closed): a
//   lightweight polyline when flat, else an open spline-fit 3-D polyline, in the drawing's
//   current colour;
// - otherwise a cubic spline in `colour` through the points: open, with the two tangents as
//   end tangents when both are non-zero; or closed and smooth through the first point
//   (periodic) when `closed` is set, the tangents then unused.
std::optional<ZcDbObjectId> buildCurveThroughPoints(const PointList& points, const ZcCmColor& colour,
                                                    bool closed, const ZcGeVector3d& startTangent,
                                                    const ZcGeVector3d& endTangent);

// The colour a colour index asks for: 1..255 that palette colour; 0 and 256 by layer; any
// other value the working drawing's current entity colour (by layer without a drawing).
ZcCmColor colourForIndex(int colourIndex);

}  // namespace veltrace
