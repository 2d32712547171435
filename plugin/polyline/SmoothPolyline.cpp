#include "polyline/SmoothPolyline.h"

#include "frame/LightweightPolyline.h"
#include "polyline/CurveSampling.h"
#include "polyline/EntityErasure.h"
#include "polyline/OptimizePolyline.h"
#include "polyline/PolylineVertexReading.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

// The block the new polylines go into: the one given, or the block that holds the source,
// opened here for write for as long as this lives. The source, open for write, cannot be
// opened again to find its block, so every placement goes through the record itself.
class TargetBlock {
 public:
  TargetBlock(ZcDbBlockTableRecord* given, const ZcDbEntity& source) : record_(given) {
    if (record_) return;
    if (zcdbOpenObject(owned_, source.ownerId(), ZcDb::kForWrite) == Zcad::eOk) record_ = owned_;
  }
  ~TargetBlock() {
    if (owned_) owned_->close();
  }
  TargetBlock(const TargetBlock&) = delete;
  TargetBlock& operator=(const TargetBlock&) = delete;
  ZcDbBlockTableRecord* get() const { return record_; }

 private:
  ZcDbBlockTableRecord* record_ = nullptr;
  ZcDbBlockTableRecord* owned_ = nullptr;
};

// A frame vertex on top of the one before it (the sampled end point is in the list twice, a
// closed list ends on its start) would pinch the fitted curve into a corner there.
void dropCoincidentVertices(ZcDbPolyline& polyline, bool closed) {
  for (unsigned int i = polyline.numVerts(); i-- > 1 && polyline.numVerts() > 2;) {
    ZcGePoint2d here, before;
    polyline.getPointAt(i, here);
    polyline.getPointAt(i - 1, before);
    if (here.distanceTo(before) < kCoincidentVertexDistance) polyline.removeVertexAt(i);
  }
  while (closed && polyline.numVerts() > 2) {
    ZcGePoint2d first, last;
    polyline.getPointAt(0, first);
    polyline.getPointAt(polyline.numVerts() - 1, last);
    if (last.distanceTo(first) >= kCoincidentVertexDistance) break;
    polyline.removeVertexAt(polyline.numVerts() - 1);
  }
}

// The optimised polyline becomes the spline-fit one under the same id and in the same place.
void fitSpline(ZcDbObjectId id, const PolylineVertices& shape, ZcDbObjectId layer, const ZcCmColor& colour) {
  ZcDbPolyline* optimized = nullptr;
  if (zcdbOpenObject(optimized, id, ZcDb::kForWrite) != Zcad::eOk) return;
  dropCoincidentVertices(*optimized, shape.closed);
  // Carried by every vertex into the fit (the default widths alone would not show).
  optimized->setConstantWidth(shape.width);
  ZcDb2dPolyline* fitted = nullptr;
  if (optimized->convertTo(fitted, /*transferId=*/true) != Zcad::eObjectToBeDeleted) {
    optimized->close();
    return;
  }
  delete optimized;
  fitted->setPolyType(ZcDb::k2dCubicSplinePoly);
  if (shape.closed) fitted->makeClosed();
  fitted->setDefaultStartWidth(shape.width);
  fitted->setDefaultEndWidth(shape.width);
  fitted->setLayer(layer);
  fitted->setColor(colour);
  fitted->close();
}

}  // namespace

ZcDbObjectId smoothPolyline(ZcDbEntity* source, ZcDbBlockTableRecord* block, double extentsDiagonal,
                            double toleranceFactor) {
  const ZcDbCurve* curve = ZcDbCurve::cast(source);
  if (!curve || polylineKindOf(curve) == PolylineKind::kNone) return ZcDbObjectId();
  const ZcDbObjectId layer = source->layerId();
  const ZcCmColor colour = source->color();
  if (!hasKeepableLength(*curve)) {
    eraseEntity(source);
    return ZcDbObjectId();
  }
  PolylineVertices shape;
  if (!readPolylineVertices(*curve, VertexSet::kShown, shape) || shape.points.size() < 3)
    return ZcDbObjectId();
  PointList points;
  if (!sampleCurveByLength(*curve, static_cast<int>(shape.points.size()), points)) return ZcDbObjectId();
  if (shape.closed) points.push_back(points.front());

  const TargetBlock target(block, *source);
  if (!target.get()) return ZcDbObjectId();
  ZcDbPolyline* intermediate =
      newLightweightPolyline(points, /*bulges=*/{}, points.front().z, /*closed=*/false);
  intermediate->setPropertiesFrom(source);
  ZcDbObjectId intermediateId;
  if (target.get()->appendZcDbEntity(intermediateId, intermediate) != Zcad::eOk) {
    delete intermediate;
    return ZcDbObjectId();
  }
  // Still open for write from the append; the optimiser erases it when it succeeds.
  const ZcDbObjectId optimized =
      optimizePolyline(intermediate, target.get(), extentsDiagonal, toleranceFactor);
  if (optimized.isNull() && !intermediate->isErased()) intermediate->erase();
  intermediate->close();
  if (optimized.isNull()) return ZcDbObjectId();
  if (!eraseEntity(source)) {
    eraseById(optimized);
    return ZcDbObjectId();
  }
  fitSpline(optimized, shape, layer, colour);
  return optimized;
}

}  // namespace veltrace
