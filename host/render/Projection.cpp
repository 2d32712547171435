// The view's pixel mapping as an affine map, and its composition with entity matrices.
#include "render/Projection.h"

#include <cmath>

namespace vtcad::render {

Projection::Projection(const editor::ViewTransform& view) {
  const ZcGePoint2d o = view.pixelOf(ZcGePoint3d(0, 0, 0));
  const ZcGePoint2d x = view.pixelOf(ZcGePoint3d(1, 0, 0));
  const ZcGePoint2d y = view.pixelOf(ZcGePoint3d(0, 1, 0));
  const ZcGePoint2d z = view.pixelOf(ZcGePoint3d(0, 0, 1));
  m_[0][0] = x.x - o.x;
  m_[0][1] = y.x - o.x;
  m_[0][2] = z.x - o.x;
  m_[0][3] = o.x;
  m_[1][0] = x.y - o.y;
  m_[1][1] = y.y - o.y;
  m_[1][2] = z.y - o.y;
  m_[1][3] = o.y;
}

Projection Projection::after(const ZcGeMatrix3d& t) const {
  Projection out;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 4; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) sum += m_[r][k] * t(k, c);
      out.m_[r][c] = sum + (c == 3 ? m_[r][3] : 0.0);
    }
  }
  return out;
}

double Projection::maxScale() const {
  // The Frobenius norm of the linear part bounds its largest singular value.
  double sum = 0.0;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 3; ++c) sum += m_[r][c] * m_[r][c];
  }
  return std::sqrt(sum);
}

std::optional<db::Box2d> Projection::planBoxOf(const db::Box2d& pixels) const {
  const double scale = maxScale();
  if (!(scale > 0.0) || !std::isfinite(scale)) return std::nullopt;
  if (std::fabs(m_[0][2]) > 1e-9 * scale || std::fabs(m_[1][2]) > 1e-9 * scale) return std::nullopt;
  const double det = m_[0][0] * m_[1][1] - m_[0][1] * m_[1][0];
  if (!(std::fabs(det) > 1e-12 * scale * scale)) return std::nullopt;
  db::Box2d box{1e300, 1e300, -1e300, -1e300};
  for (int corner = 0; corner < 4; ++corner) {
    const double u = (corner & 1 ? pixels.xmax : pixels.xmin) - m_[0][3];
    const double v = (corner & 2 ? pixels.ymax : pixels.ymin) - m_[1][3];
    box.add(ZcGePoint2d((m_[1][1] * u - m_[0][1] * v) / det, (-m_[1][0] * u + m_[0][0] * v) / det));
  }
  return box;
}

}  // namespace vtcad::render
