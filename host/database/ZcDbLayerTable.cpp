// The layer table and its records.
#include "zcad/db/ZcDbLayerTable.h"

#include "ZcDbValidate.h"
#include "zcad/db/ZcDbLinetypeTable.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbLayerTable, ZcDbSymbolTable, L"AcDbLayerTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbLayerTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbLayerTableRecord, ZcDbSymbolTableRecord, L"AcDbLayerTableRecord", L"LAYER",
                               []() -> ZcRxObject* { return new ZcDbLayerTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbLayerTable, ZcDbLayerTableRecord, ZcDbLayerTableIterator)

ZcDbLayerTable::ZcDbLayerTable() = default;
ZcDbLayerTable::~ZcDbLayerTable() = default;
ZcDbLayerTableRecord::ZcDbLayerTableRecord() = default;
ZcDbLayerTableRecord::~ZcDbLayerTableRecord() = default;

Zcad::ErrorStatus ZcDbLayerTableRecord::setIsOff(bool off) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  off_ = off;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setIsFrozen(bool frozen) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  frozen_ = frozen;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setIsLocked(bool locked) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  locked_ = locked;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setIsPlottable(bool plottable) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  plottable_ = plottable;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setLineWeight(ZcDb::LineWeight weight) {
  if (!(zcdbIsValidLineWeight(weight) && weight != ZcDb::kLnWtByLayer && weight != ZcDb::kLnWtByBlock))
    return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  lineWeight_ = weight;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setDescription(const ZTCHAR* description) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  description_ = ZcString(description);
  return Zcad::eOk;
}

ZcCmColor ZcDbLayerTableRecord::whiteLayerColor() {
  ZcCmColor color;
  color.setColorIndex(7);
  return color;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setColor(const ZcCmColor& color) {
  // A layer has a colour of its own: ByLayer, ByBlock and "none" mean nothing here.
  if (color.isByLayer() || color.isByBlock() || color.isNone()) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  color_ = color;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setLinetypeObjectId(ZcDbObjectId linetypeId) {
  // Null is allowed (a record being built by a reader); anything else must be a linetype.
  if (!linetypeId.isNull()) {
    ZcRxClass* cls = linetypeId.objectClass();
    if (!cls || !cls->isDerivedFrom(ZcDbLinetypeTableRecord::desc())) return Zcad::eInvalidInput;
    if (database() && linetypeId.database() != database()) return Zcad::eWrongDatabase;
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  linetypeId_ = linetypeId;
  return Zcad::eOk;
}
