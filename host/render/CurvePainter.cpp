// Chords of arcs, bulge segments (thin or wide) and general curves.
#include "render/CurvePainter.h"

#include <algorithm>
#include <cmath>

#include "database/CurveChordSampler.h"
#include "zcad/ge/ZcGeCurve3d.h"

namespace vtcad::render {
namespace {

constexpr int kMostChords = 4096;

// A bulge segment as a circle arc: centre, radius, start angle and signed sweep.
struct BulgeArc {
  ZcGePoint2d center;
  double radius;
  double startAngle;
  double sweep;
};

BulgeArc arcOf(const ZcGePoint2d& a, const ZcGePoint2d& b, double bulge) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  // The centre lies off the chord's middle by (1 - b^2) / (4b) chords, to the left for a
  // counter-clockwise (positive) bulge.
  const double k = (1.0 - bulge * bulge) / (4.0 * bulge);
  const ZcGePoint2d c(0.5 * (a.x + b.x) - k * dy, 0.5 * (a.y + b.y) + k * dx);
  return {c, std::hypot(a.x - c.x, a.y - c.y), std::atan2(a.y - c.y, a.x - c.x), 4.0 * std::atan(bulge)};
}

// Points along one segment (its start included, its end excluded) with their widths.
void sampleSegment(const BulgeVertex& from, const ZcGePoint2d& to, double scale,
                   std::vector<ZcGePoint2d>& points, std::vector<ZcGePoint2d>& normals) {
  // A bulge this small bends the segment by less than a billionth of its length.
  if (std::fabs(from.bulge) < 1e-9) {
    const double dx = to.x - from.point.x, dy = to.y - from.point.y;
    const double len = std::hypot(dx, dy);
    points.push_back(from.point);
    normals.push_back(len > 0.0 ? ZcGePoint2d(-dy / len, dx / len) : ZcGePoint2d(0.0, 0.0));
    return;
  }
  const BulgeArc arc = arcOf(from.point, to, from.bulge);
  const int n = arcChordCount(arc.radius * scale, arc.sweep);
  const double side = arc.sweep > 0.0 ? -1.0 : 1.0;  // the left normal points to the centre
  for (int i = 0; i < n; ++i) {
    const double t = arc.startAngle + arc.sweep * i / n;
    points.emplace_back(arc.center.x + arc.radius * std::cos(t), arc.center.y + arc.radius * std::sin(t));
    normals.emplace_back(side * std::cos(t), side * std::sin(t));
  }
}

}  // namespace

int arcChordCount(double radiusPx, double sweep) {
  const double turn = std::fabs(sweep);
  if (!std::isfinite(radiusPx) || !std::isfinite(turn) || radiusPx <= kChordError) return 4;
  const double step = 2.0 * std::acos(1.0 - kChordError / radiusPx);
  const double n = std::ceil(turn / step);
  return static_cast<int>(std::clamp(n, 4.0, static_cast<double>(kMostChords)));
}

void strokeArc(Canvas& canvas, const Projection& toPixel, const ZcGePoint2d& center, double radius,
               double startAngle, double sweep, bool join) {
  const int n = arcChordCount(radius * toPixel.maxScale(), sweep);
  // The chords' ends by rotation, two sines for the whole arc (the rounding drift over at most
  // kMostChords steps stays far below a pixel); the last point is exact.
  const double cs = std::cos(sweep / n), sn = std::sin(sweep / n);
  double c = std::cos(startAngle), s = std::sin(startAngle);
  for (int i = 0; i <= n; ++i) {
    if (i == n) {
      c = std::cos(startAngle + sweep);
      s = std::sin(startAngle + sweep);
    }
    const ZcGePoint2d p = toPixel(center.x + radius * c, center.y + radius * s);
    const double next = c * cs - s * sn;
    s = s * cs + c * sn;
    c = next;
    if (i == 0 && !join) {
      canvas.moveTo(p);
    } else {
      canvas.lineTo(p);
    }
  }
}

void paintBulgePolyline(Canvas& canvas, const Projection& toPixel, const std::vector<BulgeVertex>& vertices,
                        bool closed, Rgb color, bool patternPerSegment) {
  const std::size_t n = vertices.size();
  if (n == 0) return;
  const double scale = toPixel.maxScale();
  const std::size_t segments = closed ? n : n - 1;
  bool running = false;
  std::vector<ZcGePoint2d> points, normals;
  for (std::size_t i = 0; i < segments; ++i) {
    const BulgeVertex& from = vertices[i];
    const ZcGePoint2d& to = vertices[(i + 1) % n].point;
    points.clear();
    normals.clear();
    sampleSegment(from, to, scale, points, normals);
    const double widest = std::max(std::fabs(from.startWidth), std::fabs(from.endWidth));
    if (widest * scale >= Canvas::kThinWidth) {
      // Left edge forward, right edge back: the width runs linearly along the samples.
      points.push_back(to);
      normals.push_back(normals.back());
      std::vector<ZcGePoint2d> outline;
      const std::size_t m = points.size();
      outline.reserve(2 * m);
      for (std::size_t k = 0; k < m; ++k) {
        const double w = 0.5 * (from.startWidth + (from.endWidth - from.startWidth) * k / (m - 1));
        outline.push_back(toPixel(points[k].x + w * normals[k].x, points[k].y + w * normals[k].y));
      }
      for (std::size_t k = m; k-- > 0;) {
        const double w = 0.5 * (from.startWidth + (from.endWidth - from.startWidth) * k / (m - 1));
        outline.push_back(toPixel(points[k].x - w * normals[k].x, points[k].y - w * normals[k].y));
      }
      canvas.fillPolygon(outline, color);
      running = false;
      continue;
    }
    if (patternPerSegment) canvas.restartPattern();
    for (std::size_t k = 0; k < points.size(); ++k) {
      const ZcGePoint2d p = toPixel(points[k].x, points[k].y);
      if (!running) {
        canvas.moveTo(p);
        running = true;
      } else {
        canvas.lineTo(p);
      }
    }
    canvas.lineTo(toPixel(to.x, to.y));
  }
  // A single vertex is a dot of the pen's width.
  if (n == 1) {
    const ZcGePoint2d p = toPixel(vertices[0].point.x, vertices[0].point.y);
    canvas.moveTo(p);
    canvas.lineTo(p);
  }
}

void strokeCurve(Canvas& canvas, const Projection& toPixel, const ZcGeCurve3d& curve, double start,
                 double end, double unitsPerPixel) {
  if (!(end > start) || !std::isfinite(start) || !std::isfinite(end)) return;
  // Sixteen even pieces to start from: the sampler halves the worst of them from there.
  constexpr int kPieces = 16;
  ZcGeDoubleArray breaks;
  for (int i = 0; i <= kPieces; ++i) breaks.append(start + (end - start) * i / kPieces);
  const double tolerance = kChordError * unitsPerPixel;
  const ZcGeDoubleArray params =
      db::chordSampleParams(curve, breaks, tolerance, kMostChords, /*piecesPerSpan=*/2);
  for (int i = 0; i < params.length(); ++i) {
    const ZcGePoint2d p = toPixel(curve.evalPoint(params[i]));
    if (i == 0) {
      canvas.moveTo(p);
    } else {
      canvas.lineTo(p);
    }
  }
}

}  // namespace vtcad::render
