#include "morph/PolylineInterpolation.h"

#include <cstddef>
#include <vector>

#include "frame/CurveLength.h"
#include "frame/Messages.h"
#include "morph/LwPolylineBuilder.h"
#include "morph/LwPolylinePick.h"
#include "morph/MorphPrompts.h"
#include "morph/SpacingLaw.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// Shorter reference curves are ignored: the steps could not spread along them.
constexpr double kMinReferenceLength = 0.0001;

// The vertex whose path is bent onto the reference curve: the first polyline's vertex nearest
// to either end of the curve. Only a strictly nearer vertex replaces, so on a tie the start
// point and the lower index win.
std::size_t anchorVertex(const std::vector<ZcGePoint3d>& first, const ZcGePoint3d& start,
                         const ZcGePoint3d& end) {
  std::size_t anchor = 0;
  double nearest = start.distanceTo(first[0]);
  for (std::size_t i = 1; i < first.size(); ++i) {
    if (const double d = start.distanceTo(first[i]); d < nearest) {
      nearest = d;
      anchor = i;
    }
  }
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (const double d = end.distanceTo(first[i]); d < nearest) {
      nearest = d;
      anchor = i;
    }
  }
  return anchor;
}

// The shift of every step that puts the anchor vertex on the curve at arc length t_j L from
// the curve's own start, whichever end lies near the polylines. Empty when the curve cannot
// answer a point (the steps then go without it).
std::vector<ZcGeVector3d> referenceOffsets(const ZcDbCurve& curve, double length, const PolylinePair& pair,
                                           int count, double acceleration) {
  // Polylines without vertices make no steps: there is nothing to anchor.
  if (pair.first.points.empty()) return {};
  ZcGePoint3d start;
  ZcGePoint3d end;
  if (curve.getStartPoint(start) != Zcad::eOk || curve.getEndPoint(end) != Zcad::eOk) return {};
  const std::size_t k = anchorVertex(pair.first.points, start, end);
  const ZcGePoint3d& a = pair.first.points[k];
  const ZcGePoint3d& b = pair.second.points[k];
  std::vector<ZcGeVector3d> offsets(static_cast<std::size_t>(count));
  for (int j = 0; j < count; ++j) {
    const double t = densityFraction(j, count, acceleration);
    ZcGePoint3d onCurve;
    if (curve.getPointAtDist(t * length, onCurve) != Zcad::eOk) return {};
    offsets[static_cast<std::size_t>(j)] = onCurve - (a + (b - a) * t);
  }
  return offsets;
}

// Asks for the curve on the bottom. Empty (no message) when the user gives none, or picks
// something that is not a curve, cannot be opened or is shorter than kMinReferenceLength.
std::vector<ZcGeVector3d> askReferenceOffsets(const PolylinePair& pair, int count, double acceleration) {
  zds_name entity = {0, 0};
  zds_point picked = {0, 0, 0};
  if (entSelBilingual(L"\n请选择一根底部参考曲线(可回车不选)： ",
                      L"\nPlease select a refrence curve on the bottom: (return = ignore): ", entity,
                      picked) != RTNORM) {
    return {};
  }
  ZcDbObjectId id;
  ZcDbObject* object = nullptr;
  if (zcdbGetObjectId(id, entity) != Zcad::eOk || zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) {
    return {};
  }
  std::vector<ZcGeVector3d> offsets;
  if (const ZcDbCurve* curve = ZcDbCurve::cast(object)) {
    const double length = curveLength(*curve).value_or(0.0);
    if (length >= kMinReferenceLength) offsets = referenceOffsets(*curve, length, pair, count, acceleration);
  }
  object->close();
  return offsets;
}

}  // namespace

VertexTable interpolatedShape(const PolylinePair& pair, double t, const ZcGeVector3d& offset) {
  const std::size_t n = pair.first.points.size();
  VertexTable shape;
  shape.points.resize(n);
  shape.bulges.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const ZcGePoint3d& a = pair.first.points[i];
    const ZcGePoint3d& b = pair.second.points[i];
    shape.points[i] = a + (b - a) * t + offset;
    shape.bulges[i] = pair.first.bulges[i] + (pair.second.bulges[i] - pair.first.bulges[i]) * t;
  }
  return shape;
}

std::optional<ZcDbObjectId> interpolatePolylineStep(const PolylinePair& pair, double t,
                                                    const ZcGeVector3d& offset) {
  const VertexTable shape = interpolatedShape(pair, t, offset);
  return makeLwPolyline(shape.points, shape.bulges, pair.firstClosed, /*reference=*/ZcDbObjectId());
}

void plintCommand() {
  const std::optional<LwPolylinePicks> picks = pickFirstAndSecondLwPolyline();
  if (!picks) return;
  const std::optional<PolylinePair> pair = readPolylinePair(picks->first, picks->second);
  if (!pair) return;

  const int count = askInterpolationCount();
  const double acceleration = askDensityAcceleration();
  std::vector<ZcGeVector3d> offsets = askReferenceOffsets(*pair, count, acceleration);
  if (offsets.empty()) offsets.assign(static_cast<std::size_t>(count), ZcGeVector3d(0.0, 0.0, 0.0));

  // Nearest the first polyline first.
  for (int j = 0; j < count; ++j) {
    interpolatePolylineStep(*pair, densityFraction(j, count, acceleration),
                            offsets[static_cast<std::size_t>(j)]);
  }
}

}  // namespace veltrace
