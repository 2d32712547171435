#pragma once
// Coordinate axes around a formula curve: an X and a Y axis through the origin reaching past
// the curve's extents, with ticks and their numbers at a round step, gathered in one anonymous
// block inserted at the origin.
#include <optional>

#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The step of the ticks for extents `extents` around `origin` (at least 1).
double formulaAxesStep(const ZcGePoint3d& origin, const ZcDbExtents& extents);

// The block reference made, in the current space of the working drawing; nullopt when nothing
// could be made (nothing is then left behind).
std::optional<ZcDbObjectId> drawFormulaAxes(const ZcGePoint3d& origin, const ZcDbExtents& extents);

}  // namespace veltrace
