#pragma once
// The text style table. "Standard" is in every drawing. A style names a font file (a shape
// font "txt.shx" or a TrueType file) or a TrueType typeface; a shape-file style
// (isShapeFile) holds the shapes of complex linetypes instead of text.
#include "zcad/db/ZcDbSymbolTable.h"

class ZcDbTextStyleTableRecord;
class ZcDbTextStyleTableIterator;

class ZcDbTextStyleTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbTextStyleTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbTextStyleTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbTextStyleTableRecord, ZcDbTextStyleTableIterator)

  ZcDbTextStyleTable();
  ~ZcDbTextStyleTable() override;

 protected:
  ZcDbTextStyleTable(const ZcDbTextStyleTable&) = default;
  ZcDbTextStyleTable& operator=(const ZcDbTextStyleTable&) = default;
};

class ZcDbTextStyleTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbTextStyleTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbTextStyleTableRecord)

  ZcDbTextStyleTableRecord();
  ~ZcDbTextStyleTableRecord() override;

  Zcad::ErrorStatus fileName(const ZTCHAR*& fileName) const;
  Zcad::ErrorStatus setFileName(const ZTCHAR* fileName);
  Zcad::ErrorStatus bigFontFileName(const ZTCHAR*& fileName) const;
  Zcad::ErrorStatus setBigFontFileName(const ZTCHAR* fileName);
  // Fixed text height; 0 means texts choose their height.
  double textSize() const { return textSize_; }
  Zcad::ErrorStatus setTextSize(double size);
  // Width factor (> 0).
  double xScale() const { return xScale_; }
  Zcad::ErrorStatus setXScale(double xScale);
  // Slant in radians, within (-85, 85) degrees.
  double obliquingAngle() const { return obliquingAngle_; }
  Zcad::ErrorStatus setObliquingAngle(double angle);
  // Generation flags: 2 backwards, 4 upside down.
  Zdesk::UInt8 flagBits() const { return flagBits_; }
  Zcad::ErrorStatus setFlagBits(Zdesk::UInt8 flags);
  bool isShapeFile() const { return shapeFile_; }
  Zcad::ErrorStatus setIsShapeFile(bool shapeFile);
  bool isVertical() const { return vertical_; }
  Zcad::ErrorStatus setIsVertical(bool vertical);
  // Height of the last text made with the style.
  double priorSize() const { return priorSize_; }
  Zcad::ErrorStatus setPriorSize(double size);
  // TrueType typeface ("Arial"; empty when the style uses a font file) and its attributes.
  Zcad::ErrorStatus font(ZcString& typeface, bool& bold, bool& italic, int& charset,
                         int& pitchAndFamily) const;
  Zcad::ErrorStatus setFont(const ZTCHAR* typeface, bool bold, bool italic, int charset, int pitchAndFamily);

 protected:
  ZcDbTextStyleTableRecord(const ZcDbTextStyleTableRecord&) = default;
  ZcDbTextStyleTableRecord& operator=(const ZcDbTextStyleTableRecord&) = default;

 private:
  ZcString fileName_ = L"txt";
  ZcString bigFontFileName_;
  ZcString typeface_;
  double textSize_ = 0.0;
  double xScale_ = 1.0;
  double obliquingAngle_ = 0.0;
  double priorSize_ = 2.5;
  int charset_ = 0;
  int pitchAndFamily_ = 0;
  Zdesk::UInt8 flagBits_ = 0;
  bool shapeFile_ = false;
  bool vertical_ = false;
  bool bold_ = false;
  bool italic_ = false;
};

class ZcDbTextStyleTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbTextStyleTableIterator, ZcDbTextStyleTableRecord)
};
