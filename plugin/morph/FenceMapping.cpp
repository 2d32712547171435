#include "morph/FenceMapping.h"

#include <algorithm>
#include <cmath>

#include "affect/EvenSampling.h"
#include "formula/CurveThroughPoints.h"
#include "frame/CurveLength.h"

namespace veltrace {

namespace {

// Boxes and fence curves below this are degenerate for the mapping.
constexpr double kSmallestMeasure = 0.0001;
constexpr int kFewestSamples = 6;
constexpr int kMostSamples = 36;

// The unit tangent of the curve at its start (atEnd false) or end, pointing along the curve;
// the chord of a short piece at that end when the derivative is zero.
std::optional<ZcGeVector3d> endTangent(const ZcDbCurve& curve, double length, bool atEnd) {
  double param = 0.0;
  ZcGeVector3d tangent;
  if ((atEnd ? curve.getEndParam(param) : curve.getStartParam(param)) == Zcad::eOk &&
      curve.getFirstDeriv(param, tangent) == Zcad::eOk && !tangent.isZeroLength()) {
    return tangent.normal();
  }
  ZcGePoint3d a;
  ZcGePoint3d b;
  const double step = length * 0.001;
  if (curve.getPointAtDist(atEnd ? length - step : 0.0, a) != Zcad::eOk ||
      curve.getPointAtDist(atEnd ? length : step, b) != Zcad::eOk || a.isEqualTo(b)) {
    return std::nullopt;
  }
  return (b - a).normal();
}

bool finite(const ZcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

std::optional<ZcGePoint3d> fencePointAt(const ZcDbCurve& curve, double length, double f) {
  ZcGePoint3d point;
  if (f >= 0.0 && f <= 1.0) {
    if (curve.getPointAtDist(std::min(f * length, length), point) != Zcad::eOk) return std::nullopt;
    return point;
  }
  const bool beyondEnd = f > 1.0;
  const std::optional<ZcGeVector3d> tangent = endTangent(curve, length, beyondEnd);
  if (!tangent) return std::nullopt;
  if ((beyondEnd ? curve.getEndPoint(point) : curve.getStartPoint(point)) != Zcad::eOk) return std::nullopt;
  return point + *tangent * ((beyondEnd ? f - 1.0 : f) * length);
}

std::optional<ZcGePoint3d> mapPointToFence(const ZcGePoint3d& p, const ZcGePoint3d& cornerA,
                                           const ZcGePoint3d& cornerB, const Fence& fence) {
  const double width = std::abs(cornerB.x - cornerA.x);
  const double height = std::abs(cornerB.y - cornerA.y);
  if (!(width >= kSmallestMeasure) || !(height >= kSmallestMeasure)) return std::nullopt;
  const double lt = curveLength(*fence.top).value_or(0.0);
  const double lb = curveLength(*fence.bottom).value_or(0.0);
  const double ll = curveLength(*fence.left).value_or(0.0);
  const double lr = curveLength(*fence.right).value_or(0.0);
  if (!(std::min({lt, lb, ll, lr}) >= kSmallestMeasure)) return std::nullopt;
  // Signed fractions: points left of or below the box fall outside 0..1 rather than being
  // mirrored back into it.
  const double u = (p.x - std::min(cornerA.x, cornerB.x)) / width;
  const double v = (p.y - std::min(cornerA.y, cornerB.y)) / height;
  const std::optional<ZcGePoint3d> tu = fencePointAt(*fence.top, lt, u);
  const std::optional<ZcGePoint3d> bu = fencePointAt(*fence.bottom, lb, u);
  const std::optional<ZcGePoint3d> lv = fencePointAt(*fence.left, ll, v);
  const std::optional<ZcGePoint3d> rv = fencePointAt(*fence.right, lr, v);
  ZcGePoint3d ts, te, bs, be;
  if (!tu || !bu || !lv || !rv || fence.top->getStartPoint(ts) != Zcad::eOk ||
      fence.top->getEndPoint(te) != Zcad::eOk || fence.bottom->getStartPoint(bs) != Zcad::eOk ||
      fence.bottom->getEndPoint(be) != Zcad::eOk) {
    return std::nullopt;
  }
  // The blend of top and bottom, corrected by how far the side curves leave the straight
  // lines between the corners.
  const ZcGePoint3d q = *bu + (*tu - *bu) * v;
  const ZcGePoint3d mapped = q + (*lv - (bs + (ts - bs) * v)) * (1.0 - u) + (*rv - (be + (te - be) * v)) * u;
  if (!finite(mapped)) return std::nullopt;
  return mapped;
}

std::optional<ZcDbObjectId> mapCurveToFence(int count, const ZcGePoint3d& cornerA, const ZcGePoint3d& cornerB,
                                            const ZcDbCurve& curve, const Fence& fence) {
  const std::optional<PointList> samples = sampleCurveEvenly(curve, count);
  if (!samples) return std::nullopt;
  PointList mapped;
  mapped.reserve(samples->size());
  for (const ZcGePoint3d& p : *samples) {
    const std::optional<ZcGePoint3d> q = mapPointToFence(p, cornerA, cornerB, fence);
    if (!q) return std::nullopt;
    mapped.push_back(*q);
  }
  const ZcGeVector3d none(0.0, 0.0, 0.0);
  return buildCurveThroughPoints(mapped, ZcCmColor(), /*closed=*/false, /*startTangent=*/none,
                                 /*endTangent=*/none);
}

int fenceSampleCount(double length, double fenceSize, int precision) {
  int k = kMostSamples;
  if (fenceSize > 0.0) {
    const double share = 100.0 * length / fenceSize;
    k = share >= kMostSamples ? kMostSamples : std::max(kFewestSamples, static_cast<int>(share));
  }
  return k * precision;
}

}  // namespace veltrace
