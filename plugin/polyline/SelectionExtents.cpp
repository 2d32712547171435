#include "polyline/SelectionExtents.h"

#include "frame/SelectionSet.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/zced.h"

namespace veltrace {

ZcDbExtents selectionExtents(const zds_name set) {
  ZcDbExtents box;
  for (const ZcDbObjectId id : selectionSetIds(set)) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    ZcDbExtents extents;
    if (entity->getGeomExtents(extents) == Zcad::eOk && !extents.isEmpty()) {
      box.addPoint(extents.minPoint());
      box.addPoint(extents.maxPoint());
    }
    entity->close();
  }
  return box;
}

double extentsDiagonal(const ZcDbExtents& extents) {
  return extents.isEmpty() ? 0.0 : extents.minPoint().distanceTo(extents.maxPoint());
}

}  // namespace veltrace
