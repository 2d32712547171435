#include "zcad/ge/ZcGeCircArc2d.h"

#include <algorithm>
#include <cmath>

#include "geometry/ZcGeAngles.h"

ZcGeCircArc2d::ZcGeCircArc2d() = default;

ZcGeCircArc2d::ZcGeCircArc2d(const ZcGePoint2d& center, double radius, double startAngle, double endAngle,
                             const ZcGeVector2d& refVec, bool isClockWise) {
  set(center, radius, startAngle, endAngle, refVec, isClockWise);
}

ZcGeCircArc2d::ZcGeCircArc2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& point,
                             const ZcGePoint2d& endPoint) {
  set(startPoint, point, endPoint);
}

ZcGeCircArc2d::ZcGeCircArc2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint, double bulge,
                             bool bulgeFlag) {
  set(startPoint, endPoint, bulge, bulgeFlag);
}

ZcGeCircArc2d& ZcGeCircArc2d::set(const ZcGePoint2d& center, double radius, double startAngle,
                                  double endAngle, const ZcGeVector2d& refVec, bool isClockWise) {
  center_ = center;
  radius_ = radius;
  clockWise_ = isClockWise;
  setRefVec(refVec);
  return setAngles(startAngle, endAngle);
}

ZcGeCircArc2d& ZcGeCircArc2d::set(const ZcGePoint2d& startPoint, const ZcGePoint2d& point,
                                  const ZcGePoint2d& endPoint) {
  const ZcGeVector2d b = point - startPoint, c = endPoint - startPoint;
  const double cross = b.crossProduct(c);
  refVec_ = ZcGeVector2d::kXAxis;
  if (!(std::fabs(cross) > 1e-12 * b.length() * c.length())) {
    // The degenerate case: collinear points have no circle through them.
    center_ = startPoint;
    radius_ = 0.0;
    startAng_ = endAng_ = 0.0;
    clockWise_ = false;
    return *this;
  }
  const double d = 2.0 * cross;
  const ZcGeVector2d u((c.y * b.lengthSqrd() - b.y * c.lengthSqrd()) / d,
                       (b.x * c.lengthSqrd() - c.x * b.lengthSqrd()) / d);
  center_ = startPoint + u;
  radius_ = u.length();
  clockWise_ = cross < 0.0;
  const ZcGeVector2d p = perp();
  const ZcGeVector2d vs = startPoint - center_, ve = endPoint - center_;
  startAng_ = std::atan2(vs.dotProduct(p), vs.dotProduct(refVec_));
  endAng_ = zcge::angleFrom(startAng_, std::atan2(ve.dotProduct(p), ve.dotProduct(refVec_)));
  return *this;
}

ZcGeCircArc2d& ZcGeCircArc2d::set(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint, double bulge,
                                  bool bulgeFlag) {
  const ZcGeVector2d chord = endPoint - startPoint;
  const double d = chord.length();
  if (!bulgeFlag) {
    // `bulge` is a signed radius: the shorter arc of that radius, counter-clockwise when
    // positive. A radius below half the chord is raised to it (a half circle).
    const double r = std::fabs(bulge);
    if (!(r > 0.0) || !(d > 0.0)) {
      bulge = 0.0;
    } else {
      const double halfSweep = std::asin(std::min(1.0, d / (2.0 * r)));
      bulge = std::copysign(std::tan(0.5 * halfSweep), bulge);
    }
  }
  refVec_ = ZcGeVector2d::kXAxis;
  clockWise_ = bulge < 0.0;
  if (!(d > 0.0) || bulge == 0.0 || !std::isfinite(bulge)) {
    // The degenerate case: a straight or zero-length segment is no arc.
    center_ = startPoint;
    radius_ = 0.0;
    startAng_ = endAng_ = 0.0;
    return *this;
  }
  const ZcGeVector2d left = chord.perpVector() / d;
  center_ = startPoint + chord * 0.5 + left * (d * (1.0 - bulge * bulge) / (4.0 * bulge));
  radius_ = d * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
  const ZcGeVector2d vs = startPoint - center_;
  const ZcGeVector2d p = perp();
  startAng_ = std::atan2(vs.dotProduct(p), vs.dotProduct(refVec_));
  endAng_ = startAng_ + 4.0 * std::atan(std::fabs(bulge));
  return *this;
}

ZcGeCircArc2d& ZcGeCircArc2d::setCenter(const ZcGePoint2d& center) {
  center_ = center;
  return *this;
}

ZcGeCircArc2d& ZcGeCircArc2d::setRadius(double radius) {
  radius_ = radius;
  return *this;
}

ZcGeCircArc2d& ZcGeCircArc2d::setAngles(double startAngle, double endAngle) {
  startAng_ = startAngle;
  endAng_ = zcge::normalizedEndAngle(startAngle, endAngle);
  return *this;
}

ZcGeCircArc2d& ZcGeCircArc2d::setRefVec(const ZcGeVector2d& refVec) {
  const ZcGeVector2d u = refVec.normal();
  refVec_ = u.isZeroLength() ? ZcGeVector2d::kXAxis : u;
  return *this;
}

ZcGeVector2d ZcGeCircArc2d::perp() const {
  return clockWise_ ? ZcGeVector2d(refVec_.y, -refVec_.x) : ZcGeVector2d(-refVec_.y, refVec_.x);
}

bool ZcGeCircArc2d::isValid() const {
  return zcgeIsFinite(center_) && std::isfinite(radius_) && radius_ > 0.0 && std::isfinite(startAng_) &&
         std::isfinite(endAng_);
}

bool ZcGeCircArc2d::isClosed() const { return endAng_ - startAng_ >= ZcGe::kTwoPi - 1e-12; }

ZcGePoint2d ZcGeCircArc2d::startPoint() const { return evalPoint(startAng_); }

ZcGePoint2d ZcGeCircArc2d::endPoint() const { return evalPoint(endAng_); }

double ZcGeCircArc2d::bulge() const {
  const double b = std::tan(0.25 * (endAng_ - startAng_));
  return clockWise_ ? -b : b;
}

double ZcGeCircArc2d::length() const { return radius_ * (endAng_ - startAng_); }

void ZcGeCircArc2d::getInterval(ZcGeInterval& range) const { range.set(startAng_, endAng_); }

ZcGePoint2d ZcGeCircArc2d::evalPoint(double param) const {
  return center_ + (refVec_ * std::cos(param) + perp() * std::sin(param)) * radius_;
}

ZcGeVector2d ZcGeCircArc2d::tangent(double param) const {
  return (refVec_ * -std::sin(param) + perp() * std::cos(param)) * radius_;
}

double ZcGeCircArc2d::paramOf(const ZcGePoint2d& point) const {
  const ZcGeVector2d v = point - center_;
  if (v.isZeroLength()) return startAng_;  // the center: every point of the arc is closest
  const double a = std::atan2(v.dotProduct(perp()), v.dotProduct(refVec_));
  return zcge::clampAngleToArc(startAng_, endAng_, a);
}

ZcGePoint2d ZcGeCircArc2d::closestPointTo(const ZcGePoint2d& point) const {
  return evalPoint(paramOf(point));
}

double ZcGeCircArc2d::distanceTo(const ZcGePoint2d& point) const {
  return closestPointTo(point).distanceTo(point);
}

bool ZcGeCircArc2d::isOn(const ZcGePoint2d& point, const ZcGeTol& tol) const {
  return distanceTo(point) <= tol.equalPoint();
}

ZcGeCircArc2d& ZcGeCircArc2d::reverseParam() {
  // Same points, opposite sense: flip the turning direction and negate the angles.
  clockWise_ = !clockWise_;
  const double s = startAng_;
  startAng_ = -endAng_;
  endAng_ = -s;
  return *this;
}

void ZcGeCircArc2d::getExtents(ZcGePoint2d& minPoint, ZcGePoint2d& maxPoint) const {
  const ZcGePoint2d s = startPoint(), e = endPoint();
  minPoint.set(std::min(s.x, e.x), std::min(s.y, e.y));
  maxPoint.set(std::max(s.x, e.x), std::max(s.y, e.y));
  const ZcGeVector2d p = perp();
  for (int axis = 0; axis < 2; ++axis) {
    // The coordinate r*(cos a * ref[axis] + sin a * perp[axis]) peaks at atan2(perp, ref).
    const double a0 = std::atan2(p[axis], refVec_[axis]);
    for (double a : {a0, a0 + ZcGe::kPi}) {
      if (zcge::angleFrom(startAng_, a) > endAng_) continue;
      const ZcGePoint2d q = evalPoint(a);
      minPoint[axis] = std::min(minPoint[axis], q[axis]);
      maxPoint[axis] = std::max(maxPoint[axis], q[axis]);
    }
  }
}
