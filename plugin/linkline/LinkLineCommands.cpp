#include "linkline/LinkLineCommands.h"

#include <memory>

#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "frame/SystemVariables.h"
#include "linkline/LinkReactorAttach.h"
#include "linkline/SideAtPoint.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zds.h"

namespace veltrace {
namespace {

constexpr int kByLayer = 256;
// The view size when "VIEWSIZE" cannot be read.
constexpr double kDefaultViewSize = 100.0;

struct PickedEnds {
  bool ok = false;
  ZcGePoint3d start;
  ZcGePoint3d end;
};

// The two points; not ok (silently) when either prompt is not answered with a point.
PickedEnds pickEnds() {
  zds_point a = {0, 0, 0}, b = {0, 0, 0};
  if (getPointBilingual(nullptr, L"\n请指定起点>>", L"\nPlease specify the starting point>>", a) != RTNORM)
    return {};
  if (getPointBilingual(a, L"\n请指定终点>>", L"\nPlease specify the end point>>", b) != RTNORM) return {};
  return {true, ZcGePoint3d(a[0], a[1], a[2]), ZcGePoint3d(b[0], b[1], b[2])};
}

// Out of a side at the start, into a side at the end.
ZcGeVector3d startTangentOf(SideCode side) {
  switch (side) {
    case kRightSide:
      return ZcGeVector3d(1, 0, 0);
    case kTopSide:
      return ZcGeVector3d(0, 1, 0);
    case kLeftSide:
      return ZcGeVector3d(-1, 0, 0);
    case kBottomSide:
      return ZcGeVector3d(0, -1, 0);
    case kNoSide:
      break;
  }
  return ZcGeVector3d();
}

ZcGeVector3d endTangentOf(SideCode side) { return -startTangentOf(side); }

// An end on no side: towards the other point, horizontally unless the points lie within
// `slack` of each other in x.
ZcGeVector3d twoPointTangent(const ZcGePoint3d& start, const ZcGePoint3d& end, double slack) {
  if (end.x - slack > start.x) return ZcGeVector3d(1, 0, 0);
  if (start.x - slack > end.x) return ZcGeVector3d(-1, 0, 0);
  if (start.y > end.y + slack) return ZcGeVector3d(0, -1, 0);
  return ZcGeVector3d(0, 1, 0);
}

void attachTo(ZcDbObjectId curveId) {
  if (curveId.isNull()) return;
  ZcDbObject* curve = nullptr;
  // A curve that cannot be opened for write gets no reactor, silently.
  if (zcdbOpenObject(curve, curveId, ZcDb::kForWrite) != Zcad::eOk) return;
  attachLinkReactor(curve);
  curve->close();
}

}  // namespace

ZcDbObjectId buildConnector(const ZcGePoint3d& start, const ZcGePoint3d& end,
                            const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent) {
  ZcGePoint3dArray fit;
  fit.append(start);
  fit.append(end);
  std::unique_ptr<ZcDbSpline> spline;
  if (startTangent.length() > 0.0 && endTangent.length() > 0.0) {
    spline = std::make_unique<ZcDbSpline>(fit, startTangent, endTangent, /*order=*/4, /*fitTolerance=*/0.0);
  } else {
    spline = std::make_unique<ZcDbSpline>(fit, /*order=*/4, /*fitTolerance=*/0.0);
  }
  spline->setColorIndex(kByLayer);
  const Placement placed = appendToCurrentSpace(spline.get());
  if (!placed.placed()) return ZcDbObjectId();
  spline.release();
  return placed.id;
}

void linkLine00Command() {
  const PickedEnds ends = pickEnds();
  if (!ends.ok) return;
  const ZcGeVector3d direction = ends.end.x > ends.start.x ? ZcGeVector3d(1, 0, 0) : ZcGeVector3d(-1, 0, 0);
  buildConnector(ends.start, ends.end, direction, direction);
}

void linkLine90Command() {
  const PickedEnds ends = pickEnds();
  if (!ends.ok) return;
  const ZcGeVector3d direction = ends.start.y > ends.end.y ? ZcGeVector3d(0, -1, 0) : ZcGeVector3d(0, 1, 0);
  buildConnector(ends.start, ends.end, direction, direction);
}

void linkLineAutoCommand() {
  const PickedEnds ends = pickEnds();
  if (!ends.ok) return;
  double view = kDefaultViewSize;
  if (getSysVarReal(L"VIEWSIZE", view) != kSysVarOk) view = kDefaultViewSize;
  const double slack = view / 20.0;
  const SideAtPoint first = findSideAtPoint(ends.start);
  const SideAtPoint second = findSideAtPoint(ends.end);
  const ZcGeVector3d fallback = twoPointTangent(ends.start, ends.end, slack);
  const ZcGeVector3d startTangent = first.side != kNoSide ? startTangentOf(first.side) : fallback;
  const ZcGeVector3d endTangent = second.side != kNoSide ? endTangentOf(second.side) : fallback;
  // The reactors go on whether or not the connector could be placed.
  buildConnector(ends.start, ends.end, startTangent, endTangent);
  attachTo(first.curve);
  attachTo(second.curve);
}

}  // namespace veltrace
