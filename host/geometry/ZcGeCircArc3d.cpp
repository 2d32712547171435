#include "zcad/ge/ZcGeCircArc3d.h"

#include <algorithm>
#include <cmath>

#include "geometry/ZcGeAngles.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

ZcGeCircArc3d::ZcGeCircArc3d() = default;

ZcGeCircArc3d::ZcGeCircArc3d(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius) {
  set(center, normal, radius);
}

ZcGeCircArc3d::ZcGeCircArc3d(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                             const ZcGeVector3d& refVec, double radius, double startAngle, double endAngle) {
  set(center, normal, refVec, radius, startAngle, endAngle);
}

ZcGeCircArc3d::ZcGeCircArc3d(const ZcGePoint3d& startPoint, const ZcGePoint3d& pointOnArc,
                             const ZcGePoint3d& endPoint) {
  set(startPoint, pointOnArc, endPoint);
}

ZcGeCircArc3d& ZcGeCircArc3d::set(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius) {
  return set(center, normal, normal.perpVector(), radius, /*startAngle=*/0.0, /*endAngle=*/ZcGe::kTwoPi);
}

ZcGeCircArc3d& ZcGeCircArc3d::set(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                                  const ZcGeVector3d& refVec, double radius, double startAngle,
                                  double endAngle) {
  center_ = center;
  radius_ = radius;
  setAxes(normal, refVec);
  return setAngles(startAngle, endAngle);
}

ZcGeCircArc3d& ZcGeCircArc3d::set(const ZcGePoint3d& startPoint, const ZcGePoint3d& pointOnArc,
                                  const ZcGePoint3d& endPoint) {
  const ZcGeVector3d u = pointOnArc - startPoint, v = endPoint - startPoint;
  const ZcGeVector3d w = u.crossProduct(v);
  const double w2 = w.lengthSqrd();
  if (!(w2 > 1e-24 * u.lengthSqrd() * v.lengthSqrd()) || !(w2 > 0.0)) {
    // The degenerate case: collinear (or coincident) points have no circle through them.
    center_ = startPoint;
    normal_ = ZcGeVector3d::kZAxis;
    refVec_ = ZcGeVector3d::kXAxis;
    radius_ = 0.0;
    startAng_ = endAng_ = 0.0;
    return *this;
  }
  // Circumcenter: start + ((|u|^2 v - |v|^2 u) x (u x v)) / (2 |u x v|^2).
  const ZcGeVector3d toCenter = (v * u.lengthSqrd() - u * v.lengthSqrd()).crossProduct(w) / (2.0 * w2);
  center_ = startPoint + toCenter;
  radius_ = toCenter.length();
  normal_ = w.normal();
  refVec_ = (-toCenter).normal();
  startAng_ = 0.0;
  endAng_ = angleOf(endPoint);
  return *this;
}

ZcGeCircArc3d& ZcGeCircArc3d::setCenter(const ZcGePoint3d& center) {
  center_ = center;
  return *this;
}

ZcGeCircArc3d& ZcGeCircArc3d::setAxes(const ZcGeVector3d& normal, const ZcGeVector3d& refVec) {
  normal_ = normal.normal();
  ZcGeVector3d r = (refVec - normal_ * refVec.dotProduct(normal_)).normal();
  // A reference vector along the normal has no in-plane part: fall back to the rule's axis.
  if (r.isZeroLength()) r = normal_.perpVector();
  refVec_ = r;
  return *this;
}

ZcGeCircArc3d& ZcGeCircArc3d::setRadius(double radius) {
  radius_ = radius;
  return *this;
}

ZcGeCircArc3d& ZcGeCircArc3d::setAngles(double startAngle, double endAngle) {
  startAng_ = startAngle;
  endAng_ = zcge::normalizedEndAngle(startAngle, endAngle);
  return *this;
}

ZcGePoint3d ZcGeCircArc3d::startPoint() const { return evalPoint(startAng_); }

ZcGePoint3d ZcGeCircArc3d::endPoint() const { return evalPoint(endAng_); }

ZcGePlane ZcGeCircArc3d::getPlane() const {
  return ZcGePlane(center_, refVec_, normal_.crossProduct(refVec_));
}

double ZcGeCircArc3d::angleOf(const ZcGePoint3d& point) const {
  const ZcGeVector3d v = point - center_;
  const double a = std::atan2(v.dotProduct(normal_.crossProduct(refVec_)), v.dotProduct(refVec_));
  return zcge::angleFrom(startAng_, a);
}

bool ZcGeCircArc3d::isKindOf(ZcGe::EntityId entityType) const {
  return entityType == ZcGe::kConic3d || ZcGeCurve3d::isKindOf(entityType);
}

ZcGeCurve3d* ZcGeCircArc3d::copy() const { return new ZcGeCircArc3d(*this); }

bool ZcGeCircArc3d::isValid() const {
  // Axes are unit up to round-off of whatever made them (transforms, normalisation).
  const ZcGeTol unitTol(/*equalPoint=*/1e-9, /*equalVector=*/1e-9);
  return zcgeIsFinite(center_) && std::isfinite(radius_) && radius_ > 0.0 && normal_.isUnitLength(unitTol) &&
         refVec_.isUnitLength(unitTol) && std::isfinite(startAng_) && std::isfinite(endAng_);
}

void ZcGeCircArc3d::getInterval(ZcGeInterval& range) const { range.set(startAng_, endAng_); }

ZcGePoint3d ZcGeCircArc3d::evalPoint(double param) const {
  const ZcGeVector3d y = normal_.crossProduct(refVec_);
  return center_ + (refVec_ * std::cos(param) + y * std::sin(param)) * radius_;
}

ZcGePoint3d ZcGeCircArc3d::evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const {
  const ZcGeVector3d y = normal_.crossProduct(refVec_);
  derivArray.setLogicalLength(std::max(0, numDeriv));
  for (int k = 1; k <= numDeriv; ++k) {
    // The k-th derivative of (cos a, sin a) is (cos, sin) at a + k*pi/2.
    const double a = param + k * ZcGe::kHalfPi;
    derivArray[k - 1] = (refVec_ * std::cos(a) + y * std::sin(a)) * radius_;
  }
  return evalPoint(param);
}

double ZcGeCircArc3d::paramOf(const ZcGePoint3d& point, const ZcGeTol& /*tol*/) const {
  const ZcGeVector3d v = (point - center_).orthoProject(normal_);
  if (v.isZeroLength()) return startAng_;  // on the axis: every point of the arc is closest
  const double a = std::atan2(v.dotProduct(normal_.crossProduct(refVec_)), v.dotProduct(refVec_));
  return zcge::clampAngleToArc(startAng_, endAng_, a);
}

double ZcGeCircArc3d::length(double fromParam, double toParam, double /*tol*/) const {
  return std::fabs(toParam - fromParam) * std::fabs(radius_);
}

double ZcGeCircArc3d::paramAtLength(double datumParam, double len, bool posParamDir, double /*tol*/) const {
  if (!(radius_ > 0.0)) return std::clamp(datumParam, startAng_, endAng_);
  const double step = (posParamDir ? len : -len) / radius_;
  return std::clamp(datumParam + step, startAng_, endAng_);
}

bool ZcGeCircArc3d::isClosed(const ZcGeTol& tol) const {
  return radius_ * (ZcGe::kTwoPi - (endAng_ - startAng_)) <= tol.equalPoint();
}

bool ZcGeCircArc3d::isPlanar(ZcGePlane& plane, const ZcGeTol& /*tol*/) const {
  plane = getPlane();
  return true;
}

ZcGeCircArc3d& ZcGeCircArc3d::reverseParam() {
  normal_ = -normal_;
  const double s = startAng_;
  startAng_ = -endAng_;
  endAng_ = -s;
  return *this;
}

ZcGeCircArc3d& ZcGeCircArc3d::transformBy(const ZcGeMatrix3d& matrix) {
  const ZcGeVector3d y = normal_.crossProduct(refVec_);
  const ZcGeVector3d u = matrix * refVec_, v = matrix * y;
  const double lu = u.length(), lv = v.length();
  const bool conformal = std::fabs(lu - lv) <= 1e-10 * std::max(lu, lv) &&
                         std::fabs(u.dotProduct(v)) <= 1e-10 * lu * lv && lu > 0.0;
  if (conformal) {
    // Angles survive: the image axes are still orthogonal and of equal length. Under a mirror
    // u x v flips, and with it the normal, so the angles keep meaning the same points.
    center_ = matrix * center_;
    radius_ *= lu;
    refVec_ = u / lu;
    normal_ = u.crossProduct(v).normal();
    return *this;
  }
  // Not a circle any more: the circle through three image points (see the header).
  if (isClosed()) {
    const ZcGePoint3d p0 = matrix * evalPoint(startAng_);
    const ZcGePoint3d p1 = matrix * evalPoint(startAng_ + ZcGe::kTwoPi / 3.0);
    const ZcGePoint3d p2 = matrix * evalPoint(startAng_ + 2.0 * ZcGe::kTwoPi / 3.0);
    set(p0, p1, p2);
    return setAngles(/*startAngle=*/0.0, /*endAngle=*/ZcGe::kTwoPi);
  }
  const ZcGePoint3d p0 = matrix * startPoint(), p1 = matrix * evalPoint(0.5 * (startAng_ + endAng_)),
                    p2 = matrix * endPoint();
  return set(p0, p1, p2);
}

bool ZcGeCircArc3d::getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const {
  if (!isValid()) {
    minPoint = maxPoint = ZcGePoint3d::kOrigin;
    return false;
  }
  const ZcGePoint3d s = startPoint(), e = endPoint();
  minPoint.set(std::min(s.x, e.x), std::min(s.y, e.y), std::min(s.z, e.z));
  maxPoint.set(std::max(s.x, e.x), std::max(s.y, e.y), std::max(s.z, e.z));
  const ZcGeVector3d y = normal_.crossProduct(refVec_);
  for (int axis = 0; axis < 3; ++axis) {
    // The coordinate r*(cos a * ref[axis] + sin a * y[axis]) peaks at atan2(y, ref).
    const double a0 = std::atan2(y[axis], refVec_[axis]);
    for (double a : {a0, a0 + ZcGe::kPi}) {
      if (zcge::angleFrom(startAng_, a) > endAng_) continue;
      const ZcGePoint3d q = evalPoint(a);
      minPoint[axis] = std::min(minPoint[axis], q[axis]);
      maxPoint[axis] = std::max(maxPoint[axis], q[axis]);
    }
  }
  return true;
}
