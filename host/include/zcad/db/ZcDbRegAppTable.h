#pragma once
// The registered-application table: the names extended data may be filed under. "ACAD" is
// in every drawing; zcdbRegApp adds names to the working database.
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbRegAppTableRecord;
class ZcDbRegAppTableIterator;

class ZcDbRegAppTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbRegAppTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbRegAppTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbRegAppTableRecord, ZcDbRegAppTableIterator)

  ZcDbRegAppTable();
  ~ZcDbRegAppTable() override;

 protected:
  ZcDbRegAppTable(const ZcDbRegAppTable&) = default;
  ZcDbRegAppTable& operator=(const ZcDbRegAppTable&) = default;
};

class ZcDbRegAppTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbRegAppTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbRegAppTableRecord)

  ZcDbRegAppTableRecord();
  ~ZcDbRegAppTableRecord() override;

 protected:
  ZcDbRegAppTableRecord(const ZcDbRegAppTableRecord&) = default;
  ZcDbRegAppTableRecord& operator=(const ZcDbRegAppTableRecord&) = default;
};

class ZcDbRegAppTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbRegAppTableIterator, ZcDbRegAppTableRecord)
};
