#pragma once
// Which side of a closed curve a picked point lies on: the curves crossing a window of the
// view size around the point (closed polylines, ellipses, circles), tested in selection order
// against their side midpoints.
#include "linkline/SideMidpoints.h"
#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

struct SideAtPoint {
  SideCode side = kNoSide;
  ZcDbObjectId curve;  // null with kNoSide
};

// The first closed curve with a side midpoint within its tolerance of `point`. Midpoints are
// tested top, bottom, left, right; a later match overrides an earlier one and right ends the
// search at once.
SideAtPoint findSideAtPoint(const ZcGePoint3d& point);

}  // namespace veltrace
