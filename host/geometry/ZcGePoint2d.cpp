#include "zcad/ge/ZcGePoint2d.h"

#include <cmath>

#include "zcad/ge/ZcGePoint3d.h"

double ZcGePoint2d::distanceTo(const ZcGePoint2d& p) const { return (*this - p).length(); }

ZcGePoint2d& ZcGePoint2d::rotateBy(double angle, const ZcGePoint2d& center) {
  return *this = center + (*this - center).rotateBy(angle);
}

ZcGePoint2d& ZcGePoint2d::scaleBy(double factor, const ZcGePoint2d& center) {
  return *this = center + (*this - center) * factor;
}

ZcGePoint2d& ZcGePoint2d::mirror(const ZcGePoint2d& linePoint, const ZcGeVector2d& lineDir) {
  return *this = linePoint + (*this - linePoint).mirror(lineDir);
}

bool ZcGePoint2d::isEqualTo(const ZcGePoint2d& p, const ZcGeTol& tol) const {
  return distanceTo(p) <= tol.equalPoint();
}

ZcGePoint3d ZcGePoint2d::convert3d(double z) const { return {x, y, z}; }

bool zcgeIsFinite(const ZcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
