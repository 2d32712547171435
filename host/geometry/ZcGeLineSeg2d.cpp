#include "zcad/ge/ZcGeLineSeg2d.h"

#include <algorithm>
#include <cmath>
#include <utility>

ZcGeLineSeg2d::ZcGeLineSeg2d() : end_(1.0, 0.0) {}

ZcGeLineSeg2d::ZcGeLineSeg2d(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint)
    : start_(startPoint), end_(endPoint) {}

ZcGeLineSeg2d::ZcGeLineSeg2d(const ZcGePoint2d& point, const ZcGeVector2d& vector)
    : start_(point), end_(point + vector) {}

ZcGeLineSeg2d& ZcGeLineSeg2d::set(const ZcGePoint2d& startPoint, const ZcGePoint2d& endPoint) {
  start_ = startPoint;
  end_ = endPoint;
  return *this;
}

bool ZcGeLineSeg2d::isValid() const { return zcgeIsFinite(start_) && zcgeIsFinite(end_); }

ZcGePoint2d ZcGeLineSeg2d::midPoint() const { return start_ + delta() * 0.5; }

ZcGeVector2d ZcGeLineSeg2d::direction() const { return delta().normal(); }

double ZcGeLineSeg2d::length() const { return delta().length(); }

void ZcGeLineSeg2d::getInterval(ZcGeInterval& range) const { range.set(0.0, 1.0); }

ZcGePoint2d ZcGeLineSeg2d::evalPoint(double param) const { return start_ + delta() * param; }

double ZcGeLineSeg2d::paramOf(const ZcGePoint2d& point) const {
  const ZcGeVector2d d = delta();
  const double len2 = d.lengthSqrd();
  if (!(len2 > 0.0)) return 0.0;  // zero-length segment
  return std::clamp((point - start_).dotProduct(d) / len2, 0.0, 1.0);
}

ZcGePoint2d ZcGeLineSeg2d::closestPointTo(const ZcGePoint2d& point) const {
  return evalPoint(paramOf(point));
}

double ZcGeLineSeg2d::distanceTo(const ZcGePoint2d& point) const {
  return closestPointTo(point).distanceTo(point);
}

bool ZcGeLineSeg2d::isOn(const ZcGePoint2d& point, const ZcGeTol& tol) const {
  return distanceTo(point) <= tol.equalPoint();
}

bool ZcGeLineSeg2d::intersectWith(const ZcGeLineSeg2d& other, ZcGePoint2d& result, const ZcGeTol& tol) const {
  const ZcGeVector2d d1 = delta(), d2 = other.delta(), r = other.start_ - start_;
  const double denom = d1.crossProduct(d2);
  const double l1 = d1.length(), l2 = d2.length();
  if (!(l1 > 0.0) || !(l2 > 0.0) || !(std::fabs(denom) > tol.equalVector() * l1 * l2)) return false;
  const double s = r.crossProduct(d2) / denom, t = r.crossProduct(d1) / denom;
  const double slack1 = tol.equalPoint() / l1, slack2 = tol.equalPoint() / l2;
  if (s < -slack1 || s > 1.0 + slack1 || t < -slack2 || t > 1.0 + slack2) return false;
  result = start_ + d1 * s;
  return true;
}

ZcGeLineSeg2d& ZcGeLineSeg2d::reverseParam() {
  std::swap(start_, end_);
  return *this;
}

void ZcGeLineSeg2d::getExtents(ZcGePoint2d& minPoint, ZcGePoint2d& maxPoint) const {
  minPoint.set(std::min(start_.x, end_.x), std::min(start_.y, end_.y));
  maxPoint.set(std::max(start_.x, end_.x), std::max(start_.y, end_.y));
}
