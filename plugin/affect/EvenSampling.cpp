#include "affect/EvenSampling.h"

#include <cstddef>

#include "frame/CurveLength.h"

namespace veltrace {

namespace {

// A count too small to show a curve's shape.
constexpr int kSmallestCount = 4;
constexpr int kFallbackCount = 16;

}  // namespace

std::optional<PointList> sampleCurveEvenly(const ZcDbCurve& curve, int count) {
  const std::optional<double> length = curveLength(curve);
  if (!length || !(*length >= kMinSampledLength)) return std::nullopt;
  const int m = count < kSmallestCount ? kFallbackCount : count;
  PointList points(static_cast<std::size_t>(m));
  for (int k = 0; k < m; ++k) {
    // The last distance may overshoot the length by rounding; the end point replaces it.
    const double distance = k + 1 == m ? *length : *length * k / (m - 1);
    if (curve.getPointAtDist(distance, points[static_cast<std::size_t>(k)]) != Zcad::eOk) return std::nullopt;
  }
  if (curve.getEndPoint(points.back()) != Zcad::eOk) return std::nullopt;
  return points;
}

}  // namespace veltrace
