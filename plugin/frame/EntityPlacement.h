#pragma once
// Placing new entities: into the current space of the working drawing, or into the block
// that holds the entity they were made from. A placed entity is closed by the placing call;
// an entity that could not be placed stays unowned and is the caller's to delete.
#include <optional>

#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbObjectId.h"

class ZcCmColor;
class ZcDbDatabase;
class ZcDbEntity;
class ZcDbBlockTableRecord;

namespace veltrace {

struct Placement {
  Zcad::ErrorStatus status = Zcad::eOk;
  ZcDbObjectId id;  // null unless placed
  bool placed() const { return status == Zcad::eOk; }
};

// Appends `entity` (not yet in a database) to the current space (model space, or the paper
// space of the active layout) of the working drawing.
Placement appendToCurrentSpace(ZcDbEntity* entity);
// Appends `entity` to the block table record that owns `source`; with a null source, or one
// that cannot be opened, to the current space. A source whose owner is missing or is not a
// block table record answers a failure status.
Placement appendBesideSource(ZcDbDatabase* db, ZcDbEntity* entity, ZcDbObjectId source);

// `entity` (new, not in a database) with the current layer, colour and linetype of `db` (null:
// the working drawing) as a drawing command gives them, then `colour` when one is given,
// placed beside `source` (a null source: the current space). Its id; nullopt when it could
// not be placed, the entity then deleted.
std::optional<ZcDbObjectId> placeNewEntity(ZcDbDatabase* db, ZcDbEntity* entity, ZcDbObjectId source,
                                           const ZcCmColor* colour = nullptr);

// A new anonymous block ("*U", made unique by the host) in `db`'s block table, handed back
// still open for write (the caller fills and closes it). Null record on failure, with
// nothing added.
struct NewBlock {
  ZcDbBlockTableRecord* record = nullptr;
  ZcDbObjectId id;
};
NewBlock newAnonymousBlock(ZcDbDatabase* db);

}  // namespace veltrace
