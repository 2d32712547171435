#include "zcad/db/ZcDbArc.h"

#include <cmath>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {

ZcRxObject* newZcDbArc() { return new ZcDbArc(); }

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbArc, ZcDbCurve, L"AcDbArc", L"ARC", newZcDbArc)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbArc::desc(), true);
}  // namespace

ZcDbArc::ZcDbArc() = default;

ZcDbArc::ZcDbArc(const ZcGePoint3d& center, double radius, double startAngle, double endAngle)
    : ZcDbArc(center, ZcGeVector3d::kZAxis, radius, startAngle, endAngle) {}

ZcDbArc::ZcDbArc(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius, double startAngle,
                 double endAngle) {
  if (zcgeIsFinite(center)) center_ = center;
  const double length = normal.length();
  if (std::isfinite(length) && length > 0.0) normal_ = normal / length;
  if (std::isfinite(radius) && radius >= 0.0) radius_ = radius;
  startAngle_ = normalizeAngle(startAngle);
  endAngle_ = normalizeAngle(endAngle);
}

ZcDbArc::~ZcDbArc() = default;

double ZcDbArc::sweep() const { return normalizeAngle(endAngle_ - startAngle_); }

ZcGePoint3d ZcDbArc::pointAt(double angle) const {
  return circlePointAt({center_, normal_, radius_, thickness_}, angle);
}

double ZcDbArc::closestParam(const ZcGePoint3d& point, bool extend) const {
  const double angle = circleAngleNearest({center_, normal_, radius_, thickness_}, point);
  const double param = startAngle_ + normalizeAngle(angle - startAngle_);
  const double end = endParam();
  if (extend || param <= end) return param;
  // Outside the sweep the nearer end point is the closest point of the arc.
  return point.distanceTo(pointAt(startAngle_)) <= point.distanceTo(pointAt(end)) ? startAngle_ : end;
}

ZcGePoint3d ZcDbArc::center() const {
  assertReadEnabled();
  return center_;
}

Zcad::ErrorStatus ZcDbArc::setCenter(const ZcGePoint3d& center) {
  if (!zcgeIsFinite(center)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = center;
  return Zcad::eOk;
}

double ZcDbArc::radius() const {
  assertReadEnabled();
  return radius_;
}

Zcad::ErrorStatus ZcDbArc::setRadius(double radius) {
  if (!std::isfinite(radius) || radius < 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  radius_ = radius;
  return Zcad::eOk;
}

double ZcDbArc::startAngle() const {
  assertReadEnabled();
  return startAngle_;
}

Zcad::ErrorStatus ZcDbArc::setStartAngle(double angle) {
  if (!std::isfinite(angle)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  startAngle_ = normalizeAngle(angle);
  return Zcad::eOk;
}

double ZcDbArc::endAngle() const {
  assertReadEnabled();
  return endAngle_;
}

Zcad::ErrorStatus ZcDbArc::setEndAngle(double angle) {
  if (!std::isfinite(angle)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  endAngle_ = normalizeAngle(angle);
  return Zcad::eOk;
}

ZcGeVector3d ZcDbArc::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbArc::setNormal(const ZcGeVector3d& normal) {
  const double length = normal.length();
  if (!std::isfinite(length) || !(length > 0.0)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal / length;
  return Zcad::eOk;
}

double ZcDbArc::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDbArc::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  thickness_ = thickness;
  return Zcad::eOk;
}

double ZcDbArc::totalAngle() const {
  assertReadEnabled();
  return sweep();
}

double ZcDbArc::length() const {
  assertReadEnabled();
  return radius_ * sweep();
}

bool ZcDbArc::isClosed() const {
  assertReadEnabled();
  return false;
}

bool ZcDbArc::isPeriodic() const {
  assertReadEnabled();
  return false;
}

Zcad::ErrorStatus ZcDbArc::getStartParam(double& param) const {
  assertReadEnabled();
  param = startAngle_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getEndParam(double& param) const {
  assertReadEnabled();
  param = endParam();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = pointAt(startAngle_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = pointAt(endAngle_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startAngle_, endParam(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  point = pointAt(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  const double candidate = closestParam(point, /*extend=*/false);
  const ZcGeVector3d reach(radius_, radius_, radius_);
  if (point.distanceTo(pointAt(candidate)) > onCurveTolerance(center_ - reach, center_ + reach))
    return Zcad::eInvalidInput;
  param = candidate;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startAngle_, endParam(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  dist = radius_ * (param - startAngle_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  if (!fitDistIntoLength(radius_ * sweep(), dist)) return Zcad::eInvalidInput;
  // Zero radius: every distance is 0, at the start.
  param = radius_ > 0.0 ? std::fmin(startAngle_ + dist / radius_, endParam()) : startAngle_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getDistAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbArc::getPointAtDist(double dist, ZcGePoint3d& point) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtDist(dist, param);
  if (es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbArc::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startAngle_, endParam(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  firstDeriv = circleDerivAt({center_, normal_, radius_, thickness_}, param, 1);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbArc::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startAngle_, endParam(), /*periodic=*/false}, param)) return Zcad::eInvalidInput;
  secDeriv = circleDerivAt({center_, normal_, radius_, thickness_}, param, 2);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                             bool extend) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint)) return Zcad::eInvalidInput;
  pointOnCurve = pointAt(closestParam(givenPoint, extend));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                             ZcGePoint3d& pointOnCurve, bool extend) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint) || !zcgeIsFinite(direction) || direction.isZeroLength())
    return Zcad::eInvalidInput;
  if (isDegenerate()) {
    pointOnCurve = pointAt(startAngle_);
    return Zcad::eOk;
  }
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  const double end = extend ? startAngle_ + ZcGe::kTwoPi : endParam();
  const ZcGeNurbCurve3d nurbs(ZcGeCircArc3d(center_, normal_, x, radius_, startAngle_, end));
  pointOnCurve = closestPointAlongDirection(nurbs, givenPoint, direction);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getArea(double& area) const {
  assertReadEnabled();
  area = conicSegmentArea(radius_, radius_, sweep());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::reverseCurve() {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  const ZcGeVector3d startDir = std::cos(startAngle_) * x + std::sin(startAngle_) * y;
  const ZcGeVector3d endDir = std::cos(endAngle_) * x + std::sin(endAngle_) * y;
  normal_ = -normal_;
  // Directions, not points, so that a zero radius arc keeps its sweep as well.
  startAngle_ = ocsAngleOf(normal_, endDir);
  endAngle_ = ocsAngleOf(normal_, startDir);
  thickness_ = -thickness_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  spline = nullptr;
  if (isDegenerate()) return Zcad::eDegenerateGeometry;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  return makeSplineForm(ZcGeNurbCurve3d(ZcGeCircArc3d(center_, normal_, x, radius_, startAngle_, endParam())),
                        *this, spline);
}

Zcad::ErrorStatus ZcDbArc::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  if (isDegenerate()) return Zcad::eDegenerateGeometry;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  curve = new ZcGeCircArc3d(center_, normal_, x, radius_, startAngle_, endParam());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  extents = ZcDbExtents();
  addConicExtents(extents, center_, x * radius_, y * radius_, startAngle_, endParam());
  if (thickness_ != 0.0)
    addConicExtents(extents, center_ + normal_ * thickness_, x * radius_, y * radius_, startAngle_,
                    endParam());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::transformBy(const ZcGeMatrix3d& xform) {
  CircleFrame frame{center_, normal_, radius_, thickness_};
  double angleShift = 0.0;
  if (!transformCircleFrame(xform, frame, angleShift)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = frame.center;
  normal_ = frame.normal;
  radius_ = frame.radius;
  thickness_ = frame.thickness;
  startAngle_ = normalizeAngle(startAngle_ + angleShift);
  endAngle_ = normalizeAngle(endAngle_ + angleShift);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const {
  assertReadEnabled();
  entity = nullptr;
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  CircleFrame frame{center_, normal_, radius_, thickness_};
  double angleShift = 0.0;
  if (transformCircleFrame(xform, frame, angleShift)) {
    auto* copy = static_cast<ZcDbArc*>(clone());
    copy->center_ = frame.center;
    copy->normal_ = frame.normal;
    copy->radius_ = frame.radius;
    copy->thickness_ = frame.thickness;
    copy->startAngle_ = normalizeAngle(startAngle_ + angleShift);
    copy->endAngle_ = normalizeAngle(endAngle_ + angleShift);
    entity = copy;
    return Zcad::eOk;
  }
  // A zero sweep has no elliptical image (an ellipse with equal angles is a full one).
  if (isDegenerate()) return Zcad::eDegenerateGeometry;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  EllipseArc arc{center_, x * radius_, y * radius_, startAngle_, endParam()};
  if (transformEllipseArc(xform, arc)) {
    entity = newEllipseEntity(arc, *this);
    return Zcad::eOk;
  }
  // Flat image (seen edge-on by a projection): the transformed exact spline.
  ZcDbSpline* spline = nullptr;
  const Zcad::ErrorStatus es = getSpline(spline);
  if (es != Zcad::eOk) return es;
  spline->transformBy(xform);
  entity = spline;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(center_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(center_);
  filer->writeVector3d(normal_);
  filer->writeDouble(radius_);
  filer->writeDouble(startAngle_);
  filer->writeDouble(endAngle_);
  filer->writeDouble(thickness_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbArc::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d center;
  ZcGeVector3d normal;
  double radius = 0.0, startAngle = 0.0, endAngle = 0.0, thickness = 0.0;
  filer->readPoint3d(&center);
  filer->readVector3d(&normal);
  filer->readDouble(&radius);
  filer->readDouble(&startAngle);
  filer->readDouble(&endAngle);
  filer->readDouble(&thickness);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (!zcgeIsFinite(center) || !zcgeIsFinite(normal) || normal.isZeroLength() || !std::isfinite(radius) ||
      radius < 0.0 || !std::isfinite(startAngle) || !std::isfinite(endAngle) || !std::isfinite(thickness))
    return Zcad::eFilerError;
  center_ = center;
  normal_ = normal.normal();
  radius_ = radius;
  startAngle_ = normalizeAngle(startAngle);
  endAngle_ = normalizeAngle(endAngle);
  thickness_ = thickness;
  return Zcad::eOk;
}
