// A walk over a list of object ids.
#include "zcad/db/ZcDbObjectIterator.h"

#include "ZcDbStub.h"
#include "zcad/db/ZcDbEntity.h"

ZcDbObjectIterator::ZcDbObjectIterator(const ZcDbObjectIdArray& ids) : ids_(ids) {}
ZcDbObjectIterator::~ZcDbObjectIterator() = default;

bool ZcDbObjectIterator::done() const { return pos_ < 0 || pos_ >= ids_.length(); }

void ZcDbObjectIterator::step(bool backwards, bool skipDeleted) {
  do {
    if (done()) return;
    pos_ += backwards ? -1 : 1;
  } while (skipDeleted && !done() && ids_[static_cast<int>(pos_)].isErased());
}

ZcDbObjectId ZcDbObjectIterator::objectId() const {
  return done() ? ZcDbObjectId() : ids_[static_cast<int>(pos_)];
}

ZcDbEntity* ZcDbObjectIterator::entity() {
  ZcDbStub* stub = objectId().stub();
  return ZcDbEntity::cast(stub ? stub->live() : nullptr);
}

void ZcDbObjectIterator::start(bool atEnd) { pos_ = atEnd ? ids_.length() - 1 : 0; }

bool ZcDbObjectIterator::setPosition(ZcDbObjectId id) {
  int i = ids_.find(id);
  if (i < 0) return false;
  pos_ = i;
  return true;
}

bool ZcDbObjectIterator::setPosition(ZcDbEntity* entity) { return entity && setPosition(entity->objectId()); }
