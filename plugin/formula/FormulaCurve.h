#pragma once
// One formula curve drawn into the working drawing: the samples of a catalogue entry moved to
// an origin and handed to the shared curve builder in the entry's colour.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The ids of the entities made: one, or none when the entry index is outside 0..70 or the
// builder made nothing. Parameters are P1..P4 of the entry (clamped into its ranges). Entry 7
// reads the host's SURFTAB1 on every call. The caller owns what is made.
std::vector<ZcDbObjectId> generateFormulaCurve(int entryIndex, int p1, int p2, int p3, int p4,
                                               const ZcGePoint3d& origin);

}  // namespace veltrace
