#include "zcad/ge/ZcGePlane.h"

#include <cmath>

#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeMatrix3d.h"

ZcGePlane::ZcGePlane(const ZcGePoint3d& origin, const ZcGeVector3d& normal) { set(origin, normal); }

ZcGePlane::ZcGePlane(const ZcGePoint3d& pntU, const ZcGePoint3d& origin, const ZcGePoint3d& pntV) {
  set(pntU, origin, pntV);
}

ZcGePlane::ZcGePlane(const ZcGePoint3d& origin, const ZcGeVector3d& uAxis, const ZcGeVector3d& vAxis) {
  set(origin, uAxis, vAxis);
}

ZcGePlane::ZcGePlane(double a, double b, double c, double d) { set(a, b, c, d); }

ZcGePlane& ZcGePlane::set(const ZcGePoint3d& origin, const ZcGeVector3d& normal) {
  origin_ = origin;
  normal_ = normal.normal();
  if (normal_.isZeroLength()) {
    // The degenerate case: no normal. Keep world axes so that queries stay finite.
    uAxis_ = ZcGeVector3d::kXAxis;
    vAxis_ = ZcGeVector3d::kYAxis;
    return *this;
  }
  uAxis_ = normal_.perpVector();
  vAxis_ = normal_.crossProduct(uAxis_);
  return *this;
}

ZcGePlane& ZcGePlane::set(const ZcGePoint3d& pntU, const ZcGePoint3d& origin, const ZcGePoint3d& pntV) {
  return set(origin, pntU - origin, pntV - origin);
}

ZcGePlane& ZcGePlane::set(const ZcGePoint3d& origin, const ZcGeVector3d& uAxis, const ZcGeVector3d& vAxis) {
  origin_ = origin;
  const ZcGeVector3d u = uAxis.normal();
  const ZcGeVector3d n = uAxis.crossProduct(vAxis).normal();
  if (u.isZeroLength() || n.isZeroLength()) {
    // The degenerate case: parallel or zero axes span no plane.
    normal_ = ZcGeVector3d::kIdentity;
    uAxis_ = ZcGeVector3d::kXAxis;
    vAxis_ = ZcGeVector3d::kYAxis;
    return *this;
  }
  normal_ = n;
  uAxis_ = u;
  vAxis_ = n.crossProduct(u);
  return *this;
}

ZcGePlane& ZcGePlane::set(double a, double b, double c, double d) {
  const ZcGeVector3d n(a, b, c);
  const double len2 = n.lengthSqrd();
  if (!(len2 > 0.0) || !std::isfinite(len2)) return set(ZcGePoint3d::kOrigin, ZcGeVector3d::kIdentity);
  return set(ZcGePoint3d::kOrigin + n * (-d / len2), n);
}

bool ZcGePlane::isValid() const {
  return normal_.isUnitLength(ZcGeTol(/*equalPoint=*/1e-9, /*equalVector=*/1e-9)) && zcgeIsFinite(origin_);
}

void ZcGePlane::get(ZcGePoint3d& origin, ZcGeVector3d& uAxis, ZcGeVector3d& vAxis) const {
  origin = origin_;
  uAxis = uAxis_;
  vAxis = vAxis_;
}

void ZcGePlane::get(ZcGePoint3d& pntU, ZcGePoint3d& origin, ZcGePoint3d& pntV) const {
  origin = origin_;
  pntU = origin_ + uAxis_;
  pntV = origin_ + vAxis_;
}

void ZcGePlane::getCoefficients(double& a, double& b, double& c, double& d) const {
  a = normal_.x;
  b = normal_.y;
  c = normal_.z;
  d = -normal_.dotProduct(origin_.asVector());
}

double ZcGePlane::signedDistanceTo(const ZcGePoint3d& point) const {
  return (point - origin_).dotProduct(normal_);
}

double ZcGePlane::distanceTo(const ZcGePoint3d& point) const { return std::fabs(signedDistanceTo(point)); }

ZcGePoint3d ZcGePlane::closestPointTo(const ZcGePoint3d& point) const {
  return point - normal_ * signedDistanceTo(point);
}

bool ZcGePlane::isOn(const ZcGePoint3d& point, const ZcGeTol& tol) const {
  return distanceTo(point) <= tol.equalPoint();
}

bool ZcGePlane::isParallelTo(const ZcGePlane& other, const ZcGeTol& tol) const {
  return normal_.isParallelTo(other.normal_, tol);
}

bool ZcGePlane::isCoplanarTo(const ZcGePlane& other, const ZcGeTol& tol) const {
  return isParallelTo(other, tol) && isOn(other.origin_, tol);
}

bool ZcGePlane::intersectWith(const ZcGeLineSeg3d& segment, ZcGePoint3d& result, const ZcGeTol& tol) const {
  ZcGePoint3d hit;
  if (!intersectWith(segment.startPoint(), segment.delta(), hit, tol)) return false;
  // On the segment: within tol of its extent.
  const ZcGeVector3d d = segment.delta();
  const double t = (hit - segment.startPoint()).dotProduct(d) / d.lengthSqrd();
  const double slack = tol.equalPoint() / d.length();
  if (t < -slack || t > 1.0 + slack) return false;
  result = hit;
  return true;
}

bool ZcGePlane::intersectWith(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir, ZcGePoint3d& result,
                              const ZcGeTol& tol) const {
  const ZcGeVector3d d = lineDir.normal(tol);
  const double dn = d.dotProduct(normal_);
  if (d.isZeroLength() || std::fabs(dn) <= tol.equalVector()) return false;
  result = linePoint - d * (signedDistanceTo(linePoint) / dn);
  return true;
}

bool ZcGePlane::intersectWith(const ZcGePlane& other, ZcGePoint3d& linePoint, ZcGeVector3d& lineDir,
                              const ZcGeTol& tol) const {
  const ZcGeVector3d dir = normal_.crossProduct(other.normal_);
  if (dir.length() <= tol.equalVector()) return false;
  const ZcGeVector3d n1 = normal_, n2 = other.normal_;
  const double h1 = n1.dotProduct(origin_.asVector()), h2 = n2.dotProduct(other.origin_.asVector());
  const double c = n1.dotProduct(n2);
  const double det = 1.0 - c * c;
  const double a = (h1 - h2 * c) / det, b = (h2 - h1 * c) / det;
  linePoint = ZcGePoint3d::kOrigin + n1 * a + n2 * b;
  lineDir = dir.normal();
  return true;
}

bool ZcGePlane::projectPoint(const ZcGePoint3d& point, const ZcGeVector3d& dir, ZcGePoint3d& result,
                             const ZcGeTol& tol) const {
  return intersectWith(point, dir, result, tol);
}

ZcGePlane& ZcGePlane::transformBy(const ZcGeMatrix3d& matrix) {
  // Axes rather than the normal transform: under a mirror the normal (u x v) flips with them.
  return set(matrix * origin_, matrix * uAxis_, matrix * vAxis_);
}

ZcGePlane& ZcGePlane::reverseNormal() {
  normal_ = -normal_;
  vAxis_ = -vAxis_;
  return *this;
}
