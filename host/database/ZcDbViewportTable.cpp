// The viewport table and its records.
#include "zcad/db/ZcDbViewportTable.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbViewportTable, ZcDbSymbolTable, L"AcDbViewportTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbViewportTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbViewportTableRecord, ZcDbAbstractViewTableRecord,
                               L"AcDbViewportTableRecord", L"VPORT",
                               []() -> ZcRxObject* { return new ZcDbViewportTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbViewportTable, ZcDbViewportTableRecord, ZcDbViewportTableIterator)

ZcDbViewportTable::ZcDbViewportTable() = default;
ZcDbViewportTable::~ZcDbViewportTable() = default;
ZcDbViewportTableRecord::ZcDbViewportTableRecord() = default;
ZcDbViewportTableRecord::~ZcDbViewportTableRecord() = default;

Zcad::ErrorStatus ZcDbViewportTableRecord::setLowerLeftCorner(const ZcGePoint2d& point) {
  if (!(zcdbFinite(point))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  lowerLeft_ = point;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbViewportTableRecord::setUpperRightCorner(const ZcGePoint2d& point) {
  if (!(zcdbFinite(point))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  upperRight_ = point;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbViewportTableRecord::setGridEnabled(bool enabled) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  gridEnabled_ = enabled;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbViewportTableRecord::setSnapEnabled(bool enabled) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  snapEnabled_ = enabled;
  return Zcad::eOk;
}
