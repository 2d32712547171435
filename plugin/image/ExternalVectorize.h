#pragma once
// The image vectorizer's external route: the tracer program traces a BMP file of the picture,
// and the DXF file it writes is inserted as a block at a point the user picks, without the
// picture's frame and the clutter.
#include <string>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/platform/zcwintypes.h"

namespace veltrace {

// Inserts the DXF file through the host's INSERT (the user gives the insertion point; scale 1,
// rotation 0), deletes the file, and prunes the new block reference (pruneTracedBlock with
// `clutter`). The reference's id; null when nothing was inserted.
ZcDbObjectId insertTracedDrawing(const std::wstring& dxfPath, int clutter);

// The whole route on a BMP file: runExternalTracer, then insertTracedDrawing. Null, and the
// drawing unchanged, when the tracer is missing, fails or runs out of time.
ZcDbObjectId vectorizeWithTracer(const std::wstring& bmpPath, int clutter);

}  // namespace veltrace
