#pragma once
// The colour regions of a picture for the internal vectorizer: neighbouring pixels of similar
// colour belong together, and each region's outline is traced as the outline commands trace
// theirs.
#include <vector>

#include "outline/LabelGrid.h"
#include "outline/RegionOutline.h"
#include "zcad/platform/zcimage.h"

namespace veltrace {

// Per channel: colours that differ by less than this belong together.
inline constexpr int kRegionColourTolerance = 32;

// True when the red, green and blue values of pixels a and b each differ by less than
// `tolerance`.
bool colorsSimilar(const CImage& picture, PixelPoint a, PixelPoint b, int tolerance);

// Labels `grid` (remade at the picture's size): the outermost ring of pixels keeps label 0;
// every other pixel belongs with its neighbours above, on the left and (when joined to
// neither) above right whose colours are similar. Regions are 1 ... n - 1 in row-major order of
// their first pixel; the answer is n, label 0 counted. An empty picture gives n = 1.
int makeColorRegion(const CImage& picture, LabelGrid& grid, int tolerance = kRegionColourTolerance);

// The outline of region `label`, as traceRegionOutline follows it.
std::vector<PixelPoint> findRegionOutline(RegionLabel label, const LabelGrid& grid);
// The same from the label's first cell (firstCellsOfLabels), for a caller tracing them all.
std::vector<PixelPoint> findRegionOutline(RegionLabel label, const LabelGrid& grid, GridPoint firstCell);

}  // namespace veltrace
