#pragma once
// Points at equal arc-length steps along a curve: the samples the influence commands bend and
// the blends and the fence mapping resample any curve into.
#include <optional>

#include "frame/PolylineFromPoints.h"
#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

// Curves shorter than this have no usable samples.
inline constexpr double kMinSampledLength = 0.0001;

// `count` points (16 when fewer than 4 are asked), the first the curve's start, point k at
// distance k L / (count - 1), the last exactly the curve's end point. nullopt when the length
// cannot be had or is below kMinSampledLength, or a point query fails.
std::optional<PointList> sampleCurveEvenly(const ZcDbCurve& curve, int count);

}  // namespace veltrace
