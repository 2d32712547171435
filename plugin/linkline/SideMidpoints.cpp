#include "linkline/SideMidpoints.h"

#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"

namespace veltrace {

SideMidpointsOf sideMidpointsOf(const ZcDbEntity& entity) {
  ZcDbExtents extents;
  if (entity.getGeomExtents(extents) != Zcad::eOk || extents.isEmpty()) return {};
  const ZcGePoint3d lo = extents.minPoint(), hi = extents.maxPoint();
  const double midX = (lo.x + hi.x) / 2.0, midY = (lo.y + hi.y) / 2.0;
  SideMidpointsOf found;
  found.known = true;
  found.sides.top = ZcGePoint3d(midX, hi.y, 0.0);
  found.sides.bottom = ZcGePoint3d(midX, lo.y, 0.0);
  found.sides.left = ZcGePoint3d(lo.x, midY, 0.0);
  found.sides.right = ZcGePoint3d(hi.x, midY, 0.0);
  return found;
}

}  // namespace veltrace
