#pragma once
// Layouts. Drawing files since R2000 describe model space and each paper space by a LAYOUT
// object in the "ACAD_LAYOUT" dictionary, which the block records point to; other programs
// refuse or repair files without them. A drawing read from an R12 file, or made new, has
// none: this adds them (and the "ACAD_GROUP" dictionary) once, as records kept for writing.
class ZcDbDatabase;

namespace vtcad::dxf {

void ensureLayouts(ZcDbDatabase& db);

}  // namespace vtcad::dxf
