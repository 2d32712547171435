#include "morph/SplineThroughPoints.h"

#include <cmath>

#include "frame/EntityPlacement.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeArrays.h"

namespace veltrace {

namespace {

bool finite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

ZcDbSpline* splineOf(const ZcGePoint3dArray& points, SplineRoute route, const ZcGeVector3d& startTangent,
                     const ZcGeVector3d& endTangent) {
  if (route == SplineRoute::kThroughPolyline) {
    ZcGePoint3dArray vertices = points;
    const ZcDb3dPolyline polyline(ZcDb::k3dSimplePoly, vertices, /*closed=*/false);
    ZcDbSpline* spline = nullptr;
    if (polyline.getSpline(spline) != Zcad::eOk) return nullptr;
    return spline;
  }
  auto* spline = new ZcDbSpline(points, /*order=*/4, /*fitTolerance=*/0.0);
  if (!startTangent.isZeroLength() && !endTangent.isZeroLength()) {
    (void)spline->setFitTangents(startTangent, endTangent);
  }
  return spline;
}

}  // namespace

std::optional<ZcDbObjectId> buildSplineThroughPoints(const PointList& points, const ZcCmColor& colour,
                                                     SplineRoute route, const ZcGeVector3d& startTangent,
                                                     const ZcGeVector3d& endTangent) {
  if (points.size() < 2) return std::nullopt;
  ZcGePoint3dArray fitPoints;
  for (const ZcGePoint3d& p : points) {
    if (!finite(p)) return std::nullopt;
    fitPoints.append(p);
  }
  ZcDbSpline* spline = splineOf(fitPoints, route, startTangent, endTangent);
  if (!spline) return std::nullopt;
  return placeNewEntity(/*db=*/nullptr, spline, /*source=*/ZcDbObjectId(), &colour);
}

}  // namespace veltrace
