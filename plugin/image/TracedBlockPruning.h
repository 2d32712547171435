#pragma once
// What the vectorizer keeps of a traced drawing inserted as a block: no frame around the
// picture, no polylines of fewer vertices than the clutter value, everything else by block.
#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

struct PruneCount {
  int erased = 0;
  int kept = 0;
};

// For a block reference only (anything else: nothing is done). In its block: a closed
// four-vertex polyline whose extents are those of the whole block within 0.001, among other
// entities, is the picture's frame and is erased; lightweight polylines with fewer than
// `clutter` vertices are erased; every other entity takes colour 0 (by block).
PruneCount pruneTracedBlock(ZcDbObjectId reference, int clutter);

}  // namespace veltrace
