// ZcDbObject: identity, open discipline, change tracking, erase, hand-over, extended data,
// reactors and copies. See docs/database.md for the rules these implement.
#include "zcad/db/ZcDbObject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MemoryDwgFiler.h"
#include "ZcDbDatabaseImpl.h"
#include "ZcDbNotifier.h"
#include "ZcDbObjectExtras.h"
#include "ZcDbObjectState.h"
#include "ZcDbStub.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbObjectReactor.h"
#include "zcad/db/ZcDbRegAppTable.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbObject, ZcRxObject, L"AcDbObject", nullptr, nullptr)

// docs/memory.md: drawings hold millions of objects.
static_assert(sizeof(ZcDbObject) <= 32, "ZcDbObject grew beyond its memory budget");

ZcDbDatabaseImpl* zcdbImplOf(const ZcDbStub* stub) { return stub ? stub->database->impl() : nullptr; }

namespace {

bool equalNoCase(const ZTCHAR* a, const ZTCHAR* b) {
  if (!a || !b) return a == b;
  for (; *a && *b; ++a, ++b) {
    if (std::towupper(*a) != std::towupper(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction and copies.

ZcDbObject::ZcDbObject() = default;

ZcDbObject::~ZcDbObject() { delete extras_; }

ZcDbObject::ZcDbObject(const ZcDbObject& other) : ZcRxObject(other) {
  if (other.extras_ && other.extras_->xdata) extras().xdata = zcutCopyRbChain(other.extras_->xdata);
  // A copy is written back with the groups its original kept from the file (undo, COPY).
  if (other.extras_ && !other.extras_->kept.empty()) extras().kept = other.extras_->kept;
  if (other.extras_ && other.extras_->rare) extras().rare.reset(other.extras_->rare->copy());
}

ZcDbObject& ZcDbObject::operator=(const ZcDbObject& other) {
  if (this == &other) return *this;
  resbuf* copy = (other.extras_ && other.extras_->xdata) ? zcutCopyRbChain(other.extras_->xdata) : nullptr;
  if (extras_ || copy) {
    zcutRelRb(extras().xdata);
    extras().xdata = copy;
  }
  if (extras_ || (other.extras_ && !other.extras_->kept.empty())) {
    extras().kept = other.extras_ ? other.extras_->kept : std::vector<ZcDbKeptGroup>{};
  }
  setRareFields(other.extras_ && other.extras_->rare ? other.extras_->rare->copy() : nullptr);
  return *this;
}

const ZcDbObject::RareFields* ZcDbObject::rareFields() const {
  return extras_ ? extras_->rare.get() : nullptr;
}

void ZcDbObject::setRareFields(RareFields* fields) {
  std::unique_ptr<RareFields> owned(fields);  // freed should the extras fail to allocate
  // Dropping fields that were never kept allocates nothing.
  if (extras_ || owned) extras().rare = std::move(owned);
}

ZcDbObject::Extras& ZcDbObject::extras() const {
  // Allocated on first use; logically part of the object, hence available to const members.
  if (!extras_) const_cast<ZcDbObject*>(this)->extras_ = new Extras;
  return *extras_;
}

ZcRxObject* ZcDbObject::clone() const {
  ZcRxClass* cls = isA();
  ZcRxObject* created = cls ? cls->create() : nullptr;
  ZcDbObject* copy = ZcDbObject::cast(created);
  if (!copy) {
    delete created;
    return nullptr;
  }
  MemoryDwgFiler filer(ZcDb::kCopyFiler, database());
  Zcad::ErrorStatus es = dwgOutFields(&filer);
  filer.rewind();
  if (es != Zcad::eOk || copy->dwgInFields(&filer) != Zcad::eOk) {
    delete copy;
    return nullptr;
  }
  return copy;
}

Zcad::ErrorStatus ZcDbObject::copyFrom(const ZcRxObject* other) {
  const ZcDbObject* source = ZcDbObject::cast(other);
  if (!source) return other ? Zcad::eWrongObjectType : Zcad::eNullObjectPointer;
  if (source->isA() != isA()) return Zcad::eWrongObjectType;
  if (source == this) return Zcad::eOk;
  MemoryDwgFiler filer(ZcDb::kCopyFiler, database());
  Zcad::ErrorStatus es = source->dwgOutFields(&filer);
  if (es != Zcad::eOk) return es;
  filer.rewind();
  return dwgInFields(&filer);
}

// ---------------------------------------------------------------------------------------
// Identity.

ZcDbObjectId ZcDbObject::objectId() const { return ZcDbObjectId(stub_); }

ZcDbObjectId ZcDbObject::ownerId() const { return stub_ ? stub_->owner : ZcDbObjectId(); }

Zcad::ErrorStatus ZcDbObject::setOwnerId(ZcDbObjectId ownerId) {
  // The owner is a property of the id (it lives in the stub): an object outside a database
  // has none.
  if (!stub_) return Zcad::eNotInDatabase;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  stub_->owner = ownerId;
  return Zcad::eOk;
}

void ZcDbObject::getZcDbHandle(ZcDbHandle& handle) const { handle = stub_ ? stub_->handle : ZcDbHandle(); }

ZcDbDatabase* ZcDbObject::database() const { return stub_ ? stub_->database : nullptr; }

// ---------------------------------------------------------------------------------------
// Open state.

bool ZcDbObject::isReadEnabled() const {
  return !stub_ || readers_ > 0 || writeOpen_ || notifyOpen_ > 0 || isUndoing();
}
bool ZcDbObject::isWriteEnabled() const { return !stub_ || writeOpen_; }
bool ZcDbObject::isNotifyEnabled() const { return notifyOpen_ > 0 || notifying_; }
bool ZcDbObject::isErased() const { return stub_ && (stub_->erased || stub_->dead); }
bool ZcDbObject::isUndoing() const {
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  return impl && impl->undo.isRunning();
}

Zcad::ErrorStatus zcdbOpenObject(ZcDbObject*& obj, ZcDbObjectId id, ZcDb::OpenMode mode, bool openErased) {
  obj = nullptr;
  ZcDbStub* stub = id.stub();
  if (!stub) return Zcad::eNullObjectId;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub);
  if (impl->undo.isRunning()) return Zcad::eWasOpenedForUndo;
  if (stub->dead) return Zcad::ePermanentlyErased;
  ZcDbObject* object = stub->object;
  if (!object) return stub->handle.isNull() ? Zcad::ePermanentlyErased : Zcad::eUnknownHandle;
  if (stub->erased && !openErased) return Zcad::eWasErased;
  switch (mode) {
    case ZcDb::kForRead:
      // A notifying object may be read (reactors look at it); otherwise a writer excludes.
      if (object->writeOpen_ && !object->notifying_) return Zcad::eWasOpenedForWrite;
      if (object->readers_ == 0xFFFF) return Zcad::eAtMaxReaders;
      ++object->readers_;
      break;
    case ZcDb::kForWrite:
      if (object->notifying_) return Zcad::eWasNotifying;
      if (object->writeOpen_) return Zcad::eWasOpenedForWrite;
      if (object->readers_ > 0) return Zcad::eWasOpenedForRead;
      object->writeOpen_ = true;
      object->modified_ = false;
      object->newObject_ = false;
      break;
    case ZcDb::kForNotify:
      if (object->notifyOpen_ == 255) return Zcad::eAtMaxReaders;
      ++object->notifyOpen_;
      break;
    default:
      return Zcad::eInvalidInput;
  }
  ++impl->openCount;
  obj = object;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::close() {
  if (!stub_) return Zcad::eNotInDatabase;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  // A reader that opened this object while it notified closes first (nested in the writer).
  if (notifying_ && readers_ > 0) {
    --readers_;
    --impl->openCount;
    return Zcad::eOk;
  }
  if (writeOpen_) {
    impl->noteChange(stub_);
    bool changed = modified_;
    bool grew = modified_ || newObject_;
    if (changed) ZcDbNotifier::send(this, ZcDbNotifier::Kind::kModified);
    // A reactor cannot take the object from us (it is notifying), so it is still ours here.
    writeOpen_ = false;
    modified_ = false;
    newObject_ = false;
    if (!impl->cancelStates.empty()) impl->cancelStates.erase(stub_);
    --impl->openCount;
    if (grew) impl->growExtents(this);
    return Zcad::eOk;
  }
  if (readers_ > 0) {
    --readers_;
    --impl->openCount;
    return Zcad::eOk;
  }
  if (notifyOpen_ > 0) {
    --notifyOpen_;
    --impl->openCount;
    return Zcad::eOk;
  }
  return Zcad::eNotOpenForRead;  // closed twice, or never opened
}

Zcad::ErrorStatus ZcDbObject::upgradeOpen() {
  if (!stub_) return Zcad::eOk;  // an object outside a database is always writable
  if (writeOpen_) return Zcad::eWasOpenedForWrite;
  if (readers_ == 0) return Zcad::eNotOpenForRead;
  if (notifying_) return Zcad::eWasNotifying;
  if (readers_ > 1) return Zcad::eHadMultipleReaders;
  readers_ = 0;
  writeOpen_ = true;
  modified_ = false;
  newObject_ = false;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::downgradeOpen() {
  if (!stub_) return Zcad::eOk;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  if (notifying_) return Zcad::eWasNotifying;
  if (modified_) ZcDbNotifier::send(this, ZcDbNotifier::Kind::kModified);
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  impl->noteChange(stub_);
  if (!impl->cancelStates.empty()) impl->cancelStates.erase(stub_);
  bool grew = modified_ || newObject_;
  writeOpen_ = false;
  modified_ = false;
  newObject_ = false;
  ++readers_;
  if (grew) impl->growExtents(this);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::cancel() {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  if (notifying_) return Zcad::eWasNotifying;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  impl->noteChange(stub_);
  auto it = impl->cancelStates.find(stub_);
  if (it != impl->cancelStates.end()) {
    it->second->restoreInto(this);
    impl->cancelStates.erase(it);
  } else if (newObject_) {
    // An object added during this open cannot be taken out of the database: it is erased.
    stub_->erased = true;
  }
  writeOpen_ = false;
  modified_ = false;
  newObject_ = false;
  --impl->openCount;
  return Zcad::eOk;
}

void ZcDbObject::assertReadEnabled() const {}
void ZcDbObject::assertNotifyEnabled() const {}

void ZcDbObject::assertWriteEnabled(bool autoUndo, bool recordModified) {
  if (!stub_ || modified_) return;  // outside a database, or already changed since the open
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  if (impl->undo.isRunning() || impl->destroying) return;
  // Not open for write: a caller's mistake. Nothing is recorded or sent (never a crash);
  // modifiers that answer a status use checkedAssertWriteEnabled instead.
  if (!writeOpen_) return;
  if (autoUndo) impl->undo.recordModified(this);
  if (!recordModified) return;
  modified_ = true;
  impl->undo.dropRedo();
  if (!newObject_) impl->cancelStates.emplace(stub_, ZcDbObjectState::captureForCancel(this));
  // Before the change: reactors see the old state.
  ZcDbNotifier::send(this, ZcDbNotifier::Kind::kOpenedForModify);
}

Zcad::ErrorStatus ZcDbObject::checkedAssertWriteEnabled(bool autoUndo, bool recordModified) {
  if (stub_ && !writeOpen_ && !isUndoing()) return Zcad::eNotOpenForWrite;
  assertWriteEnabled(autoUndo, recordModified);
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Erase, hand-over, id swap.

Zcad::ErrorStatus ZcDbObject::erase(bool erasing) {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  if (notifying_) return Zcad::eWasNotifying;
  if (erasing == stub_->erased) return erasing ? Zcad::eWasErased : Zcad::eOk;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  if (erasing && impl->cannotBeErased(objectId())) return Zcad::eCannotBeErasedByCaller;
  if (Zcad::ErrorStatus es = subErase(erasing); es != Zcad::eOk) return es;
  assertWriteEnabled();
  stub_->erased = erasing;
  // The extension dictionary belongs to the object and goes (and comes back) with it.
  ZcDbObjectId dictId = extensionDictionary();
  ZcDbObject* dict = nullptr;
  if (!dictId.isNull() && zcdbOpenObject(dict, dictId, ZcDb::kForWrite, /*openErased=*/true) == Zcad::eOk) {
    dict->erase(erasing);
    dict->close();
  }
  ZcDbNotifier::send(this, ZcDbNotifier::Kind::kErased, erasing);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::handOverTo(ZcDbObject* newObject, bool keepXData, bool keepExtDict) {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  if (notifying_) return Zcad::eWasNotifying;
  if (!newObject) return Zcad::eNullObjectPointer;
  if (newObject == this) return Zcad::eInvalidInput;
  if (newObject->stub_) return Zcad::eAlreadyInDb;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  ZcDbStub* stub = stub_;
  impl->undo.dropRedo();
  if (impl->undo.isRecording()) impl->undo.recordHandOver(stub, ZcDbObjectState::capture(this));
  if (!impl->cancelStates.empty()) impl->cancelStates.erase(stub);

  // The hand-over is a change of what the id stands for: when it is the first of this open,
  // the reactors see the old object first, as at any first change (a connector reactor
  // records where the curve was before PEDIT's conversion fits it).
  if (!modified_ && !impl->undo.isRunning()) ZcDbNotifier::send(this, ZcDbNotifier::Kind::kOpenedForModify);
  // Reactors (persistent and transient) observe the id: they all go to the new object.
  if (extras_) {
    Extras& mine = *extras_;
    Extras& theirs = newObject->extras();
    theirs.reactors = mine.reactors;
    mine.reactors.removeAll();
    if (keepXData) {
      zcutRelRb(theirs.xdata);
      theirs.xdata = mine.xdata;
      mine.xdata = nullptr;
    }
    if (keepExtDict) {
      theirs.extensionDictionary = mine.extensionDictionary;
      mine.extensionDictionary.setNull();
    }
  }
  newObject->stub_ = stub;
  stub->object = newObject;
  newObject->writeOpen_ = true;
  newObject->modified_ = true;
  newObject->newObject_ = newObject_;
  newObject->undoSerial_ = undoSerial_;
  stub_ = nullptr;
  writeOpen_ = false;
  modified_ = false;
  newObject_ = false;

  // An extension dictionary not handed over is left to nobody: it is erased.
  ZcDbObjectId orphan = extras_ ? extras_->extensionDictionary : ZcDbObjectId();
  if (!orphan.isNull()) {
    extras_->extensionDictionary.setNull();
    ZcDbObject* dict = nullptr;
    if (zcdbOpenObject(dict, orphan, ZcDb::kForWrite) == Zcad::eOk) {
      dict->erase();
      dict->close();
    }
  }
  return Zcad::eObjectToBeDeleted;
}

Zcad::ErrorStatus ZcDbObject::swapIdWith(ZcDbObjectId otherId, bool swapXdata, bool swapExtDict) {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  if (notifying_) return Zcad::eWasNotifying;
  ZcDbStub* other = otherId.stub();
  if (!other) return Zcad::eNullObjectId;
  if (other->database != stub_->database) return Zcad::eWrongDatabase;
  ZcDbObject* otherObject = other->live();
  if (!otherObject) return Zcad::ePermanentlyErased;
  if (otherObject == this) return Zcad::eInvalidInput;
  if (!otherObject->writeOpen_) return Zcad::eNotOpenForWrite;
  if (otherObject->notifying_) return Zcad::eWasNotifying;
  ZcDbDatabaseImpl* impl = zcdbImplOf(stub_);
  impl->undo.dropRedo();
  if (impl->undo.isRecording()) impl->undo.recordSwap(stub_, other, swapXdata, swapExtDict);
  if (!impl->cancelStates.empty()) {
    impl->cancelStates.erase(stub_);
    impl->cancelStates.erase(other);
  }
  zcdbSwapObjects(stub_, other, swapXdata, swapExtDict);
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Extended data.

namespace {

// One application's part of an extended data chain: the 1001 group and its items.
struct XdataApp {
  std::wstring name;
  resbuf* chain;  // owned
};

// Splits a chain (copying it) into applications.
std::vector<XdataApp> splitXdata(const resbuf* rb) {
  std::vector<XdataApp> apps;
  while (rb) {
    const resbuf* end = rb->rbnext;
    while (end && end->restype != 1001) end = end->rbnext;
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const resbuf* p = rb; p != end; p = p->rbnext) {
      resbuf single = *p;
      single.rbnext = nullptr;
      *tail = zcutCopyRbChain(&single);
      tail = &(*tail)->rbnext;
    }
    apps.push_back({rb->resval.rstring ? rb->resval.rstring : L"", head});
    rb = end;
  }
  return apps;
}

resbuf* joinXdata(std::vector<XdataApp>& apps) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (auto& app : apps) {
    *tail = app.chain;
    while (*tail) tail = &(*tail)->rbnext;
    app.chain = nullptr;
  }
  return head;
}

bool finitePoint(const double* p) {
  return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// Checks the chain's shape: 1001 first, known item codes, finite numbers, braces paired.
Zcad::ErrorStatus checkXdata(const resbuf* rb) {
  if (rb->restype != 1001) return Zcad::eInvalidResBuf;
  int depth = 0;
  for (; rb; rb = rb->rbnext) {
    int code = rb->restype;
    if (code == 1001) {
      if (depth != 0) return Zcad::eInvalidResBuf;
      if (!rb->resval.rstring || !*rb->resval.rstring) return Zcad::eInvalidInput;
      continue;
    }
    bool known = (code >= 1000 && code <= 1005) || (code >= 1010 && code <= 1013) ||
                 (code >= 1040 && code <= 1042) || code == 1070 || code == 1071;
    if (!known) return Zcad::eInvalidResBuf;
    if (code == 1002) {
      const ZTCHAR* s = rb->resval.rstring ? rb->resval.rstring : L"";
      if (std::wstring(s) == L"{") {
        ++depth;
      } else if (std::wstring(s) == L"}") {
        if (--depth < 0) return Zcad::eInvalidResBuf;
      } else {
        return Zcad::eInvalidResBuf;
      }
    }
    ZdsValueKind kind = zcutValueKind(code);
    if (kind == ZdsValueKind::kReal && !std::isfinite(rb->resval.rreal)) return Zcad::eInvalidInput;
    if (kind == ZdsValueKind::kPoint && !finitePoint(rb->resval.rpoint)) return Zcad::eInvalidInput;
  }
  return depth == 0 ? Zcad::eOk : Zcad::eInvalidResBuf;
}

}  // namespace

resbuf* ZcDbObject::xData(const ZTCHAR* regappName) const {
  if (!extras_ || !extras_->xdata) return nullptr;
  if (!regappName) return zcutCopyRbChain(extras_->xdata);
  std::vector<XdataApp> apps = splitXdata(extras_->xdata);
  resbuf* result = nullptr;
  for (auto& app : apps) {
    if (!result && equalNoCase(app.name.c_str(), regappName)) {
      result = app.chain;
    } else {
      zcutRelRb(app.chain);
    }
  }
  return result;
}

Zcad::ErrorStatus ZcDbObject::setXData(const resbuf* xdata) {
  if (!xdata) return Zcad::eOk;  // nothing named, nothing changes
  if (Zcad::ErrorStatus es = checkXdata(xdata); es != Zcad::eOk) return es;
  std::vector<XdataApp> incoming = splitXdata(xdata);
  auto release = [](std::vector<XdataApp>& apps) {
    for (auto& app : apps) zcutRelRb(app.chain);
  };
  if (ZcDbDatabaseImpl* impl = zcdbImplOf(stub_)) {
    for (auto& app : incoming) {
      if (impl->findRecord(impl->regAppTable, app.name.c_str()).isNull()) {
        release(incoming);
        return Zcad::eKeyNotFound;  // the application is not registered in the drawing
      }
    }
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) {
    release(incoming);
    return es;
  }
  std::vector<XdataApp> apps = splitXdata(extras_ ? extras_->xdata : nullptr);
  for (auto& in : incoming) {
    bool removing = in.chain->rbnext == nullptr;
    auto it = std::find_if(apps.begin(), apps.end(),
                           [&](const XdataApp& a) { return equalNoCase(a.name.c_str(), in.name.c_str()); });
    if (it != apps.end()) {
      zcutRelRb(it->chain);
      if (removing) {
        apps.erase(it);
        zcutRelRb(in.chain);
      } else {
        it->chain = in.chain;
      }
    } else if (removing) {
      zcutRelRb(in.chain);
    } else {
      apps.push_back(in);
    }
    in.chain = nullptr;
  }
  resbuf* joined = joinXdata(apps);
  if (extras_ || joined) {
    zcutRelRb(extras().xdata);
    extras().xdata = joined;
  }
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Reactors.

bool zcdbIsPersistentReactor(void* reactorEntry) {
  return (reinterpret_cast<Zdesk::UIntPtr>(reactorEntry) & 1u) != 0;
}

ZcDbObjectId zcdbPersistentReactorObjectId(void* reactorEntry) {
  if (!zcdbIsPersistentReactor(reactorEntry)) return ZcDbObjectId();
  return ZcDbObjectId(
      reinterpret_cast<ZcDbStub*>(reinterpret_cast<Zdesk::UIntPtr>(reactorEntry) & ~Zdesk::UIntPtr{1}));
}

const ZcDbVoidPtrArray* ZcDbObject::reactors() const {
  static const ZcDbVoidPtrArray kNone;
  return extras_ ? &extras_->reactors : &kNone;
}

void ZcDbObject::addReactor(ZcDbObjectReactor* reactor) const {
  if (!reactor) return;
  Extras& e = extras();
  if (!e.reactors.contains(reactor)) e.reactors.append(reactor);
}

void ZcDbObject::removeReactor(ZcDbObjectReactor* reactor) const {
  if (extras_) extras_->reactors.remove(reactor);
}

void ZcDbObject::addPersistentReactor(ZcDbObjectId reactorId) {
  if (reactorId.isNull() || hasPersistentReactor(reactorId)) return;
  if (checkedAssertWriteEnabled() != Zcad::eOk) return;
  extras().reactors.append(zcdbPersistentReactorEntry(reactorId));
}

Zcad::ErrorStatus ZcDbObject::removePersistentReactor(ZcDbObjectId reactorId) {
  if (!hasPersistentReactor(reactorId)) return Zcad::eKeyNotFound;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  extras_->reactors.remove(zcdbPersistentReactorEntry(reactorId));
  return Zcad::eOk;
}

bool ZcDbObject::hasPersistentReactor(ZcDbObjectId reactorId) const {
  return !reactorId.isNull() && extras_ && extras_->reactors.contains(zcdbPersistentReactorEntry(reactorId));
}

// ---------------------------------------------------------------------------------------
// Extension dictionary.

ZcDbObjectId ZcDbObject::extensionDictionary() const {
  return extras_ ? extras_->extensionDictionary : ZcDbObjectId();
}

Zcad::ErrorStatus ZcDbObject::createExtensionDictionary() {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  ZcDbObjectId existing = extensionDictionary();
  if (!existing.isNull() && !existing.isErased()) return Zcad::eAlreadyInDb;
  assertWriteEnabled();
  auto* dict = new ZcDbDictionary;
  ZcDbObjectId dictId;
  Zcad::ErrorStatus es = zcdbImplOf(stub_)->addObject(dict, objectId(), dictId);
  if (es != Zcad::eOk) {
    delete dict;
    return es;
  }
  dict->close();
  extras().extensionDictionary = dictId;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbObject::releaseExtensionDictionary() {
  if (!stub_) return Zcad::eNotInDatabase;
  if (!writeOpen_) return Zcad::eNotOpenForWrite;
  ZcDbObjectId dictId = extensionDictionary();
  if (dictId.isNull()) return Zcad::eOk;
  ZcDbDictionary* dict = nullptr;
  Zcad::ErrorStatus es = zcdbOpenObject(dict, dictId, ZcDb::kForWrite, /*openErased=*/true);
  if (es != Zcad::eOk) return es;
  if (dict->numEntries() > 0) {
    dict->close();
    return Zcad::eContainerNotEmpty;
  }
  assertWriteEnabled();
  if (!dict->isErased()) dict->erase();
  dict->close();
  extras_->extensionDictionary.setNull();
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Notifications received as a persistent reactor: nothing by default.

void ZcDbObject::openedForModify(const ZcDbObject* /*dbObj*/) {}
void ZcDbObject::modified(const ZcDbObject* /*dbObj*/) {}
void ZcDbObject::erased(const ZcDbObject* /*dbObj*/, bool /*erasing*/) {}
void ZcDbObject::copied(const ZcDbObject* /*dbObj*/, const ZcDbObject* /*newObj*/) {}
void ZcDbObject::goodbye(const ZcDbObject* /*dbObj*/) {}

// ---------------------------------------------------------------------------------------
// Filing: the base files the extended data, one group at a time.

Zcad::ErrorStatus ZcDbObject::dwgOutFields(ZcDbDwgFiler* filer) const {
  if (!filer) return Zcad::eNullPtr;
  const resbuf* xdata = extras_ ? extras_->xdata : nullptr;
  Zdesk::Int32 count = 0;
  for (const resbuf* rb = xdata; rb; rb = rb->rbnext) ++count;
  filer->writeInt32(count);
  for (const resbuf* rb = xdata; rb; rb = rb->rbnext) {
    filer->writeInt16(rb->restype);
    switch (zcutValueKind(rb->restype)) {
      case ZdsValueKind::kReal:
        filer->writeDouble(rb->resval.rreal);
        break;
      case ZdsValueKind::kPoint:
        filer->writePoint3d(ZcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]));
        break;
      case ZdsValueKind::kShort:
        filer->writeInt16(rb->resval.rint);
        break;
      case ZdsValueKind::kLong:
        filer->writeInt32(rb->resval.rlong);
        break;
      case ZdsValueKind::kString:
        filer->writeString(rb->resval.rstring ? rb->resval.rstring : L"");
        break;
      case ZdsValueKind::kBinary: {
        // One character per byte: the filer has no binary chunks.
        std::wstring bytes;
        for (short i = 0; i < rb->resval.rbinary.clen; ++i) {
          bytes.push_back(static_cast<wchar_t>(static_cast<unsigned char>(rb->resval.rbinary.buf[i])));
        }
        filer->writeString(bytes);
        break;
      }
      default:
        break;  // extended data has no other kinds (checked by setXData)
    }
  }
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbObject::dwgInFields(ZcDbDwgFiler* filer) {
  if (!filer) return Zcad::eNullPtr;
  assertWriteEnabled();
  Zdesk::Int32 count = 0;
  if (filer->readInt32(&count) != Zcad::eOk || count < 0) return Zcad::eFilerError;
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (Zdesk::Int32 i = 0; i < count && filer->filerStatus() == Zcad::eOk; ++i) {
    Zdesk::Int16 type = 0;
    filer->readInt16(&type);
    resbuf* rb = zcutNewRb(type);
    switch (zcutValueKind(type)) {
      case ZdsValueKind::kReal:
        filer->readDouble(&rb->resval.rreal);
        break;
      case ZdsValueKind::kPoint: {
        ZcGePoint3d p;
        filer->readPoint3d(&p);
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
        break;
      }
      case ZdsValueKind::kShort:
        filer->readInt16(&rb->resval.rint);
        break;
      case ZdsValueKind::kLong:
        filer->readInt32(&rb->resval.rlong);
        break;
      case ZdsValueKind::kString: {
        std::wstring text;
        filer->readString(&text);
        rb->resval.rstring = zcutNewString(text.c_str());
        break;
      }
      case ZdsValueKind::kBinary: {
        std::wstring bytes;
        filer->readString(&bytes);
        rb->resval.rbinary.clen = static_cast<short>(bytes.size());
        rb->resval.rbinary.buf = static_cast<char*>(std::malloc(bytes.size() + 1));
        for (size_t b = 0; b < bytes.size(); ++b) rb->resval.rbinary.buf[b] = static_cast<char>(bytes[b]);
        break;
      }
      default:
        break;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  if (filer->filerStatus() != Zcad::eOk) {
    zcutRelRb(head);
    return filer->filerStatus();
  }
  if (extras_ || head) {
    zcutRelRb(extras().xdata);
    extras().xdata = head;
  }
  return Zcad::eOk;
}

// The DXF module writes and reads the common groups itself; the base has no fields of its own.
Zcad::ErrorStatus ZcDbObject::dxfInFields(ZcDbDxfFiler* filer) { return filer ? Zcad::eOk : Zcad::eNullPtr; }
Zcad::ErrorStatus ZcDbObject::dxfOutFields(ZcDbDxfFiler* filer) const {
  return filer ? Zcad::eOk : Zcad::eNullPtr;
}
