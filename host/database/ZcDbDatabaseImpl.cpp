#include "ZcDbDatabaseImpl.h"

#include <algorithm>
#include <type_traits>

#include "ZcDbNotifier.h"
#include "ZcDbObjectExtras.h"
#include "zcad/db/ZcDbAbstractViewTableRecord.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbDimStyleTable.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbRegAppTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/db/ZcDbUCSTable.h"
#include "zcad/db/ZcDbViewTable.h"
#include "zcad/db/ZcDbViewportTable.h"

ZcDbHeaderVars::~ZcDbHeaderVars() {
  for (auto& [name, chain] : other) zcutRelRb(chain);
}

ZcDbDatabaseImpl::ZcDbDatabaseImpl(ZcDbDatabase* database) : db(database) {}

ZcDbDatabaseImpl::~ZcDbDatabaseImpl() {
  destroying = true;
  for (auto& stub : stubs) {
    if (stub.object) ZcDbNotifier::sendGoodbye(stub.object);
  }
  for (auto& stub : stubs) {
    ZcDbObject* obj = stub.object;
    stub.object = nullptr;
    if (obj) obj->stub_ = nullptr;  // its destructor runs as for an object outside a database
    delete obj;
  }
}

ZcDbStub* ZcDbDatabaseImpl::stubForHandle(ZcDbHandle handle, bool create) {
  if (ZcDbStub* found = byHandle.find(handle.value())) return found;
  return create ? newStub(handle) : nullptr;
}

ZcDbStub* ZcDbDatabaseImpl::newStub(ZcDbHandle handle) {
  ZcDbStub& stub = stubs.emplace_back();
  stub.database = db;
  stub.handle = handle;
  try {
    byHandle.addLast();
  } catch (...) {
    // Every stub must be indexed: one the index could not take is not kept.
    stubs.pop_back();
    throw;
  }
  handseed = std::max(handseed, handle.value() + 1);
  return &stub;
}

Zcad::ErrorStatus ZcDbDatabaseImpl::addObject(ZcDbObject* obj, ZcDbObjectId owner, ZcDbObjectId& id,
                                              ZcDbHandle handle) {
  if (!obj) return Zcad::eNullObjectPointer;
  if (obj->stub_) return Zcad::eAlreadyInDb;
  ZcDbStub* stub = nullptr;
  if (handle.isNull()) {
    stub = stubForHandle(ZcDbHandle(handseed), /*create=*/true);
  } else {
    // One look-up: a drawing being read adds a million objects this way.
    stub = stubForHandle(handle, /*create=*/false);
    if (stub && (stub->object || stub->dead)) return Zcad::eHandleInUse;
    if (!stub) stub = newStub(handle);
  }
  stub->object = obj;
  stub->owner = owner;
  stub->erased = false;
  obj->stub_ = stub;
  obj->readers_ = 0;
  obj->writeOpen_ = true;
  obj->modified_ = false;
  obj->newObject_ = true;
  ++openCount;
  undo.dropRedo();
  undo.recordAdded(obj);
  id = ZcDbObjectId(stub);
  noteWellKnown(obj);
  obj->addedToDatabase();
  return Zcad::eOk;
}

ZcDbObject* ZcDbDatabaseImpl::peek(ZcDbObjectId id) const {
  ZcDbStub* stub = id.stub();
  if (!stub || stub->database != db) return nullptr;
  return stub->live();
}

ZcDbObjectId ZcDbDatabaseImpl::findRecord(ZcDbObjectId tableId, const ZTCHAR* name) const {
  auto* table = ZcDbSymbolTable::cast(peek(tableId));
  ZcDbObjectId id;
  if (!table || !name || table->getAt(name, id) != Zcad::eOk) return ZcDbObjectId();
  return id;
}

bool ZcDbDatabaseImpl::cannotBeErased(ZcDbObjectId id) const {
  for (ZcDbObjectId fixed :
       {blockTable, layerTable, linetypeTable, textStyleTable, viewportTable, regAppTable, dimStyleTable,
        ucsTable, viewTable, namedObjects, modelSpace, paperSpace}) {
    if (id == fixed) return true;
  }
  if (id == db->clayer() || id == db->celtype() || id == db->textstyle()) return true;
  return id == findRecord(layerTable, L"0") || id == findRecord(linetypeTable, L"ByBlock") ||
         id == findRecord(linetypeTable, L"ByLayer") || id == findRecord(linetypeTable, L"Continuous") ||
         id == findRecord(regAppTable, L"ACAD");
}

void ZcDbDatabaseImpl::noteWellKnown(ZcDbObject* obj) {
  // Only a database being filled by a reader lacks these; a filled one skips the checks.
  if (!blockTable.isNull() && !layerTable.isNull() && !linetypeTable.isNull() && !textStyleTable.isNull() &&
      !viewportTable.isNull() && !regAppTable.isNull() && !dimStyleTable.isNull() && !ucsTable.isNull() &&
      !viewTable.isNull() && !modelSpace.isNull() && !paperSpace.isNull()) {
    return;
  }
  ZcDbObjectId id = obj->objectId();
  struct Slot {
    ZcRxClass* cls;
    ZcDbObjectId* id;
  };
  for (Slot slot :
       {Slot{ZcDbBlockTable::desc(), &blockTable}, Slot{ZcDbLayerTable::desc(), &layerTable},
        Slot{ZcDbLinetypeTable::desc(), &linetypeTable}, Slot{ZcDbTextStyleTable::desc(), &textStyleTable},
        Slot{ZcDbViewportTable::desc(), &viewportTable}, Slot{ZcDbRegAppTable::desc(), &regAppTable},
        Slot{ZcDbDimStyleTable::desc(), &dimStyleTable}, Slot{ZcDbUCSTable::desc(), &ucsTable},
        Slot{ZcDbViewTable::desc(), &viewTable}}) {
    if (slot.id->isNull() && obj->isA() == slot.cls) *slot.id = id;
  }
  if (auto* block = ZcDbBlockTableRecord::cast(obj)) {
    ZcString name = block->name();
    if (modelSpace.isNull() && name.compareNoCase(ZCDB_MODEL_SPACE) == 0) modelSpace = currentSpace = id;
    if (paperSpace.isNull() && name.compareNoCase(ZCDB_PAPER_SPACE) == 0) paperSpace = id;
  }
}

void ZcDbDatabaseImpl::growExtents(const ZcDbObject* obj) {
  if (modelSpace.isNull() || obj->ownerId() != modelSpace || obj->isErased()) return;
  const ZcDbEntity* entity = ZcDbEntity::cast(obj);
  if (!entity || entity->visibility() != ZcDb::kVisible) return;
  ZcDbExtents box;
  if (entity->getGeomExtents(box) != Zcad::eOk || box.isEmpty()) return;
  ZcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
  vars.extmin.set(std::min(vars.extmin.x, lo.x), std::min(vars.extmin.y, lo.y),
                  std::min(vars.extmin.z, lo.z));
  vars.extmax.set(std::max(vars.extmax.x, hi.x), std::max(vars.extmax.y, hi.y),
                  std::max(vars.extmax.z, hi.z));
}

namespace {

template <typename Table, typename Record>
ZcDbObjectId addRecord(ZcDbObjectId tableId, Record* record, const ZTCHAR* name) {
  Table* table = nullptr;
  ZcDbObjectId id;
  record->setName(name);
  if (zcdbOpenObject(table, tableId, ZcDb::kForWrite) != Zcad::eOk) {
    delete record;
    return id;
  }
  if (table->add(id, record) == Zcad::eOk) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return id;
}

}  // namespace

void ZcDbDatabaseImpl::buildDefaultDrawing() {
  // Tables and the named-objects dictionary take the low handles, as in drawing files.
  auto addRoot = [&](ZcDbObject* obj, Zdesk::UInt64 handle, ZcDbObjectId& slot) {
    if (addObject(obj, ZcDbObjectId(), slot, ZcDbHandle(handle)) == Zcad::eOk) {
      obj->close();
    } else {
      delete obj;
    }
  };
  addRoot(new ZcDbBlockTable, 0x1, blockTable);
  addRoot(new ZcDbLayerTable, 0x2, layerTable);
  addRoot(new ZcDbTextStyleTable, 0x3, textStyleTable);
  addRoot(new ZcDbLinetypeTable, 0x5, linetypeTable);
  addRoot(new ZcDbViewTable, 0x6, viewTable);
  addRoot(new ZcDbUCSTable, 0x7, ucsTable);
  addRoot(new ZcDbViewportTable, 0x8, viewportTable);
  addRoot(new ZcDbRegAppTable, 0x9, regAppTable);
  addRoot(new ZcDbDimStyleTable, 0xA, dimStyleTable);
  addRoot(new ZcDbDictionary, 0xC, namedObjects);

  ZcDbDictionary* nod = nullptr;
  if (zcdbOpenObject(nod, namedObjects, ZcDb::kForWrite) == Zcad::eOk) {
    ZcDbObjectId groups;
    auto* groupDict = new ZcDbDictionary;
    if (nod->setAt(L"ACAD_GROUP", groupDict, groups) == Zcad::eOk) {
      groupDict->close();
    } else {
      delete groupDict;
    }
    nod->close();
  }

  auto* byBlock = new ZcDbLinetypeTableRecord;
  auto* byLayer = new ZcDbLinetypeTableRecord;
  auto* continuous = new ZcDbLinetypeTableRecord;
  continuous->setComments(L"Solid line");
  addRecord<ZcDbLinetypeTable>(linetypeTable, byBlock, L"ByBlock");
  ZcDbObjectId byLayerId = addRecord<ZcDbLinetypeTable>(linetypeTable, byLayer, L"ByLayer");
  ZcDbObjectId continuousId = addRecord<ZcDbLinetypeTable>(linetypeTable, continuous, L"Continuous");

  auto* layer0 = new ZcDbLayerTableRecord;
  layer0->setLinetypeObjectId(continuousId);
  vars.clayer = addRecord<ZcDbLayerTable>(layerTable, layer0, L"0");
  vars.celtype = byLayerId;
  vars.textstyle = addRecord<ZcDbTextStyleTable>(textStyleTable, new ZcDbTextStyleTableRecord, L"Standard");
  addRecord<ZcDbRegAppTable>(regAppTable, new ZcDbRegAppTableRecord, L"ACAD");
  addRecord<ZcDbDimStyleTable>(dimStyleTable, new ZcDbDimStyleTableRecord, L"Standard");
  // The "*Active" view shows 0..420 x 0..297 (the record's defaults).
  addRecord<ZcDbViewportTable>(viewportTable, new ZcDbViewportTableRecord, L"*Active");
  modelSpace = addRecord<ZcDbBlockTable>(blockTable, new ZcDbBlockTableRecord, ZCDB_MODEL_SPACE);
  paperSpace = addRecord<ZcDbBlockTable>(blockTable, new ZcDbBlockTableRecord, ZCDB_PAPER_SPACE);
  currentSpace = modelSpace;
}

std::vector<std::wstring> ZcDbDatabaseImpl::completeDrawing(bool withNamedObjects) {
  std::vector<std::wstring> added;
  auto addRoot = [&](ZcDbObject* obj, ZcDbObjectId& slot, const wchar_t* what) {
    if (!slot.isNull()) {
      delete obj;
      return;
    }
    if (addObject(obj, ZcDbObjectId(), slot) == Zcad::eOk) {
      obj->close();
      added.emplace_back(what);
    } else {
      delete obj;
    }
  };
  addRoot(new ZcDbBlockTable, blockTable, L"block table");
  addRoot(new ZcDbLayerTable, layerTable, L"layer table");
  addRoot(new ZcDbTextStyleTable, textStyleTable, L"text style table");
  addRoot(new ZcDbLinetypeTable, linetypeTable, L"linetype table");
  addRoot(new ZcDbViewTable, viewTable, L"view table");
  addRoot(new ZcDbUCSTable, ucsTable, L"UCS table");
  addRoot(new ZcDbViewportTable, viewportTable, L"viewport table");
  addRoot(new ZcDbRegAppTable, regAppTable, L"application table");
  addRoot(new ZcDbDimStyleTable, dimStyleTable, L"dimension style table");
  if (withNamedObjects) addRoot(new ZcDbDictionary, namedObjects, L"named-objects dictionary");

  auto ensure = [&](ZcDbObjectId tableId, const wchar_t* name, auto* record) -> ZcDbObjectId {
    using Record = std::remove_pointer_t<decltype(record)>;
    ZcDbObjectId id = findRecord(tableId, name);
    if (!id.isNull()) {
      delete record;
      return id;
    }
    ZcDbSymbolTable* table = nullptr;
    record->setName(name);
    if (zcdbOpenObject(table, tableId, ZcDb::kForWrite) != Zcad::eOk) {
      delete record;
      return id;
    }
    if (table->add(id, record) == Zcad::eOk) {
      record->close();
      added.push_back(std::wstring(Record::desc()->dxfName()) + L" " + name);
    } else {
      delete record;
    }
    table->close();
    return id;
  };
  ensure(linetypeTable, L"ByBlock", new ZcDbLinetypeTableRecord);
  ZcDbObjectId byLayer = ensure(linetypeTable, L"ByLayer", new ZcDbLinetypeTableRecord);
  auto* solid = new ZcDbLinetypeTableRecord;
  solid->setComments(L"Solid line");
  ZcDbObjectId continuous = ensure(linetypeTable, L"Continuous", solid);
  auto* layer0 = new ZcDbLayerTableRecord;
  layer0->setLinetypeObjectId(continuous);
  ZcDbObjectId layerZero = ensure(layerTable, L"0", layer0);
  ZcDbObjectId standard = ensure(textStyleTable, L"Standard", new ZcDbTextStyleTableRecord);
  ensure(regAppTable, L"ACAD", new ZcDbRegAppTableRecord);
  ensure(dimStyleTable, L"Standard", new ZcDbDimStyleTableRecord);
  ensure(viewportTable, L"*Active", new ZcDbViewportTableRecord);
  if (modelSpace.isNull()) modelSpace = ensure(blockTable, ZCDB_MODEL_SPACE, new ZcDbBlockTableRecord);
  if (paperSpace.isNull()) paperSpace = ensure(blockTable, ZCDB_PAPER_SPACE, new ZcDbBlockTableRecord);
  if (currentSpace.isNull()) currentSpace = modelSpace;
  if (vars.clayer.isNull()) vars.clayer = layerZero;
  if (vars.celtype.isNull()) vars.celtype = byLayer;
  if (vars.textstyle.isNull()) vars.textstyle = standard;
  return added;
}

bool ZcDbDatabaseImpl::onlyViewsChangedSince(Zdesk::UInt64 since) const {
  if (since < changeLogStart || since > changes) return false;
  for (std::size_t i = static_cast<std::size_t>(since - changeLogStart); i < changeLog.size(); ++i) {
    const ZcDbStub* stub = changeLog[i];
    if (!stub || !ZcDbAbstractViewTableRecord::cast(stub->object)) return false;
  }
  return true;
}
