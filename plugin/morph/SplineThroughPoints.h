#pragma once
// A spline through a list of points, always a spline (collinear points included), in the
// current space: the results of the curve blends.
#include <optional>

#include "frame/PolylineFromPoints.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// How the spline is made from the points.
enum class SplineRoute {
  kFitPoints,        // the points as fit points of a cubic spline, fit tolerance 0
  kThroughPolyline,  // the host's spline of a 3-D polyline through the points
};

// The new spline's id, in `colour`; fit tangents only when both are non-zero. nullopt, with
// nothing made, for fewer than 2 points, a non-finite coordinate, or a refused spline.
std::optional<ZcDbObjectId> buildSplineThroughPoints(const PointList& points, const ZcCmColor& colour,
                                                     SplineRoute route, const ZcGeVector3d& startTangent,
                                                     const ZcGeVector3d& endTangent);

}  // namespace veltrace
