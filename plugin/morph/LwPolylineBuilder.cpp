#include "morph/LwPolylineBuilder.h"

#include <cmath>
#include <cstddef>

#include "frame/CoordinateRange.h"
#include "frame/EntityPlacement.h"
#include "frame/LightweightPolyline.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

std::optional<ZcDbObjectId> makeLwPolyline(std::span<const ZcGePoint3d> points,
                                           std::span<const double> bulges, bool closed,
                                           ZcDbObjectId reference) {
  if (points.size() < 2 || bulges.size() != points.size()) return std::nullopt;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!withinCoordinateRange(points[i]) || !std::isfinite(bulges[i])) return std::nullopt;
  }
  return placeNewEntity(/*db=*/nullptr, newLightweightPolyline(points, bulges, points.front().z, closed),
                        reference);
}

}  // namespace veltrace
