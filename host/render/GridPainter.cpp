// Grid dots over the visible part of the view's plane (world XY for a plan view).
#include "render/GridPainter.h"

#include <algorithm>
#include <cmath>

#include "render/Projection.h"

namespace vtcad::render {

void paintGrid(Canvas& canvas, const editor::ViewTransform& view, const GridStyle& grid, Rgb color) {
  if (!grid.shown || !(grid.spacingX > 0.0) || !(grid.spacingY > 0.0)) return;
  const Projection toPixel(view);
  const ZcGePoint2d origin = toPixel(0.0, 0.0);
  const ZcGePoint2d stepX = toPixel(grid.spacingX, 0.0);
  const ZcGePoint2d stepY = toPixel(0.0, grid.spacingY);
  const double dxPx = std::hypot(stepX.x - origin.x, stepX.y - origin.y);
  const double dyPx = std::hypot(stepY.x - origin.x, stepY.y - origin.y);
  if (!(dxPx >= kMinGridSpacing) || !(dyPx >= kMinGridSpacing)) return;
  // The world box the picture covers, from its corners.
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
  for (const auto& [px, py] : {std::pair{0.0, 0.0},
                               {canvas.width() * 1.0, 0.0},
                               {0.0, canvas.height() * 1.0},
                               {canvas.width() * 1.0, canvas.height() * 1.0}}) {
    const ZcGePoint3d w = view.worldAt(px, py);
    xmin = std::min(xmin, w.x);
    xmax = std::max(xmax, w.x);
    ymin = std::min(ymin, w.y);
    ymax = std::max(ymax, w.y);
  }
  const double i0 = std::floor(xmin / grid.spacingX), i1 = std::ceil(xmax / grid.spacingX);
  const double j0 = std::floor(ymin / grid.spacingY), j1 = std::ceil(ymax / grid.spacingY);
  // The spacing test bounds the count by the picture's area; this guards a tilted view.
  if ((i1 - i0 + 1) * (j1 - j0 + 1) > 4e6) return;
  canvas.setPen({color, Canvas::kThinWidth});
  for (double i = i0; i <= i1; ++i) {
    for (double j = j0; j <= j1; ++j) {
      const ZcGePoint2d p = toPixel(i * grid.spacingX, j * grid.spacingY);
      canvas.moveTo(p);
      canvas.lineTo(p);  // a zero-length stroke with round caps: a dot of the pen's width
    }
  }
  canvas.flush();
}

}  // namespace vtcad::render
