#pragma once
// The viewport table: the tiled viewports of model space. The record named "*Active" is
// the current view. A new drawing's "*Active" view shows the area 0..420 x 0..297 (an A3
// sheet in millimetres): centre (210, 148.5), height 297, width 420.
#include "zcad/db/ZcDbAbstractViewTableRecord.h"
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbViewportTableRecord;
class ZcDbViewportTableIterator;

class ZcDbViewportTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbViewportTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbViewportTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbViewportTableRecord, ZcDbViewportTableIterator)

  ZcDbViewportTable();
  ~ZcDbViewportTable() override;

 protected:
  ZcDbViewportTable(const ZcDbViewportTable&) = default;
  ZcDbViewportTable& operator=(const ZcDbViewportTable&) = default;
};

class ZcDbViewportTableRecord : public ZcDbAbstractViewTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbViewportTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbViewportTableRecord)

  ZcDbViewportTableRecord();
  ~ZcDbViewportTableRecord() override;

  // Corners of the viewport in the drawing window, as fractions (0..1) of its size.
  ZcGePoint2d lowerLeftCorner() const { return lowerLeft_; }
  Zcad::ErrorStatus setLowerLeftCorner(const ZcGePoint2d& point);
  ZcGePoint2d upperRightCorner() const { return upperRight_; }
  Zcad::ErrorStatus setUpperRightCorner(const ZcGePoint2d& point);
  bool gridEnabled() const { return gridEnabled_; }
  Zcad::ErrorStatus setGridEnabled(bool enabled);
  bool snapEnabled() const { return snapEnabled_; }
  Zcad::ErrorStatus setSnapEnabled(bool enabled);

 protected:
  ZcDbViewportTableRecord(const ZcDbViewportTableRecord&) = default;
  ZcDbViewportTableRecord& operator=(const ZcDbViewportTableRecord&) = default;

 private:
  ZcGePoint2d lowerLeft_{0.0, 0.0};
  ZcGePoint2d upperRight_{1.0, 1.0};
  bool gridEnabled_ = false;
  bool snapEnabled_ = false;
};

class ZcDbViewportTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbViewportTableIterator, ZcDbViewportTableRecord)
};
