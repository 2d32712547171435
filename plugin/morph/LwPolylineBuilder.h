#pragma once
// One new lightweight polyline from a vertex table: the shapes the morphing commands make.
#include <optional>
#include <span>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// A polyline with a vertex at the x and y of every point, the given bulges, the elevation of
// the first point's z, no widths and the drawing's current properties, placed beside
// `reference` (in its block) or, with a null reference, in the current space. nullopt, with
// nothing made, for fewer than 2 vertices, tables of different lengths, a non-finite bulge, a
// coordinate beyond kMaxCoordinate (frame/CoordinateRange.h), or a polyline that could not be
// placed.
std::optional<ZcDbObjectId> makeLwPolyline(std::span<const ZcGePoint3d> points,
                                           std::span<const double> bulges, bool closed,
                                           ZcDbObjectId reference);

}  // namespace veltrace
