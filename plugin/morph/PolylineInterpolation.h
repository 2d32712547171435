#pragma once
// PLINT: a series of lightweight polylines changing step by step from one polyline into
// another with as many vertices. Vertex i of every step lies on the segment between the two
// polylines' vertex i, its bulge between theirs in the same proportion; an optional reference
// curve shifts each step so that one vertex follows the curve instead of the straight path.
#include <optional>

#include "morph/PolylinePair.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// The shape at fraction t of the way (0 the first polyline, 1 the second), shifted by
// `offset`: points A + (B - A) t + offset, bulges bA + (bB - bA) t.
VertexTable interpolatedShape(const PolylinePair& pair, double t, const ZcGeVector3d& offset);

// That shape as a new polyline in the current space, closed when the first polyline is.
std::optional<ZcDbObjectId> interpolatePolylineStep(const PolylinePair& pair, double t,
                                                    const ZcGeVector3d& offset);

void plintCommand();

}  // namespace veltrace
