#pragma once
// The scale of a vertex-tool run: the extents of everything selected.
#include "zcad/db/ZcDbExtents.h"
#include "zcad/zds.h"

namespace veltrace {

// The union of the geometric extents of every member of `set` (both corners of each member's
// box added to one box). Members that cannot be opened or answer no extents are left out; the
// box is empty when none answers.
ZcDbExtents selectionExtents(const zds_name set);

// The length of the box's diagonal; 0 for an empty box.
double extentsDiagonal(const ZcDbExtents& extents);

}  // namespace veltrace
