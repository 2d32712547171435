#include "zcad/ge/ZcGeLineSeg3d.h"

#include <algorithm>
#include <cmath>

#include "zcad/ge/ZcGeMatrix3d.h"

ZcGeLineSeg3d::ZcGeLineSeg3d() : end_(1.0, 0.0, 0.0) {}

ZcGeLineSeg3d::ZcGeLineSeg3d(const ZcGePoint3d& startPoint, const ZcGePoint3d& endPoint)
    : start_(startPoint), end_(endPoint) {}

ZcGeLineSeg3d::ZcGeLineSeg3d(const ZcGePoint3d& point, const ZcGeVector3d& vector)
    : start_(point), end_(point + vector) {}

ZcGeLineSeg3d& ZcGeLineSeg3d::set(const ZcGePoint3d& startPoint, const ZcGePoint3d& endPoint) {
  start_ = startPoint;
  end_ = endPoint;
  return *this;
}

ZcGeLineSeg3d& ZcGeLineSeg3d::set(const ZcGePoint3d& point, const ZcGeVector3d& vector) {
  return set(point, point + vector);
}

ZcGePoint3d ZcGeLineSeg3d::midPoint() const { return start_ + (end_ - start_) * 0.5; }

ZcGeVector3d ZcGeLineSeg3d::direction() const { return (end_ - start_).normal(); }

bool ZcGeLineSeg3d::isParallelTo(const ZcGeLineSeg3d& other, const ZcGeTol& tol) const {
  return delta().isParallelTo(other.delta(), tol);
}

bool ZcGeLineSeg3d::intersectWith(const ZcGeLineSeg3d& other, ZcGePoint3d& result, const ZcGeTol& tol) const {
  const ZcGeVector3d d1 = delta(), d2 = other.delta(), r = start_ - other.start_;
  const double a = d1.lengthSqrd(), e = d2.lengthSqrd(), b = d1.dotProduct(d2);
  const double c = d1.dotProduct(r), f = d2.dotProduct(r);
  const double denom = a * e - b * b;
  if (!(a > 0.0) || !(e > 0.0) || !(denom > tol.equalVector() * tol.equalVector() * a * e)) return false;
  // Closest points of the two carrier lines.
  const double s = (b * f - c * e) / denom, t = (a * f - b * c) / denom;
  const double slack1 = tol.equalPoint() / std::sqrt(a), slack2 = tol.equalPoint() / std::sqrt(e);
  if (s < -slack1 || s > 1.0 + slack1 || t < -slack2 || t > 1.0 + slack2) return false;
  const ZcGePoint3d p1 = start_ + d1 * s, p2 = other.start_ + d2 * t;
  if (!(p1.distanceTo(p2) <= tol.equalPoint())) return false;
  result = p1 + (p2 - p1) * 0.5;
  return true;
}

bool ZcGeLineSeg3d::isKindOf(ZcGe::EntityId entityType) const {
  return entityType == ZcGe::kLinearEnt3d || ZcGeCurve3d::isKindOf(entityType);
}

ZcGeCurve3d* ZcGeLineSeg3d::copy() const { return new ZcGeLineSeg3d(*this); }

bool ZcGeLineSeg3d::isValid() const { return zcgeIsFinite(start_) && zcgeIsFinite(end_); }

void ZcGeLineSeg3d::getInterval(ZcGeInterval& range) const { range.set(0.0, 1.0); }

ZcGePoint3d ZcGeLineSeg3d::evalPoint(double param) const { return start_ + (end_ - start_) * param; }

ZcGePoint3d ZcGeLineSeg3d::evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const {
  derivArray.setLogicalLength(std::max(0, numDeriv));
  for (int k = 0; k < numDeriv; ++k) derivArray[k] = k == 0 ? delta() : ZcGeVector3d::kIdentity;
  return evalPoint(param);
}

double ZcGeLineSeg3d::paramOf(const ZcGePoint3d& point, const ZcGeTol& /*tol*/) const {
  const ZcGeVector3d d = delta();
  const double len2 = d.lengthSqrd();
  if (!(len2 > 0.0)) return 0.0;  // zero-length segment: every point projects to its start
  return std::clamp((point - start_).dotProduct(d) / len2, 0.0, 1.0);
}

double ZcGeLineSeg3d::length(double fromParam, double toParam, double /*tol*/) const {
  return std::fabs(toParam - fromParam) * delta().length();
}

double ZcGeLineSeg3d::paramAtLength(double datumParam, double len, bool posParamDir, double /*tol*/) const {
  const double total = delta().length();
  if (!(total > 0.0)) return std::clamp(datumParam, 0.0, 1.0);
  const double step = (posParamDir ? len : -len) / total;
  return std::clamp(datumParam + step, 0.0, 1.0);
}

bool ZcGeLineSeg3d::isClosed(const ZcGeTol& tol) const { return start_.isEqualTo(end_, tol); }

ZcGeLineSeg3d& ZcGeLineSeg3d::reverseParam() {
  std::swap(start_, end_);
  return *this;
}

ZcGeLineSeg3d& ZcGeLineSeg3d::transformBy(const ZcGeMatrix3d& matrix) {
  start_ = matrix * start_;
  end_ = matrix * end_;
  return *this;
}

bool ZcGeLineSeg3d::getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const {
  if (!isValid()) {
    minPoint = maxPoint = ZcGePoint3d::kOrigin;
    return false;
  }
  minPoint.set(std::min(start_.x, end_.x), std::min(start_.y, end_.y), std::min(start_.z, end_.z));
  maxPoint.set(std::max(start_.x, end_.x), std::max(start_.y, end_.y), std::max(start_.z, end_.z));
  return true;
}
