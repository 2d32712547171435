// Hatch loops sampled into contours; pattern lines cut to them by crossings.
#include "render/HatchPainter.h"

#include <algorithm>
#include <cmath>

#include "database/HatchEdgeGeometry.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbHatchEdge.h"

namespace vtcad::render {
namespace {

// Points per conic piece or spline knot span of a loop's edges.
constexpr int kPointsPerPiece = 48;
// ANSI31's line spacing in drawing units at scale 1.
constexpr double kDefaultPatternSpacing = 3.175;
// The most pattern lines one hatch draws (a far-zoomed-out hatch is skipped by the spacing).
constexpr double kMostPatternLines = 20000;

using Contours = std::vector<std::vector<ZcGePoint2d>>;

Contours loopsOf(const ZcDbHatch& hatch) {
  Contours loops;
  for (int i = 0; i < hatch.numLoops(); ++i) {
    Zdesk::Int32 type = 0;
    ZcDbHatchEdgeArray edges;
    if (hatch.getLoopAt(i, type, edges) != Zcad::eOk) continue;
    std::vector<ZcGePoint2d>& loop = loops.emplace_back();
    for (int k = 0; k < edges.length(); ++k) db::sampleEdge(edges[k], kPointsPerPiece, loop);
    if (loop.size() < 3) loops.pop_back();
  }
  return loops;
}

// Lines at `angle` through the loops, `spacing` apart (plane units), as pixel segments.
void strokeFamily(Canvas& canvas, const Projection& toPlanePixel, const Contours& loops, double angle,
                  double spacing) {
  const double c = std::cos(angle), s = std::sin(angle);
  // Rotate into the family's frame: u along the lines, v across them.
  double vmin = 1e300, vmax = -1e300;
  for (const auto& loop : loops) {
    for (const ZcGePoint2d& p : loop) {
      const double v = -s * p.x + c * p.y;
      vmin = std::min(vmin, v);
      vmax = std::max(vmax, v);
    }
  }
  if (!(vmax >= vmin) || (vmax - vmin) / spacing > kMostPatternLines) return;
  std::vector<double> crossings;
  for (double k = std::ceil(vmin / spacing); k * spacing <= vmax; ++k) {
    const double v = k * spacing;
    crossings.clear();
    for (const auto& loop : loops) {
      for (std::size_t i = 0; i < loop.size(); ++i) {
        const ZcGePoint2d& a = loop[i];
        const ZcGePoint2d& b = loop[(i + 1) % loop.size()];
        const double va = -s * a.x + c * a.y, vb = -s * b.x + c * b.y;
        // Half-open on one end, so a line through a vertex counts it once.
        if ((va <= v) == (vb <= v)) continue;
        const double t = (v - va) / (vb - va);
        crossings.push_back(c * (a.x + t * (b.x - a.x)) + s * (a.y + t * (b.y - a.y)));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const double u0 = crossings[i], u1 = crossings[i + 1];
      canvas.moveTo(toPlanePixel(c * u0 - s * v, s * u0 + c * v));
      canvas.lineTo(toPlanePixel(c * u1 - s * v, s * u1 + c * v));
    }
  }
}

}  // namespace

void paintHatch(Canvas& canvas, const Projection& toPixel, const ZcDbHatch& hatch, Rgb color) {
  const Projection toPlanePixel = toPixel.after(db::hatchPlaneToWorld(hatch.normal(), hatch.elevation()));
  const Contours loops = loopsOf(hatch);
  if (loops.empty()) return;
  if (hatch.isSolidFill()) {
    Contours pixels;
    for (const auto& loop : loops) {
      std::vector<ZcGePoint2d>& out = pixels.emplace_back();
      out.reserve(loop.size());
      for (const ZcGePoint2d& p : loop) out.push_back(toPlanePixel(p.x, p.y));
    }
    canvas.fillContours(pixels, color, /*evenOdd=*/true);
    return;
  }
  const bool user = hatch.patternType() == ZcDbHatch::kUserDefined;
  const double spacing = user ? hatch.patternSpace() : kDefaultPatternSpacing * hatch.patternScale();
  const double angle = hatch.patternAngle() + (user ? 0.0 : M_PI / 4);
  if (!(spacing > 0.0) || !std::isfinite(angle) ||
      spacing * toPlanePixel.maxScale() / std::sqrt(2.0) < kMinHatchSpacing) {
    return;
  }
  strokeFamily(canvas, toPlanePixel, loops, angle, spacing);
  if (user && hatch.patternDouble()) strokeFamily(canvas, toPlanePixel, loops, angle + M_PI / 2, spacing);
}

}  // namespace vtcad::render
