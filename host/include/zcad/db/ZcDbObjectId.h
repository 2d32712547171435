#pragma once
// ZcDbObjectId: the in-session name of a database object. It stays valid while its database
// lives, also after the object is erased (the id then answers isErased()).
#include <cstddef>
#include <functional>

#include "zcad/ZcArray.h"
#include "zcad/db/ZcDbHandle.h"

class ZcDbDatabase;
class ZcDbStub;
class ZcRxClass;

class ZcDbObjectId {
 public:
  ZcDbObjectId() = default;
  explicit ZcDbObjectId(ZcDbStub* stub) : stub_(stub) {}

  static const ZcDbObjectId kNull;

  bool isNull() const { return stub_ == nullptr; }
  void setNull() { stub_ = nullptr; }
  // Not null and its object still exists in memory (erased or not).
  bool isValid() const;
  bool isErased() const;
  bool isResident() const;
  ZcDbDatabase* database() const;
  ZcDbHandle handle() const;
  // Class of the object, read without opening it.
  ZcRxClass* objectClass() const;
  ZcDbStub* stub() const { return stub_; }
  Zdesk::IntPtr asOldId() const { return reinterpret_cast<Zdesk::IntPtr>(stub_); }
  ZcDbObjectId& setFromOldId(Zdesk::IntPtr oldId) {
    stub_ = reinterpret_cast<ZcDbStub*>(oldId);
    return *this;
  }

  bool operator==(const ZcDbObjectId& o) const { return stub_ == o.stub_; }
  bool operator!=(const ZcDbObjectId& o) const { return stub_ != o.stub_; }
  bool operator<(const ZcDbObjectId& o) const { return std::less<ZcDbStub*>()(stub_, o.stub_); }

 private:
  ZcDbStub* stub_ = nullptr;
};

using ZcDbObjectIdArray = ZcArray<ZcDbObjectId>;
using ZcDbVoidPtrArray = ZcArray<void*>;

template <>
struct std::hash<ZcDbObjectId> {
  size_t operator()(const ZcDbObjectId& id) const noexcept { return std::hash<ZcDbStub*>()(id.stub()); }
};
