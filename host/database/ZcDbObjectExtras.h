#pragma once
// Internal: the rarely used parts of an object, allocated on first use (see ZcDbObject.h).
#include <memory>
#include <vector>

#include "ZcDbKeptGroup.h"
#include "zcad/db/ZcDbObject.h"

struct ZcDbObject::Extras {
  Extras() = default;
  Extras(const Extras&) = delete;
  Extras& operator=(const Extras&) = delete;
  ~Extras() { zcutRelRb(xdata); }

  bool isEmpty() const {
    return !xdata && reactors.isEmpty() && extensionDictionary.isNull() && kept.empty() && !rare;
  }

  // All applications' extended data as one chain: 1001 name, then its items, per application.
  resbuf* xdata = nullptr;
  ZcDbVoidPtrArray reactors;
  ZcDbObjectId extensionDictionary;
  // Groups of the drawing file this object came from that its class does not interpret.
  std::vector<ZcDbKeptGroup> kept;
  // A class's rarely set fields (see ZcDbObject::setRareFields).
  std::unique_ptr<RareFields> rare;
};

// Persistent reactor entries are stub pointers with the lowest bit set; transient reactor
// pointers are at least 2-aligned so the bit tells them apart.
inline void* zcdbPersistentReactorEntry(ZcDbObjectId id) {
  return reinterpret_cast<void*>(reinterpret_cast<Zdesk::UIntPtr>(id.stub()) | 1u);
}
