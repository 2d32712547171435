#include "frame/PolylineFromPoints.h"

#include <cmath>
#include <cstddef>

#include "frame/CoordinateRange.h"
#include "frame/EntityPlacement.h"
#include "frame/LightweightPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGeArrays.h"

namespace veltrace {

namespace {

// Consecutive points only: a slow drift in z over many points still counts as planar, and the
// polyline takes the first point's elevation.
bool isPlanar(const PointList& points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (std::abs(points[i].z - points[i - 1].z) > kPlanarZTolerance) return false;
  }
  return true;
}

// A smooth curve through space: closing it would add a fitted loop the points never asked for.
ZcDbEntity* splineFitPolyline(const PointList& points) {
  ZcGePoint3dArray vertices;
  for (const ZcGePoint3d& p : points) vertices.append(p);
  return new ZcDb3dPolyline(ZcDb::k3dCubicSplinePoly, vertices, /*closed=*/false);
}

}  // namespace

std::optional<ZcDbObjectId> polylineFromPoints(const PointList& points, bool closed,
                                               const ZcDbEntity* reference) {
  if (points.size() < 2 || !allFinite(points)) return std::nullopt;
  ZcDbDatabase* db = reference ? reference->database() : zcdbHostApplicationServices()->workingDatabase();
  const ZcDbObjectId source = reference ? reference->objectId() : ZcDbObjectId();
  ZcDbEntity* polyline = isPlanar(points)
                             ? newLightweightPolyline(points, /*bulges=*/{}, points.front().z, closed)
                             : splineFitPolyline(points);
  return placeNewEntity(db, polyline, source);
}

}  // namespace veltrace
