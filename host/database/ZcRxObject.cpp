// The root runtime class.
#include "zcad/rx/ZcRxObject.h"

ZcRxClass* ZcRxObject::desc() {
  static ZcRxClass* cls = zcrxRegisterHostClass(L"AcRxObject", nullptr, nullptr, nullptr);
  return cls;
}

ZcRxClass* ZcRxObject::isA() const { return ZcRxObject::desc(); }

// Plain runtime objects have no contents to copy; database objects override both.
ZcRxObject* ZcRxObject::clone() const { return nullptr; }
Zcad::ErrorStatus ZcRxObject::copyFrom(const ZcRxObject* /*other*/) { return Zcad::eNotApplicable; }

namespace {
[[maybe_unused]] const bool registered = (ZcRxObject::desc(), true);
}
