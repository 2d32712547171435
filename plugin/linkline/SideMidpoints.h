#pragma once
// The four side midpoints of a curve's extents box in the XY plane (z 0): where connector
// ends sit on the closed curves they join.
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbEntity;

namespace veltrace {

// Side codes of a box; 0 is none.
enum SideCode : int { kNoSide = 0, kRightSide = 1, kTopSide = 2, kLeftSide = 3, kBottomSide = 4 };

struct SideMidpoints {
  ZcGePoint3d top;
  ZcGePoint3d bottom;
  ZcGePoint3d left;
  ZcGePoint3d right;
  // (left to right + bottom to top) / 100: how near a point must be to count as on a side.
  double tolerance() const { return (left.distanceTo(right) + bottom.distanceTo(top)) / 100.0; }
};

struct SideMidpointsOf {
  bool known = false;  // false when the entity has no extents
  SideMidpoints sides;
};

SideMidpointsOf sideMidpointsOf(const ZcDbEntity& entity);

}  // namespace veltrace
