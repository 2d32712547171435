#include "frame/LightweightPolyline.h"

#include <cassert>
#include <cstddef>

#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGePoint2d.h"

namespace veltrace {

ZcDbPolyline* newLightweightPolyline(std::span<const ZcGePoint3d> points, std::span<const double> bulges,
                                     double elevation, bool closed) {
  assert(bulges.empty() || bulges.size() == points.size());
  auto* polyline = new ZcDbPolyline(static_cast<unsigned int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) {
    polyline->addVertexAt(static_cast<unsigned int>(i), ZcGePoint2d(points[i].x, points[i].y),
                          bulges.empty() ? 0.0 : bulges[i], /*startWidth=*/-1.0, /*endWidth=*/-1.0);
  }
  polyline->setElevation(elevation);
  polyline->setClosed(closed);
  return polyline;
}

}  // namespace veltrace
