// Hatch loops sampled into contours and chosen by the hatch style; pattern line families cut to
// them by crossings and dashed along each line.
#include "render/HatchPainter.h"

#include <algorithm>
#include <cmath>

#include "database/HatchEdgeGeometry.h"
#include "database/HatchPatternLines.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbHatchEdge.h"

namespace vtcad::render {
namespace {

// Points per conic piece or spline knot span of a loop's edges.
constexpr int kPointsPerPiece = 48;
// ANSI31's line spacing in drawing units at scale 1.
constexpr double kDefaultPatternSpacing = 3.175;
// The most lines of one family a hatch draws (a far-zoomed-out hatch is skipped by the spacing).
constexpr double kMostPatternLines = 20000;
// The most dashes one hatch draws; past them the rest of its lines are left out.
constexpr long kMostDashes = 2000000;
// A dash pattern shorter than this many pixels draws continuous lines.
constexpr double kFinestDashPatternPx = 4.0;

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

bool inside(const ZcGePoint2d& p, const std::vector<ZcGePoint2d>& loop) {
  bool in = false;
  for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
    const ZcGePoint2d& a = loop[i];
    const ZcGePoint2d& b = loop[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) in = !in;
  }
  return in;
}

// The loops the style hatches between: levels 0 and 1 for "outer", level 0 for "ignore".
Contours chosenLoops(Contours loops, ZcDbHatch::HatchStyle style) {
  if (style == ZcDbHatch::kNormal || loops.size() < 2) return loops;
  const int deepest = style == ZcDbHatch::kOuter ? 1 : 0;
  std::vector<int> level(loops.size(), 0);
  for (std::size_t i = 0; i < loops.size(); ++i) {
    for (std::size_t j = 0; j < loops.size(); ++j) {
      if (i != j && inside(loops[i].front(), loops[j])) ++level[i];
    }
  }
  Contours chosen;
  for (std::size_t i = 0; i < loops.size(); ++i) {
    if (level[i] <= deepest) chosen.push_back(std::move(loops[i]));
  }
  return chosen;
}

class FamilyStroker {
 public:
  FamilyStroker(Canvas& canvas, const Projection& toPlanePixel, const Contours& loops)
      : canvas_(canvas),
        toPlanePixel_(toPlanePixel),
        loops_(loops),
        pixelsPerUnit_(toPlanePixel.maxScale() / std::sqrt(2.0)) {}

  // The family's lines, `line.offset` apart, cut to the loops (even-odd) and dashed.
  void stroke(const db::HatchPatternLine& line) {
    const double c = std::cos(line.angle), s = std::sin(line.angle);
    // u along the lines, v across them.
    const double spacing = -s * line.offset.x + c * line.offset.y;
    const double shift = c * line.offset.x + s * line.offset.y;
    if (!(std::fabs(spacing) * pixelsPerUnit_ >= kMinHatchSpacing) || !std::isfinite(shift)) return;
    double length = 0.0;
    for (double dash : line.dashes) length += std::fabs(dash);
    const bool dashed = length * pixelsPerUnit_ >= kFinestDashPatternPx;
    const double baseV = -s * line.base.x + c * line.base.y;
    const double baseU = c * line.base.x + s * line.base.y;
    double vmin = 1e300, vmax = -1e300;
    for (const auto& loop : loops_) {
      for (const ZcGePoint2d& p : loop) {
        const double v = -s * p.x + c * p.y;
        vmin = std::min(vmin, v);
        vmax = std::max(vmax, v);
      }
    }
    if (!(vmax >= vmin) || (vmax - vmin) / std::fabs(spacing) > kMostPatternLines) return;
    const double kFirst = std::ceil((vmin - baseV) / spacing), kLast = std::floor((vmax - baseV) / spacing);
    for (double k = std::min(kFirst, kLast); k <= std::max(kFirst, kLast) && dashes_ < kMostDashes; ++k) {
      const double v = baseV + k * spacing;
      crossingsAt(v, c, s);
      const double start = baseU + k * shift;  // where this line's dash pattern starts
      for (std::size_t i = 0; i + 1 < crossings_.size(); i += 2) {
        const double u0 = crossings_[i], u1 = crossings_[i + 1];
        if (!dashed) {
          segment(u0, u1, v, c, s);
          continue;
        }
        double at = start + std::floor((u0 - start) / length) * length;
        for (std::size_t d = 0; at <= u1 && dashes_ < kMostDashes; d = (d + 1) % line.dashes.size()) {
          const double dash = line.dashes[d];
          if (dash >= 0.0 && at + dash >= u0) segment(std::max(at, u0), std::min(at + dash, u1), v, c, s);
          at += std::fabs(dash);
        }
      }
    }
  }

 private:
  void crossingsAt(double v, double c, double s) {
    crossings_.clear();
    for (const auto& loop : loops_) {
      for (std::size_t i = 0; i < loop.size(); ++i) {
        const ZcGePoint2d& a = loop[i];
        const ZcGePoint2d& b = loop[(i + 1) % loop.size()];
        const double va = -s * a.x + c * a.y, vb = -s * b.x + c * b.y;
        // Half-open on one end, so a line through a vertex counts it once.
        if ((va <= v) == (vb <= v)) continue;
        const double t = (v - va) / (vb - va);
        crossings_.push_back(c * (a.x + t * (b.x - a.x)) + s * (a.y + t * (b.y - a.y)));
      }
    }
    std::sort(crossings_.begin(), crossings_.end());
  }

  // From u0 to u1 on the line at v (a dot when they are equal).
  void segment(double u0, double u1, double v, double c, double s) {
    if (u1 < u0) return;
    canvas_.moveTo(toPlanePixel_(c * u0 - s * v, s * u0 + c * v));
    canvas_.lineTo(toPlanePixel_(c * u1 - s * v, s * u1 + c * v));
    ++dashes_;
  }

  Canvas& canvas_;
  const Projection& toPlanePixel_;
  const Contours& loops_;
  double pixelsPerUnit_;
  std::vector<double> crossings_;
  long dashes_ = 0;
};

// The families of a hatch without definition lines: its type's stand-in.
std::vector<db::HatchPatternLine> standInLines(const ZcDbHatch& hatch) {
  const bool user = hatch.patternType() == ZcDbHatch::kUserDefined;
  const double spacing = user ? hatch.patternSpace() : kDefaultPatternSpacing * hatch.patternScale();
  const double angle = hatch.patternAngle() + (user ? 0.0 : M_PI / 4);
  std::vector<db::HatchPatternLine> lines;
  if (!(spacing > 0.0) || !std::isfinite(spacing) || !std::isfinite(angle)) return lines;
  const int families = user && hatch.patternDouble() ? 2 : 1;
  for (int i = 0; i < families; ++i) {
    db::HatchPatternLine& line = lines.emplace_back();
    line.angle = angle + i * M_PI / 2;
    line.offset = ZcGeVector2d(-std::sin(line.angle), std::cos(line.angle)) * spacing;
  }
  return lines;
}

}  // namespace

void paintHatch(Canvas& canvas, const Projection& toPixel, const ZcDbHatch& hatch, Rgb color) {
  const Projection toPlanePixel = toPixel.after(db::hatchPlaneToWorld(hatch.normal(), hatch.elevation()));
  const Contours loops = chosenLoops(loopsOf(hatch), hatch.hatchStyle());
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
  std::vector<db::HatchPatternLine> lines = db::hatchPatternLines(hatch);
  if (lines.empty()) lines = standInLines(hatch);
  FamilyStroker stroker(canvas, toPlanePixel, loops);
  for (const db::HatchPatternLine& line : lines) stroker.stroke(line);
}

}  // namespace vtcad::render
