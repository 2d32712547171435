#pragma once
// A polyline through a list of world points: a lightweight polyline when the points are
// planar (every consecutive pair within 0.0001 in z), else a cubic spline-fit 3-D polyline
// (never closed). It is placed beside `reference` (in the reference's database and block) or,
// without one, in the current space of the working drawing.
#include <optional>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbEntity;

namespace veltrace {

using PointList = std::vector<ZcGePoint3d>;

// Consecutive points differ in z by at most this for a lightweight polyline.
inline constexpr double kPlanarZTolerance = 0.0001;

// The id of the new polyline, which has the target drawing's current layer, colour and
// linetype; nullopt (nothing created) for fewer than 2 points, a non-finite coordinate, or
// when it could not be placed.
std::optional<ZcDbObjectId> polylineFromPoints(const PointList& points, bool closed,
                                               const ZcDbEntity* reference);

}  // namespace veltrace
