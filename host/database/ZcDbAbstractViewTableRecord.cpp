// The common part of viewport and view records.
#include "zcad/db/ZcDbAbstractViewTableRecord.h"

#include "ZcDbValidate.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbAbstractViewTableRecord, ZcDbSymbolTableRecord,
                               L"AcDbAbstractViewTableRecord", nullptr, nullptr)

ZcDbAbstractViewTableRecord::ZcDbAbstractViewTableRecord() = default;
ZcDbAbstractViewTableRecord::~ZcDbAbstractViewTableRecord() = default;

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setCenterPoint(const ZcGePoint2d& center) {
  if (!(zcdbFinite(center))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  center_ = center;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setHeight(double height) {
  if (!(zcdbFinite(height) && height > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  height_ = height;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setWidth(double width) {
  if (!(zcdbFinite(width) && width > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  width_ = width;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setViewDirection(const ZcGeVector3d& direction) {
  if (!(zcdbFinite(direction) && direction.lengthSqrd() > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  viewDirection_ = direction;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setTarget(const ZcGePoint3d& target) {
  if (!(zcdbFinite(target))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  target_ = target;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setLensLength(double length) {
  if (!(zcdbFinite(length) && length > 0.0)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  lensLength_ = length;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAbstractViewTableRecord::setViewTwist(double angle) {
  if (!(zcdbFinite(angle))) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  viewTwist_ = angle;
  return Zcad::eOk;
}
