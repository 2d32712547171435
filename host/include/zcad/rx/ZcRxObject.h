#pragma once
// Root of every runtime-typed host object.
#include "zcad/ZcadErrorStatus.h"
#include "zcad/rx/ZcRxClass.h"

class ZcRxObject {
 public:
  virtual ~ZcRxObject() = default;

  static ZcRxClass* desc();
  static ZcRxObject* cast(const ZcRxObject* obj) { return const_cast<ZcRxObject*>(obj); }
  virtual ZcRxClass* isA() const;

  bool isKindOf(const ZcRxClass* cls) const {
    const ZcRxClass* mine = isA();
    return mine && cls && mine->isDerivedFrom(cls);
  }
  // A new object of the same class with the same contents (not in any database).
  virtual ZcRxObject* clone() const;
  virtual Zcad::ErrorStatus copyFrom(const ZcRxObject* other);

 protected:
  ZcRxObject() = default;
  ZcRxObject(const ZcRxObject&) = default;
  ZcRxObject& operator=(const ZcRxObject&) = default;
};
