#include "zcad/db/ZcDbLine.h"

#include <algorithm>
#include <cmath>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {
ZcRxObject* newZcDbLine() { return new ZcDbLine(); }
}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbLine, ZcDbCurve, L"AcDbLine", L"LINE", newZcDbLine)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbLine::desc(), true);
}  // namespace

struct ZcDbLine::Extrusion final : ZcDbObject::RareFields {
  Extrusion(const ZcGeVector3d& unitNormal, double thick) : normal(unitNormal), thickness(thick) {}
  RareFields* copy() const override { return new Extrusion(*this); }

  ZcGeVector3d normal;
  double thickness;
};

ZcDbLine::ZcDbLine() = default;

ZcDbLine::ZcDbLine(const ZcGePoint3d& start, const ZcGePoint3d& end) {
  if (zcgeIsFinite(start)) start_ = start;
  if (zcgeIsFinite(end)) end_ = end;
}

ZcDbLine::~ZcDbLine() = default;

ZcGePoint3d ZcDbLine::startPoint() const {
  assertReadEnabled();
  return start_;
}

Zcad::ErrorStatus ZcDbLine::setStartPoint(const ZcGePoint3d& point) {
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  start_ = point;
  return Zcad::eOk;
}

ZcGePoint3d ZcDbLine::endPoint() const {
  assertReadEnabled();
  return end_;
}

Zcad::ErrorStatus ZcDbLine::setEndPoint(const ZcGePoint3d& point) {
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  end_ = point;
  return Zcad::eOk;
}

const ZcDbLine::Extrusion* ZcDbLine::extrusion() const {
  // Checked: a plug-in class derived from the line that kept fields of its own there would
  // hide the extrusion rather than be read as one.
  return dynamic_cast<const Extrusion*>(rareFields());
}

ZcGeVector3d ZcDbLine::normalValue() const {
  const Extrusion* e = extrusion();
  return e ? e->normal : ZcGeVector3d::kZAxis;
}

double ZcDbLine::thicknessValue() const {
  const Extrusion* e = extrusion();
  return e ? e->thickness : 0.0;
}

void ZcDbLine::setExtrusion(const ZcGeVector3d& unitNormal, double thickness) {
  // Compared exactly (operator== has a tolerance): a normal a hair off +Z is kept, and so is a
  // thickness of -0.0.
  const bool plain = unitNormal.x == 0.0 && unitNormal.y == 0.0 && unitNormal.z == 1.0 && thickness == 0.0 &&
                     !std::signbit(thickness);
  setRareFields(plain ? nullptr : new Extrusion(unitNormal, thickness));
}

double ZcDbLine::thickness() const {
  assertReadEnabled();
  return thicknessValue();
}

Zcad::ErrorStatus ZcDbLine::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  setExtrusion(normalValue(), thickness);
  return Zcad::eOk;
}

ZcGeVector3d ZcDbLine::normal() const {
  assertReadEnabled();
  return normalValue();
}

Zcad::ErrorStatus ZcDbLine::setNormal(const ZcGeVector3d& normal) {
  const double length = normal.length();
  if (!std::isfinite(length) || !(length > 0.0)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  setExtrusion(normal / length, thicknessValue());
  return Zcad::eOk;
}

ZcGeVector3d ZcDbLine::direction() const {
  const double len = length();
  return len > 0.0 ? (end_ - start_) / len : ZcGeVector3d();
}

double ZcDbLine::closestParam(const ZcGePoint3d& point, bool extend) const {
  const double param = (point - start_).dotProduct(direction());
  return extend ? param : std::clamp(param, 0.0, length());
}

bool ZcDbLine::isClosed() const {
  assertReadEnabled();
  return false;
}

bool ZcDbLine::isPeriodic() const {
  assertReadEnabled();
  return false;
}

Zcad::ErrorStatus ZcDbLine::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getEndParam(double& param) const {
  assertReadEnabled();
  param = length();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = start_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = end_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!fitParamIntoRange({0.0, length(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  // The exact end point at the end, not start + direction * length rounded.
  point = param == length() ? end_ : start_ + direction() * param;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  const double candidate = closestParam(point, /*extend=*/false);
  const ZcGePoint3d onLine = start_ + direction() * candidate;
  if (point.distanceTo(onLine) > onCurveTolerance(start_, end_)) return Zcad::eInvalidInput;
  param = candidate;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!fitParamIntoRange({0.0, length(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  dist = param;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  if (!fitDistIntoLength(length(), dist)) return Zcad::eInvalidInput;
  param = dist;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  return getParamAtPoint(point, dist);
}

Zcad::ErrorStatus ZcDbLine::getPointAtDist(double dist, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!fitDistIntoLength(length(), dist)) return Zcad::eInvalidInput;
  return getPointAtParam(dist, point);
}

Zcad::ErrorStatus ZcDbLine::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({0.0, length(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  firstDeriv = direction();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbLine::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({0.0, length(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  secDeriv = ZcGeVector3d();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                              bool extend) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint)) return Zcad::eInvalidInput;
  pointOnCurve = start_ + direction() * closestParam(givenPoint, extend);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                              ZcGePoint3d& pointOnCurve, bool extend) const {
  assertReadEnabled();
  const ZcGeVector3d view = direction.normal();
  if (!zcgeIsFinite(givenPoint) || !zcgeIsFinite(direction) || view.isZeroLength())
    return Zcad::eInvalidInput;
  // Closest in the plane normal to the view: drop the view components of both vectors.
  const auto flatten = [&](const ZcGeVector3d& v) { return v - view * v.dotProduct(view); };
  const ZcGeVector3d delta = flatten(end_ - start_);
  const double deltaSqrd = delta.lengthSqrd();
  // A line seen end-on (or of zero length) projects to one point: its start.
  double t = deltaSqrd > 0.0 ? -flatten(start_ - givenPoint).dotProduct(delta) / deltaSqrd : 0.0;
  if (!extend) t = std::clamp(t, 0.0, 1.0);
  pointOnCurve = start_ + (end_ - start_) * t;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getArea(double& area) const {
  assertReadEnabled();
  area = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::reverseCurve() {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  std::swap(start_, end_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  return makeSplineForm(ZcGeNurbCurve3d(ZcGeLineSeg3d(start_, end_)), *this, spline);
}

Zcad::ErrorStatus ZcDbLine::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = new ZcGeLineSeg3d(start_, end_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  extents = ZcDbExtents();
  extents.addPoint(start_);
  extents.addPoint(end_);
  if (const Extrusion* e = extrusion(); e && e->thickness != 0.0) {
    extents.addPoint(start_ + e->normal * e->thickness);
    extents.addPoint(end_ + e->normal * e->thickness);
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::transformBy(const ZcGeMatrix3d& xform) {
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  start_ = xform * start_;
  end_ = xform * end_;
  ZcGeVector3d normal = normalValue();
  double thickness = thicknessValue();
  transformExtrusion(xform, normal, thickness);
  setExtrusion(normal, thickness);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  isPlanar = true;
  const ZcGeVector3d dir = direction();
  // The part of the normal perpendicular to the line; a normal along the line (or a zero-
  // length line's missing direction) leaves the normal itself or any perpendicular.
  const ZcGeVector3d normal = normalValue();
  ZcGeVector3d planeNormal = (normal - dir * normal.dotProduct(dir)).normal();
  if (planeNormal.isZeroLength()) planeNormal = dir.perpVector();
  plane.set(start_, planeNormal);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(start_);
  filer->writePoint3d(end_);
  filer->writeVector3d(normalValue());
  filer->writeDouble(thicknessValue());
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbLine::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d start, end;
  ZcGeVector3d normal;
  double thickness = 0.0;
  filer->readPoint3d(&start);
  filer->readPoint3d(&end);
  filer->readVector3d(&normal);
  filer->readDouble(&thickness);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (!zcgeIsFinite(start) || !zcgeIsFinite(end) || !zcgeIsFinite(normal) || normal.isZeroLength() ||
      !std::isfinite(thickness))
    return Zcad::eFilerError;
  start_ = start;
  end_ = end;
  setExtrusion(normal.normal(), thickness);
  return Zcad::eOk;
}
