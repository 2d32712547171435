// Strokes gathered per pen, clipped to the picture and its margin, and Cairo's half-pixel
// offset.
#include "render/Canvas.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vtcad::render {
namespace {

// Beyond the picture by this much nothing can show (the widest pen is far narrower).
constexpr double kMargin = 256.0;
// Cairo keeps a path in memory until it is stroked, and its stroker slows down on paths of
// many crossing segments: paths are stroked in pieces of this many segments (a quarter less
// CPU than 65 536 on the render benchmark).
constexpr long kOpsPerStroke = 1 << 10;
// ViewTransform's pixel centres are whole numbers; Cairo's are at half.
constexpr double kHalf = 0.5;

bool finite(const ZcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void setSource(cairo_t* cr, Rgb c) {
  cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

}  // namespace

Canvas::Canvas(cairo_t* cr, int width, int height)
    : cr_(cr), width_(width), height_(height), clip_{-kMargin, -kMargin, width + kMargin, height + kMargin} {
  assert(cr_ && width_ > 0 && height_ > 0);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_new_path(cr_);
}

Canvas::~Canvas() { flush(); }

void Canvas::clear(Rgb background) {
  flush();
  setSource(cr_, background);
  cairo_paint(cr_);
}

void Canvas::setPen(const Pen& pen) {
  Pen wanted = pen;
  if (!(wanted.width >= kThinWidth)) wanted.width = kThinWidth;
  if (penSet_ && wanted == pen_) return;
  flush();
  pen_ = wanted;
  penSet_ = true;
}

void Canvas::moveTo(const ZcGePoint2d& p) {
  runStart_ = p;
  runLast_ = p;
  runOpen_ = finite(p);
  clippedInRun_ = false;
  cairoHasPoint_ = false;
}

void Canvas::lineTo(const ZcGePoint2d& p) {
  if (!finite(p)) {
    runOpen_ = false;
    return;
  }
  if (!runOpen_) {
    moveTo(p);
    return;
  }
  emitSegment(runLast_, p);
  runLast_ = p;
}

void Canvas::closePath() {
  if (!runOpen_) return;
  if (!clippedInRun_ && cairoHasPoint_ && runStart_ == runLast_) return;
  if (!clippedInRun_ && cairoHasPoint_) {
    // The whole run reached Cairo: a real close gives the last corner its join.
    emitSegment(runLast_, runStart_);
    cairo_close_path(cr_);
  } else {
    emitSegment(runLast_, runStart_);
  }
  runLast_ = runStart_;
  cairoHasPoint_ = false;
}

void Canvas::emitSegment(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  // Liang-Barsky against the clip box.
  double t0 = 0.0, t1 = 1.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - clip_.xmin, clip_.xmax - a.x, a.y - clip_.ymin, clip_.ymax - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) {
        clippedInRun_ = true;
        cairoHasPoint_ = false;
        return;
      }
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) {
    clippedInRun_ = true;
    cairoHasPoint_ = false;
    return;
  }
  const ZcGePoint2d from(a.x + t0 * dx, a.y + t0 * dy);
  const ZcGePoint2d to(a.x + t1 * dx, a.y + t1 * dy);
  if (t0 > 0.0 || t1 < 1.0) clippedInRun_ = true;
  if (!cairoHasPoint_ || t0 > 0.0 || !(from == cairoLast_)) {
    cairo_move_to(cr_, from.x + kHalf, from.y + kHalf);
  }
  cairo_line_to(cr_, to.x + kHalf, to.y + kHalf);
  cairoLast_ = to;
  cairoHasPoint_ = t1 >= 1.0;
  havePath_ = true;
  if (++opsInPath_ >= kOpsPerStroke) {
    // Stroking in pieces keeps memory bounded; the run goes on from where it is.
    flush();
    cairoHasPoint_ = false;
  }
}

void Canvas::flush() {
  if (!havePath_) return;
  setSource(cr_, pen_.color);
  cairo_set_line_width(cr_, pen_.width);
  cairo_stroke(cr_);
  havePath_ = false;
  opsInPath_ = 0;
  cairoHasPoint_ = false;
}

std::vector<ZcGePoint2d> Canvas::clipPolygon(const std::vector<ZcGePoint2d>& points) const {
  // Sutherland-Hodgman against the four sides of the clip box.
  std::vector<ZcGePoint2d> out(points.begin(), points.end());
  for (int side = 0; side < 4 && !out.empty(); ++side) {
    const auto inside = [&](const ZcGePoint2d& p) {
      switch (side) {
        case 0:
          return p.x >= clip_.xmin;
        case 1:
          return p.x <= clip_.xmax;
        case 2:
          return p.y >= clip_.ymin;
        default:
          return p.y <= clip_.ymax;
      }
    };
    const auto cut = [&](const ZcGePoint2d& a, const ZcGePoint2d& b) {
      const double edge = side == 0   ? clip_.xmin
                          : side == 1 ? clip_.xmax
                          : side == 2 ? clip_.ymin
                                      : clip_.ymax;
      const double t = side < 2 ? (edge - a.x) / (b.x - a.x) : (edge - a.y) / (b.y - a.y);
      return ZcGePoint2d(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
    };
    std::vector<ZcGePoint2d> in;
    in.swap(out);
    for (std::size_t i = 0; i < in.size(); ++i) {
      const ZcGePoint2d& cur = in[i];
      const ZcGePoint2d& prev = in[(i + in.size() - 1) % in.size()];
      if (inside(cur)) {
        if (!inside(prev)) out.push_back(cut(prev, cur));
        out.push_back(cur);
      } else if (inside(prev)) {
        out.push_back(cut(prev, cur));
      }
    }
  }
  return out;
}

void Canvas::fillPolygon(const std::vector<ZcGePoint2d>& points, Rgb color) {
  if (points.size() < 3) return;
  for (const ZcGePoint2d& p : points) {
    if (!finite(p)) return;
  }
  const std::vector<ZcGePoint2d> clipped = clipPolygon(points);
  if (clipped.size() < 3) return;
  flush();
  cairo_move_to(cr_, clipped[0].x + kHalf, clipped[0].y + kHalf);
  for (std::size_t i = 1; i < clipped.size(); ++i)
    cairo_line_to(cr_, clipped[i].x + kHalf, clipped[i].y + kHalf);
  cairo_close_path(cr_);
  setSource(cr_, color);
  cairo_fill(cr_);
}

void Canvas::fillContours(const std::vector<std::vector<ZcGePoint2d>>& contours, Rgb color, bool evenOdd) {
  flush();
  bool any = false;
  for (const std::vector<ZcGePoint2d>& contour : contours) {
    if (contour.size() < 3) continue;
    bool finiteContour = true;
    for (const ZcGePoint2d& p : contour) finiteContour = finiteContour && finite(p);
    if (!finiteContour) continue;
    // Clipping each contour to the (convex) box keeps every winding number inside the box.
    const std::vector<ZcGePoint2d> clipped = clipPolygon(contour);
    if (clipped.size() < 3) continue;
    cairo_move_to(cr_, clipped[0].x + kHalf, clipped[0].y + kHalf);
    for (std::size_t i = 1; i < clipped.size(); ++i)
      cairo_line_to(cr_, clipped[i].x + kHalf, clipped[i].y + kHalf);
    cairo_close_path(cr_);
    any = true;
  }
  if (!any) return;
  cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  setSource(cr_, color);
  cairo_fill(cr_);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

void Canvas::dot(const ZcGePoint2d& p, double diameter, Rgb color) {
  if (!finite(p) || p.x < clip_.xmin || p.x > clip_.xmax || p.y < clip_.ymin || p.y > clip_.ymax) return;
  flush();
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, p.x + kHalf, p.y + kHalf, std::max(diameter, kThinWidth) / 2.0, 0.0, 2.0 * M_PI);
  setSource(cr_, color);
  cairo_fill(cr_);
}

}  // namespace vtcad::render
