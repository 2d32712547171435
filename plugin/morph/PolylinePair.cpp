#include "morph/PolylinePair.h"

#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

VertexTable readTable(const ZcDbPolyline& polyline) {
  VertexTable table;
  const unsigned int n = polyline.numVerts();
  table.points.resize(n);
  table.bulges.resize(n);
  for (unsigned int i = 0; i < n; ++i) {
    polyline.getPointAt(i, table.points[i]);
    polyline.getBulgeAt(i, table.bulges[i]);
  }
  return table;
}

}  // namespace

std::optional<PolylinePair> readPolylinePair(ZcDbObjectId first, ZcDbObjectId second) {
  const ReadOpen<ZcDbObject> firstObject(first);
  if (!firstObject.get()) return std::nullopt;
  const ReadOpen<ZcDbObject> secondObject(second);
  if (!secondObject.get()) return std::nullopt;
  const ZcDbPolyline* a = ZcDbPolyline::cast(firstObject.get());
  const ZcDbPolyline* b = ZcDbPolyline::cast(secondObject.get());
  if (!a || !b) {
    printBilingual(L"\n多段线意外错误。", L"\nPolyline unexpected error.");
    return std::nullopt;
  }
  if (a->numVerts() != b->numVerts()) {
    printBilingual(L"\n两根多段线顶点数量不同，不能间插。",
                   L"\nThe number of vertices of two polylines is different and cannot be interpolated.");
    return std::nullopt;
  }
  PolylinePair pair;
  pair.first = readTable(*a);
  pair.second = readTable(*b);
  pair.firstClosed = a->isClosed();
  return pair;
}

}  // namespace veltrace
