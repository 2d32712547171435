#include "zcad/db/ZcDbCircle.h"

#include <cmath>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {

ZcRxObject* newZcDbCircle() { return new ZcDbCircle(); }

constexpr ParamRange kCircleRange{0.0, ZcGe::kTwoPi, /*periodic=*/true};

CircleFrame frameOf(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius, double thickness) {
  return {center, normal, radius, thickness};
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbCircle, ZcDbCurve, L"AcDbCircle", L"CIRCLE", newZcDbCircle)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbCircle::desc(), true);
}  // namespace

ZcDbCircle::ZcDbCircle() = default;

ZcDbCircle::ZcDbCircle(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius) {
  if (zcgeIsFinite(center)) center_ = center;
  const double length = normal.length();
  if (std::isfinite(length) && length > 0.0) normal_ = normal / length;
  if (std::isfinite(radius) && radius >= 0.0) radius_ = radius;
}

ZcDbCircle::~ZcDbCircle() = default;

ZcGePoint3d ZcDbCircle::center() const {
  assertReadEnabled();
  return center_;
}

Zcad::ErrorStatus ZcDbCircle::setCenter(const ZcGePoint3d& center) {
  if (!zcgeIsFinite(center)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = center;
  return Zcad::eOk;
}

double ZcDbCircle::radius() const {
  assertReadEnabled();
  return radius_;
}

Zcad::ErrorStatus ZcDbCircle::setRadius(double radius) {
  if (!std::isfinite(radius) || radius < 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  radius_ = radius;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbCircle::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbCircle::setNormal(const ZcGeVector3d& normal) {
  const double length = normal.length();
  if (!std::isfinite(length) || !(length > 0.0)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal / length;
  return Zcad::eOk;
}

double ZcDbCircle::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDbCircle::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  thickness_ = thickness;
  return Zcad::eOk;
}

double ZcDbCircle::circumference() const {
  assertReadEnabled();
  return ZcGe::kTwoPi * radius_;
}

Zcad::ErrorStatus ZcDbCircle::setCircumference(double circumference) {
  return setRadius(circumference / ZcGe::kTwoPi);
}

double ZcDbCircle::diameter() const {
  assertReadEnabled();
  return 2.0 * radius_;
}

Zcad::ErrorStatus ZcDbCircle::setDiameter(double diameter) { return setRadius(0.5 * diameter); }

bool ZcDbCircle::isClosed() const {
  assertReadEnabled();
  return true;
}

bool ZcDbCircle::isPeriodic() const {
  assertReadEnabled();
  return true;
}

Zcad::ErrorStatus ZcDbCircle::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getEndParam(double& param) const {
  assertReadEnabled();
  param = ZcGe::kTwoPi;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = circlePointAt(frameOf(center_, normal_, radius_, thickness_), 0.0);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getEndPoint(ZcGePoint3d& point) const {
  // The end point is the start point: the same exact value, not cos(2*pi) rounded.
  return getStartPoint(point);
}

Zcad::ErrorStatus ZcDbCircle::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!fitParamIntoRange(kCircleRange, param)) return Zcad::eInvalidInput;
  point = circlePointAt(frameOf(center_, normal_, radius_, thickness_), param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  const CircleFrame frame = frameOf(center_, normal_, radius_, thickness_);
  const double angle = circleAngleNearest(frame, point);
  const ZcGeVector3d reach(radius_, radius_, radius_);
  if (point.distanceTo(circlePointAt(frame, angle)) > onCurveTolerance(center_ - reach, center_ + reach))
    return Zcad::eInvalidInput;
  param = angle;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!fitParamIntoRange(kCircleRange, param)) return Zcad::eInvalidInput;
  dist = radius_ * param;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  const double length = ZcGe::kTwoPi * radius_;
  if (!fitDistIntoLength(length, dist)) return Zcad::eInvalidInput;
  // Zero radius: every distance is 0, at the start.
  param = radius_ > 0.0 ? std::fmin(dist / radius_, ZcGe::kTwoPi) : 0.0;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getDistAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbCircle::getPointAtDist(double dist, ZcGePoint3d& point) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtDist(dist, param);
  if (es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbCircle::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange(kCircleRange, param)) return Zcad::eInvalidInput;
  firstDeriv = circleDerivAt(frameOf(center_, normal_, radius_, thickness_), param, 1);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbCircle::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange(kCircleRange, param)) return Zcad::eInvalidInput;
  secDeriv = circleDerivAt(frameOf(center_, normal_, radius_, thickness_), param, 2);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                bool /*extend: a circle has nothing to extend*/) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint)) return Zcad::eInvalidInput;
  const CircleFrame frame = frameOf(center_, normal_, radius_, thickness_);
  pointOnCurve = circlePointAt(frame, circleAngleNearest(frame, givenPoint));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                                ZcGePoint3d& pointOnCurve, bool /*extend*/) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint) || !zcgeIsFinite(direction) || direction.isZeroLength())
    return Zcad::eInvalidInput;
  if (!(radius_ > 0.0)) {
    pointOnCurve = center_;
    return Zcad::eOk;
  }
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  const ZcGeNurbCurve3d nurbs(ZcGeCircArc3d(center_, normal_, x, radius_, 0.0, ZcGe::kTwoPi));
  pointOnCurve = closestPointAlongDirection(nurbs, givenPoint, direction);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getArea(double& area) const {
  assertReadEnabled();
  area = ZcGe::kPi * radius_ * radius_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::reverseCurve() {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = -normal_;
  thickness_ = -thickness_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  spline = nullptr;
  if (!(radius_ > 0.0)) return Zcad::eDegenerateGeometry;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  return makeSplineForm(ZcGeNurbCurve3d(ZcGeCircArc3d(center_, normal_, x, radius_, 0.0, ZcGe::kTwoPi)),
                        *this, spline);
}

Zcad::ErrorStatus ZcDbCircle::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  if (!(radius_ > 0.0)) return Zcad::eDegenerateGeometry;
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  curve = new ZcGeCircArc3d(center_, normal_, x, radius_, 0.0, ZcGe::kTwoPi);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  extents = ZcDbExtents();
  addConicExtents(extents, center_, x * radius_, y * radius_, 0.0, ZcGe::kTwoPi);
  if (thickness_ != 0.0)
    addConicExtents(extents, center_ + normal_ * thickness_, x * radius_, y * radius_, 0.0, ZcGe::kTwoPi);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::transformBy(const ZcGeMatrix3d& xform) {
  CircleFrame frame = frameOf(center_, normal_, radius_, thickness_);
  double angleShift = 0.0;
  // The start point of a circle is fixed by its normal, so the shift has no use here.
  if (!transformCircleFrame(xform, frame, angleShift)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = frame.center;
  normal_ = frame.normal;
  radius_ = frame.radius;
  thickness_ = frame.thickness;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const {
  assertReadEnabled();
  entity = nullptr;
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  CircleFrame frame = frameOf(center_, normal_, radius_, thickness_);
  double angleShift = 0.0;
  if (transformCircleFrame(xform, frame, angleShift)) {
    auto* copy = static_cast<ZcDbCircle*>(clone());
    copy->center_ = frame.center;
    copy->normal_ = frame.normal;
    copy->radius_ = frame.radius;
    copy->thickness_ = frame.thickness;
    entity = copy;
    return Zcad::eOk;
  }
  ZcGeVector3d x, y;
  ocsAxes(normal_, x, y);
  EllipseArc arc{center_, x * radius_, y * radius_, 0.0, ZcGe::kTwoPi};
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

Zcad::ErrorStatus ZcDbCircle::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(center_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(center_);
  filer->writeVector3d(normal_);
  filer->writeDouble(radius_);
  filer->writeDouble(thickness_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbCircle::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d center;
  ZcGeVector3d normal;
  double radius = 0.0, thickness = 0.0;
  filer->readPoint3d(&center);
  filer->readVector3d(&normal);
  filer->readDouble(&radius);
  filer->readDouble(&thickness);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (!zcgeIsFinite(center) || !zcgeIsFinite(normal) || normal.isZeroLength() || !std::isfinite(radius) ||
      radius < 0.0 || !std::isfinite(thickness))
    return Zcad::eFilerError;
  center_ = center;
  normal_ = normal.normal();
  radius_ = radius;
  thickness_ = thickness;
  return Zcad::eOk;
}
