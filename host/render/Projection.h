#pragma once
// Projection: world (or any coordinate system mapped to it) to the picture's pixels, as one
// affine map. The view's pixelOf projects along the view direction and is affine, so three
// axis images and the origin's image give it whole; composing with an entity's or a block's
// matrix costs nothing per point.
//
// Pixel coordinates are those of ViewTransform (pixel centres on whole numbers, y down); the
// canvas adds the half pixel Cairo's grid needs.
#include <cmath>
#include <optional>

#include "database/BoxTree.h"
#include "editor/ViewTransform.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::render {

class Projection {
 public:
  explicit Projection(const editor::ViewTransform& view);

  ZcGePoint2d operator()(const ZcGePoint3d& p) const {
    return {m_[0][0] * p.x + m_[0][1] * p.y + m_[0][2] * p.z + m_[0][3],
            m_[1][0] * p.x + m_[1][1] * p.y + m_[1][2] * p.z + m_[1][3]};
  }
  ZcGePoint2d operator()(double x, double y) const { return (*this)(ZcGePoint3d(x, y, 0.0)); }

  // The pixel box of the box from `lo` to `hi` in this projection's coordinates: the centre's
  // image and the half sizes through the matrix's absolute values, what the eight corners'
  // images span (an affine map's extremes over a box are at corners).
  db::Box2d boxOf(const ZcGePoint3d& lo, const ZcGePoint3d& hi) const {
    const ZcGePoint2d c = (*this)(ZcGePoint3d(0.5 * (lo.x + hi.x), 0.5 * (lo.y + hi.y), 0.5 * (lo.z + hi.z)));
    const double hx = 0.5 * (hi.x - lo.x), hy = 0.5 * (hi.y - lo.y), hz = 0.5 * (hi.z - lo.z);
    const double ex = std::fabs(m_[0][0]) * hx + std::fabs(m_[0][1]) * hy + std::fabs(m_[0][2]) * hz;
    const double ey = std::fabs(m_[1][0]) * hx + std::fabs(m_[1][1]) * hy + std::fabs(m_[1][2]) * hz;
    return {c.x - ex, c.y - ey, c.x + ex, c.y + ey};
  }
  // This projection after a move by `by` (an object coordinate system of the z axis).
  Projection shiftedBy(const ZcGeVector3d& by) const {
    Projection out = *this;
    for (int r = 0; r < 2; ++r) out.m_[r][3] += m_[r][0] * by.x + m_[r][1] * by.y + m_[r][2] * by.z;
    return out;
  }
  // This projection after `toWorld` (a block's or an object coordinate system's matrix).
  Projection after(const ZcGeMatrix3d& toWorld) const;
  // The largest factor a length can grow by on its way to pixels (a bound, for choosing how
  // finely curves are cut).
  double maxScale() const;
  // For a view along the z axis (pixels that do not depend on z): the plan box of the points
  // that map into the pixel box `pixels`. nullopt for other views and degenerate maps.
  std::optional<db::Box2d> planBoxOf(const db::Box2d& pixels) const;

 private:
  Projection() = default;
  double m_[2][4] = {{0, 0, 0, 0}, {0, 0, 0, 0}};
};

}  // namespace vtcad::render
