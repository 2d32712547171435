#pragma once
// Points of a curve evenly spaced along its length.
#include "frame/PolylineFromPoints.h"

class ZcDbCurve;

namespace veltrace {

// Curves shorter than this are not sampled.
inline constexpr double kShortestSampledCurve = 0.0001;

// Appends to `points` the points at distances i * L / (count - 1), i = 0 … count - 1, from the
// start of `curve` (L its length), then its end point once more, so the end point is in the
// list twice. A count of 1 samples the start point only; 0 or less samples nothing but the end
// point. A point the curve cannot answer is left out. True when `points` holds at least one
// point afterwards; false, with nothing appended, when the length cannot be measured or is
// below kShortestSampledCurve.
bool sampleCurveByLength(const ZcDbCurve& curve, int count, PointList& points);

}  // namespace veltrace
