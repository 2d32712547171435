#pragma once
// The image vectorizer's own route: the picture's colour regions traced into closed polylines
// gathered in an anonymous block, inserted at an origin and a height.
#include <functional>
#include <string>
#include <vector>

#include "image/ImagePlacement.h"
#include "outline/RegionOutline.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/platform/zcimage.h"

namespace veltrace {

struct VectorizeObserver {
  // The status line's text ("Begin makeColorRegion....", "Begin findRegionOutline...%d", "OK").
  std::function<void(const std::wstring&)> status;
  // Each outline kept, in picture pixels (the dialog paints it red over the picture).
  std::function<void(const std::vector<PixelPoint>&)> outline;
};

struct TracedBlock {
  ZcDbObjectId block;  // null when no block could be made
  int polylines = 0;
};

// Labels the picture's colour regions and, for every region whose outline has at least
// `clutter` points, puts a closed lightweight polyline through the outline (picture pixels,
// y down) into a new anonymous block with its base point at (0, 0, 0); with `optimisation`
// above 0 each polyline is replaced by its optimised copy (tolerance factor `optimisation`,
// relative to the polyline's extents).
TracedBlock traceColourRegionsIntoBlock(const CImage& picture, int clutter, int optimisation,
                                        const VectorizeObserver& observer = {});

// A reference to the block with the picture's top-left corner at origin + (0, height) and its
// H rows spanning `height` (scale height / H, the y factor negative so picture rows run down
// the drawing), in the current space. The null id when it could not be placed (the reference is
// deleted then).
ZcDbObjectId insertTracedBlock(ZcDbObjectId block, const PicturePlacement& placement, int pictureHeight);

}  // namespace veltrace
