#include "zcad/ge/ZcGePoint3d.h"

#include <cmath>

#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

ZcGePoint3d::ZcGePoint3d(const ZcGePlane& plane, const ZcGePoint2d& point2d) {
  *this = plane.pointOnPlane() + plane.uAxis() * point2d.x + plane.vAxis() * point2d.y;
}

ZcGePoint3d& ZcGePoint3d::setToProduct(const ZcGeMatrix3d& matrix, const ZcGePoint3d& p) {
  return *this = matrix * p;
}

double ZcGePoint3d::distanceTo(const ZcGePoint3d& p) const { return (*this - p).length(); }

ZcGePoint3d& ZcGePoint3d::rotateBy(double angle, const ZcGeVector3d& axis, const ZcGePoint3d& center) {
  return *this = center + (*this - center).rotateBy(angle, axis);
}

ZcGePoint3d& ZcGePoint3d::scaleBy(double factor, const ZcGePoint3d& center) {
  return *this = center + (*this - center) * factor;
}

ZcGePoint3d& ZcGePoint3d::mirror(const ZcGePlane& plane) {
  return *this -= plane.normal() * (2.0 * plane.signedDistanceTo(*this));
}

ZcGePoint3d& ZcGePoint3d::transformBy(const ZcGeMatrix3d& matrix) { return *this = matrix * *this; }

ZcGePoint3d ZcGePoint3d::orthoProject(const ZcGePlane& plane) const { return plane.closestPointTo(*this); }

ZcGePoint3d ZcGePoint3d::project(const ZcGePlane& plane, const ZcGeVector3d& dir) const {
  ZcGePoint3d result;
  return plane.projectPoint(*this, dir, result) ? result : *this;
}

bool ZcGePoint3d::isEqualTo(const ZcGePoint3d& p, const ZcGeTol& tol) const {
  return distanceTo(p) <= tol.equalPoint();
}

ZcGePoint2d ZcGePoint3d::convert2d(const ZcGePlane& plane) const {
  const ZcGeVector3d d = *this - plane.pointOnPlane();
  return {d.dotProduct(plane.uAxis()), d.dotProduct(plane.vAxis())};
}

ZcGePoint3d operator*(const ZcGeMatrix3d& m, const ZcGePoint3d& p) {
  const auto& e = m.entry;
  ZcGePoint3d r(e[0][0] * p.x + e[0][1] * p.y + e[0][2] * p.z + e[0][3],
                e[1][0] * p.x + e[1][1] * p.y + e[1][2] * p.z + e[1][3],
                e[2][0] * p.x + e[2][1] * p.y + e[2][2] * p.z + e[2][3]);
  const double w = e[3][0] * p.x + e[3][1] * p.y + e[3][2] * p.z + e[3][3];
  // Projective matrices: divide by w unless the point maps to infinity (then keep it finite).
  if (w != 1.0 && w != 0.0) r = ZcGePoint3d(r.x / w, r.y / w, r.z / w);
  return r;
}

bool zcgeIsFinite(const ZcGePoint3d& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
