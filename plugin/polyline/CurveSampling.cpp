#include "polyline/CurveSampling.h"

#include "frame/CurveLength.h"
#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

bool sampleCurveByLength(const ZcDbCurve& curve, int count, PointList& points) {
  const std::optional<double> measured = curveLength(curve);
  if (!measured || !(*measured >= kShortestSampledCurve)) return false;
  const double length = *measured;
  for (int i = 0; i < count; ++i) {
    // The last distance is the length itself, not a product that may round past the end; a
    // single sample (no spacing to divide by) is the start.
    const double distance = i == count - 1 ? (count == 1 ? 0.0 : length) : i * length / (count - 1);
    ZcGePoint3d point;
    if (curve.getPointAtDist(distance, point) == Zcad::eOk) points.push_back(point);
  }
  ZcGePoint3d end;
  if (curve.getEndPoint(end) == Zcad::eOk) points.push_back(end);
  return !points.empty();
}

}  // namespace veltrace
