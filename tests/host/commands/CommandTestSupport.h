#pragma once
// What the host commands' tests share: objects open for read while in scope, points compared
// with a tolerance.
#include <gtest/gtest.h>

#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace command_test {

// An object open for read while this lives; false when the id is not a T (or cannot be read).
template <typename T>
class Opened {
 public:
  explicit Opened(ZcDbObjectId id) {
    if (zcdbOpenObject(object_, id, ZcDb::kForRead) != Zcad::eOk) object_ = nullptr;
  }
  ~Opened() {
    if (object_) object_->close();
  }
  Opened(const Opened&) = delete;
  Opened& operator=(const Opened&) = delete;
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  T* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

// Points compared with an absolute tolerance (the geometry of these tests is of size ~10).
::testing::AssertionResult near(const ZcGePoint3d& actual, const ZcGePoint3d& expected,
                                double tolerance = 1e-9);
::testing::AssertionResult near(const ZcGePoint2d& actual, const ZcGePoint2d& expected,
                                double tolerance = 1e-9);

}  // namespace command_test
