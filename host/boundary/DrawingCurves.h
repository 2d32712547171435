#pragma once
// DrawingCurves: the curves of a drawing that bound regions, as plan-view edges (world XY,
// z dropped: the plan view of the world's coordinate system).
//
// What takes part: lines, arcs, circles, ellipses and elliptical arcs, splines, lightweight,
// 2-D and 3-D polylines, and the curves inside block references (nested, carried by each
// reference's transform). Texts, hatches, points and anything else that is not a curve do
// not bound regions. An entity takes part when it is visible (not set invisible) and its
// layer is neither off nor frozen; inside a block, entities on layer "0" show as the
// reference that inserts them does.
//
// Lines, polyline segments, arcs and circles seen from above (normal along the world z axis)
// keep their exact arcs, cut into pieces of at most half a turn. Everything else (ellipses,
// splines, arcs seen edge-on or tilted, arcs a block stretches unevenly) becomes a chain of
// chords within 1e-5 of the curve's own size of it.
#include <unordered_map>
#include <vector>

#include "boundary/PlanEdge.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeMatrix3d.h"

class ZcDbEntity;

namespace vtcad::boundary {

// Chords of a curve stay within this fraction of its box's diagonal from it.
inline constexpr double kChordFraction = 1e-5;
// Block references nest at most this deep (a deeper one adds nothing).
inline constexpr int kMaxNesting = 16;

// The curves of the visible entities of one space (a block table record). An entity of
// `leaveOut` whose curves are still exactly those given for it there is passed over.
using EntityCurves = std::unordered_map<ZcDbObjectId, std::vector<PlanEdge>>;
std::vector<PlanEdge> visibleCurves(ZcDbObjectId spaceId, const EntityCurves* leaveOut = nullptr);

// One entity's curves, carried by `toWorld` (a block reference: its block's visible curves).
// The entity must be open for read.
void addEntityCurves(const ZcDbEntity& entity, const ZcGeMatrix3d& toWorld, std::vector<PlanEdge>& edges);

}  // namespace vtcad::boundary
