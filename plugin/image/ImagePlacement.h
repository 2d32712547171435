#pragma once
// Where a picture's geometry goes in the drawing: an origin and a height, asked on the command
// line. The picture's top-left corner lands at origin + (0, height) and its rows grow downward
// to the origin's y.
#include <optional>

#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

struct PicturePlacement {
  ZcGePoint3d origin;
  double height = 0.0;
};

// Asks "Please specify the origin>>" and then "Please specify the height>>" from it, once:
// nothing when either prompt does not answer a point or a distance, or the height is not a
// finite number above 0 (a picture of height 0 would be scaled to nothing).
std::optional<PicturePlacement> askPicturePlacement();

}  // namespace veltrace
