#include "database/PolylineVertexList.h"

#include <algorithm>
#include <cassert>
#include <unordered_set>

#include "database/ZcDbDatabaseImpl.h"
#include "database/ZcDbStub.h"
#include "zcad/db/ZcDbSequenceEnd.h"

namespace vtcad::db {
namespace {

ZcDbVertex* liveVertex(const ZcDbObjectId& id, bool includeErased) {
  const ZcDbStub* stub = id.stub();
  if (!stub || (stub->erased && !includeErased)) return nullptr;
  return ZcDbVertex::cast(stub->live());
}

ZcDbVertex* cloneVertex(const ZcDbVertex* vertex) {
  ZcDbVertex* copy = ZcDbVertex::cast(vertex->clone());
  assert(copy);  // every vertex class copies by value
  return copy;
}

// Walks the vertices a polyline outside a database holds: entity() answers them, objectId()
// is null.
class HeldVertexIterator : public ZcDbObjectIterator {
 public:
  explicit HeldVertexIterator(std::vector<ZcDbVertex*> vertices) : vertices_(std::move(vertices)) {}
  bool done() const override { return pos_ < 0 || pos_ >= static_cast<long>(vertices_.size()); }
  void step(bool backwards, bool /*skipDeleted*/) override { pos_ += backwards ? -1 : 1; }
  ZcDbObjectId objectId() const override { return ZcDbObjectId(); }
  ZcDbEntity* entity() override { return done() ? nullptr : vertices_[static_cast<size_t>(pos_)]; }
  void start(bool atEnd) override { pos_ = atEnd ? static_cast<long>(vertices_.size()) - 1 : 0; }
  bool setPosition(ZcDbObjectId /*id*/) override { return false; }
  bool setPosition(ZcDbEntity* entity) override {
    auto it = std::find(vertices_.begin(), vertices_.end(), entity);
    if (it == vertices_.end()) return false;
    pos_ = static_cast<long>(it - vertices_.begin());
    return true;
  }

 private:
  std::vector<ZcDbVertex*> vertices_;
  long pos_ = 0;
};

}  // namespace

PolylineVertexList::PolylineVertexList(const PolylineVertexList& other)
    : ids_(other.ids_), sequenceEnd_(other.sequenceEnd_) {
  held_.reserve(other.held_.size());
  for (const ZcDbVertex* v : other.held_) held_.push_back(cloneVertex(v));
}

PolylineVertexList& PolylineVertexList::operator=(const PolylineVertexList& other) {
  if (this == &other) return *this;
  PolylineVertexList copy(other);
  std::swap(held_, copy.held_);
  std::swap(ids_, copy.ids_);
  std::swap(sequenceEnd_, copy.sequenceEnd_);
  return *this;
}

PolylineVertexList::~PolylineVertexList() { clearHeld(); }

void PolylineVertexList::clearHeld() {
  for (ZcDbVertex* v : held_) delete v;
  held_.clear();
}

std::vector<ZcDbVertex*> PolylineVertexList::vertices(bool includeErased) const {
  if (ids_.isEmpty()) return held_;
  std::vector<ZcDbVertex*> result;
  result.reserve(static_cast<size_t>(ids_.length()));
  for (const ZcDbObjectId& id : ids_) {
    if (ZcDbVertex* v = liveVertex(id, includeErased)) result.push_back(v);
  }
  return result;
}

ZcDbObjectIdArray PolylineVertexList::ownedIds() const {
  ZcDbObjectIdArray result = ids_;
  if (!sequenceEnd_.isNull()) result.append(sequenceEnd_);
  return result;
}

void PolylineVertexList::insertHeld(int index, ZcDbVertex* vertex) {
  assert(ids_.isEmpty() && vertex && !vertex->isDatabaseResident());
  const size_t at = static_cast<size_t>(std::clamp(index, 0, static_cast<int>(held_.size())));
  held_.insert(held_.begin() + static_cast<std::ptrdiff_t>(at), vertex);
}

Zcad::ErrorStatus PolylineVertexList::insertResident(const ZcDbObject& owner, int index, ZcDbVertex* vertex,
                                                     ZcDbObjectId& id) {
  assert(owner.isDatabaseResident());
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(owner.database());
  const Zcad::ErrorStatus es = impl->addObject(vertex, owner.objectId(), id);
  if (es != Zcad::eOk) return es;
  if (const ZcDbEntity* ownerEntity = ZcDbEntity::cast(&owner)) (void)vertex->setPropertiesFrom(ownerEntity);
  ids_.insertAt(std::clamp(index, 0, ids_.length()), id);
  return Zcad::eOk;
}

int PolylineVertexList::indexOf(const ZcDbVertex* vertex) const {
  if (!vertex) return -1;
  if (!ids_.isEmpty()) return vertex->isDatabaseResident() ? ids_.find(vertex->objectId()) : -1;
  auto it = std::find(held_.begin(), held_.end(), vertex);
  return it == held_.end() ? -1 : static_cast<int>(it - held_.begin());
}

int PolylineVertexList::indexOf(ZcDbObjectId id) const { return id.isNull() ? -1 : ids_.find(id); }

void PolylineVertexList::takeCopies() {
  if (ids_.isEmpty()) return;
  std::vector<ZcDbVertex*> copies;
  for (ZcDbVertex* v : vertices()) copies.push_back(cloneVertex(v));
  clearHeld();
  held_ = std::move(copies);
  ids_.removeAll();
  sequenceEnd_.setNull();
}

void PolylineVertexList::moveIntoDatabase(const ZcDbObject& owner) {
  assert(owner.isDatabaseResident());
  const ZcDbObjectId ownerId = owner.objectId();
  // Ids shared with another polyline (this one was copied from it) are copied first.
  const bool ownsIds = !ids_.isEmpty() && ids_.first().stub() && ids_.first().stub()->owner == ownerId;
  if (!ids_.isEmpty() && !ownsIds) takeCopies();
  if (!held_.empty()) {
    std::vector<ZcDbVertex*> pending;
    pending.swap(held_);
    for (ZcDbVertex* v : pending) {
      ZcDbObjectId id;
      if (insertResident(owner, ids_.length(), v, id) == Zcad::eOk) {
        v->close();
      } else {
        delete v;  // the database refused it: it cannot stay held by a resident polyline
      }
    }
  }
  const bool fromFile = endMarkerFromFile_;
  endMarkerFromFile_ = false;
  if (sequenceEnd_.isNull() && !fromFile) {
    auto* end = new ZcDbSequenceEnd();
    ZcDbObjectId id;
    if (ZcDbDatabaseImpl::of(owner.database())->addObject(end, ownerId, id) == Zcad::eOk) {
      if (const ZcDbEntity* ownerEntity = ZcDbEntity::cast(&owner)) (void)end->setPropertiesFrom(ownerEntity);
      end->close();
      sequenceEnd_ = id;
    } else {
      delete end;
    }
  }
}

Zcad::ErrorStatus PolylineVertexList::eraseAll(bool erasing) {
  std::vector<ZcDbObjectId> targets;
  for (const ZcDbObjectId& id : ownedIds()) {
    const ZcDbStub* stub = id.stub();
    // Only objects whose state changes: an erased vertex stays erased when erasing, and a
    // vertex erased on its own before is brought back with the polyline.
    if (stub && stub->live() && stub->erased != erasing) targets.push_back(id);
  }
  std::vector<ZcDbObject*> objects;
  const Zcad::ErrorStatus es = openAllForWrite(targets, objects, /*openErased=*/true);
  if (es != Zcad::eOk) return es;
  for (ZcDbObject* obj : objects) (void)obj->erase(erasing);
  closeAll(objects);
  return Zcad::eOk;
}

Zcad::ErrorStatus PolylineVertexList::replace(const ZcDbObject& owner,
                                              const std::vector<ZcDbVertex*>& order) {
  if (!owner.isDatabaseResident()) {
    assert(ids_.isEmpty());  // a copy takes its own vertices before it changes (takeCopies)
    std::unordered_set<const ZcDbVertex*> kept(order.begin(), order.end());
    for (ZcDbVertex* v : held_)
      if (!kept.count(v)) delete v;
    held_ = order;
    return Zcad::eOk;
  }
  // In a database: new vertices are added (owned by the polyline), dropped ones erased.
  std::unordered_set<const ZcDbStub*> kept;
  for (const ZcDbVertex* v : order)
    if (v->isDatabaseResident()) kept.insert(v->objectId().stub());
  std::vector<ZcDbObjectId> dropped;
  for (const ZcDbObjectId& id : ids_) {
    const ZcDbStub* stub = id.stub();
    if (stub && !kept.count(stub) && stub->live() && !stub->erased) dropped.push_back(id);
  }
  std::vector<ZcDbObject*> objects;
  const Zcad::ErrorStatus es = openAllForWrite(dropped, objects);
  if (es != Zcad::eOk) return es;
  for (ZcDbObject* obj : objects) (void)obj->erase();
  closeAll(objects);
  ids_.removeAll();
  for (ZcDbVertex* v : order) {
    if (v->isDatabaseResident()) {
      ids_.append(v->objectId());
      continue;
    }
    ZcDbObjectId id;
    if (insertResident(owner, ids_.length(), v, id) == Zcad::eOk) {
      v->close();
    } else {
      delete v;
    }
  }
  return Zcad::eOk;
}

ZcDbObjectIterator* PolylineVertexList::newIterator() const {
  if (!ids_.isEmpty() || held_.empty()) return new ZcDbObjectIterator(ids_);
  return new HeldVertexIterator(held_);
}

Zcad::ErrorStatus openAllForWrite(const std::vector<ZcDbObjectId>& ids, std::vector<ZcDbObject*>& objects,
                                  bool openErased) {
  objects.clear();
  objects.reserve(ids.size());
  for (const ZcDbObjectId& id : ids) {
    ZcDbObject* obj = nullptr;
    const Zcad::ErrorStatus es = zcdbOpenObject(obj, id, ZcDb::kForWrite, openErased);
    if (es != Zcad::eOk) {
      closeAll(objects);
      return es;
    }
    objects.push_back(obj);
  }
  return Zcad::eOk;
}

void closeAll(std::vector<ZcDbObject*>& objects) {
  for (ZcDbObject* obj : objects) obj->close();
  objects.clear();
}

}  // namespace vtcad::db
