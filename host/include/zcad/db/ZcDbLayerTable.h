#pragma once
// The layer table. Layer "0" is in every drawing and cannot be renamed (eInvalidInput).
// A layer's colour is an index or true colour (never ByLayer or ByBlock); "off" is stored
// apart from the colour (files write it as a negative colour number).
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbLayerTableRecord;
class ZcDbLayerTableIterator;

class ZcDbLayerTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbLayerTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbLayerTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbLayerTableRecord, ZcDbLayerTableIterator)

  ZcDbLayerTable();
  ~ZcDbLayerTable() override;

 protected:
  ZcDbLayerTable(const ZcDbLayerTable&) = default;
  ZcDbLayerTable& operator=(const ZcDbLayerTable&) = default;
};

class ZcDbLayerTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbLayerTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbLayerTableRecord)

  ZcDbLayerTableRecord();
  ~ZcDbLayerTableRecord() override;

  ZcCmColor color() const { return color_; }
  // ByLayer, ByBlock and "none" are refused (eInvalidInput).
  Zcad::ErrorStatus setColor(const ZcCmColor& color);
  bool isOff() const { return off_; }
  Zcad::ErrorStatus setIsOff(bool off);
  bool isFrozen() const { return frozen_; }
  Zcad::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const { return locked_; }
  Zcad::ErrorStatus setIsLocked(bool locked);
  bool isPlottable() const { return plottable_; }
  Zcad::ErrorStatus setIsPlottable(bool plottable);
  // The linetype table record of the layer ("Continuous" in a new drawing's layer "0").
  ZcDbObjectId linetypeObjectId() const { return linetypeId_; }
  Zcad::ErrorStatus setLinetypeObjectId(ZcDbObjectId linetypeId);
  // A layer's line weight is an explicit weight or kLnWtByLwDefault (not ByLayer/ByBlock).
  ZcDb::LineWeight lineWeight() const { return lineWeight_; }
  Zcad::ErrorStatus setLineWeight(ZcDb::LineWeight weight);
  ZcString description() const { return description_; }
  Zcad::ErrorStatus setDescription(const ZTCHAR* description);

 protected:
  ZcDbLayerTableRecord(const ZcDbLayerTableRecord&) = default;
  ZcDbLayerTableRecord& operator=(const ZcDbLayerTableRecord&) = default;

 private:
  ZcCmColor color_ = whiteLayerColor();
  ZcDbObjectId linetypeId_;
  ZcDb::LineWeight lineWeight_ = ZcDb::kLnWtByLwDefault;
  ZcString description_;
  bool off_ = false;
  bool frozen_ = false;
  bool locked_ = false;
  bool plottable_ = true;
  static ZcCmColor whiteLayerColor();
};

class ZcDbLayerTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbLayerTableIterator, ZcDbLayerTableRecord)
};
