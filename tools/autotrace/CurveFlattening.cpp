#include "CurveFlattening.h"

#include <algorithm>
#include <cmath>

namespace vtcad::tracer {

namespace {

Point at(const potrace_dpoint_t& p) { return {p.x, p.y}; }

// A cubic's chord is within `tolerance` of it when both inner control points are: the curve
// lies in the control points' hull. The number of chords follows from how far the controls
// bend away from the chord (the second differences), so no recursion is needed.
void appendCubic(Point p0, Point p1, Point p2, Point p3, double tolerance, std::vector<Point>& out) {
  const double ddx = std::max(std::abs(p0.x - 2 * p1.x + p2.x), std::abs(p1.x - 2 * p2.x + p3.x));
  const double ddy = std::max(std::abs(p0.y - 2 * p1.y + p2.y), std::abs(p1.y - 2 * p2.y + p3.y));
  const double bend = std::hypot(ddx, ddy);
  // The deviation of n equal chords is at most 3/4 · bend / n² (the usual bound for cubics).
  int pieces = static_cast<int>(std::ceil(std::sqrt(0.75 * bend / tolerance)));
  pieces = std::clamp(pieces, 1, 64);
  for (int i = 1; i <= pieces; ++i) {
    const double t = static_cast<double>(i) / pieces;
    const double s = 1 - t;
    const double a = s * s * s;
    const double b = 3 * s * s * t;
    const double c = 3 * s * t * t;
    const double d = t * t * t;
    out.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
}

}  // namespace

std::vector<Point> flattenCurve(const potrace_curve_t& curve, double tolerance) {
  std::vector<Point> out;
  if (curve.n <= 0) return out;
  Point current = at(curve.c[curve.n - 1][2]);
  for (int i = 0; i < curve.n; ++i) {
    const potrace_dpoint_t* c = curve.c[i];
    if (curve.tag[i] == POTRACE_CORNER) {
      out.push_back(at(c[1]));
      out.push_back(at(c[2]));
    } else {
      appendCubic(current, at(c[0]), at(c[1]), at(c[2]), tolerance, out);
    }
    current = at(c[2]);
  }
  // The last vertex is the curve's start again.
  out.pop_back();
  return out;
}

}  // namespace vtcad::tracer
