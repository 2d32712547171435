// The registered-application table and its records.
#include "zcad/db/ZcDbRegAppTable.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbRegAppTable, ZcDbSymbolTable, L"AcDbRegAppTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbRegAppTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbRegAppTableRecord, ZcDbSymbolTableRecord, L"AcDbRegAppTableRecord",
                               L"APPID", []() -> ZcRxObject* { return new ZcDbRegAppTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbRegAppTable, ZcDbRegAppTableRecord, ZcDbRegAppTableIterator)

ZcDbRegAppTable::ZcDbRegAppTable() = default;
ZcDbRegAppTable::~ZcDbRegAppTable() = default;
ZcDbRegAppTableRecord::ZcDbRegAppTableRecord() = default;
ZcDbRegAppTableRecord::~ZcDbRegAppTableRecord() = default;
