#include "polyline/DuplicateVertices.h"

#include <cstddef>

#include "polyline/EntityErasure.h"
#include "polyline/PolylineVertexReading.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

int removeFromLightweight(ZcDbPolyline& polyline, const std::vector<bool>& marks) {
  int removed = 0;
  // From the highest index down, so the indices still to go stay valid.
  for (std::size_t i = marks.size(); i-- > 0;) {
    if (marks[i] && polyline.removeVertexAt(static_cast<unsigned int>(i)) == Zcad::eOk) ++removed;
  }
  return removed;
}

int eraseVertexObjects(const std::vector<ZcDbObjectId>& ids, const std::vector<bool>& marks) {
  int erased = 0;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (marks[i] && eraseById(ids[i])) ++erased;
  }
  return erased;
}

// The fit of a fitted polyline was made from the frame it had: it is made again from what is
// left, and closing refits as well.
template <typename Polyline, typename Type>
void refitAndClose(Polyline& polyline, Type simple, bool close) {
  const Type type = polyline.polyType();
  if (type != simple) polyline.convertToPolyType(type);
  if (close) polyline.makeClosed();
}

}  // namespace

int& deletedVertexCount() {
  static int count = 0;
  return count;
}

std::vector<bool> duplicateVertexMarks(const std::vector<ZcGePoint3d>& points) {
  const std::size_t count = points.size();
  std::vector<bool> marks(count, false);
  if (count < 2) return marks;
  bool all = true;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    marks[i] = points[i].distanceTo(points[i + 1]) < kDuplicateVertexDistance;
    all = all && marks[i];
  }
  marks[count - 1] = points[count - 1].distanceTo(points[0]) < kDuplicateVertexDistance;
  // A polyline of vertices all within a hair of each other keeps one of them.
  if (all && marks[count - 1]) marks[count - 1] = false;
  return marks;
}

int removeDuplicateVertices(ZcDbEntity* entity) {
  int& deleted = deletedVertexCount();
  const ZcDbCurve* curve = ZcDbCurve::cast(entity);
  if (!curve || polylineKindOf(curve) == PolylineKind::kNone) return deleted;
  if (!hasKeepableLength(*curve)) {
    eraseEntity(entity);
    return deleted;
  }
  PolylineVertices vertices;
  if (!readPolylineVertices(*curve, VertexSet::kFrame, vertices) || vertices.points.empty()) return deleted;
  const std::vector<bool> marks = duplicateVertexMarks(vertices.points);
  bool any = false;
  for (const bool mark : marks) any = any || mark;
  if (!any) return deleted;
  // Without its last vertex, an open polyline that came back to its start would lose its
  // closing segment.
  const bool close = marks.back() && !vertices.closed;

  if (vertices.kind == PolylineKind::kLightweight) {
    if (!openForWrite(entity)) return deleted;
    auto* polyline = ZcDbPolyline::cast(entity);
    deleted += removeFromLightweight(*polyline, marks);
    if (close) polyline->setClosed(true);
    return deleted;
  }
  // The vertex objects are erased while the polyline is open for read; it is upgraded after.
  const int erased = eraseVertexObjects(vertices.vertexIds, marks);
  deleted += erased;
  if (erased == 0 || !openForWrite(entity)) return deleted;
  if (auto* polyline2d = ZcDb2dPolyline::cast(entity)) {
    refitAndClose(*polyline2d, ZcDb::k2dSimplePoly, close);
  } else if (auto* polyline3d = ZcDb3dPolyline::cast(entity)) {
    refitAndClose(*polyline3d, ZcDb::k3dSimplePoly, close);
  }
  return deleted;
}

}  // namespace veltrace
