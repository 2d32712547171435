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
  cairo_surface_t* target = cairo_get_target(cr_);
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  const bool identity =
      ctm.xx == 1.0 && ctm.yx == 0.0 && ctm.xy == 0.0 && ctm.yy == 1.0 && ctm.x0 == 0.0 && ctm.y0 == 0.0;
  if (identity && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
      cairo_image_surface_get_format(target) == CAIRO_FORMAT_RGB24 &&
      cairo_image_surface_get_width(target) == width && cairo_image_surface_get_height(target) == height) {
    cairo_surface_flush(target);
    raster_ = std::make_unique<RasterPipeline>(cairo_image_surface_get_data(target),
                                               cairo_image_surface_get_stride(target), width, height,
                                               /*halfWidth=*/kThinWidth / 2);
  }
}

Canvas::~Canvas() {
  flush();
  toCairo();
}

void Canvas::toRaster() {
  if (rasterWriting_) return;
  cairo_surface_flush(cairo_get_target(cr_));
  rasterWriting_ = true;
}

void Canvas::toCairo() {
  if (!rasterWriting_) return;
  raster_->finish();
  cairo_surface_mark_dirty(cairo_get_target(cr_));
  rasterWriting_ = false;
}

void Canvas::clear(Rgb background) {
  flush();
  toCairo();
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
  if (raster_) raster_->beginRun(pen_.color);
}

void Canvas::setPattern(std::vector<double> pattern) {
  double length = 0.0;
  for (double dash : pattern) length += std::fabs(dash);
  if (!(length > 0.0) || !std::isfinite(length)) pattern.clear();
  pattern_ = std::move(pattern);
  patternLength_ = pattern_.empty() ? 0.0 : length;
  patternAt_ = 0.0;
}

void Canvas::runSegment(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  if (pattern_.empty()) {
    emitSegment(a, b);
  } else {
    dashSegment(a, b);
  }
}

void Canvas::dashSegment(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (!(length > 0.0)) return;
  const double endAt = std::fmod(patternAt_ + length, patternLength_);
  // Only the part inside the clip box is cut into dashes: a line far longer than the picture
  // costs what it shows. Liang-Barsky for the parameter range inside.
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - clip_.xmin, clip_.xmax - a.x, a.y - clip_.ymin, clip_.ymax - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) t0 = 2.0;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 <= t1) {
    double at = std::fmod(patternAt_ + t0 * length, patternLength_);
    // The element `at` falls in, and how far into it.
    std::size_t k = 0;
    while (k + 1 < pattern_.size() && at >= std::fabs(pattern_[k])) at -= std::fabs(pattern_[k++]);
    double s = t0 * length;
    const double stop = t1 * length;
    const auto point = [&](double along) {
      return ZcGePoint2d(a.x + dx * along / length, a.y + dy * along / length);
    };
    while (s <= stop) {
      const double dash = pattern_[k];
      // Rounding may leave `at` a hair past the element's end.
      const double rest = std::max(0.0, std::fabs(dash) - at);
      if (dash > 0.0) {
        emitSegment(point(s), point(std::min(stop, s + rest)));
      } else if (dash == 0.0 && at == 0.0) {
        emitSegment(point(s), point(s));
      }
      if (s + rest > stop) break;
      s += rest;
      at = 0.0;
      if (++k == pattern_.size()) k = 0;
    }
  }
  patternAt_ = endAt;
}

void Canvas::moveTo(const ZcGePoint2d& p) {
  patternAt_ = 0.0;
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
  runSegment(runLast_, p);
  runLast_ = p;
}

void Canvas::closePath() {
  if (!runOpen_) return;
  if (!clippedInRun_ && cairoHasPoint_ && runStart_ == runLast_) return;
  if (!clippedInRun_ && cairoHasPoint_ && pattern_.empty()) {
    // The whole run reached Cairo: a real close gives the last corner its join.
    emitSegment(runLast_, runStart_);
    cairo_close_path(cr_);
  } else {
    runSegment(runLast_, runStart_);
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
  if (rasterPen()) {
    toRaster();
    raster_->segment(from, to);
    return;
  }
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
  // What follows does not merge with what was drawn before (Cairo strokes a new path).
  if (raster_) raster_->beginRun(pen_.color);
  if (!havePath_) return;
  toCairo();
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
  toCairo();
  cairo_move_to(cr_, clipped[0].x + kHalf, clipped[0].y + kHalf);
  for (std::size_t i = 1; i < clipped.size(); ++i)
    cairo_line_to(cr_, clipped[i].x + kHalf, clipped[i].y + kHalf);
  cairo_close_path(cr_);
  setSource(cr_, color);
  cairo_fill(cr_);
}

void Canvas::fillContours(const std::vector<std::vector<ZcGePoint2d>>& contours, Rgb color, bool evenOdd) {
  flush();
  toCairo();
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

bool Canvas::ring(const ZcGePoint2d& center, double radius) {
  if (!rasterPen() || patternLength_ > 0.0 || !penSet_) return false;
  // A new shape: the ring does not merge with the run before it.
  raster_->beginRun(pen_.color);
  toRaster();
  raster_->ring(center, radius);
  raster_->newShape();
  return true;
}

void Canvas::dot(const ZcGePoint2d& p, double diameter, Rgb color) {
  if (!finite(p) || p.x < clip_.xmin || p.x > clip_.xmax || p.y < clip_.ymin || p.y > clip_.ymax) return;
  flush();
  toCairo();
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, p.x + kHalf, p.y + kHalf, std::max(diameter, kThinWidth) / 2.0, 0.0, 2.0 * M_PI);
  setSource(cr_, color);
  cairo_fill(cr_);
}

}  // namespace vtcad::render
