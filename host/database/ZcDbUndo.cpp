#include "ZcDbUndo.h"

#include <utility>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbObjectExtras.h"

ZcDbUndoManager::~ZcDbUndoManager() {
  for (auto& group : done_) discard(group, /*undone=*/false);
  for (auto& group : undone_) discard(group, /*undone=*/true);
  discard(current_, /*undone=*/false);
}

void ZcDbUndoManager::beginGroup(const ZTCHAR* name) {
  if (depth_++ > 0) return;  // nested: only the outermost group counts
  current_ = Group{name ? name : L"", {}};
  ++serial_;
}

void ZcDbUndoManager::endGroup() {
  if (depth_ == 0) return;  // unbalanced end: ignored
  if (--depth_ > 0) return;
  // A command that changed nothing leaves nothing to undo.
  if (!current_.records.empty()) done_.push_back(std::move(current_));
  current_ = Group{};
}

Zcad::ErrorStatus ZcDbUndoManager::cancelGroup() {
  if (depth_ != 1) {
    endGroup();
    return Zcad::eOk;
  }
  const bool changed = !current_.records.empty();
  endGroup();
  // Degenerate case: a group that changed nothing was not kept; undo(1) would take back the
  // command before it.
  if (!changed) return Zcad::eOk;
  Zcad::ErrorStatus es = undo(1);
  if (es == Zcad::eOk) clearRedo();
  return es;
}

void ZcDbUndoManager::recordModified(ZcDbObject* obj) {
  if (!isRecording() || obj->undoSerial_ == serial_) return;
  obj->undoSerial_ = serial_;
  dropRedo();
  current_.records.emplace_back(Record::Kind::kModified, obj->stub_, nullptr, ZcDbObjectState::capture(obj));
}

void ZcDbUndoManager::recordAdded(ZcDbObject* obj) {
  if (!isRecording()) return;
  // A new object needs no copy of its state in this group: undo takes it away whole.
  obj->undoSerial_ = serial_;
  dropRedo();
  current_.records.emplace_back(Record::Kind::kAdded, obj->stub_);
}

void ZcDbUndoManager::recordHandOver(ZcDbStub* stub, std::unique_ptr<ZcDbObjectState> oldState) {
  if (!isRecording()) return;
  dropRedo();
  ZcDbObject* oldCopy = oldState->takeCopy();
  if (!oldCopy) return;  // a class that cannot be copied cannot be given back
  Record record(Record::Kind::kHandOver, stub);
  record.detached = oldCopy;
  current_.records.push_back(std::move(record));
}

void ZcDbUndoManager::recordSwap(ZcDbStub* first, ZcDbStub* second, bool swapXdata, bool swapExtDict) {
  if (!isRecording()) return;
  dropRedo();
  Record record(Record::Kind::kSwap, first, second);
  record.swapXdata = swapXdata;
  record.swapExtDict = swapExtDict;
  current_.records.push_back(std::move(record));
}

size_t ZcDbUndoManager::recordCount() const {
  size_t n = current_.records.size();
  for (const auto& g : done_) n += g.records.size();
  for (const auto& g : undone_) n += g.records.size();
  return n;
}

void ZcDbUndoManager::apply(Record& record) {
  ZcDbStub* stub = record.stub;
  impl_.noteChange(stub);
  switch (record.kind) {
    case Record::Kind::kModified:
      if (stub->object) record.state->swapWith(stub->object);
      break;
    case Record::Kind::kAdded:
      stub->dead = !stub->dead;
      break;
    case Record::Kind::kHandOver: {
      ZcDbObject* present = stub->object;
      ZcDbObject* incoming = record.detached;
      // Transient reactors observe the id: they stay with whichever object has it.
      if (present->extras_) {
        ZcDbVoidPtrArray transient;
        for (void* entry : present->extras_->reactors) {
          if (!zcdbIsPersistentReactor(entry)) transient.append(entry);
        }
        for (void* entry : transient) {
          present->extras_->reactors.remove(entry);
          incoming->addReactor(static_cast<ZcDbObjectReactor*>(entry));
        }
      }
      incoming->stub_ = stub;
      stub->object = incoming;
      present->stub_ = nullptr;
      record.detached = present;
      break;
    }
    case Record::Kind::kSwap:
      zcdbSwapObjects(stub, record.other, record.swapXdata, record.swapExtDict);
      impl_.noteChange(record.other);
      break;
  }
}

void ZcDbUndoManager::discard(Group& group, bool undone) {
  for (auto& record : group.records) {
    if (record.kind == Record::Kind::kHandOver) {
      delete record.detached;
      record.detached = nullptr;
    }
    // An object whose adding was undone and can no longer be redone is gone for good. Its id
    // stays valid (opening it answers ePermanentlyErased).
    if (undone && record.kind == Record::Kind::kAdded && record.stub->dead && record.stub->object) {
      delete record.stub->object;
      record.stub->object = nullptr;
    }
  }
  group.records.clear();
}

void ZcDbUndoManager::clearRedo() {
  for (auto& group : undone_) discard(group, /*undone=*/true);
  undone_.clear();
}

Zcad::ErrorStatus ZcDbUndoManager::checkCanRun() const {
  // Inside a command, or with objects open (their callers hold pointers whose contents undo
  // would change under them): refused.
  if (depth_ > 0 || impl_.openCount > 0 || impl_.notifyDepth > 0) return Zcad::eInvalidOpenState;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbUndoManager::undo(int groups) {
  if (groups <= 0) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkCanRun(); es != Zcad::eOk) return es;
  if (done_.empty()) return Zcad::eNotApplicable;
  running_ = true;
  for (int i = 0; i < groups && !done_.empty(); ++i) {
    Group group = std::move(done_.back());
    done_.pop_back();
    for (auto it = group.records.rbegin(); it != group.records.rend(); ++it) apply(*it);
    undone_.push_back(std::move(group));
  }
  running_ = false;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbUndoManager::redo(int groups) {
  if (groups <= 0) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkCanRun(); es != Zcad::eOk) return es;
  if (undone_.empty()) return Zcad::eNotApplicable;
  running_ = true;
  for (int i = 0; i < groups && !undone_.empty(); ++i) {
    Group group = std::move(undone_.back());
    undone_.pop_back();
    for (auto& record : group.records) apply(record);
    done_.push_back(std::move(group));
  }
  running_ = false;
  return Zcad::eOk;
}

void zcdbSwapObjects(ZcDbStub* first, ZcDbStub* second, bool swapXdata, bool swapExtDict) {
  ZcDbObject* a = first->object;
  ZcDbObject* b = second->object;
  first->object = b;
  second->object = a;
  b->stub_ = first;
  a->stub_ = second;
  // Erased is a property of the object, so it goes with it; owner and place stay with the id.
  std::swap(first->erased, second->erased);
  if (swapXdata) std::swap(a->extras().xdata, b->extras().xdata);
  if (swapExtDict) std::swap(a->extras().extensionDictionary, b->extras().extensionDictionary);
  // An extension dictionary's owner is the id of the object that has it now.
  for (ZcDbObject* obj : {a, b}) {
    ZcDbObjectId dict = obj->extensionDictionary();
    if (!dict.isNull()) dict.stub()->owner = obj->objectId();
  }
}
