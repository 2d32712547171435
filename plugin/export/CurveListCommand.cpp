// PLLIST: the points of each selected curve, one row a point, and a summary row with the
// curve's length and area.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "export/ListCommand.h"
#include "export/ListCommands.h"
#include "frame/CurveLength.h"
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

namespace veltrace {

namespace {

// Two x closer than this count as one for the lower-left rule.
constexpr double kSameX = 0.0001;

constexpr ListColumn kCurveColumns[] = {
    {5, {L"序号", L"Index"}}, {5, {L"顶点序号", L"VertexNumber"}},
    {20, {L"X坐标", L"X"}},   {20, {L"Y坐标", L"Y"}},
    {20, {L"Z坐标", L"Z"}},   {15, {L"长度", L"Length"}},
    {15, {L"面积", L"Area"}},
};

constexpr ListCommandTexts kCurveTexts{
    {L"请选择直线、圆弧、多段线、样条曲线等>\n", L"Please select polyline >\n"},
    {L"未选中。\n", L"No polyline selected.\n"},
    L"曲线顶点坐标文件 (*.xls)|*.xls|",
    L"Create file <%s> fail.",
    {L"直线、圆弧、多段线、样条曲线坐标", L"Lines、Arcs、Polylines、Splines"},
};

// What a curve contributes to the list; `listed` false: nothing at all (a closed ellipse, an
// entity that is no curve of the list).
struct ListedCurve {
  bool listed = false;
  std::vector<ZcGePoint3d> points;
  double length = 0.0;
  double area = 0.0;
};

// The vertices the polyline shows: a spline-fit polyline also owns the control vertices of its
// frame, which are not on the curve and are left out.
void addPoints(const ZcDb2dPolyline& polyline, std::vector<ZcGePoint3d>& points) {
  std::unique_ptr<ZcDbObjectIterator> vertices(polyline.vertexIterator());
  for (vertices->start(); !vertices->done(); vertices->step()) {
    ZcDb2dVertex* vertex = nullptr;
    if (polyline.openVertex(vertex, vertices->objectId(), ZcDb::kForRead) != Zcad::eOk) continue;
    if (vertex->vertexType() != ZcDb::k2dSplineCtlVertex) points.push_back(polyline.vertexPosition(*vertex));
    vertex->close();
  }
}

void addPoints(const ZcDb3dPolyline& polyline, std::vector<ZcGePoint3d>& points) {
  std::unique_ptr<ZcDbObjectIterator> vertices(polyline.vertexIterator());
  for (vertices->start(); !vertices->done(); vertices->step()) {
    ZcDb3dPolylineVertex* vertex = nullptr;
    if (polyline.openVertex(vertex, vertices->objectId(), ZcDb::kForRead) != Zcad::eOk) continue;
    if (vertex->vertexType() != ZcDb::k3dControlVertex) points.push_back(vertex->position());
    vertex->close();
  }
}

// The points of `entity` in the order the list gives them; false for entities that list nothing.
bool addPoints(const ZcDbEntity& entity, std::vector<ZcGePoint3d>& points) {
  if (const auto* polyline = ZcDbPolyline::cast(&entity)) {
    const unsigned int count = polyline->numVerts();
    points.reserve(count);
    for (unsigned int i = 0; i < count; ++i) {
      ZcGePoint3d point;
      if (polyline->getPointAt(i, point) == Zcad::eOk) points.push_back(point);
    }
    return true;
  }
  if (const auto* polyline = ZcDb2dPolyline::cast(&entity)) {
    addPoints(*polyline, points);
    return true;
  }
  if (const auto* polyline = ZcDb3dPolyline::cast(&entity)) {
    addPoints(*polyline, points);
    return true;
  }
  if (const auto* spline = ZcDbSpline::cast(&entity)) {
    // A spline made from control points has no fit points and lists none.
    const int count = spline->hasFitData() ? spline->numFitPoints() : 0;
    for (int i = 0; i < count; ++i) {
      ZcGePoint3d point;
      if (spline->getFitPointAt(i, point) == Zcad::eOk) points.push_back(point);
    }
    return true;
  }
  const bool ends = ZcDbLine::cast(&entity) || ZcDbArc::cast(&entity) ||
                    (ZcDbEllipse::cast(&entity) && !ZcDbEllipse::cast(&entity)->isClosed());
  if (!ends) return false;
  const auto& curve = static_cast<const ZcDbCurve&>(entity);
  ZcGePoint3d start;
  ZcGePoint3d end;
  if (curve.getStartPoint(start) == Zcad::eOk && curve.getEndPoint(end) == Zcad::eOk) {
    points.push_back(start);
    points.push_back(end);
  }
  return true;
}

// Length along the curve at its end, and its area; 0 for whatever the host cannot answer.
void measure(const ZcDbCurve& curve, ListedCurve& listed) {
  listed.length = curveLength(curve).value_or(0.0);
  if (curve.getArea(listed.area) != Zcad::eOk) listed.area = 0.0;
}

// Reads what the list needs and closes the entity at once: the marks are drawn afterwards, with
// nothing of the drawing held open.
bool readCurve(ZcDbObjectId id, ListedCurve& listed) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  listed.listed = addPoints(*entity, listed.points);
  if (listed.listed) measure(static_cast<const ZcDbCurve&>(*entity), listed);
  entity->close();
  return true;
}

}  // namespace

std::span<const ListColumn> curveListColumns() { return kCurveColumns; }

bool writeCurveRows(ZcDbObjectId id, int index, const ListRun& run) {
  ListedCurve curve;
  if (!readCurve(id, curve)) return false;
  if (!curve.listed) return true;  // the entity still takes its index
  if (run.lowerLeft) startAtLowerLeft(curve.points);
  for (std::size_t i = 0; i < curve.points.size(); ++i) {
    const ZcGePoint3d& point = curve.points[i];
    const int vertex = static_cast<int>(i);
    if (run.marks) markVertex(point, run.markHeight, vertex);
    ListRow row(run, RowColour::kPlain);
    if (i == 0) {
      row.integer(index + 1);
    } else {
      row.empty();
    }
    row.integer(vertex + 1).real(point.x).real(point.y).real(point.z).empty().empty();
  }
  ListRow(run, RowColour::kSummary)
      .empty()
      .empty()
      .empty()
      .empty()
      .empty()
      .real(curve.length)
      .real(curve.area);
  return true;
}

void startAtLowerLeft(std::vector<ZcGePoint3d>& points) {
  if (points.empty()) return;
  const ZcGePoint3d& first = points.front();
  const ZcGePoint3d& last = points.back();
  // Within the tolerance the x count as equal and only y decides: a curve that is vertical but
  // for a trace of x (0.00001 right at the bottom) still starts at its bottom.
  const bool sameX = std::fabs(first.x - last.x) < kSameX;
  if (sameX ? first.y > last.y : first.x > last.x) std::reverse(points.begin(), points.end());
}

void pllistCommand() {
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0,
                                         L"SPLINE", RTDXF0, L"LINE", RTDXF0, L"ARC", RTDXF0, L"ELLIPSE", -4,
                                         L"or>", 0));
  runListCommand(kCurveTexts, filter.get(), kCurveColumns, /*asksLowerLeft=*/true, &writeCurveRows);
}

}  // namespace veltrace
