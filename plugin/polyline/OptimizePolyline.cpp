#include "polyline/OptimizePolyline.h"

#include <cmath>
#include <cstddef>

#include "frame/EntityPlacement.h"
#include "frame/LightweightPolyline.h"
#include "polyline/EntityErasure.h"
#include "polyline/PolylineVertexReading.h"
#include "polyline/VertexListPasses.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

ZcDbEntity* lightweightCopy(const PolylineVertices& vertices, std::size_t& written) {
  ZcDbPolyline* polyline =
      newLightweightPolyline(vertices.points, /*bulges=*/{}, /*elevation=*/0.0, vertices.closed);
  polyline->setConstantWidth(vertices.width);
  written = polyline->numVerts();
  return polyline;
}

ZcDbEntity* spatialCopy(const PolylineVertices& vertices, std::size_t& written) {
  auto* polyline = new ZcDb3dPolyline;
  written = 0;
  const ZcGePoint3d* previous = nullptr;
  for (const ZcGePoint3d& p : vertices.points) {
    if (previous && p.distanceTo(*previous) < kCoincidentVertexDistance) continue;
    polyline->appendVertex(new ZcDb3dPolylineVertex(p));
    previous = &p;
    ++written;
  }
  // A closed source stays closed: the flag is part of the shape.
  if (vertices.closed) polyline->makeClosed();
  return polyline;
}

Placement appendTo(ZcDbBlockTableRecord& block, ZcDbEntity* copy) {
  Placement placement;
  placement.status = block.appendZcDbEntity(placement.id, copy);
  if (placement.placed()) copy->close();
  return placement;
}

Placement place(ZcDbEntity* copy, ZcDbBlockTableRecord* block, const ZcDbEntity& source) {
  if (block) return appendTo(*block, copy);
  if (!source.isWriteEnabled()) return appendBesideSource(source.database(), copy, source.objectId());
  // A source open for write cannot be opened again to find its block, and the copy would
  // land in the current space: its block is opened here instead.
  ZcDbBlockTableRecord* owner = nullptr;
  if (zcdbOpenObject(owner, source.ownerId(), ZcDb::kForWrite) != Zcad::eOk) {
    return Placement{Zcad::eNotInBlock, ZcDbObjectId()};
  }
  const Placement placement = appendTo(*owner, copy);
  owner->close();
  return placement;
}

}  // namespace

VertexStatistics& vertexStatistics() {
  static VertexStatistics statistics;
  return statistics;
}

ZcDbObjectId optimizePolyline(ZcDbEntity* source, ZcDbBlockTableRecord* block, double extentsDiagonal,
                              double toleranceFactor) {
  const ZcDbCurve* curve = ZcDbCurve::cast(source);
  // The kind is judged before the length, so that a short curve of another kind (a line) is
  // not erased by a polyline tool.
  if (!curve || polylineKindOf(curve) == PolylineKind::kNone) return ZcDbObjectId();
  const double threshold = optimizationThreshold(extentsDiagonal, toleranceFactor);
  if (!std::isfinite(threshold) || threshold < 0.0) return ZcDbObjectId();
  if (!hasKeepableLength(*curve)) {
    eraseEntity(source);
    return ZcDbObjectId();
  }
  PolylineVertices vertices;
  if (!readPolylineVertices(*curve, VertexSet::kShown, vertices)) return ZcDbObjectId();

  VertexStatistics& statistics = vertexStatistics();
  const int read = static_cast<int>(vertices.points.size());
  statistics.before += read;
  std::size_t count = straightenVertices(vertices.points.data(), vertices.points.size(), threshold);
  if (count <= 1) {
    // Only a polyline of at most one vertex gets here; it stays, nothing saved.
    statistics.after += read;
    return ZcDbObjectId();
  }
  count = mergeVertexClusters(vertices.points.data(), count, threshold);
  vertices.points.resize(count);

  std::size_t written = 0;
  ZcDbEntity* copy = vertices.kind == PolylineKind::kOldStyle3d ? spatialCopy(vertices, written)
                                                                : lightweightCopy(vertices, written);
  copy->setColorIndex(source->colorIndex());
  copy->setLayer(source->layerId());
  const Placement placement =
      written >= 2 ? place(copy, block, *source) : Placement{Zcad::eDegenerateGeometry, ZcDbObjectId()};
  if (!placement.placed()) {
    delete copy;
    statistics.after += read;
    return ZcDbObjectId();
  }
  if (!eraseEntity(source)) {
    // Both would stay otherwise: the drawing keeps the source alone.
    eraseById(placement.id);
    statistics.after += read;
    return ZcDbObjectId();
  }
  statistics.after += static_cast<int>(written);
  return placement.id;
}

}  // namespace veltrace
