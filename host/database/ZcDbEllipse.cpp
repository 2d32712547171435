#include "zcad/db/ZcDbEllipse.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {

ZcRxObject* newZcDbEllipse() { return new ZcDbEllipse(); }

// Sweeps this close to 0 or to a whole turn are the full ellipse: a start and end meant to be
// equal (0 and 2*pi, or both shifted by a transform) differ by rounding only.
constexpr double kFullTurnTol = 1e-12;
// A major axis this far (in radians) from perpendicular to the normal is refused.
constexpr double kPerpendicularTol = 1e-6;

double paramAtAngleFor(double ratio, double angle) {
  // tan t = tan(angle) / ratio, in the quadrant of the angle; then the angle's whole turns.
  const double param = std::atan2(std::sin(angle), ratio * std::cos(angle));
  return param + ZcGe::kTwoPi * std::round((angle - param) / ZcGe::kTwoPi);
}

double angleAtParamFor(double ratio, double param) {
  const double angle = std::atan2(ratio * std::sin(param), std::cos(param));
  return angle + ZcGe::kTwoPi * std::round((param - angle) / ZcGe::kTwoPi);
}

struct EllipseData {
  ZcGePoint3d center;
  ZcGeVector3d normal;
  ZcGeVector3d majorAxis;
  double ratio = 1.0;
  double startParam = 0.0;
  double endParam = 0.0;
};

// The checked, normalised form of set()'s arguments; nothing when set() refuses them.
std::optional<EllipseData> checkedEllipse(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                                          const ZcGeVector3d& majorAxis, double ratio, double startAngle,
                                          double endAngle) {
  if (!zcgeIsFinite(center) || !zcgeIsFinite(normal) || !zcgeIsFinite(majorAxis) || !std::isfinite(ratio) ||
      !std::isfinite(startAngle) || !std::isfinite(endAngle))
    return std::nullopt;
  const double normalLength = normal.length(), majorRadius = majorAxis.length();
  if (!(normalLength > 0.0) || !(majorRadius > 0.0)) return std::nullopt;
  // Ratios rounded just above 1 (a circle computed through a transform) are 1.
  if (ratio < kMinRadiusRatio || ratio > 1.0 + 1e-12) return std::nullopt;
  const ZcGeVector3d unitNormal = normal / normalLength;
  const double along = majorAxis.dotProduct(unitNormal);
  if (std::fabs(along) > kPerpendicularTol * majorRadius) return std::nullopt;
  EllipseData data;
  data.center = center;
  data.normal = unitNormal;
  const ZcGeVector3d inPlane = majorAxis - unitNormal * along;
  data.majorAxis = inPlane * (majorRadius / inPlane.length());
  data.ratio = std::fmin(ratio, 1.0);
  data.startParam = paramAtAngleFor(data.ratio, startAngle);
  data.endParam = paramAtAngleFor(data.ratio, endAngle);
  return data;
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbEllipse, ZcDbCurve, L"AcDbEllipse", L"ELLIPSE", newZcDbEllipse)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbEllipse::desc(), true);
}  // namespace

ZcDbEllipse::ZcDbEllipse() = default;

ZcDbEllipse::ZcDbEllipse(const ZcGePoint3d& center, const ZcGeVector3d& unitNormal,
                         const ZcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
  const std::optional<EllipseData> data =
      checkedEllipse(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
  if (!data) return;
  center_ = data->center;
  normal_ = data->normal;
  majorAxis_ = data->majorAxis;
  radiusRatio_ = data->ratio;
  setParams(data->startParam, data->endParam);
}

ZcDbEllipse::~ZcDbEllipse() = default;

ZcGeVector3d ZcDbEllipse::minorVector() const { return normal_.crossProduct(majorAxis_) * radiusRatio_; }

ZcGePoint3d ZcDbEllipse::pointAt(double param) const {
  return center_ + majorAxis_ * std::cos(param) + minorVector() * std::sin(param);
}

bool ZcDbEllipse::isFull() const { return endParam_ - startParam_ >= ZcGe::kTwoPi - kFullTurnTol; }

ZcGeEllipArc3d ZcDbEllipse::geArc(bool full) const {
  const double major = majorAxis_.length();
  return ZcGeEllipArc3d(center_, majorAxis_ / major, normal_.crossProduct(majorAxis_) / major, major,
                        major * radiusRatio_, startParam_, full ? startParam_ + ZcGe::kTwoPi : endParam_);
}

void ZcDbEllipse::setParams(double startParam, double endParam) {
  double sweep = normalizeAngle(endParam - startParam);
  if (sweep < kFullTurnTol || sweep > ZcGe::kTwoPi - kFullTurnTol) sweep = ZcGe::kTwoPi;
  startParam_ = normalizeAngle(startParam);
  endParam_ = startParam_ + sweep;
}

double ZcDbEllipse::closestParam(const ZcGePoint3d& point, bool extend) const {
  if (isNull()) return startParam_;
  const bool full = extend || isFull();
  double param = startParam_;
  geArc(full).closestPointTo(point, param);
  param = startParam_ + normalizeAngle(param - startParam_);
  if (full || param <= endParam_) return param;
  // Outside the arc the nearer end point is the closest point.
  return point.distanceTo(pointAt(startParam_)) <= point.distanceTo(pointAt(endParam_)) ? startParam_
                                                                                        : endParam_;
}

ZcGePoint3d ZcDbEllipse::center() const {
  assertReadEnabled();
  return center_;
}

Zcad::ErrorStatus ZcDbEllipse::setCenter(const ZcGePoint3d& center) {
  if (!zcgeIsFinite(center)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = center;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbEllipse::normal() const {
  assertReadEnabled();
  return normal_;
}

ZcGeVector3d ZcDbEllipse::majorAxis() const {
  assertReadEnabled();
  return majorAxis_;
}

ZcGeVector3d ZcDbEllipse::minorAxis() const {
  assertReadEnabled();
  return minorVector();
}

double ZcDbEllipse::radiusRatio() const {
  assertReadEnabled();
  return radiusRatio_;
}

Zcad::ErrorStatus ZcDbEllipse::setRadiusRatio(double ratio) {
  if (!std::isfinite(ratio) || ratio < kMinRadiusRatio || ratio > 1.0 + 1e-12) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  radiusRatio_ = std::fmin(ratio, 1.0);
  return Zcad::eOk;
}

double ZcDbEllipse::majorRadius() const {
  assertReadEnabled();
  return majorAxis_.length();
}

Zcad::ErrorStatus ZcDbEllipse::setMajorRadius(double radius) {
  // The minor radius stays; it must not become the longer one.
  const double minor = majorAxis_.length() * radiusRatio_;
  if (!std::isfinite(radius) || isNull() || radius < minor || minor < kMinRadiusRatio * radius)
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  radiusRatio_ = std::fmin(1.0, minor / radius);
  majorAxis_ = majorAxis_ * (radius / majorAxis_.length());
  return Zcad::eOk;
}

double ZcDbEllipse::minorRadius() const {
  assertReadEnabled();
  return majorAxis_.length() * radiusRatio_;
}

Zcad::ErrorStatus ZcDbEllipse::setMinorRadius(double radius) {
  const double major = majorAxis_.length();
  if (!std::isfinite(radius) || isNull()) return Zcad::eInvalidInput;
  return setRadiusRatio(radius / major);
}

double ZcDbEllipse::startAngle() const {
  assertReadEnabled();
  return angleAtParamFor(radiusRatio_, startParam_);
}

Zcad::ErrorStatus ZcDbEllipse::setStartAngle(double angle) {
  if (!std::isfinite(angle)) return Zcad::eInvalidInput;
  return setStartParam(paramAtAngleFor(radiusRatio_, angle));
}

double ZcDbEllipse::endAngle() const {
  assertReadEnabled();
  return angleAtParamFor(radiusRatio_, endParam_);
}

Zcad::ErrorStatus ZcDbEllipse::setEndAngle(double angle) {
  if (!std::isfinite(angle)) return Zcad::eInvalidInput;
  return setEndParam(paramAtAngleFor(radiusRatio_, angle));
}

Zcad::ErrorStatus ZcDbEllipse::setStartParam(double param) {
  if (!std::isfinite(param)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  setParams(param, endParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::setEndParam(double param) {
  if (!std::isfinite(param)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  setParams(startParam_, param);
  return Zcad::eOk;
}

double ZcDbEllipse::paramAtAngle(double angle) const {
  assertReadEnabled();
  return paramAtAngleFor(radiusRatio_, angle);
}

double ZcDbEllipse::angleAtParam(double param) const {
  assertReadEnabled();
  return angleAtParamFor(radiusRatio_, param);
}

bool ZcDbEllipse::isNull() const {
  assertReadEnabled();
  return !(majorAxis_.length() > 0.0);
}

void ZcDbEllipse::get(ZcGePoint3d& center, ZcGeVector3d& unitNormal, ZcGeVector3d& majorAxis,
                      double& radiusRatio, double& startAngle, double& endAngle) const {
  assertReadEnabled();
  center = center_;
  unitNormal = normal_;
  majorAxis = majorAxis_;
  radiusRatio = radiusRatio_;
  startAngle = angleAtParamFor(radiusRatio_, startParam_);
  endAngle = angleAtParamFor(radiusRatio_, endParam_);
}

Zcad::ErrorStatus ZcDbEllipse::set(const ZcGePoint3d& center, const ZcGeVector3d& unitNormal,
                                   const ZcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle) {
  const std::optional<EllipseData> data =
      checkedEllipse(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
  if (!data) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = data->center;
  normal_ = data->normal;
  majorAxis_ = data->majorAxis;
  radiusRatio_ = data->ratio;
  setParams(data->startParam, data->endParam);
  return Zcad::eOk;
}

bool ZcDbEllipse::isClosed() const {
  assertReadEnabled();
  return isFull();
}

bool ZcDbEllipse::isPeriodic() const {
  assertReadEnabled();
  return isFull();
}

Zcad::ErrorStatus ZcDbEllipse::getStartParam(double& param) const {
  assertReadEnabled();
  param = startParam_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getEndParam(double& param) const {
  assertReadEnabled();
  param = endParam_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  point = pointAt(startParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  // A full ellipse ends exactly where it starts, not at cos(start + 2*pi) rounded.
  point = pointAt(isFull() ? startParam_ : endParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startParam_, endParam_, isFull()}, param)) return Zcad::eInvalidInput;
  point = pointAt(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  const double candidate = closestParam(point, /*extend=*/false);
  const double major = majorAxis_.length();
  const ZcGeVector3d reach(major, major, major);
  if (point.distanceTo(pointAt(candidate)) > onCurveTolerance(center_ - reach, center_ + reach))
    return Zcad::eInvalidInput;
  param = candidate;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startParam_, endParam_, isFull()}, param)) return Zcad::eInvalidInput;
  dist = isNull() ? 0.0 : geArc(isFull()).length(startParam_, param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  if (isNull()) {
    if (!fitDistIntoLength(0.0, dist)) return Zcad::eInvalidInput;
    param = startParam_;
    return Zcad::eOk;
  }
  const ZcGeEllipArc3d arc = geArc(isFull());
  if (!fitDistIntoLength(arc.length(startParam_, endParam_), dist)) return Zcad::eInvalidInput;
  param = std::clamp(arc.paramAtLength(startParam_, dist, /*posParamDir=*/true), startParam_, endParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getDistAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbEllipse::getPointAtDist(double dist, ZcGePoint3d& point) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtDist(dist, param);
  if (es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbEllipse::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startParam_, endParam_, isFull()}, param)) return Zcad::eInvalidInput;
  firstDeriv = minorVector() * std::cos(param) - majorAxis_ * std::sin(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbEllipse::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  if (!fitParamIntoRange({startParam_, endParam_, isFull()}, param)) return Zcad::eInvalidInput;
  secDeriv = -(majorAxis_ * std::cos(param) + minorVector() * std::sin(param));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                 bool extend) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint)) return Zcad::eInvalidInput;
  pointOnCurve = pointAt(closestParam(givenPoint, extend));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                                 ZcGePoint3d& pointOnCurve, bool extend) const {
  assertReadEnabled();
  if (!zcgeIsFinite(givenPoint) || !zcgeIsFinite(direction) || direction.isZeroLength())
    return Zcad::eInvalidInput;
  if (isNull()) {
    pointOnCurve = center_;
    return Zcad::eOk;
  }
  pointOnCurve =
      closestPointAlongDirection(ZcGeNurbCurve3d(geArc(extend || isFull())), givenPoint, direction);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getArea(double& area) const {
  assertReadEnabled();
  const double major = majorAxis_.length();
  area = conicSegmentArea(major, major * radiusRatio_, endParam_ - startParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::reverseCurve() {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  // With the normal flipped the minor axis turns over: the point at t is now at -t.
  const double sweep = endParam_ - startParam_;
  normal_ = -normal_;
  setParams(-endParam_, -endParam_ + sweep);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  spline = nullptr;
  if (isNull()) return Zcad::eDegenerateGeometry;
  return makeSplineForm(ZcGeNurbCurve3d(geArc(isFull())), *this, spline);
}

Zcad::ErrorStatus ZcDbEllipse::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  if (isNull()) return Zcad::eDegenerateGeometry;
  curve = new ZcGeEllipArc3d(geArc(isFull()));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  extents = ZcDbExtents();
  addConicExtents(extents, center_, majorAxis_, minorVector(), startParam_, endParam_);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::transformBy(const ZcGeMatrix3d& xform) {
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  if (isNull()) {
    if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
    center_ = xform * center_;
    return Zcad::eOk;
  }
  EllipseArc arc{center_, majorAxis_, minorVector(), startParam_, endParam_};
  if (!transformEllipseArc(xform, arc)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  center_ = arc.center;
  majorAxis_ = arc.major;
  normal_ = arc.major.crossProduct(arc.minor).normal();
  radiusRatio_ = std::fmin(1.0, arc.minor.length() / arc.major.length());
  setParams(arc.t0, arc.t1);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const {
  assertReadEnabled();
  entity = nullptr;
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  auto* copy = static_cast<ZcDbEllipse*>(clone());
  if (copy->transformBy(xform) == Zcad::eOk) {
    entity = copy;
    return Zcad::eOk;
  }
  delete copy;
  // Flat image (seen edge-on by a projection): the transformed exact spline.
  ZcDbSpline* spline = nullptr;
  const Zcad::ErrorStatus es = getSpline(spline);
  if (es != Zcad::eOk) return es;
  spline->transformBy(xform);
  entity = spline;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(center_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(center_);
  filer->writeVector3d(normal_);
  filer->writeVector3d(majorAxis_);
  filer->writeDouble(radiusRatio_);
  filer->writeDouble(startParam_);
  filer->writeDouble(endParam_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbEllipse::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d center;
  ZcGeVector3d normal, majorAxis;
  double ratio = 0.0, startParam = 0.0, endParam = 0.0;
  filer->readPoint3d(&center);
  filer->readVector3d(&normal);
  filer->readVector3d(&majorAxis);
  filer->readDouble(&ratio);
  filer->readDouble(&startParam);
  filer->readDouble(&endParam);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (!zcgeIsFinite(center) || !zcgeIsFinite(normal) || normal.isZeroLength() || !zcgeIsFinite(majorAxis) ||
      !std::isfinite(ratio) || ratio <= 0.0 || ratio > 1.0 || !std::isfinite(startParam) ||
      !std::isfinite(endParam))
    return Zcad::eFilerError;
  center_ = center;
  normal_ = normal.normal();
  majorAxis_ = majorAxis;
  radiusRatio_ = ratio;
  // Stored exactly as written: start in [0, 2*pi), end = start + sweep.
  startParam_ = startParam;
  endParam_ = endParam;
  return Zcad::eOk;
}
