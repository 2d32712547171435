#pragma once
// What PLJD and PLJD1 do with the intersection points they found: point marks, numbered marks,
// a coordinate list file, or a block inserted at each point.
#include <string>
#include <vector>

#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

using IntersectionPoints = std::vector<ZcGePoint3d>;

// A point at each point (numbered false), or the numbered marks of markVertex after asking
// for their height (numbered true); then point display mode 35.
void markPoints(const IntersectionPoints& points, bool numbered);
// The list file of the points ("序号", "X坐标", "Y坐标", "Z坐标"), after asking for its name;
// opened afterwards. Nothing is written when no name is given.
void writeIntersectionList(const IntersectionPoints& points);
// A reference of the block `name` of the working drawing at each point. A name the drawing
// does not hold, or a layout's block (a layout cannot be inserted into a layout), inserts
// nothing and prints "\nBlock name error！".
void insertBlockAtPoints(const IntersectionPoints& points, const std::wstring& name);

}  // namespace veltrace
