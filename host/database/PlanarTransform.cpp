#include "database/PlanarTransform.h"

#include <cmath>

#include "database/ConicGeometry.h"
#include "zcad/ge/ZcGePlane.h"

namespace vtcad::db {

bool isFiniteAffine(const ZcGeMatrix3d& matrix) {
  for (const auto& row : matrix.entry) {
    for (double value : row) {
      if (!std::isfinite(value)) return false;
    }
  }
  return matrix.entry[3][0] == 0.0 && matrix.entry[3][1] == 0.0 && matrix.entry[3][2] == 0.0 &&
         matrix.entry[3][3] == 1.0;
}

double linearDeterminant(const ZcGeMatrix3d& m) {
  const auto& e = m.entry;
  return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
         e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
         e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

ZcGeVector3d transformedPlaneNormal(const ZcGeMatrix3d& matrix, const ZcGeVector3d& normal) {
  // For in-plane axes x, y with x cross y = n: (M x) cross (M y) = det(M) M^-T n.
  ZcGeVector3d x, y;
  ocsAxes(normal, x, y);
  const ZcGeVector3d image = (matrix * x).crossProduct(matrix * y);
  const double det = linearDeterminant(matrix);
  if (det == 0.0 || image.isZeroLength()) return ZcGeVector3d::kIdentity;
  return (det > 0.0 ? image : -image).normal();
}

ZcGeMatrix3d readableMirror(const ZcGeMatrix3d& mirror, const ZcGePoint3d& center, const ZcGeVector3d& along,
                            const ZcGeVector3d& up, const ZcGeVector3d& normal) {
  const ZcGeVector3d axes[3] = {along, up, normal};
  ZcGeVector3d axis;
  double most = 2.0;
  for (const ZcGeVector3d& a : axes) {
    const ZcGeVector3d image = (mirror * a).normal();
    const double kept = image.dotProduct(a);
    if (!image.isZeroLength() && kept < most) {
      most = kept;
      axis = image;
    }
  }
  if (axis.isZeroLength()) return mirror;
  return ZcGeMatrix3d::mirroring(ZcGePlane(mirror * center, axis)) * mirror;
}

}  // namespace vtcad::db
