#pragma once
// Erasing the entities the vertex tools replace.
#include "zcad/db/ZcDbObjectId.h"

class ZcDbEntity;

namespace veltrace {

// Upgrades `entity` to write unless it is open for write already. False when that failed.
bool openForWrite(ZcDbEntity* entity);
// Erases `entity`, open for read (it is upgraded to write first) or for write. False when it
// could not be upgraded or erased; it is then as it was.
bool eraseEntity(ZcDbEntity* entity);
// Opens the entity `id` for write, erases it and closes it. False when that failed.
bool eraseById(ZcDbObjectId id);

}  // namespace veltrace
