#include "polyline/SelectionExtents.h"

#include "zcad/db/ZcDbEntity.h"
#include "zcad/zced.h"

namespace veltrace {

ZcDbExtents selectionExtents(const zds_name set) {
  ZcDbExtents box;
  Zdesk::Int32 count = 0;
  if (zcedSSLength(set, &count) != RTNORM) return box;
  for (Zdesk::Int32 i = 0; i < count; ++i) {
    zds_name member = {0, 0};
    ZcDbObjectId id;
    ZcDbEntity* entity = nullptr;
    if (zcedSSName(set, i, member) != RTNORM || zcdbGetObjectId(id, member) != Zcad::eOk ||
        zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) {
      continue;
    }
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
