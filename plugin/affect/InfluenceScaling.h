#pragma once
// The lens of plAffClick: after every move of a closed curve, the chosen entities near it are
// shrunk (or enlarged) about their own centres, the more the nearer they lie, fully when
// inside it. Each entity keeps its total factor (affect/ScaleFactorData.h); shrinking stops
// once that is below a tenth.
#include "frame/Selection.h"
#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

// The factor of one pass for an entity at `distance` from the lens (not inside it):
// shrinking |sin x| / 2 + 1/2, enlarging |cos x| / 4 + 1, with x = distance * pi/2 / reach.
double lensFactor(double distance, double reach, bool enlarge);

// Scales `entity` (open for write) by its pass factor about its centre and stores its new
// total. False (unchanged) when it has no extents, the closest point of the lens cannot be
// had, it lies outside the lens farther than `reach` (a reach of 0 or less reaches nothing
// outside), its shrinking has reached a tenth, or the host refuses the transform.
bool influenceScaleEntity(const ZcDbCurve& lens, ZcDbEntity& entity, double reach, bool enlarge);

// One pass over `affected`, the lens itself left out; entities that do not open for write
// are skipped. The number scaled.
int influenceScalePass(const ZcDbCurve& lens, ZcDbObjectId lensId, const ObjectIdList& affected, double reach,
                       bool enlarge);

}  // namespace veltrace
