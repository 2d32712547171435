#pragma once
// The table of named user coordinate systems. A record's axes are unit vectors; setYAxis
// and setXAxis store what they are given (normalised) and refuse zero vectors.
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbUCSTableRecord;
class ZcDbUCSTableIterator;

class ZcDbUCSTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbUCSTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbUCSTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbUCSTableRecord, ZcDbUCSTableIterator)

  ZcDbUCSTable();
  ~ZcDbUCSTable() override;

 protected:
  ZcDbUCSTable(const ZcDbUCSTable&) = default;
  ZcDbUCSTable& operator=(const ZcDbUCSTable&) = default;
};

class ZcDbUCSTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbUCSTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbUCSTableRecord)

  ZcDbUCSTableRecord();
  ~ZcDbUCSTableRecord() override;

  ZcGePoint3d origin() const { return origin_; }
  Zcad::ErrorStatus setOrigin(const ZcGePoint3d& origin);
  ZcGeVector3d xAxis() const { return xAxis_; }
  Zcad::ErrorStatus setXAxis(const ZcGeVector3d& xAxis);
  ZcGeVector3d yAxis() const { return yAxis_; }
  Zcad::ErrorStatus setYAxis(const ZcGeVector3d& yAxis);

 protected:
  ZcDbUCSTableRecord(const ZcDbUCSTableRecord&) = default;
  ZcDbUCSTableRecord& operator=(const ZcDbUCSTableRecord&) = default;

 private:
  ZcGePoint3d origin_;
  ZcGeVector3d xAxis_{1, 0, 0};
  ZcGeVector3d yAxis_{0, 1, 0};
};

class ZcDbUCSTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbUCSTableIterator, ZcDbUCSTableRecord)
};
