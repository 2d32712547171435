#pragma once
// The pictures of --png, --svg and --pdf: the drawing after the scripts, its extents (with a
// margin of 3 %) or its current view, at --size, on the model space background, with the grid
// when GRIDMODE is 1.
#include "app/Options.h"

class ZcDbDatabase;

namespace vtcad::app {

// Writes every picture of `options`; false when one could not be written (each failure is
// said on standard error: "vtcad: cannot write out.png: ...").
bool writePictures(const Options& options, ZcDbDatabase* db);

}  // namespace vtcad::app
