#pragma once
// The polyline kinds' getOffsetCurves: the offset engine's pieces made into new entities of
// the source's kind (not in a database; the caller owns them), with the source's properties.
#include <vector>

#include "database/PolylineOffset.h"
#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDb3dPolyline;

namespace vtcad::db {

Zcad::ErrorStatus statusOf(OffsetOutcome outcome);

// A 3-D polyline's offset in its own plane, `points` being its displayed vertices. The plane's
// normal is taken to point up (positive z; for a vertical plane positive y, then positive x),
// so that a 3-D polyline lying in a horizontal plane offsets as a lightweight one seen from
// above. A polyline in a line offsets in the plane through it that holds the world z axis (or
// the x axis for a vertical line). Round joins become chords within 0.001 of the distance,
// since a 3-D polyline has no arcs.
Zcad::ErrorStatus offsetSpatialPolyline(const ZcDb3dPolyline& source, const std::vector<ZcGePoint3d>& points,
                                        bool closed, double distance, ZcDbVoidPtrArray& offsetCurves);

}  // namespace vtcad::db
