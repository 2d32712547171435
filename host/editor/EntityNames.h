#pragma once
// Entity names handed to commands: only names the host gave out are taken back, so a stale
// or made-up name is refused instead of being followed into memory.
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/zds.h"

namespace vtcad::editor {

// The object id of a name the host gave out; a null id for anything else.
ZcDbObjectId idOfEntityName(const Zdesk::LongPtr* name);
// Before a drawing goes away: its names must not be taken back any more.
void forgetEntityNames();

}  // namespace vtcad::editor
