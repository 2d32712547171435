#include "frame/EntityPlacement.h"

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"

namespace veltrace {

namespace {

// Appends to the block `blockId`; the entity is closed once it is in, left alone otherwise.
Placement appendToBlock(ZcDbObjectId blockId, ZcDbEntity* entity) {
  Placement placement;
  ZcDbObject* owner = nullptr;
  placement.status = zcdbOpenObject(owner, blockId, ZcDb::kForWrite);
  if (!placement.placed()) return placement;
  if (ZcDbBlockTableRecord* block = ZcDbBlockTableRecord::cast(owner)) {
    placement.status = block->appendZcDbEntity(placement.id, entity);
    if (placement.placed()) entity->close();
  } else {
    placement.status = Zcad::eNotInBlock;
  }
  owner->close();
  return placement;
}

Placement appendToCurrentSpaceOf(ZcDbDatabase* db, ZcDbEntity* entity) {
  if (!db) return Placement{Zcad::eNoDatabase, ZcDbObjectId()};
  return appendToBlock(db->currentSpaceId(), entity);
}

}  // namespace

Placement appendToCurrentSpace(ZcDbEntity* entity) {
  return appendToCurrentSpaceOf(zcdbHostApplicationServices()->workingDatabase(), entity);
}

Placement appendBesideSource(ZcDbDatabase* db, ZcDbEntity* entity, ZcDbObjectId source) {
  if (!db) db = zcdbHostApplicationServices()->workingDatabase();
  ZcDbObject* sourceObject = nullptr;
  // Opened only for its owner, so a source the caller holds open for read still counts; one
  // that cannot be opened at all is treated like no source.
  if (source.isNull() || zcdbOpenObject(sourceObject, source, ZcDb::kForRead) != Zcad::eOk) {
    return appendToCurrentSpaceOf(db, entity);
  }
  const ZcDbObjectId ownerId = sourceObject->ownerId();
  sourceObject->close();
  return appendToBlock(ownerId, entity);
}

std::optional<ZcDbObjectId> placeNewEntity(ZcDbDatabase* db, ZcDbEntity* entity, ZcDbObjectId source,
                                           const ZcCmColor* colour) {
  if (!db) db = zcdbHostApplicationServices()->workingDatabase();
  entity->setDatabaseDefaults(db);
  if (colour) entity->setColor(*colour);
  const Placement placement = appendBesideSource(db, entity, source);
  if (!placement.placed()) {
    delete entity;
    return std::nullopt;
  }
  return placement.id;
}

NewBlock newAnonymousBlock(ZcDbDatabase* db) {
  NewBlock block;
  ZcDbBlockTable* table = nullptr;
  if (!db || db->getBlockTable(table, ZcDb::kForWrite) != Zcad::eOk) return block;
  auto* record = new ZcDbBlockTableRecord;
  // The table turns "*U" into the next free "*U<n>".
  if (record->setName(L"*U") == Zcad::eOk && table->add(block.id, record) == Zcad::eOk) {
    block.record = record;
  } else {
    delete record;
    block.id.setNull();
  }
  table->close();
  return block;
}

}  // namespace veltrace
