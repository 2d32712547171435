#include "zcad/ge/ZcGeVector3d.h"

#include <cmath>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

ZcGeVector3d::ZcGeVector3d(const ZcGePlane& plane, const ZcGeVector2d& vector2d) {
  *this = plane.uAxis() * vector2d.x + plane.vAxis() * vector2d.y;
}

ZcGeVector3d& ZcGeVector3d::setToProduct(const ZcGeMatrix3d& matrix, const ZcGeVector3d& v) {
  return *this = matrix * v;
}

double ZcGeVector3d::length() const { return std::sqrt(x * x + y * y + z * z); }

ZcGeVector3d ZcGeVector3d::normal(const ZcGeTol& tol) const {
  const double len = length();
  // The degenerate case: a (near) zero vector has no direction and stays zero.
  if (!(len > tol.equalVector())) return kIdentity;
  return {x / len, y / len, z / len};
}

ZcGeVector3d& ZcGeVector3d::normalize(const ZcGeTol& tol) { return *this = normal(tol); }

ZcGeVector3d ZcGeVector3d::perpVector() const {
  const ZcGeVector3d n = normal();
  if (n.isZeroLength()) return kIdentity;
  // The drawing format's arbitrary-axis rule: near the z axis take Y x N, otherwise Z x N.
  constexpr double kLimit = 1.0 / 64.0;
  const ZcGeVector3d ax =
      (std::fabs(n.x) < kLimit && std::fabs(n.y) < kLimit) ? kYAxis.crossProduct(n) : kZAxis.crossProduct(n);
  return ax.normal();
}

double ZcGeVector3d::angleTo(const ZcGeVector3d& v) const {
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double ZcGeVector3d::angleTo(const ZcGeVector3d& v, const ZcGeVector3d& refVec) const {
  const ZcGeVector3d c = crossProduct(v);
  double a = std::atan2(c.length(), dotProduct(v));
  if (c.dotProduct(refVec) < 0.0) a = ZcGe::kTwoPi - a;
  return a >= ZcGe::kTwoPi ? 0.0 : a;
}

double ZcGeVector3d::angleOnPlane(const ZcGePlane& plane) const {
  double a = std::atan2(dotProduct(plane.vAxis()), dotProduct(plane.uAxis()));
  if (a < 0.0) a += ZcGe::kTwoPi;
  return a >= ZcGe::kTwoPi ? 0.0 : a;
}

ZcGeVector3d& ZcGeVector3d::rotateBy(double angle, const ZcGeVector3d& axis) {
  const ZcGeVector3d k = axis.normal();
  if (k.isZeroLength()) return *this;  // no axis: nothing to rotate about
  const double c = std::cos(angle), s = std::sin(angle);
  // Rodrigues' rotation formula.
  return *this = *this * c + k.crossProduct(*this) * s + k * (k.dotProduct(*this) * (1.0 - c));
}

ZcGeVector3d& ZcGeVector3d::mirror(const ZcGeVector3d& planeNormal) {
  const ZcGeVector3d n = planeNormal.normal();
  return *this -= n * (2.0 * dotProduct(n));
}

ZcGeVector3d& ZcGeVector3d::transformBy(const ZcGeMatrix3d& matrix) { return *this = matrix * *this; }

ZcGeVector3d ZcGeVector3d::orthoProject(const ZcGeVector3d& planeNormal) const {
  const ZcGeVector3d n = planeNormal.normal();
  return *this - n * dotProduct(n);
}

int ZcGeVector3d::largestElement() const {
  const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  if (ax >= ay && ax >= az) return 0;
  return ay >= az ? 1 : 2;
}

bool ZcGeVector3d::isZeroLength(const ZcGeTol& tol) const { return length() <= tol.equalVector(); }

bool ZcGeVector3d::isUnitLength(const ZcGeTol& tol) const {
  return std::fabs(length() - 1.0) <= tol.equalVector();
}

bool ZcGeVector3d::isParallelTo(const ZcGeVector3d& v, const ZcGeTol& tol) const {
  const ZcGeVector3d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return a.crossProduct(b).length() <= tol.equalVector();
}

bool ZcGeVector3d::isCodirectionalTo(const ZcGeVector3d& v, const ZcGeTol& tol) const {
  const ZcGeVector3d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return (a - b).length() <= tol.equalVector();
}

bool ZcGeVector3d::isPerpendicularTo(const ZcGeVector3d& v, const ZcGeTol& tol) const {
  const ZcGeVector3d a = normal(tol), b = v.normal(tol);
  if (a.isZeroLength() || b.isZeroLength()) return false;
  return std::fabs(a.dotProduct(b)) <= tol.equalVector();
}

bool ZcGeVector3d::isEqualTo(const ZcGeVector3d& v, const ZcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}

ZcGeVector2d ZcGeVector3d::convert2d(const ZcGePlane& plane) const {
  return {dotProduct(plane.uAxis()), dotProduct(plane.vAxis())};
}

ZcGeVector3d operator*(const ZcGeMatrix3d& m, const ZcGeVector3d& v) {
  const auto& e = m.entry;
  return {e[0][0] * v.x + e[0][1] * v.y + e[0][2] * v.z, e[1][0] * v.x + e[1][1] * v.y + e[1][2] * v.z,
          e[2][0] * v.x + e[2][1] * v.y + e[2][2] * v.z};
}

bool zcgeIsFinite(const ZcGeVector3d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
