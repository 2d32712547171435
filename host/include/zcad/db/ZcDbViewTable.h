#pragma once
// The table of named views.
#include "zcad/db/ZcDbAbstractViewTableRecord.h"
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbViewTableRecord;
class ZcDbViewTableIterator;

class ZcDbViewTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbViewTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbViewTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbViewTableRecord, ZcDbViewTableIterator)

  ZcDbViewTable();
  ~ZcDbViewTable() override;

 protected:
  ZcDbViewTable(const ZcDbViewTable&) = default;
  ZcDbViewTable& operator=(const ZcDbViewTable&) = default;
};

class ZcDbViewTableRecord : public ZcDbAbstractViewTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbViewTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbViewTableRecord)

  ZcDbViewTableRecord();
  ~ZcDbViewTableRecord() override;

  bool isPaperspaceView() const { return paperspace_; }
  Zcad::ErrorStatus setIsPaperspaceView(bool paperspace);

 protected:
  ZcDbViewTableRecord(const ZcDbViewTableRecord&) = default;
  ZcDbViewTableRecord& operator=(const ZcDbViewTableRecord&) = default;

 private:
  bool paperspace_ = false;
};

class ZcDbViewTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbViewTableIterator, ZcDbViewTableRecord)
};
