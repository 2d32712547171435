#include "zcad/ge/ZcGeEllipArc3d.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/ZcGeAngles.h"
#include "geometry/ZcGeGaussLegendre.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

// Relative accuracy of the numeric arc length (better than the promised 1e-9).
constexpr double kLengthRelTol = 1e-12;

// Whole turns k with value + 2*pi*k nearest to `reference`.
double nearestTurn(double value, double reference) {
  return value + ZcGe::kTwoPi * std::round((reference - value) / ZcGe::kTwoPi);
}

}  // namespace

ZcGeEllipArc3d::ZcGeEllipArc3d() = default;

ZcGeEllipArc3d::ZcGeEllipArc3d(const ZcGeCircArc3d& arc) { set(arc); }

ZcGeEllipArc3d::ZcGeEllipArc3d(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis,
                               const ZcGeVector3d& minorAxis, double majorRadius, double minorRadius) {
  set(center, majorAxis, minorAxis, majorRadius, minorRadius);
}

ZcGeEllipArc3d::ZcGeEllipArc3d(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis,
                               const ZcGeVector3d& minorAxis, double majorRadius, double minorRadius,
                               double startAngle, double endAngle) {
  set(center, majorAxis, minorAxis, majorRadius, minorRadius, startAngle, endAngle);
}

ZcGeEllipArc3d& ZcGeEllipArc3d::set(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis,
                                    const ZcGeVector3d& minorAxis, double majorRadius, double minorRadius) {
  return set(center, majorAxis, minorAxis, majorRadius, minorRadius, /*startAngle=*/0.0,
             /*endAngle=*/ZcGe::kTwoPi);
}

ZcGeEllipArc3d& ZcGeEllipArc3d::set(const ZcGePoint3d& center, const ZcGeVector3d& majorAxis,
                                    const ZcGeVector3d& minorAxis, double majorRadius, double minorRadius,
                                    double startAngle, double endAngle) {
  center_ = center;
  majorRadius_ = majorRadius;
  minorRadius_ = minorRadius;
  setAxes(majorAxis, minorAxis);
  return setAngles(startAngle, endAngle);
}

ZcGeEllipArc3d& ZcGeEllipArc3d::set(const ZcGeCircArc3d& arc) {
  return set(arc.center(), arc.refVec(), arc.normal().crossProduct(arc.refVec()), arc.radius(), arc.radius(),
             arc.startAng(), arc.endAng());
}

ZcGeEllipArc3d& ZcGeEllipArc3d::setCenter(const ZcGePoint3d& center) {
  center_ = center;
  return *this;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::setAxes(const ZcGeVector3d& majorAxis, const ZcGeVector3d& minorAxis) {
  majorAxis_ = majorAxis.normal();
  // Zero when the minor axis is parallel to the major one (the ellipse is then invalid).
  minorAxis_ = (minorAxis - majorAxis_ * minorAxis.dotProduct(majorAxis_)).normal();
  return *this;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::setMajorRadius(double radius) {
  majorRadius_ = radius;
  return *this;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::setMinorRadius(double radius) {
  minorRadius_ = radius;
  return *this;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::setAngles(double startAngle, double endAngle) {
  startAng_ = startAngle;
  endAng_ = zcge::normalizedEndAngle(startAngle, endAngle);
  return *this;
}

double ZcGeEllipArc3d::radiusRatio() const { return majorRadius_ != 0.0 ? minorRadius_ / majorRadius_ : 0.0; }

ZcGeVector3d ZcGeEllipArc3d::normal() const { return majorAxis_.crossProduct(minorAxis_); }

ZcGePoint3d ZcGeEllipArc3d::startPoint() const { return evalPoint(startAng_); }

ZcGePoint3d ZcGeEllipArc3d::endPoint() const { return evalPoint(endAng_); }

bool ZcGeEllipArc3d::isCircular(const ZcGeTol& tol) const {
  return std::fabs(majorRadius_ - minorRadius_) <= tol.equalPoint();
}

ZcGePlane ZcGeEllipArc3d::getPlane() const { return ZcGePlane(center_, majorAxis_, minorAxis_); }

double ZcGeEllipArc3d::angleAtParam(double param) const {
  const double a = std::atan2(minorRadius_ * std::sin(param), majorRadius_ * std::cos(param));
  // Same quadrant as the parameter, so the nearest turn is the right one.
  return nearestTurn(a, param);
}

double ZcGeEllipArc3d::paramAtAngle(double angle) const {
  const double t = std::atan2(majorRadius_ * std::sin(angle), minorRadius_ * std::cos(angle));
  return nearestTurn(t, angle);
}

bool ZcGeEllipArc3d::isKindOf(ZcGe::EntityId entityType) const {
  return entityType == ZcGe::kConic3d || ZcGeCurve3d::isKindOf(entityType);
}

ZcGeCurve3d* ZcGeEllipArc3d::copy() const { return new ZcGeEllipArc3d(*this); }

bool ZcGeEllipArc3d::isValid() const {
  const ZcGeTol unitTol(/*equalPoint=*/1e-9, /*equalVector=*/1e-9);
  return zcgeIsFinite(center_) && std::isfinite(majorRadius_) && std::isfinite(minorRadius_) &&
         majorRadius_ > 0.0 && minorRadius_ > 0.0 && majorAxis_.isUnitLength(unitTol) &&
         minorAxis_.isUnitLength(unitTol) && std::isfinite(startAng_) && std::isfinite(endAng_);
}

void ZcGeEllipArc3d::getInterval(ZcGeInterval& range) const { range.set(startAng_, endAng_); }

ZcGePoint3d ZcGeEllipArc3d::evalPoint(double param) const {
  return center_ + majorAxis_ * (majorRadius_ * std::cos(param)) +
         minorAxis_ * (minorRadius_ * std::sin(param));
}

ZcGePoint3d ZcGeEllipArc3d::evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const {
  derivArray.setLogicalLength(std::max(0, numDeriv));
  for (int k = 1; k <= numDeriv; ++k) {
    const double a = param + k * ZcGe::kHalfPi;
    derivArray[k - 1] = majorAxis_ * (majorRadius_ * std::cos(a)) + minorAxis_ * (minorRadius_ * std::sin(a));
  }
  return evalPoint(param);
}

double ZcGeEllipArc3d::paramOf(const ZcGePoint3d& point, const ZcGeTol& /*tol*/) const {
  if (!isValid()) return startAng_;
  // Pieces split at the quadrant ends, where the closest-point function changes character.
  ZcGeDoubleArray breaks;
  breaks.append(startAng_);
  for (double q = std::ceil(startAng_ / ZcGe::kHalfPi) * ZcGe::kHalfPi; q < endAng_; q += ZcGe::kHalfPi)
    if (q > startAng_) breaks.append(q);
  breaks.append(endAng_);
  if (!(endAng_ > startAng_)) return startAng_;
  return numericClosestParam(point, breaks, /*samplesPerPiece=*/16);
}

double ZcGeEllipArc3d::length(double fromParam, double toParam, double /*tol*/) const {
  if (!isValid()) return 0.0;
  if (fromParam > toParam) std::swap(fromParam, toParam);
  const double a = majorRadius_, b = minorRadius_;
  if (std::fabs(a - b) <= 1e-15 * a) return (toParam - fromParam) * a;  // a circle
  auto speed = [a, b](double t) {
    const double s = std::sin(t), c = std::cos(t);
    return std::sqrt(a * a * s * s + b * b * c * c);
  };
  // Quadrant boundaries as break points: the integrand is smooth, but its curvature
  // concentrates near the ends of the major axis for flat ellipses.
  double total = 0.0, from = fromParam;
  const double absTol = 1e-16 * a * (toParam - fromParam);
  for (double q = std::floor(fromParam / ZcGe::kHalfPi + 1.0) * ZcGe::kHalfPi; q < toParam;
       q += ZcGe::kHalfPi) {
    total += zcge::integrateAdaptive(speed, from, q, kLengthRelTol, absTol);
    from = q;
  }
  return total + zcge::integrateAdaptive(speed, from, toParam, kLengthRelTol, absTol);
}

double ZcGeEllipArc3d::paramAtLength(double datumParam, double len, bool posParamDir, double tol) const {
  return ZcGeCurve3d::paramAtLength(datumParam, len, posParamDir, tol);
}

bool ZcGeEllipArc3d::isClosed(const ZcGeTol& tol) const {
  return majorRadius_ * (ZcGe::kTwoPi - (endAng_ - startAng_)) <= tol.equalPoint();
}

bool ZcGeEllipArc3d::isPlanar(ZcGePlane& plane, const ZcGeTol& /*tol*/) const {
  plane = getPlane();
  return true;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::reverseParam() {
  minorAxis_ = -minorAxis_;
  const double s = startAng_;
  startAng_ = -endAng_;
  endAng_ = -s;
  return *this;
}

ZcGeEllipArc3d& ZcGeEllipArc3d::transformBy(const ZcGeMatrix3d& matrix) {
  // The images of the two semi-axes are conjugate semi-diameters u, v of the new ellipse:
  // r(t) = u cos t + v sin t. Its principal axes are r(t0) and r(t0 + pi/2) with
  // tan(2 t0) = 2 u.v / (|u|^2 - |v|^2); the parameter shifts by t0.
  const ZcGeVector3d u = matrix * (majorAxis_ * majorRadius_);
  const ZcGeVector3d v = matrix * (minorAxis_ * minorRadius_);
  double t0 = 0.5 * std::atan2(2.0 * u.dotProduct(v), u.lengthSqrd() - v.lengthSqrd());
  ZcGeVector3d a = u * std::cos(t0) + v * std::sin(t0);
  ZcGeVector3d b = v * std::cos(t0) - u * std::sin(t0);
  if (a.lengthSqrd() < b.lengthSqrd()) {
    // atan2 picked the minor direction: move a quarter turn on.
    t0 += ZcGe::kHalfPi;
    const ZcGeVector3d oldA = a;
    a = b;
    b = -oldA;
  }
  center_ = matrix * center_;
  majorRadius_ = a.length();
  minorRadius_ = b.length();
  majorAxis_ = a.normal();
  minorAxis_ = b.normal();
  startAng_ -= t0;
  endAng_ -= t0;
  return *this;
}

bool ZcGeEllipArc3d::getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const {
  if (!isValid()) {
    minPoint = maxPoint = ZcGePoint3d::kOrigin;
    return false;
  }
  const ZcGePoint3d s = startPoint(), e = endPoint();
  minPoint.set(std::min(s.x, e.x), std::min(s.y, e.y), std::min(s.z, e.z));
  maxPoint.set(std::max(s.x, e.x), std::max(s.y, e.y), std::max(s.z, e.z));
  for (int axis = 0; axis < 3; ++axis) {
    // The coordinate a*cos t*X[axis] + b*sin t*Y[axis] peaks at atan2(b*Y, a*X).
    const double t0 = std::atan2(minorRadius_ * minorAxis_[axis], majorRadius_ * majorAxis_[axis]);
    for (double t : {t0, t0 + ZcGe::kPi}) {
      if (zcge::angleFrom(startAng_, t) > endAng_) continue;
      const ZcGePoint3d q = evalPoint(t);
      minPoint[axis] = std::min(minPoint[axis], q[axis]);
      maxPoint[axis] = std::max(maxPoint[axis], q[axis]);
    }
  }
  return true;
}
