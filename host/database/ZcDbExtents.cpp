// Axis-aligned boxes. Non-finite input never enters a box: such points are ignored and
// set() refuses them.
#include "zcad/db/ZcDbExtents.h"

#include <algorithm>
#include <cmath>

namespace {
bool finite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

Zcad::ErrorStatus ZcDbExtents::set(const ZcGePoint3d& min, const ZcGePoint3d& max) {
  if (!finite(min) || !finite(max)) return Zcad::eInvalidInput;
  if (min.x > max.x || min.y > max.y || min.z > max.z) return Zcad::eInvalidExtents;
  min_ = min;
  max_ = max;
  return Zcad::eOk;
}

void ZcDbExtents::addPoint(const ZcGePoint3d& point) {
  if (!finite(point)) return;
  min_.set(std::min(min_.x, point.x), std::min(min_.y, point.y), std::min(min_.z, point.z));
  max_.set(std::max(max_.x, point.x), std::max(max_.y, point.y), std::max(max_.z, point.z));
}

void ZcDbExtents::addExt(const ZcDbExtents& other) {
  if (other.isEmpty()) return;
  addPoint(other.min_);
  addPoint(other.max_);
}

void ZcDbExtents::expandBy(const ZcGeVector3d& vec) {
  if (isEmpty() || !std::isfinite(vec.x) || !std::isfinite(vec.y) || !std::isfinite(vec.z)) return;
  // Each component grows the side it points to.
  for (int i = 0; i < 3; ++i) {
    if (vec[i] > 0) {
      max_[i] += vec[i];
    } else {
      min_[i] += vec[i];
    }
  }
}

void ZcDbExtents::transformBy(const ZcGeMatrix3d& mat) {
  if (isEmpty()) return;
  ZcDbExtents result;
  for (int corner = 0; corner < 8; ++corner) {
    double p[3] = {(corner & 1) ? max_.x : min_.x, (corner & 2) ? max_.y : min_.y,
                   (corner & 4) ? max_.z : min_.z};
    double q[3];
    double w = mat.entry[3][0] * p[0] + mat.entry[3][1] * p[1] + mat.entry[3][2] * p[2] + mat.entry[3][3];
    if (w == 0.0) w = 1.0;  // a projective matrix sending the corner to infinity: keep it finite
    for (int r = 0; r < 3; ++r) {
      q[r] = (mat.entry[r][0] * p[0] + mat.entry[r][1] * p[1] + mat.entry[r][2] * p[2] + mat.entry[r][3]) / w;
    }
    result.addPoint(ZcGePoint3d(q[0], q[1], q[2]));
  }
  *this = result;
}
