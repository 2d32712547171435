#pragma once
// A roughly vertical curve as a template of sideways shifts: at every height its deviation
// from its top point says how far entities at that height move along X, fully or fading
// towards the edges of the chosen set.
#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The curve's top point: the end point with the larger y (the end point on a tie).
ZcGePoint3d curveTopPoint(const ZcDbCurve& curve);

// The point of the curve at height y: the top point above it; otherwise the first crossing
// with the horizontal line spanning the curve's extents and 1000 units beyond, at the z of
// the curve's start; the top point when there is none (below the curve's lower end).
ZcGePoint3d curvePointAtHeight(const ZcDbCurve& curve, double y);

// Moves `entity` (open for write) along X by the curve's deviation at the height of its
// centre, faded by the centre's distance from the curve point over the reach to the set's
// edge (left edge `left` for entities left of the curve, right edge `right` otherwise).
// Unchanged when it has no extents, lies beyond the reach, or the reach is zero.
void moveXByCurve(const ZcDbCurve& curve, ZcDbEntity& entity, double left, double right);

}  // namespace veltrace
