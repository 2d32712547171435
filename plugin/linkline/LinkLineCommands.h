#pragma once
// linkLine00 and linkLine90: a connector spline between two picked points whose ends leave and
// arrive horizontally (towards the end point) or vertically.
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

}  // namespace veltrace
