#include "zcad/ge/ZcGeVector2d.h"

#include <cmath>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeVector3d.h"

double ZcGeVector2d::length() const { return std::sqrt(x * x + y * y); }

ZcGeVector2d ZcGeVector2d::normal(const ZcGeTol& tol) const {
  const double len = length();
  if (!(len > tol.equalVector())) return kIdentity;
  return {x / len, y / len};
}

ZcGeVector2d& ZcGeVector2d::normalize(const ZcGeTol& tol) { return *this = normal(tol); }

double ZcGeVector2d::angle() const {
  double a = std::atan2(y, x);
  if (a < 0.0) a += ZcGe::kTwoPi;
  return a >= ZcGe::kTwoPi ? 0.0 : a;
}

double ZcGeVector2d::angleTo(const ZcGeVector2d& v) const {
  return std::atan2(std::fabs(crossProduct(v)), dotProduct(v));
}

ZcGeVector2d& ZcGeVector2d::rotateBy(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return set(c * x - s * y, s * x + c * y);
}

ZcGeVector2d& ZcGeVector2d::mirror(const ZcGeVector2d& line) {
  const ZcGeVector2d u = line.normal();
  if (u.isZeroLength()) return *this;  // no line to mirror in
  const ZcGeVector2d along = u * dotProduct(u);
  return *this = along * 2.0 - *this;
}

bool ZcGeVector2d::isZeroLength(const ZcGeTol& tol) const { return length() <= tol.equalVector(); }

bool ZcGeVector2d::isUnitLength(const ZcGeTol& tol) const {
  return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool ZcGeVector2d::isParallelTo(const ZcGeVector2d& v, const ZcGeTol& tol) const {
  const ZcGeVector2d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return std::fabs(a.crossProduct(b)) <= tol.equalVector();
}

bool ZcGeVector2d::isCodirectionalTo(const ZcGeVector2d& v, const ZcGeTol& tol) const {
  const ZcGeVector2d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return (a - b).length() <= tol.equalVector();
}

bool ZcGeVector2d::isPerpendicularTo(const ZcGeVector2d& v, const ZcGeTol& tol) const {
  const ZcGeVector2d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return std::fabs(a.dotProduct(b)) <= tol.equalVector();
}

bool ZcGeVector2d::isEqualTo(const ZcGeVector2d& v, const ZcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}

ZcGeVector3d ZcGeVector2d::convert3d(double z) const { return {x, y, z}; }

bool zcgeIsFinite(const ZcGeVector2d& v) { return std::isfinite(v.x) && std::isfinite(v.y); }
