#include "polyline/NumberVertices.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cwchar>
#include <iterator>
#include <memory>

#include "frame/Messages.h"
#include "frame/PolylineFromPoints.h"
#include "frame/SystemVariables.h"
#include "polyline/VertexCommandSelection.h"
#include "polyline/VertexMarks.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择多段线>\n", L"Please select polyline >\n"};
constexpr MessagePair kNothingSelected{L"未选中多段线。\n", L"No polyline selected.\n"};
constexpr MessagePair kHeightPrompt{L"\n请输入标记文字高度(%.2f):",
                                    L"\nPlease enter the mark text height(%.2f):"};
constexpr MessagePair kLowerLeftPrompt{L"是否把默认起点设在左下角[Y/N](Y):", L"Lower Left default?[Y/N](Y):"};

// Heights at or below this are taken for a slip and give the default.
constexpr double kMinHeight = 0.001;
// The view height when VIEWSIZE cannot be read.
constexpr double kFallbackViewSize = 100.0;
// Two ends this close in x are taken as one above the other.
constexpr double kSameXTolerance = 0.0001;
// Point display of the marks: a circle with a cross.
constexpr short kMarkPointMode = 35;

double defaultHeight() {
  double viewSize = kFallbackViewSize;
  if (getSysVarReal(L"VIEWSIZE", viewSize) != kSysVarOk) viewSize = kFallbackViewSize;
  return viewSize / 30.0;
}

double askHeight(double fallback) {
  wchar_t prompt[128] = {};
  std::swprintf(prompt, std::size(prompt), kHeightPrompt.text(), fallback);
  double height = 0.0;
  if (zcedGetReal(prompt, &height) != RTNORM || !std::isfinite(height) || height <= kMinHeight)
    return fallback;
  return height;
}

template <typename Polyline, typename Vertex, typename Position>
void appendVertexPositions(const Polyline& polyline, PointList& points, Position position) {
  const std::unique_ptr<ZcDbObjectIterator> vertices(polyline.vertexIterator());
  if (!vertices) return;
  for (vertices->start(); !vertices->done(); vertices->step()) {
    Vertex* vertex = nullptr;
    if (polyline.openVertex(vertex, vertices->objectId(), ZcDb::kForRead) != Zcad::eOk) continue;
    points.push_back(position(*vertex));
    vertex->close();
  }
}

PointList vertexPoints(const ZcDbEntity& entity) {
  PointList points;
  if (const ZcDbPolyline* lightweight = ZcDbPolyline::cast(&entity)) {
    for (unsigned int i = 0; i < lightweight->numVerts(); ++i) {
      ZcGePoint3d point;
      if (lightweight->getPointAt(i, point) == Zcad::eOk) points.push_back(point);
    }
  } else if (const ZcDb2dPolyline* flat = ZcDb2dPolyline::cast(&entity)) {
    // A 2-D vertex keeps its position in the polyline's plane; the mark goes to the world point.
    appendVertexPositions<ZcDb2dPolyline, ZcDb2dVertex>(
        *flat, points, [flat](const ZcDb2dVertex& vertex) { return flat->vertexPosition(vertex); });
  } else if (const ZcDb3dPolyline* spatial = ZcDb3dPolyline::cast(&entity)) {
    appendVertexPositions<ZcDb3dPolyline, ZcDb3dPolylineVertex>(
        *spatial, points, [](const ZcDb3dPolylineVertex& vertex) { return vertex.position(); });
  } else if (const ZcDbSpline* spline = ZcDbSpline::cast(&entity)) {
    for (int i = 0; i < spline->numFitPoints(); ++i) {
      ZcGePoint3d point;
      if (spline->getFitPointAt(i, point) == Zcad::eOk) points.push_back(point);
    }
  } else if (ZcDbLine::cast(&entity) || ZcDbArc::cast(&entity) ||
             (ZcDbEllipse::cast(&entity) && !ZcDbEllipse::cast(&entity)->isClosed())) {
    const auto* curve = static_cast<const ZcDbCurve*>(&entity);
    ZcGePoint3d start, end;
    if (curve->getStartPoint(start) == Zcad::eOk && curve->getEndPoint(end) == Zcad::eOk) {
      points = {start, end};
    }
  }
  return points;
}

PointList vertexPoints(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return {};
  PointList points = vertexPoints(*entity);
  entity->close();
  return points;
}

// The numbers start at the left end, or at the lower end of a curve whose ends are one above
// the other. Ends within the tolerance in x are compared by y alone, so a nearly vertical
// curve drawn upward keeps its order whichever way it leans.
void startFromLowerLeft(PointList& points) {
  if (points.size() < 2) return;
  const ZcGePoint3d& first = points.front();
  const ZcGePoint3d& last = points.back();
  const bool sameX = std::abs(first.x - last.x) < kSameXTolerance;
  if (sameX ? first.y > last.y : first.x > last.x) std::reverse(points.begin(), points.end());
}

}  // namespace

void plbhCommand() {
  const TypedSelection selection = selectOfKinds(kSelectPrompt, SelectableKinds::kNumberable);
  if (selection.outcome != SelectionOutcome::kSelected) {
    printBilingual(kNothingSelected.chinese, kNothingSelected.english);
    return;
  }
  const double height = askHeight(defaultHeight());
  const bool lowerLeft = getYesNoBilingual(kLowerLeftPrompt.chinese, kLowerLeftPrompt.english,
                                           /*defaultAnswer=*/true);
  for (const ZcDbObjectId& id : selection.ids) {
    PointList points = vertexPoints(id);
    if (lowerLeft) startFromLowerLeft(points);
    for (std::size_t i = 0; i < points.size(); ++i) markVertex(points[i], height, static_cast<int>(i));
  }
  setSysVarInt(L"PDMODE", kMarkPointMode);
}

}  // namespace veltrace
