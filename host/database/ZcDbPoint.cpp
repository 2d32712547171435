#include "zcad/db/ZcDbPoint.h"

#include <cmath>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"

using namespace vtcad::db;

namespace {
ZcRxObject* newZcDbPoint() { return new ZcDbPoint(); }
}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbPoint, ZcDbEntity, L"AcDbPoint", L"POINT", newZcDbPoint)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbPoint::desc(), true);
}  // namespace

ZcDbPoint::ZcDbPoint() = default;

ZcDbPoint::ZcDbPoint(const ZcGePoint3d& position) {
  if (zcgeIsFinite(position)) position_ = position;
}

ZcDbPoint::~ZcDbPoint() = default;

ZcGePoint3d ZcDbPoint::position() const {
  assertReadEnabled();
  return position_;
}

Zcad::ErrorStatus ZcDbPoint::setPosition(const ZcGePoint3d& position) {
  if (!zcgeIsFinite(position)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  position_ = position;
  return Zcad::eOk;
}

double ZcDbPoint::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDbPoint::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  thickness_ = thickness;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbPoint::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbPoint::setNormal(const ZcGeVector3d& normal) {
  const double length = normal.length();
  if (!std::isfinite(length) || !(length > 0.0)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal / length;
  return Zcad::eOk;
}

double ZcDbPoint::ecsRotation() const {
  assertReadEnabled();
  return ecsRotation_;
}

Zcad::ErrorStatus ZcDbPoint::setEcsRotation(double rotation) {
  if (!std::isfinite(rotation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ecsRotation_ = rotation;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPoint::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  extents = ZcDbExtents();
  extents.addPoint(position_);
  if (thickness_ != 0.0) extents.addPoint(position_ + normal_ * thickness_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPoint::transformBy(const ZcGeMatrix3d& xform) {
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  const ZcGeVector3d symbolDir = std::cos(ecsRotation_) * x + std::sin(ecsRotation_) * y;
  position_ = xform * position_;
  transformExtrusion(xform, normal_, thickness_);
  // A symbol direction flattened onto the normal keeps the old angle.
  const ZcGeVector3d image = xform * symbolDir;
  if (!image.orthoProject(normal_).isZeroLength()) ecsRotation_ = ocsAngleOf(normal_, image);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPoint::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(position_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPoint::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbEntity::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(position_);
  filer->writeVector3d(normal_);
  filer->writeDouble(thickness_);
  filer->writeDouble(ecsRotation_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbPoint::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbEntity::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d position;
  ZcGeVector3d normal;
  double thickness = 0.0, rotation = 0.0;
  filer->readPoint3d(&position);
  filer->readVector3d(&normal);
  filer->readDouble(&thickness);
  filer->readDouble(&rotation);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (!zcgeIsFinite(position) || !zcgeIsFinite(normal) || normal.isZeroLength() ||
      !std::isfinite(thickness) || !std::isfinite(rotation))
    return Zcad::eFilerError;
  position_ = position;
  normal_ = normal.normal();
  thickness_ = thickness;
  ecsRotation_ = rotation;
  return Zcad::eOk;
}
