#include "linkline/LinkLineCommands.h"

#include <memory>

#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zds.h"

namespace veltrace {
namespace {

constexpr int kByLayer = 256;

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

}  // namespace veltrace
