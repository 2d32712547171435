#include "ZcDbNotifier.h"

#include "ZcDbDatabaseImpl.h"
#include "ZcDbObjectExtras.h"
#include "ZcDbStub.h"
#include "zcad/db/ZcDbObjectReactor.h"

namespace {

void callTransient(ZcDbObjectReactor* reactor, ZcDbObject* source, ZcDbNotifier::Kind kind, bool erasing) {
  switch (kind) {
    case ZcDbNotifier::Kind::kOpenedForModify:
      reactor->openedForModify(source);
      break;
    case ZcDbNotifier::Kind::kModified:
      reactor->modified(source);
      break;
    case ZcDbNotifier::Kind::kErased:
      reactor->erased(source, erasing);
      break;
    case ZcDbNotifier::Kind::kGoodbye:
      reactor->goodbye(source);
      break;
  }
}

void callPersistent(ZcDbObject* reactor, ZcDbObject* source, ZcDbNotifier::Kind kind, bool erasing) {
  switch (kind) {
    case ZcDbNotifier::Kind::kOpenedForModify:
      reactor->openedForModify(source);
      break;
    case ZcDbNotifier::Kind::kModified:
      reactor->modified(source);
      break;
    case ZcDbNotifier::Kind::kErased:
      reactor->erased(source, erasing);
      break;
    case ZcDbNotifier::Kind::kGoodbye:
      reactor->goodbye(source);
      break;
  }
}

}  // namespace

void ZcDbNotifier::send(ZcDbObject* source, Kind kind, bool erasing) {
  if (!source->extras_ || source->extras_->reactors.isEmpty()) return;
  ZcDbDatabaseImpl* impl = zcdbImplOf(source->stub_);
  if (impl && impl->notifyDepth >= kMaxDepth) return;
  if (impl) ++impl->notifyDepth;
  bool wasNotifying = source->notifying_;
  source->notifying_ = true;
  // A copy: reactors may add or remove reactors (themselves included) while being called.
  const ZcDbVoidPtrArray entries = source->extras_->reactors;
  for (void* entry : entries) {
    if (zcdbIsPersistentReactor(entry)) {
      ZcDbStub* stub = zcdbPersistentReactorObjectId(entry).stub();
      ZcDbObject* reactor = stub ? stub->live() : nullptr;
      if (!reactor || stub->erased) continue;
      if (reactor->notifyOpen_ == 255) continue;  // nested beyond any sane depth
      ++reactor->notifyOpen_;
      callPersistent(reactor, source, kind, erasing);
      --reactor->notifyOpen_;
    } else {
      // Only reactors still attached: one may have removed (and deleted) another.
      if (!source->extras_ || !source->extras_->reactors.contains(entry)) continue;
      callTransient(static_cast<ZcDbObjectReactor*>(entry), source, kind, erasing);
    }
  }
  source->notifying_ = wasNotifying;
  if (impl) --impl->notifyDepth;
}

void ZcDbNotifier::sendGoodbye(ZcDbObject* source) {
  if (!source->extras_ || source->extras_->reactors.isEmpty()) return;
  const ZcDbVoidPtrArray entries = source->extras_->reactors;
  for (void* entry : entries) {
    if (zcdbIsPersistentReactor(entry)) continue;
    if (!source->extras_->reactors.contains(entry)) continue;
    static_cast<ZcDbObjectReactor*>(entry)->goodbye(source);
  }
}
