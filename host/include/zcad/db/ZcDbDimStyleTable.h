#pragma once
// The dimension style table ("Standard" in every drawing). Records keep the few variables
// the host reads; a file reader keeps the others as extended data or drops them.
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbDimStyleTableRecord;
class ZcDbDimStyleTableIterator;

class ZcDbDimStyleTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbDimStyleTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbDimStyleTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbDimStyleTableRecord, ZcDbDimStyleTableIterator)

  ZcDbDimStyleTable();
  ~ZcDbDimStyleTable() override;

 protected:
  ZcDbDimStyleTable(const ZcDbDimStyleTable&) = default;
  ZcDbDimStyleTable& operator=(const ZcDbDimStyleTable&) = default;
};

class ZcDbDimStyleTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbDimStyleTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbDimStyleTableRecord)

  ZcDbDimStyleTableRecord();
  ~ZcDbDimStyleTableRecord() override;

  double dimscale() const { return dimscale_; }
  Zcad::ErrorStatus setDimscale(double value);
  double dimasz() const { return dimasz_; }
  Zcad::ErrorStatus setDimasz(double value);
  double dimtxt() const { return dimtxt_; }
  Zcad::ErrorStatus setDimtxt(double value);
  double dimexe() const { return dimexe_; }
  Zcad::ErrorStatus setDimexe(double value);
  double dimexo() const { return dimexo_; }
  Zcad::ErrorStatus setDimexo(double value);
  double dimgap() const { return dimgap_; }
  Zcad::ErrorStatus setDimgap(double value);
  int dimdec() const { return dimdec_; }
  Zcad::ErrorStatus setDimdec(int value);
  ZcDbObjectId dimtxsty() const { return dimtxsty_; }
  Zcad::ErrorStatus setDimtxsty(ZcDbObjectId styleId);

 protected:
  ZcDbDimStyleTableRecord(const ZcDbDimStyleTableRecord&) = default;
  ZcDbDimStyleTableRecord& operator=(const ZcDbDimStyleTableRecord&) = default;

 private:
  double dimscale_ = 1.0;
  double dimasz_ = 2.5;
  double dimtxt_ = 2.5;
  double dimexe_ = 1.25;
  double dimexo_ = 0.625;
  double dimgap_ = 0.625;
  int dimdec_ = 2;
  ZcDbObjectId dimtxsty_;
};

class ZcDbDimStyleTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbDimStyleTableIterator, ZcDbDimStyleTableRecord)
};
