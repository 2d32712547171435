#pragma once
// Layouts. Drawing files since R2000 describe model space and each paper space by a LAYOUT
// object in the "ACAD_LAYOUT" dictionary, which the block records point to; other programs
// refuse or repair files without them. A drawing read from an R12 file, or made new, has
// none: this adds them (and the "ACAD_GROUP" dictionary) once, as records kept for writing.
#include <cstddef>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;

namespace vtcad::dxf {

void ensureLayouts(ZcDbDatabase& db);
// Layouts whose block record is missing get the block record that names them; answers how
// many were mended. `candidates` are the objects that may be block records or layouts
// (a reader's list of what it read, so that a million entities are not visited again); the
// block table's records are looked at in any case.
size_t relinkLayouts(ZcDbDatabase& db, const std::vector<ZcDbObjectId>& candidates);

}  // namespace vtcad::dxf
