#pragma once
// SelectionGeometry: how an entity's plan-view outline (EntityOutline) meets what the user
// drew to select with: a window, a polygon, a pick point.
//
// Boundaries count as inside: an outline that touches a window's edge from inside is
// inside it, one that touches it from outside crosses it. Tests are exact in floating point
// (no tolerance): the outline is already within a pixel of the entity.
//
// Crossing means some of the outline is inside or on the edge. An entity that surrounds the
// whole window or polygon without touching it is not taken, as in CAD hosts: selection
// looks at what is drawn, and a closed outline's inside is not drawn, unless the outline
// fills it (OutlinePart::fillRegion: text, solid hatches). A window inside a filled area
// crosses it, and a point inside one is at distance 0.
//
// Windows: the two corners in any order. A window without area (zero width or height) or
// with a non-finite corner takes nothing.
//
// Polygons: the points in order, closed by the last-to-first edge; a last point repeating
// the first is ignored. Inside is decided by the even-odd rule, so a self-intersecting
// polygon (a bow tie) has the regions an odd number of edges away from the outside. A polygon
// with fewer than three distinct points, with all its points on one line, or with a
// non-finite point takes nothing.
#include <vector>

#include "editor/EntityOutline.h"
#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::editor {

enum class PolygonShape {
  kUsable,
  kTooFewPoints,  // fewer than three distinct points
  kNoArea,        // every point on one line
  kNonFinite,
};
PolygonShape checkSelectionPolygon(const std::vector<ZcGePoint2d>& polygon);

// W: every part of the outline inside the window (edges included). An outline that is not
// complete (kTruncated: part of the entity is missing) is never wholly inside.
bool insideWindow(const EntityOutline& outline, const ZcGePoint2d& corner1, const ZcGePoint2d& corner2);
// C: some part of the outline inside the window or on its edge. The window may be flat (a
// segment or a point: the extents of an axis-parallel line), taking what touches it.
bool crossesWindow(const EntityOutline& outline, const ZcGePoint2d& corner1, const ZcGePoint2d& corner2);
// WP: every vertex inside the polygon (or on its edge) and no segment leaving it; never for
// an outline that is not complete.
bool insidePolygon(const EntityOutline& outline, const std::vector<ZcGePoint2d>& polygon);
// CP: some vertex inside the polygon (or on its edge), or some segment meeting its edges.
bool crossesPolygon(const EntityOutline& outline, const std::vector<ZcGePoint2d>& polygon);
// Plan-view distance from the point to the nearest part of the outline; +infinity for an
// empty outline or a non-finite point.
double distanceTo(const EntityOutline& outline, const ZcGePoint2d& point);

}  // namespace vtcad::editor
