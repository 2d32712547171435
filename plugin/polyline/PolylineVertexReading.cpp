#include "polyline/PolylineVertexReading.h"

#include <memory>

#include "frame/CurveLength.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

bool wanted(ZcDb::Vertex2dType type, VertexSet set) {
  if (set == VertexSet::kShown) return type != ZcDb::k2dSplineCtlVertex;
  return type == ZcDb::k2dVertex || type == ZcDb::k2dSplineCtlVertex;
}

bool wanted(ZcDb::Vertex3dType type, VertexSet set) {
  return set == VertexSet::kShown ? type != ZcDb::k3dControlVertex : type != ZcDb::k3dFitVertex;
}

void readLightweight(const ZcDbPolyline& polyline, PolylineVertices& vertices) {
  double width = 0.0;
  if (polyline.getConstantWidth(width) != Zcad::eOk) width = 0.0;
  vertices.width = width;
  vertices.closed = polyline.isClosed();
  const unsigned int count = polyline.numVerts();
  vertices.points.resize(count);
  for (unsigned int i = 0; i < count; ++i) polyline.getPointAt(i, vertices.points[i]);
}

// Each vertex is opened for read on its own while the polyline is open.
template <typename Polyline, typename Vertex, typename Position>
bool readOldStyle(const Polyline& polyline, VertexSet set, PolylineVertices& vertices, Position position) {
  const std::unique_ptr<ZcDbObjectIterator> it(polyline.vertexIterator());
  for (it->start(); !it->done(); it->step()) {
    // Stepping passes over erased vertices; starting does not.
    if (it->objectId().isErased()) continue;
    Vertex* vertex = nullptr;
    if (polyline.openVertex(vertex, it->objectId(), ZcDb::kForRead) != Zcad::eOk) return false;
    if (wanted(vertex->vertexType(), set)) {
      vertices.points.push_back(position(*vertex));
      vertices.vertexIds.push_back(it->objectId());
    }
    vertex->close();
  }
  return true;
}

}  // namespace

PolylineKind polylineKindOf(const ZcDbObject* object) {
  if (ZcDbPolyline::cast(object)) return PolylineKind::kLightweight;
  if (ZcDb2dPolyline::cast(object)) return PolylineKind::kOldStyle2d;
  if (ZcDb3dPolyline::cast(object)) return PolylineKind::kOldStyle3d;
  return PolylineKind::kNone;
}

bool hasKeepableLength(const ZcDbCurve& curve) {
  const std::optional<double> length = curveLength(curve);
  // Written so that a length that is not a number counts as unmeasurable.
  return length && *length >= kShortestPolyline;
}

bool readPolylineVertices(const ZcDbCurve& curve, VertexSet set, PolylineVertices& vertices) {
  vertices = PolylineVertices();
  vertices.kind = polylineKindOf(&curve);
  switch (vertices.kind) {
    case PolylineKind::kLightweight:
      readLightweight(*ZcDbPolyline::cast(&curve), vertices);
      return true;
    case PolylineKind::kOldStyle2d: {
      const ZcDb2dPolyline& polyline = *ZcDb2dPolyline::cast(&curve);
      vertices.width = polyline.defaultStartWidth();
      vertices.closed = polyline.isClosed();
      return readOldStyle<ZcDb2dPolyline, ZcDb2dVertex>(
          polyline, set, vertices, [&](const ZcDb2dVertex& v) { return polyline.vertexPosition(v); });
    }
    case PolylineKind::kOldStyle3d: {
      const ZcDb3dPolyline& polyline = *ZcDb3dPolyline::cast(&curve);
      vertices.closed = polyline.isClosed();
      return readOldStyle<ZcDb3dPolyline, ZcDb3dPolylineVertex>(
          polyline, set, vertices, [](const ZcDb3dPolylineVertex& v) { return v.position(); });
    }
    case PolylineKind::kNone:
      break;
  }
  return false;
}

}  // namespace veltrace
