#pragma once
// SelectionIndex: which entities of a space may meet a window, without reading every entity
// of the space. Selection windows (and reactors that select from inside a notification,
// while entities are moving) ask it for their candidates.
//
// The index is a grid of cells over the entities' plan boxes, kept with the drawing
// (ZcDbDatabaseImpl::derived). It does not start again after each change: it catches up from
// the drawing's change log, reading again only the objects changed since (moved, added,
// erased, undone), so that a command that changes a few entities of a huge drawing and then
// selects pays for those few. When the log no longer reaches back far enough, or another
// space is asked for, it is built again.
//
// Entities without a usable box (no extents, non-finite ones, block references, whose boxes
// follow their block's definition) and entities spanning very many cells are candidates of
// every window. Candidates are not filtered for visibility or layers (SelectableEntities
// does that) and come in drawing order.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint2d.h"

class ZcDbDatabase;

namespace vtcad::editor {

// The entities of the block table record `spaceId` whose plan box meets the window with
// corners `min` and `max` (min <= max), or whose box is not known.
std::vector<ZcDbObjectId> entitiesNearWindow(ZcDbDatabase& db, ZcDbObjectId spaceId, const ZcGePoint2d& min,
                                             const ZcGePoint2d& max);

}  // namespace vtcad::editor
