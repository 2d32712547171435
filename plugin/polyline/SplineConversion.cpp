#include "polyline/SplineConversion.h"

#include <algorithm>

#include "frame/EntityPlacement.h"
#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "polyline/CurveSampling.h"
#include "polyline/PolylineVertexReading.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr MessagePair kProcessed{L"\n处理了< %d >根曲线。 ", L"\nProcessed <%d > curve(s) OK."};
constexpr int kDefaultPrecision = 10;
constexpr int kDefaultDivisions = 36;
constexpr int kFewestDivisions = 12;
constexpr int kMostDivisions = 256;
// The most segments the host's spline-to-polyline conversion may make of one spline.
constexpr int kMostPolylineSegments = 10000;

// A spline (helices included) becomes the host's polyline of it; other curves the filter
// lets through are left alone and not counted.
bool splineToPolyline(ZcDbObjectId id, int precision) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  ZcDbSpline* spline = ZcDbSpline::cast(entity);
  ZcDbCurve* polyline = nullptr;
  bool placed = false;
  if (spline &&
      spline->toPolyline(polyline, precision, /*numSegments=*/nullptr, kMostPolylineSegments) == Zcad::eOk &&
      polyline) {
    placed = appendBesideSource(zcdbCurDwg(), polyline, id).placed();
    if (!placed) {
      delete polyline;
    } else if (spline->upgradeOpen() == Zcad::eOk) {
      spline->erase();
    }
  }
  entity->close();
  return placed;
}

}  // namespace

void polylineVertexPoints(const ZcDbCurve& curve, PointList& points) {
  PolylineVertices vertices;
  if (!readPolylineVertices(curve, VertexSet::kShown, vertices)) return;
  points.insert(points.end(), vertices.points.begin(), vertices.points.end());
}

bool curveToSpline(ZcDbCurve* curve, bool divideEqually, int count) {
  if (!curve) return false;
  ZcDbSpline* spline = nullptr;
  if (curve->getSpline(spline) != Zcad::eOk || !spline) {
    spline = nullptr;
    PointList points;
    if (divideEqually)
      sampleCurveByLength(*curve, count, points);
    else
      polylineVertexPoints(*curve, points);
    // Vertices asked of a curve that has none, or a sampling that failed.
    if (points.empty()) sampleCurveByLength(*curve, count, points);
    if (points.size() < 2) return false;
    if (curve->isClosed()) points.push_back(points.front());
    ZcGePoint3dArray fitPoints;
    for (const ZcGePoint3d& p : points) fitPoints.append(p);
    spline = new ZcDbSpline(fitPoints, /*order=*/4, /*fitTolerance=*/0.0);
    spline->setPropertiesFrom(curve);
  }
  // The source is erased only once its spline is in the drawing: a failed placing keeps it.
  if (!appendBesideSource(zcdbCurDwg(), spline, curve->objectId()).placed()) {
    delete spline;
    return false;
  }
  if (curve->upgradeOpen() == Zcad::eOk) curve->erase();
  return true;
}

void s2pCommand() {
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"ELLIPSE", RTDXF0, L"CIRCLE", RTDXF0, L"HELIX",
                                         RTDXF0, L"ARC", RTDXF0, L"SPLINE", -4, L"or>", 0));
  const ObjectIdList ids = selectFilteredIds({L"请选择SPLINE线>\n", L"Please select SPLINE >\n"}, filter,
                                             {L"未选中SPLINE线。\n", L"No SPLINE selected.\n"});
  if (ids.empty()) return;
  int precision = kDefaultPrecision;
  zcedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
  if (getIntBilingual(L"\n请输入精度，允许值1--99，默认值10:",
                      L"\nPlease input the precision, allowable 1--99, default 10:", &precision) != RTNORM)
    precision = kDefaultPrecision;
  int processed = 0;
  for (const ZcDbObjectId& id : ids) {
    if (splineToPolyline(id, precision)) ++processed;
  }
  printfBilingual(kProcessed, processed);
}

void p2sCommand() {
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"ELLIPSE", RTDXF0, L"CIRCLE", RTDXF0, L"HELIX",
                                         RTDXF0, L"ARC", RTDXF0, L"LINE", RTDXF0, L"POLYLINE", RTDXF0,
                                         L"LWPOLYLINE", -4, L"or>", 0));
  const ObjectIdList ids = selectFilteredIds({L"请选择各种线条>\n", L"Please select Curves >\n"}, filter,
                                             {L"未选中线条。\n", L"No Curves selected.\n"});
  if (ids.empty()) return;
  const bool divideEqually =
      getYesNoBilingual(L"\n Y = 对多段线按等分方式, N =多段线按原顶点？[Y/N]（Y）:",
                        L"\n Y = Divide the polylines equally, N = Based on polylinethe vertex？[Y/N]（Y）:",
                        /*defaultAnswer=*/true);
  int count = kDefaultDivisions;
  if (divideEqually) {
    zcedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    int answer = 0;
    if (getIntBilingual(L"\n等分点数12~256[36]:", L"\nDivide points 12~256[36]:", &answer) == RTNORM)
      count = answer;
    count = std::clamp(count, kFewestDivisions, kMostDivisions);
  }
  int processed = 0;
  for (const ZcDbObjectId& id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    if (curveToSpline(ZcDbCurve::cast(entity), divideEqually, count)) ++processed;
    entity->close();
  }
  printfBilingual(kProcessed, processed);
}

}  // namespace veltrace
