#pragma once
// One seed cell per background region: a cell inside the region, as near its centre of mass
// as the region's shape allows, from which the host's boundary search finds the region again.
#include <vector>

#include "outline/LabelGrid.h"

namespace veltrace {

// Seeds of regions 1 ... n - 1 of a labelled grid, in label order (the first belongs to
// region 1). Each seed carries its region's label:
//  - the centre of mass (integer division) when that cell is in the region;
//  - else the middle of the first run of at least two cells of the region met along the
//    centre's row to the right, then to the left, then down and up its column (a ring whose
//    centre falls in its hole gets the middle of the ring's nearer side);
//  - else the middle of the region's longest run along a row: never a cell of another region,
//    even for a region that misses the centre's row and column (a thin diagonal band).
std::vector<GridPoint> regionSeeds(int n, const LabelGrid& grid);

}  // namespace veltrace
