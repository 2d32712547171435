// The table of named views.
#include "zcad/db/ZcDbViewTable.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbViewTable, ZcDbSymbolTable, L"AcDbViewTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbViewTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbViewTableRecord, ZcDbAbstractViewTableRecord, L"AcDbViewTableRecord",
                               L"VIEW", []() -> ZcRxObject* { return new ZcDbViewTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbViewTable, ZcDbViewTableRecord, ZcDbViewTableIterator)

ZcDbViewTable::ZcDbViewTable() = default;
ZcDbViewTable::~ZcDbViewTable() = default;
ZcDbViewTableRecord::ZcDbViewTableRecord() = default;
ZcDbViewTableRecord::~ZcDbViewTableRecord() = default;

Zcad::ErrorStatus ZcDbViewTableRecord::setIsPaperspaceView(bool paperspace) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  paperspace_ = paperspace;
  return Zcad::eOk;
}
