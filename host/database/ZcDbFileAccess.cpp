// Internal access for drawing-file readers and writers.
#include "ZcDbFileAccess.h"

#include <algorithm>
#include <cwctype>

#include "PolylineVertexList.h"
#include "ZcDbDatabaseImpl.h"
#include "ZcDbObjectExtras.h"
#include "ZcDbStub.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbSequenceEnd.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbSymbolTable.h"

const std::vector<ZcDbKeptGroup>* ZcDbFileAccess::keptGroups(const ZcDbObject* obj) {
  if (!obj || !obj->extras_ || obj->extras_->kept.empty()) return nullptr;
  return &obj->extras_->kept;
}

std::vector<ZcDbKeptGroup>& ZcDbFileAccess::keptGroupsForWrite(ZcDbObject* obj) { return obj->extras().kept; }

Zcad::ErrorStatus ZcDbFileAccess::add(ZcDbDatabase* db, ZcDbObject* obj, ZcDbObjectId owner,
                                      ZcDbHandle handle, ZcDbObjectId& id) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl) return Zcad::eNoDatabase;
  Zcad::ErrorStatus es = impl->addObject(obj, owner, id, handle);
  if (es != Zcad::eOk) return es;
  // Closed at once and quietly: nobody watches a drawing being read, and the extents come
  // from the file (or are recomputed once at the end).
  obj->writeOpen_ = false;
  obj->modified_ = false;
  obj->newObject_ = false;
  --impl->openCount;
  return Zcad::eOk;
}

ZcDbObjectId ZcDbFileAccess::idOfHandle(ZcDbDatabase* db, ZcDbHandle handle) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl || handle.isNull()) return ZcDbObjectId();
  return ZcDbObjectId(impl->stubForHandle(handle, /*create=*/true));
}

void ZcDbFileAccess::reserveHandle(ZcDbDatabase* db, ZcDbHandle handle) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (impl && !handle.isNull()) impl->handseed = std::max(impl->handseed, handle.value() + 1);
}

bool ZcDbFileAccess::isHandleUsed(ZcDbDatabase* db, ZcDbHandle handle) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl) return false;
  ZcDbStub* stub = impl->stubForHandle(handle, /*create=*/false);
  return stub && (stub->object || stub->dead);
}

std::vector<ZcDbObjectId> ZcDbFileAccess::unresolvedIds(ZcDbDatabase* db) {
  std::vector<ZcDbObjectId> ids;
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl) return ids;
  for (ZcDbStub& stub : impl->stubs) {
    if (!stub.object && !stub.dead) ids.emplace_back(&stub);
  }
  return ids;
}

std::vector<ZcDbObjectId> ZcDbFileAccess::liveIds(ZcDbDatabase* db, bool sorted) {
  std::vector<ZcDbObjectId> ids;
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl) return ids;
  ids.reserve(impl->stubs.size());
  forEachLive(db, [&](ZcDbObjectId id) { ids.push_back(id); });
  if (!sorted) return ids;
  std::sort(ids.begin(), ids.end(), [](ZcDbObjectId a, ZcDbObjectId b) {
    return a.stub()->handle.value() < b.stub()->handle.value();
  });
  return ids;
}

void ZcDbFileAccess::forEachLive(ZcDbDatabase* db, const std::function<void(ZcDbObjectId)>& visit) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  if (!impl) return;
  // The objects lie scattered over the heap: each one's memory is asked for a few stubs
  // ahead, so that a pass that reads every object waits for memory once, not once per object.
  constexpr std::size_t kAhead = 8;
  auto ahead = impl->stubs.begin();
  for (std::size_t k = 0; k < kAhead && ahead != impl->stubs.end(); ++k) ++ahead;
  for (ZcDbStub& stub : impl->stubs) {
    if (ahead != impl->stubs.end()) {
      if (const ZcDbObject* next = ahead->object) __builtin_prefetch(next);
      ++ahead;
    }
    if (stub.live() && !stub.erased) visit(ZcDbObjectId(&stub));
  }
}

void ZcDbFileAccess::setOwner(ZcDbObjectId id, ZcDbObjectId owner) {
  if (ZcDbStub* stub = id.stub()) stub->owner = owner;
}

void ZcDbFileAccess::appendRecord(ZcDbSymbolTable* table, ZcDbObjectId recordId) {
  table->records_.push_back(recordId);
}

void ZcDbFileAccess::setRecordName(ZcDbSymbolTableRecord* record, const ZcString& name) {
  record->name_ = name;
}

void ZcDbFileAccess::appendEntity(ZcDbBlockTableRecord* block, ZcDbObjectId entityId) {
  block->entities_.push_back(entityId);
}

void ZcDbFileAccess::setDictionaryEntry(ZcDbDictionary* dict, const std::wstring& key, ZcDbObjectId id) {
  std::wstring upper = key;
  for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(c));
  dict->entries_[upper] = ZcDbDictionary::Entry{key, id};
}

void ZcDbFileAccess::setExtensionDictionary(ZcDbObject* obj, ZcDbObjectId dictId) {
  obj->extras().extensionDictionary = dictId;
}

void ZcDbFileAccess::addPersistentReactor(ZcDbObject* obj, ZcDbObjectId reactorId) {
  if (reactorId.isNull() || obj->hasPersistentReactor(reactorId)) return;
  obj->extras().reactors.append(zcdbPersistentReactorEntry(reactorId));
}

void ZcDbFileAccess::setXData(ZcDbObject* obj, resbuf* xdata) {
  zcutRelRb(obj->extras().xdata);
  obj->extras().xdata = xdata;
}

ZcDbObject* ZcDbFileAccess::peek(ZcDbObjectId id) {
  ZcDbStub* stub = id.stub();
  return stub ? stub->object : nullptr;
}

void ZcDbFileAccess::setEntityLayer(ZcDbEntity* entity, ZcDbObjectId layerId) { entity->layerId_ = layerId; }

void ZcDbFileAccess::setEntityLinetype(ZcDbEntity* entity, ZcDbObjectId linetypeId) {
  entity->linetypeId_ = linetypeId;
}

std::vector<std::wstring> ZcDbFileAccess::completeDrawing(ZcDbDatabase* db, bool withNamedObjects) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  return impl ? impl->completeDrawing(withNamedObjects) : std::vector<std::wstring>{};
}

void ZcDbFileAccess::setNamedObjectsDictionary(ZcDbDatabase* db, ZcDbObjectId id) {
  if (ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db)) impl->namedObjects = id;
}

Zdesk::UInt64 ZcDbFileAccess::handleOf(ZcDbObjectId id) {
  ZcDbStub* stub = id.stub();
  return stub ? stub->handle.value() : 0;
}

void ZcDbFileAccess::raiseHandseed(ZcDbDatabase* db, Zdesk::UInt64 handle) {
  if (ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db)) impl->handseed = std::max(impl->handseed, handle);
}

void ZcDbFileAccess::expectObjects(ZcDbDatabase* db, size_t count) {
  if (ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db)) impl->byHandle.reserve(count);
}

ZcDbFileKept& ZcDbFileAccess::fileKept(ZcDbDatabase* db) { return ZcDbDatabaseImpl::of(db)->fileKept; }

// --- Old-style polylines and splines read from a file ---------------------------------------

vtcad::db::PolylineVertexList* ZcDbFileAccess::vertexListOf(const ZcDbEntity* pline) {
  if (auto* p2 = ZcDb2dPolyline::cast(pline)) return p2->vertices_.get();
  if (auto* p3 = ZcDb3dPolyline::cast(pline)) return p3->vertices_.get();
  return nullptr;
}

void ZcDbFileAccess::setPolylineForm(ZcDb2dPolyline* pline, ZcDb::Poly2dType type, bool closed) {
  pline->type_ = type;
  pline->closed_ = closed;
}

void ZcDbFileAccess::setPolylineForm(ZcDb3dPolyline* pline, ZcDb::Poly3dType type, bool closed) {
  pline->type_ = type;
  pline->closed_ = closed;
}

void ZcDbFileAccess::setVertexType(ZcDb2dVertex* vertex, ZcDb::Vertex2dType type) { vertex->type_ = type; }

void ZcDbFileAccess::setVertexType(ZcDb3dPolylineVertex* vertex, ZcDb::Vertex3dType type) {
  vertex->type_ = type;
}

void ZcDbFileAccess::takeEndMarkerFromFile(ZcDbEntity* pline) {
  if (vtcad::db::PolylineVertexList* list = vertexListOf(pline)) list->takeEndMarkerFromFile();
}

Zcad::ErrorStatus ZcDbFileAccess::appendPolylineVertex(ZcDbEntity* pline, ZcDbVertex* vertex,
                                                       ZcDbHandle handle) {
  vtcad::db::PolylineVertexList* list = vertexListOf(pline);
  if (!list || !vertex) return Zcad::eWrongObjectType;
  const bool fits = ZcDb2dPolyline::cast(pline) ? ZcDb2dVertex::cast(vertex) != nullptr
                                                : ZcDb3dPolylineVertex::cast(vertex) != nullptr;
  if (!fits) return Zcad::eWrongObjectType;
  if (!pline->isDatabaseResident()) return Zcad::eNotInDatabase;
  ZcDbObjectId id;
  if (const Zcad::ErrorStatus es = add(pline->database(), vertex, pline->objectId(), handle, id);
      es != Zcad::eOk)
    return es;
  list->appendResident(id);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbFileAccess::setPolylineEndMarker(ZcDbEntity* pline, ZcDbSequenceEnd* end,
                                                       ZcDbHandle handle) {
  vtcad::db::PolylineVertexList* list = vertexListOf(pline);
  if (!list || !end) return Zcad::eWrongObjectType;
  if (!list->sequenceEnd().isNull()) return Zcad::eAlreadyInDb;
  if (!pline->isDatabaseResident()) return Zcad::eNotInDatabase;
  ZcDbObjectId id;
  if (const Zcad::ErrorStatus es = add(pline->database(), end, pline->objectId(), handle, id);
      es != Zcad::eOk)
    return es;
  list->setSequenceEnd(id);
  return Zcad::eOk;
}

void ZcDbFileAccess::completePolyline(ZcDbEntity* pline) {
  vtcad::db::PolylineVertexList* list = vertexListOf(pline);
  if (list && pline->isDatabaseResident() && list->sequenceEnd().isNull()) list->moveIntoDatabase(*pline);
}

ZcDbObjectId ZcDbFileAccess::polylineEndMarker(const ZcDbEntity* pline) {
  const vtcad::db::PolylineVertexList* list = vertexListOf(pline);
  return list ? list->sequenceEnd() : ZcDbObjectId();
}

void ZcDbFileAccess::setSplineFitData(ZcDbSpline* spline, const ZcGePoint3dArray& points,
                                      const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent,
                                      double tolerance) {
  spline->fit_.points = points;
  spline->fit_.startTangent = startTangent;
  spline->fit_.endTangent = endTangent;
  spline->fit_.tolerance = tolerance;
  spline->curveChanged();
}
