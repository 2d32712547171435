// The dimension style table and its records (the variables the host reads).
#include "zcad/db/ZcDbDimStyleTable.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbDimStyleTable, ZcDbSymbolTable, L"AcDbDimStyleTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbDimStyleTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbDimStyleTableRecord, ZcDbSymbolTableRecord, L"AcDbDimStyleTableRecord",
                               L"DIMSTYLE", []() -> ZcRxObject* { return new ZcDbDimStyleTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbDimStyleTable, ZcDbDimStyleTableRecord, ZcDbDimStyleTableIterator)

ZcDbDimStyleTable::ZcDbDimStyleTable() = default;
ZcDbDimStyleTable::~ZcDbDimStyleTable() = default;
ZcDbDimStyleTableRecord::ZcDbDimStyleTableRecord() = default;
ZcDbDimStyleTableRecord::~ZcDbDimStyleTableRecord() = default;

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimscale(double value) {
  if (!(zcdbFinite(value) && value >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimscale_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimasz(double value) {
  if (!(zcdbFinite(value) && value >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimasz_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimtxt(double value) {
  if (!(zcdbFinite(value) && value > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimtxt_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimexe(double value) {
  if (!(zcdbFinite(value) && value >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimexe_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimexo(double value) {
  if (!(zcdbFinite(value) && value >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimexo_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimgap(double value) {
  if (!(zcdbFinite(value))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimgap_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimdec(int value) {
  if (!(value >= 0 && value <= 8)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimdec_ = value;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDimStyleTableRecord::setDimtxsty(ZcDbObjectId styleId) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dimtxsty_ = styleId;
  return Zcad::eOk;
}
