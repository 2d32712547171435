#pragma once
// Projection: world (or any coordinate system mapped to it) to the picture's pixels, as one
// affine map. The view's pixelOf projects along the view direction and is affine, so three
// axis images and the origin's image give it whole; composing with an entity's or a block's
// matrix costs nothing per point.
//
// Pixel coordinates are those of ViewTransform (pixel centres on whole numbers, y down); the
// canvas adds the half pixel Cairo's grid needs.
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
