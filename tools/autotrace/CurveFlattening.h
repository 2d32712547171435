#pragma once
// A closed potrace curve as a polygon: corners kept, Bézier segments cut into chords that stay
// within a tolerance of the curve.
#include <potracelib.h>

#include <vector>

namespace vtcad::tracer {

struct Point {
  double x = 0;
  double y = 0;
};

// Vertices of the closed curve, the closing vertex not repeated. tolerance: the largest
// distance, in pixels, between a chord and its piece of curve.
std::vector<Point> flattenCurve(const potrace_curve_t& curve, double tolerance);

}  // namespace vtcad::tracer
