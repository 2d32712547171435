#pragma once
// The linetype table. "ByBlock", "ByLayer" and "Continuous" are in every drawing. A
// linetype's pattern is a list of dashes: positive lengths draw, negative ones are gaps, zero
// is a dot; a dash may carry a text or a shape.
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/ge/ZcGeVector2d.h"

class ZcDbLinetypeTableRecord;
class ZcDbLinetypeTableIterator;

class ZcDbLinetypeTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbLinetypeTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbLinetypeTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbLinetypeTableRecord, ZcDbLinetypeTableIterator)

  ZcDbLinetypeTable();
  ~ZcDbLinetypeTable() override;

 protected:
  ZcDbLinetypeTable(const ZcDbLinetypeTable&) = default;
  ZcDbLinetypeTable& operator=(const ZcDbLinetypeTable&) = default;
};

class ZcDbLinetypeTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbLinetypeTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbLinetypeTableRecord)

  ZcDbLinetypeTableRecord();
  ~ZcDbLinetypeTableRecord() override;

  // The description shown in linetype lists ("Solid line", "__ __ __").
  Zcad::ErrorStatus comments(const ZTCHAR*& comments) const;
  Zcad::ErrorStatus setComments(const ZTCHAR* comments);
  Zcad::ErrorStatus asciiDescription(const ZTCHAR*& description) const { return comments(description); }
  Zcad::ErrorStatus setAsciiDescription(const ZTCHAR* description) { return setComments(description); }
  // Total length of one repetition of the pattern (>= 0).
  double patternLength() const { return patternLength_; }
  Zcad::ErrorStatus setPatternLength(double length);
  bool isScaledToFit() const { return scaledToFit_; }
  Zcad::ErrorStatus setIsScaledToFit(bool scaledToFit);
  int numDashes() const { return static_cast<int>(dashes_.size()); }
  // Grows or shrinks the dash list (new dashes are dots).
  Zcad::ErrorStatus setNumDashes(int count);
  // The length of dash `index` (0 when the index is out of range).
  double dashLengthAt(int index) const;
  Zcad::ErrorStatus setDashLengthAt(int index, double length);
  // Embedded text or shape of a dash: the style (text style record), shape number, offset,
  // scale, rotation (radians) and text; eInvalidIndex for an index out of range.
  ZcDbObjectId shapeStyleAt(int index) const;
  Zcad::ErrorStatus setShapeStyleAt(int index, ZcDbObjectId styleId);
  int shapeNumberAt(int index) const;
  Zcad::ErrorStatus setShapeNumberAt(int index, int shapeNumber);
  ZcGeVector2d shapeOffsetAt(int index) const;
  Zcad::ErrorStatus setShapeOffsetAt(int index, const ZcGeVector2d& offset);
  double shapeScaleAt(int index) const;
  Zcad::ErrorStatus setShapeScaleAt(int index, double scale);
  double shapeRotationAt(int index) const;
  Zcad::ErrorStatus setShapeRotationAt(int index, double rotation);
  bool shapeIsUcsOrientedAt(int index) const;
  Zcad::ErrorStatus setShapeIsUcsOrientedAt(int index, bool isUcsOriented);
  Zcad::ErrorStatus textAt(int index, ZcString& text) const;
  Zcad::ErrorStatus setTextAt(int index, const ZTCHAR* text);

 protected:
  ZcDbLinetypeTableRecord(const ZcDbLinetypeTableRecord&) = default;
  ZcDbLinetypeTableRecord& operator=(const ZcDbLinetypeTableRecord&) = default;

 private:
  struct Dash {
    double length = 0.0;
    ZcDbObjectId shapeStyle;
    int shapeNumber = 0;
    ZcGeVector2d offset;
    double scale = 1.0;
    double rotation = 0.0;
    bool ucsOriented = false;
    ZcString text;
  };
  const Dash* dashAt(int index) const;
  ZcString comments_;
  double patternLength_ = 0.0;
  bool scaledToFit_ = false;
  std::vector<Dash> dashes_;
};

class ZcDbLinetypeTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbLinetypeTableIterator, ZcDbLinetypeTableRecord)
};
