#pragma once
// linkLine00 and linkLine90: a connector spline between two picked points whose ends leave and
// arrive horizontally (towards the end point) or vertically. linkLineAuto: the ends leave and
// enter the sides of the closed curves they are picked on, and those curves get the link
// reactor (VTLinkLineToNotify) that keeps the ends on their sides when the curves change.
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// A two-point cubic spline in the current space, by layer; the tangents are set only when
// neither is of zero length. Null when it could not be placed.
ZcDbObjectId buildConnector(const ZcGePoint3d& start, const ZcGePoint3d& end,
                            const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent);

void linkLine00Command();
void linkLine90Command();
void linkLineAutoCommand();

}  // namespace veltrace
