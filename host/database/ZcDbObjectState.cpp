#include "ZcDbObjectState.h"

#include <cassert>
#include <utility>

#include "ZcDbObjectExtras.h"
#include "ZcDbStub.h"
#include "zcad/db/ZcDbBlockTable.h"

std::unique_ptr<ZcDbObjectState> ZcDbObjectState::capture(const ZcDbObject* obj) {
  auto state = std::make_unique<ZcDbObjectState>();
  state->copy_.reset(ZcDbObject::cast(obj->clone()));
  if (obj->stub_) {
    state->owner_ = obj->stub_->owner;
    state->erased_ = obj->stub_->erased;
  }
  if (obj->extras_) {
    state->extensionDictionary_ = obj->extras_->extensionDictionary;
    for (void* entry : obj->extras_->reactors) {
      if (zcdbIsPersistentReactor(entry))
        state->persistentReactors_.push_back(zcdbPersistentReactorObjectId(entry));
    }
  }
  return state;
}

std::unique_ptr<ZcDbObjectState> ZcDbObjectState::captureForCancel(const ZcDbObject* obj) {
  const ZcDbBlockTableRecord* block = ZcDbBlockTableRecord::cast(obj);
  if (!block) return capture(obj);
  // The list is lent out while the copy is made, so the copy holds none. It is given back on
  // every way out: a copy that fails (out of memory) must not leave the block without its list.
  struct LentEntities {
    std::vector<ZcDbObjectId>& home;
    std::vector<ZcDbObjectId> lent;
    explicit LentEntities(std::vector<ZcDbObjectId>& list) : home(list) { lent.swap(home); }
    ~LentEntities() { home.swap(lent); }
    LentEntities(const LentEntities&) = delete;
    LentEntities& operator=(const LentEntities&) = delete;
  };
  auto& entities = const_cast<ZcDbBlockTableRecord*>(block)->entities_;
  std::unique_ptr<ZcDbObjectState> state;
  {
    const LentEntities lending(entities);
    state = capture(obj);
  }
  state->blockEntityCount_ = entities.size();
  return state;
}

void ZcDbObjectState::restoreInto(ZcDbObject* obj) const {
  if (blockEntityCount_) {
    // The entities appended since the capture are dropped from the list; the copy's (empty)
    // list must not replace it.
    auto* block = ZcDbBlockTableRecord::cast(obj);
    assert(block && block->entities_.size() >= *blockEntityCount_);
    std::vector<ZcDbObjectId> entities = std::move(block->entities_);
    entities.resize(*blockEntityCount_);
    if (copy_) obj->copyFrom(copy_.get());
    block->entities_ = std::move(entities);
  } else if (copy_) {
    // A class that cannot be copied keeps its fields; the rest is still put back.
    obj->copyFrom(copy_.get());
  }
  if (obj->stub_) {
    obj->stub_->owner = owner_;
    obj->stub_->erased = erased_;
  }
  if (obj->extras_ || !extensionDictionary_.isNull() || !persistentReactors_.empty()) {
    ZcDbObject::Extras& extras = obj->extras();
    extras.extensionDictionary = extensionDictionary_;
    // Transient reactors stay (they observe this session); persistent ones are put back.
    ZcDbVoidPtrArray kept;
    for (void* entry : extras.reactors) {
      if (!zcdbIsPersistentReactor(entry)) kept.append(entry);
    }
    for (ZcDbObjectId id : persistentReactors_) kept.append(zcdbPersistentReactorEntry(id));
    extras.reactors = kept;
  }
}

void ZcDbObjectState::swapWith(ZcDbObject* obj) {
  std::unique_ptr<ZcDbObjectState> present = capture(obj);
  restoreInto(obj);
  *this = std::move(*present);
}

ZcDbObject* ZcDbObjectState::takeCopy() {
  ZcDbObject* copy = copy_.release();
  if (!copy) return nullptr;
  if (!extensionDictionary_.isNull() || !persistentReactors_.empty()) {
    ZcDbObject::Extras& extras = copy->extras();
    extras.extensionDictionary = extensionDictionary_;
    for (ZcDbObjectId id : persistentReactors_) extras.reactors.append(zcdbPersistentReactorEntry(id));
  }
  return copy;
}
