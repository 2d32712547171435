// ZcDbDatabase: the public face of a drawing; the work is done by ZcDbDatabaseImpl.
#include "zcad/db/ZcDbDatabase.h"

#include <algorithm>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbValidate.h"
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

ZcDbDatabase::ZcDbDatabase(bool buildDefaultDrawing, bool /*noDocument*/)
    : impl_(std::make_unique<ZcDbDatabaseImpl>(this)) {
  if (buildDefaultDrawing) impl_->buildDefaultDrawing();
}

ZcDbDatabase::~ZcDbDatabase() {
  if (zcdbHostApplicationServices()->workingDatabase() == this) {
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  }
}

ZcDbObjectId ZcDbDatabase::blockTableId() const { return impl_->blockTable; }
ZcDbObjectId ZcDbDatabase::layerTableId() const { return impl_->layerTable; }
ZcDbObjectId ZcDbDatabase::linetypeTableId() const { return impl_->linetypeTable; }
ZcDbObjectId ZcDbDatabase::textStyleTableId() const { return impl_->textStyleTable; }
ZcDbObjectId ZcDbDatabase::viewportTableId() const { return impl_->viewportTable; }
ZcDbObjectId ZcDbDatabase::regAppTableId() const { return impl_->regAppTable; }
ZcDbObjectId ZcDbDatabase::dimStyleTableId() const { return impl_->dimStyleTable; }
ZcDbObjectId ZcDbDatabase::UCSTableId() const { return impl_->ucsTable; }
ZcDbObjectId ZcDbDatabase::viewTableId() const { return impl_->viewTable; }
ZcDbObjectId ZcDbDatabase::namedObjectsDictionaryId() const { return impl_->namedObjects; }

Zcad::ErrorStatus ZcDbDatabase::getBlockTable(ZcDbBlockTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->blockTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getLayerTable(ZcDbLayerTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->layerTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getLinetypeTable(ZcDbLinetypeTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->linetypeTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getTextStyleTable(ZcDbTextStyleTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->textStyleTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getViewportTable(ZcDbViewportTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->viewportTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getRegAppTable(ZcDbRegAppTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->regAppTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getDimStyleTable(ZcDbDimStyleTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->dimStyleTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getUCSTable(ZcDbUCSTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->ucsTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getViewTable(ZcDbViewTable*& table, ZcDb::OpenMode mode) {
  return zcdbOpenObject(table, impl_->viewTable, mode);
}
Zcad::ErrorStatus ZcDbDatabase::getNamedObjectsDictionary(ZcDbDictionary*& dict, ZcDb::OpenMode mode) {
  return zcdbOpenObject(dict, impl_->namedObjects, mode);
}

ZcDbObjectId ZcDbDatabase::modelSpaceId() const { return impl_->modelSpace; }
ZcDbObjectId ZcDbDatabase::paperSpaceId() const { return impl_->paperSpace; }
ZcDbObjectId ZcDbDatabase::currentSpaceId() const { return impl_->currentSpace; }

Zcad::ErrorStatus ZcDbDatabase::setCurrentSpace(ZcDbObjectId blockTableRecordId) {
  if (blockTableRecordId.isNull()) return Zcad::eNullObjectId;
  if (blockTableRecordId.database() != this) return Zcad::eWrongDatabase;
  auto* block = ZcDbBlockTableRecord::cast(impl_->peek(blockTableRecordId));
  if (!block) return Zcad::eNotThatKindOfClass;
  if (blockTableRecordId.isErased() || !block->isLayout()) return Zcad::eInvalidInput;
  impl_->currentSpace = blockTableRecordId;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDatabase::getZcDbObjectId(ZcDbObjectId& id, bool createIfNotFound,
                                                const ZcDbHandle& handle, Zdesk::UInt32 /*xRefId*/) {
  id.setNull();
  if (handle.isNull()) return Zcad::eNullHandle;
  ZcDbStub* stub = impl_->stubForHandle(handle, createIfNotFound);
  if (!stub) return Zcad::eUnknownHandle;
  id = ZcDbObjectId(stub);
  return Zcad::eOk;
}

ZcDbHandle ZcDbDatabase::handseed() const { return ZcDbHandle(impl_->handseed); }

Zcad::ErrorStatus ZcDbDatabase::addZcDbObject(ZcDbObjectId& id, ZcDbObject* obj) {
  return impl_->addObject(obj, ZcDbObjectId(), id);
}

Zcad::ErrorStatus ZcDbDatabase::addZcDbObjectWithHandle(ZcDbObjectId& id, ZcDbObject* obj,
                                                        const ZcDbHandle& handle) {
  if (handle.isNull()) return Zcad::eNullHandle;
  return impl_->addObject(obj, ZcDbObjectId(), id, handle);
}

int ZcDbDatabase::approxNumObjects() const { return static_cast<int>(impl_->stubs.size()); }

// ---------------------------------------------------------------------------------------
// Typed header variables.

namespace {

// A live, not erased object of this database whose class derives from `cls`.
bool isLiveOf(ZcDbDatabaseImpl* impl, ZcDbObjectId id, ZcRxClass* cls) {
  ZcDbObject* obj = impl->peek(id);
  return obj && !id.isErased() && obj->isKindOf(cls);
}

// Header variables that name a record: the pending name (set before the table had it) wins
// while it resolves; otherwise the stored id, or the given fallback.
ZcDbObjectId resolveNamed(const ZcDbDatabaseImpl* impl, const wchar_t* var, ZcDbObjectId tableId,
                          ZcDbObjectId stored) {
  auto it = impl->vars.other.find(var);
  if (it != impl->vars.other.end() && it->second &&
      zcutValueKind(it->second->restype) == ZdsValueKind::kString) {
    ZcDbObjectId id = impl->findRecord(tableId, it->second->resval.rstring);
    if (!id.isNull()) return id;
  }
  return stored;
}

void dropPending(ZcDbDatabaseImpl* impl, const wchar_t* var) {
  auto it = impl->vars.other.find(var);
  if (it == impl->vars.other.end()) return;
  zcutRelRb(it->second);
  impl->vars.other.erase(it);
}

}  // namespace

ZcDbObjectId ZcDbDatabase::clayer() const {
  return resolveNamed(impl_.get(), L"CLAYER", impl_->layerTable, impl_->vars.clayer);
}
Zcad::ErrorStatus ZcDbDatabase::setClayer(ZcDbObjectId layerId) {
  if (layerId.isNull()) return Zcad::eNullObjectId;
  if (layerId.database() != this) return Zcad::eWrongDatabase;
  if (!isLiveOf(impl_.get(), layerId, ZcDbLayerTableRecord::desc())) return Zcad::eInvalidInput;
  dropPending(impl_.get(), L"CLAYER");
  impl_->vars.clayer = layerId;
  return Zcad::eOk;
}

ZcCmColor ZcDbDatabase::cecolor() const { return impl_->vars.cecolor; }
Zcad::ErrorStatus ZcDbDatabase::setCecolor(const ZcCmColor& color) {
  impl_->vars.cecolor = color;
  return Zcad::eOk;
}

ZcDbObjectId ZcDbDatabase::celtype() const {
  return resolveNamed(impl_.get(), L"CELTYPE", impl_->linetypeTable, impl_->vars.celtype);
}
Zcad::ErrorStatus ZcDbDatabase::setCeltype(ZcDbObjectId linetypeId) {
  if (linetypeId.isNull()) return Zcad::eNullObjectId;
  if (linetypeId.database() != this) return Zcad::eWrongDatabase;
  if (!isLiveOf(impl_.get(), linetypeId, ZcDbLinetypeTableRecord::desc())) return Zcad::eInvalidInput;
  dropPending(impl_.get(), L"CELTYPE");
  impl_->vars.celtype = linetypeId;
  return Zcad::eOk;
}

double ZcDbDatabase::celtscale() const { return impl_->vars.celtscale; }
Zcad::ErrorStatus ZcDbDatabase::setCeltscale(double scale) {
  if (!zcdbFinite(scale) || scale <= 0.0) return Zcad::eInvalidInput;
  impl_->vars.celtscale = scale;
  return Zcad::eOk;
}

ZcDb::LineWeight ZcDbDatabase::celweight() const { return impl_->vars.celweight; }
Zcad::ErrorStatus ZcDbDatabase::setCelweight(ZcDb::LineWeight weight) {
  if (!zcdbIsValidLineWeight(weight)) return Zcad::eInvalidInput;
  impl_->vars.celweight = weight;
  return Zcad::eOk;
}

ZcDbObjectId ZcDbDatabase::textstyle() const {
  return resolveNamed(impl_.get(), L"TEXTSTYLE", impl_->textStyleTable, impl_->vars.textstyle);
}
Zcad::ErrorStatus ZcDbDatabase::setTextstyle(ZcDbObjectId styleId) {
  if (styleId.isNull()) return Zcad::eNullObjectId;
  if (styleId.database() != this) return Zcad::eWrongDatabase;
  if (!isLiveOf(impl_.get(), styleId, ZcDbTextStyleTableRecord::desc())) return Zcad::eInvalidInput;
  dropPending(impl_.get(), L"TEXTSTYLE");
  impl_->vars.textstyle = styleId;
  return Zcad::eOk;
}

double ZcDbDatabase::textsize() const { return impl_->vars.textsize; }
Zcad::ErrorStatus ZcDbDatabase::setTextsize(double size) {
  if (!zcdbFinite(size) || size <= 0.0) return Zcad::eInvalidInput;
  impl_->vars.textsize = size;
  return Zcad::eOk;
}

Zdesk::Int16 ZcDbDatabase::pdmode() const { return impl_->vars.pdmode; }
Zcad::ErrorStatus ZcDbDatabase::setPdmode(Zdesk::Int16 mode) {
  // A figure 0..4, optionally with a circle (32) and/or a square (64).
  if (mode < 0 || (mode & 7) > 4 || (mode & ~(7 | 32 | 64)) != 0) return Zcad::eInvalidInput;
  impl_->vars.pdmode = mode;
  return Zcad::eOk;
}

double ZcDbDatabase::pdsize() const { return impl_->vars.pdsize; }
Zcad::ErrorStatus ZcDbDatabase::setPdsize(double size) {
  // Negative sizes are a percentage of the view: allowed.
  if (!zcdbFinite(size)) return Zcad::eInvalidInput;
  impl_->vars.pdsize = size;
  return Zcad::eOk;
}

Zdesk::Int16 ZcDbDatabase::surftab1() const { return impl_->vars.surftab1; }
Zcad::ErrorStatus ZcDbDatabase::setSurftab1(Zdesk::Int16 value) {
  if (value < 2) return Zcad::eInvalidInput;
  impl_->vars.surftab1 = value;
  return Zcad::eOk;
}

Zdesk::Int16 ZcDbDatabase::splinesegs() const { return impl_->vars.splinesegs; }
Zcad::ErrorStatus ZcDbDatabase::setSplinesegs(Zdesk::Int16 value) {
  if (value == 0) return Zcad::eInvalidInput;
  impl_->vars.splinesegs = value;
  return Zcad::eOk;
}

bool ZcDbDatabase::mirrtext() const { return impl_->vars.mirrtext; }
Zcad::ErrorStatus ZcDbDatabase::setMirrtext(bool value) {
  impl_->vars.mirrtext = value;
  return Zcad::eOk;
}

ZcGePoint3d ZcDbDatabase::extmin() const { return impl_->vars.extmin; }
ZcGePoint3d ZcDbDatabase::extmax() const { return impl_->vars.extmax; }
Zcad::ErrorStatus ZcDbDatabase::setExtmin(const ZcGePoint3d& point) {
  if (!zcdbFinite(point)) return Zcad::eInvalidInput;
  impl_->vars.extmin = point;
  return Zcad::eOk;
}
Zcad::ErrorStatus ZcDbDatabase::setExtmax(const ZcGePoint3d& point) {
  if (!zcdbFinite(point)) return Zcad::eInvalidInput;
  impl_->vars.extmax = point;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDatabase::updateExt(bool /*doBestFit*/) {
  ZcDbExtents all;
  if (auto* space = ZcDbBlockTableRecord::cast(impl_->peek(impl_->modelSpace))) {
    for (ZcDbObjectId id : space->entityIds()) {
      auto* entity = ZcDbEntity::cast(impl_->peek(id));
      if (!entity || id.isErased() || entity->visibility() != ZcDb::kVisible) continue;
      ZcDbExtents box;
      if (entity->getGeomExtents(box) == Zcad::eOk) all.addExt(box);
    }
  }
  if (all.isEmpty()) {
    impl_->vars.extmin.set(1e20, 1e20, 1e20);
    impl_->vars.extmax.set(-1e20, -1e20, -1e20);
  } else {
    impl_->vars.extmin = all.minPoint();
    impl_->vars.extmax = all.maxPoint();
  }
  return Zcad::eOk;
}

Zdesk::Int16 ZcDbDatabase::insunits() const { return impl_->vars.insunits; }
Zcad::ErrorStatus ZcDbDatabase::setInsunits(Zdesk::Int16 units) {
  if (units < 0 || units > 24) return Zcad::eInvalidInput;
  impl_->vars.insunits = units;
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Undo.

void ZcDbDatabase::beginUndoGroup(const ZTCHAR* name) { impl_->undo.beginGroup(name); }
void ZcDbDatabase::endUndoGroup() { impl_->undo.endGroup(); }
Zcad::ErrorStatus ZcDbDatabase::cancelUndoGroup() { return impl_->undo.cancelGroup(); }
bool ZcDbDatabase::isRecordingUndo() const { return impl_->undo.isRecording(); }
int ZcDbDatabase::undoGroupCount() const { return impl_->undo.groupCount(); }
int ZcDbDatabase::redoGroupCount() const { return impl_->undo.redoCount(); }
Zcad::ErrorStatus ZcDbDatabase::undo(int groups) { return impl_->undo.undo(groups); }
Zcad::ErrorStatus ZcDbDatabase::redo(int groups) { return impl_->undo.redo(groups); }
void ZcDbDatabase::disableUndoRecording(bool disable) { impl_->undo.setDisabled(disable); }

// ---------------------------------------------------------------------------------------
// The working database and application registration.

ZcDbHostApplicationServices* zcdbHostApplicationServices() {
  static ZcDbHostApplicationServices services;
  return &services;
}

int zcdbRegApp(const ZTCHAR* appName) {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db || !zcdbIsValidSymbolName(appName) || appName[0] == L'*') return RTERROR;
  ZcDbRegAppTable* table = nullptr;
  if (db->getRegAppTable(table, ZcDb::kForRead) != Zcad::eOk) return RTERROR;
  if (table->has(appName)) {
    table->close();
    return RTNORM;
  }
  if (table->upgradeOpen() != Zcad::eOk) {
    table->close();
    return RTERROR;
  }
  auto* record = new ZcDbRegAppTableRecord;
  record->setName(appName);
  Zcad::ErrorStatus es = table->add(record);
  if (es == Zcad::eOk) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return es == Zcad::eOk ? RTNORM : RTERROR;
}
