#include "polyline/BatchOffset.h"

#include <algorithm>

#include "frame/EntityPlacement.h"
#include "polyline/PolylineVertexReading.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbDatabase.h"

namespace veltrace {

namespace {

bool isClockwise(const std::vector<ZcGePoint3d>& points) {
  double cx = 0.0, cy = 0.0;
  for (const ZcGePoint3d& p : points) {
    cx += p.x;
    cy += p.y;
  }
  cx /= static_cast<double>(points.size());
  cy /= static_cast<double>(points.size());
  int clockwise = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const double z =
        (points[i].x - cx) * (points[i + 1].y - cy) - (points[i].y - cy) * (points[i + 1].x - cx);
    if (z < 0.0) ++clockwise;
  }
  return static_cast<double>(clockwise) / static_cast<double>(points.size() - 1) > 0.5;
}

// The curve's length; negative when it cannot be measured.
double lengthOf(const ZcDbCurve& curve) {
  double end = 0.0, length = -1.0;
  if (curve.getEndParam(end) != Zcad::eOk || curve.getDistAtParam(end, length) != Zcad::eOk) return -1.0;
  return length;
}

// Places the host's offsets of `curve` at `distance`; how many were placed.
int placeOffsets(const ZcDbCurve& curve, double distance) {
  ZcDbVoidPtrArray offsets;
  const bool failed = curve.getOffsetCurves(distance, offsets) != Zcad::eOk;
  ZcDbDatabase* db = curve.database();
  int placed = 0;
  for (void* raw : offsets) {
    auto* entity = static_cast<ZcDbEntity*>(raw);
    // A failed request yields no copies, whatever it may have left in the list.
    if (failed) {
      delete entity;
      continue;
    }
    entity->setColor(db->cecolor());
    entity->setLayer(db->clayer());
    if (appendBesideSource(db, entity, curve.objectId()).placed()) {
      ++placed;
    } else {
      delete entity;
    }
  }
  return placed;
}

}  // namespace

bool orientCounterclockwise(ZcDbCurve* curve) {
  PolylineVertices vertices;
  if (!curve || !readPolylineVertices(*curve, VertexSet::kShown, vertices) || vertices.points.size() < 3)
    return false;
  if (!isClockwise(vertices.points)) return false;
  const bool wasReadOnly = !curve->isWriteEnabled();
  if (wasReadOnly && curve->upgradeOpen() != Zcad::eOk) return false;
  const bool reversed = curve->reverseCurve() == Zcad::eOk;
  if (wasReadOnly) curve->downgradeOpen();
  return reversed;
}

int offsetCopies(ZcDbEntity* entity, const SpacingTable& table, int copies, OffsetSides sides) {
  ZcDbCurve* curve = ZcDbCurve::cast(entity);
  if (!curve || !curve->database()) return 0;
  if (!(lengthOf(*curve) >= kSmallestSpacing)) return 0;
  orientCounterclockwise(curve);
  int placed = 0;
  for (int k = 1; k <= std::clamp(copies, 1, kMaxCopiesPerSide); ++k) {
    const double s = table.cumulative(k);
    if (sides != OffsetSides::kInner) placed += placeOffsets(*curve, s);
    if (sides != OffsetSides::kOutside) placed += placeOffsets(*curve, -s);
  }
  return placed;
}

}  // namespace veltrace
