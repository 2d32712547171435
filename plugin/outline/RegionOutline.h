#pragma once
// The outer contour of one labelled region, followed cell by cell around its border.
#include <vector>

#include "outline/LabelGrid.h"

namespace veltrace {

// A pixel position of the picture (x to the right, y down).
struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Follows the border of the region `label` clockwise on screen (eight directions, rows growing
// downward), starting at its first cell in row-major order and turning back by two directions
// after each step, until the next probe would reach the start cell again or after
// (W + H) × 20 probes. Cells of the picture's outermost pixel ring are followed but not listed
// (they are the edge of the view, not of the drawing); every other cell visited is listed as
// its pixel position, the start first. Empty when no cell carries the label.
std::vector<PixelPoint> traceRegionOutline(RegionLabel label, const LabelGrid& grid);

// The same from a known first cell (`start`, which must carry the label): a caller tracing
// every region finds all first cells in one pass (firstCellsOfLabels) instead of one scan of
// the grid per region.
std::vector<PixelPoint> traceRegionOutlineFrom(RegionLabel label, const LabelGrid& grid, GridPoint start);

// The first cell in row-major order of each label 0 ... count - 1; {-1, -1} for a label no
// cell carries.
std::vector<GridPoint> firstCellsOfLabels(const LabelGrid& grid, int count);

}  // namespace veltrace
