#pragma once
// EntityPick: which entities of the current space a pick, a window or a polygon takes, by
// their plan-view geometry (EntityOutline, SelectionGeometry).
//
// The candidates are the selectable entities (SelectableEntities) without those on layers
// that are off; the overloads with an id list test exactly the entities given (for example
// "ALL" with off layers, or a previous selection). Each candidate's extents box is tried
// first: a box apart from the window, polygon or aperture rejects it at once, a box wholly
// inside a window or polygon takes it, and only the others build their outline. Block
// references skip that step and always build their outline: their extents walk the whole
// nesting with no limit on the work, their outline has one (EntityOutline).
//
// `chordTolerance` is how closely outlines follow curves, in world units: about one pixel.
// Results list entities in drawing order. Non-finite input (points, aperture, tolerance)
// takes nothing.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint2d.h"

class ZcDbDatabase;

namespace vtcad::editor {

enum class WindowMode {
  kWindow,    // the whole entity inside (W, WP)
  kCrossing,  // any part inside or on the edge (C, CP)
};

struct PickResult {
  // Null when nothing passes within the aperture.
  ZcDbObjectId id;
  double distance = 0.0;
};

// The entity whose outline passes nearest `point`, within `aperture` (world units). Entities
// at the same distance (within a billionth of the aperture: overlapping copies) go to the
// one drawn last, the one on top.
PickResult pickEntity(ZcDbDatabase& db, const ZcGePoint2d& point, double aperture, double chordTolerance);
PickResult pickEntity(const std::vector<ZcDbObjectId>& candidates, const ZcGePoint2d& point, double aperture,
                      double chordTolerance);

// The corners in any order.
std::vector<ZcDbObjectId> entitiesInWindow(ZcDbDatabase& db, const ZcGePoint2d& corner1,
                                           const ZcGePoint2d& corner2, WindowMode mode,
                                           double chordTolerance);
std::vector<ZcDbObjectId> entitiesInWindow(const std::vector<ZcDbObjectId>& candidates,
                                           const ZcGePoint2d& corner1, const ZcGePoint2d& corner2,
                                           WindowMode mode, double chordTolerance);

// See SelectionGeometry.h for the polygons that take nothing.
std::vector<ZcDbObjectId> entitiesInPolygon(ZcDbDatabase& db, const std::vector<ZcGePoint2d>& polygon,
                                            WindowMode mode, double chordTolerance);
std::vector<ZcDbObjectId> entitiesInPolygon(const std::vector<ZcDbObjectId>& candidates,
                                            const std::vector<ZcGePoint2d>& polygon, WindowMode mode,
                                            double chordTolerance);

}  // namespace vtcad::editor
