// The linetype table and its records.
#include "zcad/db/ZcDbLinetypeTable.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbLinetypeTable, ZcDbSymbolTable, L"AcDbLinetypeTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbLinetypeTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbLinetypeTableRecord, ZcDbSymbolTableRecord, L"AcDbLinetypeTableRecord",
                               L"LTYPE", []() -> ZcRxObject* { return new ZcDbLinetypeTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbLinetypeTable, ZcDbLinetypeTableRecord, ZcDbLinetypeTableIterator)

ZcDbLinetypeTable::ZcDbLinetypeTable() = default;
ZcDbLinetypeTable::~ZcDbLinetypeTable() = default;
ZcDbLinetypeTableRecord::ZcDbLinetypeTableRecord() = default;
ZcDbLinetypeTableRecord::~ZcDbLinetypeTableRecord() = default;

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setComments(const ZTCHAR* comments) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  comments_ = ZcString(comments);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setPatternLength(double length) {
  if (!(zcdbFinite(length) && length >= 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  patternLength_ = length;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setIsScaledToFit(bool scaledToFit) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  scaledToFit_ = scaledToFit;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setNumDashes(int count) {
  if (!(count >= 0 && count <= 12)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_.resize(static_cast<size_t>(count));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setDashLengthAt(int index, double length) {
  if (!(dashAt(index) && zcdbFinite(length))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].length = length;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeStyleAt(int index, ZcDbObjectId styleId) {
  if (!(dashAt(index))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].shapeStyle = styleId;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeNumberAt(int index, int shapeNumber) {
  if (!(dashAt(index) && shapeNumber >= 0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].shapeNumber = shapeNumber;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeOffsetAt(int index, const ZcGeVector2d& offset) {
  if (!(dashAt(index) && zcdbFinite(offset))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].offset = offset;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeScaleAt(int index, double scale) {
  if (!(dashAt(index) && zcdbFinite(scale))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].scale = scale;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeRotationAt(int index, double rotation) {
  if (!(dashAt(index) && zcdbFinite(rotation))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].rotation = rotation;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setShapeIsUcsOrientedAt(int index, bool isUcsOriented) {
  if (!(dashAt(index))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].ucsOriented = isUcsOriented;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::setTextAt(int index, const ZTCHAR* text) {
  if (!(dashAt(index))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  dashes_[static_cast<size_t>(index)].text = ZcString(text);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLinetypeTableRecord::comments(const ZTCHAR*& comments) const {
  comments = comments_.kwszPtr();
  return Zcad::eOk;
}

const ZcDbLinetypeTableRecord::Dash* ZcDbLinetypeTableRecord::dashAt(int index) const {
  if (index < 0 || index >= numDashes()) return nullptr;
  return &dashes_[static_cast<size_t>(index)];
}

double ZcDbLinetypeTableRecord::dashLengthAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->length : 0.0;
}
ZcDbObjectId ZcDbLinetypeTableRecord::shapeStyleAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->shapeStyle : ZcDbObjectId();
}
int ZcDbLinetypeTableRecord::shapeNumberAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->shapeNumber : 0;
}
ZcGeVector2d ZcDbLinetypeTableRecord::shapeOffsetAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->offset : ZcGeVector2d();
}
double ZcDbLinetypeTableRecord::shapeScaleAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->scale : 0.0;
}
double ZcDbLinetypeTableRecord::shapeRotationAt(int index) const {
  const Dash* d = dashAt(index);
  return d ? d->rotation : 0.0;
}
bool ZcDbLinetypeTableRecord::shapeIsUcsOrientedAt(int index) const {
  const Dash* d = dashAt(index);
  return d && d->ucsOriented;
}
Zcad::ErrorStatus ZcDbLinetypeTableRecord::textAt(int index, ZcString& text) const {
  const Dash* d = dashAt(index);
  if (!d) return Zcad::eInvalidIndex;
  text = d->text;
  return Zcad::eOk;
}
