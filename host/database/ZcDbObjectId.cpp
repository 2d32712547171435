// Object ids answer from their stub, without opening the object.
#include "zcad/db/ZcDbObjectId.h"

#include "ZcDbStub.h"

const ZcDbObjectId ZcDbObjectId::kNull;

bool ZcDbObjectId::isValid() const { return stub_ && stub_->live(); }
bool ZcDbObjectId::isErased() const { return stub_ && (stub_->erased || stub_->dead || !stub_->object); }
bool ZcDbObjectId::isResident() const { return stub_ && stub_->object; }
ZcDbDatabase* ZcDbObjectId::database() const { return stub_ ? stub_->database : nullptr; }
ZcDbHandle ZcDbObjectId::handle() const { return stub_ ? stub_->handle : ZcDbHandle(); }
ZcRxClass* ZcDbObjectId::objectClass() const {
  return stub_ && stub_->object ? stub_->object->isA() : nullptr;
}
