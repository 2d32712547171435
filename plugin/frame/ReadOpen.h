#pragma once
// An object opened for read for the length of a scope and closed on every path out; get() is
// null when the id could not be opened (erased, or not a T).
#include "zcad/db/ZcDbObject.h"
#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

template <typename T>
class ReadOpen {
 public:
  explicit ReadOpen(ZcDbObjectId id) {
    if (zcdbOpenObject(object_, id, ZcDb::kForRead) != Zcad::eOk) object_ = nullptr;
  }
  ~ReadOpen() {
    if (object_) object_->close();
  }
  ReadOpen(const ReadOpen&) = delete;
  ReadOpen& operator=(const ReadOpen&) = delete;
  T* get() const { return object_; }

 private:
  T* object_ = nullptr;
};

}  // namespace veltrace
