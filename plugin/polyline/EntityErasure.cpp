#include "polyline/EntityErasure.h"

#include "zcad/db/ZcDbEntity.h"

namespace veltrace {

bool openForWrite(ZcDbEntity* entity) {
  return entity && (entity->isWriteEnabled() || entity->upgradeOpen() == Zcad::eOk);
}

bool eraseEntity(ZcDbEntity* entity) { return openForWrite(entity) && entity->erase() == Zcad::eOk; }

bool eraseById(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  const bool erased = entity->erase() == Zcad::eOk;
  entity->close();
  return erased;
}

}  // namespace veltrace
