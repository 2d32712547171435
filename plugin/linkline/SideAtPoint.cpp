#include "linkline/SideAtPoint.h"

#include "frame/ReadOpen.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "frame/SystemVariables.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/zced.h"
#include "zcad/zcut.h"

namespace veltrace {
namespace {

// The view size when "VIEWSIZE" cannot be read.
constexpr double kDefaultViewSize = 100.0;

SideCode sideOf(const ZcGePoint3d& point, const SideMidpoints& sides) {
  const double tolerance = sides.tolerance();
  SideCode side = kNoSide;
  if (point.distanceTo(sides.top) < tolerance) side = kTopSide;
  if (point.distanceTo(sides.bottom) < tolerance) side = kBottomSide;
  if (point.distanceTo(sides.left) < tolerance) side = kLeftSide;
  if (point.distanceTo(sides.right) < tolerance) side = kRightSide;
  return side;
}

}  // namespace

SideAtPoint findSideAtPoint(const ZcGePoint3d& point) {
  double view = kDefaultViewSize;
  if (getSysVarReal(L"VIEWSIZE", view) != kSysVarOk) view = kDefaultViewSize;
  const zds_point lo = {point.x - view, point.y - view, 0.0};
  const zds_point hi = {point.x + view, point.y + view, 0.0};
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0,
                                         L"ELLIPSE", RTDXF0, L"CIRCLE", -4, L"or>", 0));
  SelectionSet set;
  if (zcedSSGet(L"_C", lo, hi, filter.get(), set.name) != RTNORM) return {};
  for (const ZcDbObjectId& id : selectionSetIds(set.name)) {
    ReadOpen<ZcDbCurve> curve(id);
    if (!curve.get() || !curve.get()->isClosed()) continue;
    const SideMidpointsOf sides = sideMidpointsOf(*curve.get());
    if (!sides.known) continue;
    const SideCode side = sideOf(point, sides.sides);
    if (side != kNoSide) return {side, id};
  }
  return {};
}

}  // namespace veltrace
