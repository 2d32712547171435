// The text style table and its records.
#include "zcad/db/ZcDbTextStyleTable.h"

#include <cmath>

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbTextStyleTable, ZcDbSymbolTable, L"AcDbTextStyleTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbTextStyleTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbTextStyleTableRecord, ZcDbSymbolTableRecord, L"AcDbTextStyleTableRecord",
                               L"STYLE", []() -> ZcRxObject* { return new ZcDbTextStyleTableRecord; })
namespace {
// Slant is limited to 85 degrees either way, as drawing programs do.
constexpr double kMaxObliquing = 85.0 * 3.14159265358979323846 / 180.0;
}  // namespace

ZCDB_DEFINE_TYPED_TABLE(ZcDbTextStyleTable, ZcDbTextStyleTableRecord, ZcDbTextStyleTableIterator)

ZcDbTextStyleTable::ZcDbTextStyleTable() = default;
ZcDbTextStyleTable::~ZcDbTextStyleTable() = default;
ZcDbTextStyleTableRecord::ZcDbTextStyleTableRecord() = default;
ZcDbTextStyleTableRecord::~ZcDbTextStyleTableRecord() = default;

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setFileName(const ZTCHAR* fileName) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  fileName_ = ZcString(fileName);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setBigFontFileName(const ZTCHAR* fileName) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  bigFontFileName_ = ZcString(fileName);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setTextSize(double size) {
  if (!(zcdbFinite(size) && size >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  textSize_ = size;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setXScale(double xScale) {
  if (!(zcdbFinite(xScale) && xScale > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  xScale_ = xScale;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setObliquingAngle(double angle) {
  if (!(zcdbFinite(angle) && std::fabs(angle) < kMaxObliquing)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  obliquingAngle_ = angle;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setFlagBits(Zdesk::UInt8 flags) {
  if (!((flags & ~0x06) == 0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  flagBits_ = flags;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setIsShapeFile(bool shapeFile) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  shapeFile_ = shapeFile;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setIsVertical(bool vertical) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  vertical_ = vertical;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setPriorSize(double size) {
  if (!(zcdbFinite(size) && size >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  priorSize_ = size;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::fileName(const ZTCHAR*& fileName) const {
  fileName = fileName_.kwszPtr();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::bigFontFileName(const ZTCHAR*& fileName) const {
  fileName = bigFontFileName_.kwszPtr();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::font(ZcString& typeface, bool& bold, bool& italic, int& charset,
                                                 int& pitchAndFamily) const {
  typeface = typeface_;
  bold = bold_;
  italic = italic_;
  charset = charset_;
  pitchAndFamily = pitchAndFamily_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbTextStyleTableRecord::setFont(const ZTCHAR* typeface, bool bold, bool italic,
                                                    int charset, int pitchAndFamily) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  typeface_ = ZcString(typeface);
  bold_ = bold;
  italic_ = italic;
  charset_ = charset;
  pitchAndFamily_ = pitchAndFamily;
  return Zcad::eOk;
}
