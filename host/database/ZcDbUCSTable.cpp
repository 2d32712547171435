// The named user coordinate systems.
#include "zcad/db/ZcDbUCSTable.h"

#include <cmath>

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbUCSTable, ZcDbSymbolTable, L"AcDbUCSTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbUCSTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbUCSTableRecord, ZcDbSymbolTableRecord, L"AcDbUCSTableRecord", L"UCS",
                               []() -> ZcRxObject* { return new ZcDbUCSTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbUCSTable, ZcDbUCSTableRecord, ZcDbUCSTableIterator)

ZcDbUCSTable::ZcDbUCSTable() = default;
ZcDbUCSTable::~ZcDbUCSTable() = default;
ZcDbUCSTableRecord::ZcDbUCSTableRecord() = default;
ZcDbUCSTableRecord::~ZcDbUCSTableRecord() = default;

Zcad::ErrorStatus ZcDbUCSTableRecord::setOrigin(const ZcGePoint3d& origin) {
  if (!(zcdbFinite(origin))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  origin_ = origin;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbUCSTableRecord::setXAxis(const ZcGeVector3d& xAxis) {
  if (!(zcdbFinite(xAxis) && xAxis.lengthSqrd() > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  xAxis_ = xAxis / std::sqrt(xAxis.lengthSqrd());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbUCSTableRecord::setYAxis(const ZcGeVector3d& yAxis) {
  if (!(zcdbFinite(yAxis) && yAxis.lengthSqrd() > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  yAxis_ = yAxis / std::sqrt(yAxis.lengthSqrd());
  return Zcad::eOk;
}
