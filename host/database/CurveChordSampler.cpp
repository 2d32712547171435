#include "database/CurveChordSampler.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <queue>
#include <vector>

#include "zcad/ge/ZcGeCurve3d.h"

namespace vtcad::db {
namespace {

struct Piece {
  double from = 0.0;
  double to = 0.0;
  double deviation = 0.0;
  // Worst first; equal deviations in parameter order, so the result is deterministic.
  bool operator<(const Piece& other) const {
    if (deviation != other.deviation) return deviation < other.deviation;
    return from > other.from;
  }
};

Piece measure(const ZcGeCurve3d& curve, double from, double to) {
  const ZcGePoint3d a = curve.evalPoint(from), b = curve.evalPoint(to);
  double deviation = 0.0;
  for (const double fraction : {0.25, 0.5, 0.75})
    deviation = std::max(deviation, distanceToSegment(curve.evalPoint(from + fraction * (to - from)), a, b));
  return {from, to, deviation};
}

}  // namespace

double distanceToSegment(const ZcGePoint3d& point, const ZcGePoint3d& a, const ZcGePoint3d& b) {
  const ZcGeVector3d ab = b - a;
  const double lengthSqrd = ab.lengthSqrd();
  if (!(lengthSqrd > 0.0)) return point.distanceTo(a);
  const double t = std::clamp((point - a).dotProduct(ab) / lengthSqrd, 0.0, 1.0);
  return point.distanceTo(a + ab * t);
}

ZcGeDoubleArray chordSampleParams(const ZcGeCurve3d& curve, const ZcGeDoubleArray& breakParams,
                                  double tolerance, int maxSegments, int piecesPerSpan) {
  assert(maxSegments >= 1 && piecesPerSpan >= 1);
  ZcGeDoubleArray result;
  const int spans = breakParams.length() - 1;
  if (spans < 1) return result;
  if (spans > maxSegments) {
    for (int i = 0; i <= maxSegments; ++i) {
      const long index = static_cast<long>(std::llround(static_cast<double>(i) * spans / maxSegments));
      result.append(breakParams[static_cast<int>(index)]);
    }
    return result;
  }
  const int perSpan = std::max(1, std::min(piecesPerSpan, maxSegments / spans));
  std::priority_queue<Piece> pieces;
  for (int i = 0; i < spans; ++i) {
    const double from = breakParams[i], step = (breakParams[i + 1] - from) / perSpan;
    for (int k = 0; k < perSpan; ++k) {
      const double to = k + 1 == perSpan ? breakParams[i + 1] : from + (k + 1) * step;
      pieces.push(measure(curve, from + k * step, to));
    }
  }
  while (static_cast<int>(pieces.size()) < maxSegments && pieces.top().deviation > tolerance) {
    const Piece worst = pieces.top();
    pieces.pop();
    const double mid = 0.5 * (worst.from + worst.to);
    if (!(mid > worst.from && mid < worst.to)) {
      // Too short to halve in floating point: kept as it is, never picked again.
      pieces.push({worst.from, worst.to, -1.0});
      continue;
    }
    pieces.push(measure(curve, worst.from, mid));
    pieces.push(measure(curve, mid, worst.to));
  }
  std::vector<double> params;
  params.reserve(pieces.size() + 1);
  while (!pieces.empty()) {
    params.push_back(pieces.top().from);
    pieces.pop();
  }
  std::sort(params.begin(), params.end());
  for (const double param : params) result.append(param);
  result.append(breakParams.last());
  return result;
}

}  // namespace vtcad::db
