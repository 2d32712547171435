#pragma once
// PLJD: the intersections of every pair of the selected curves. PLJD1: the intersections of
// one picked curve with the curves crossing its extents, ordered along it from the end nearer
// the pick. Both then mark, number, list or block-insert the points (IntersectionOutput.h).
#include <vector>

#include "polyline/IntersectionOutput.h"
#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

void pljdCommand();
void pljd1Command();

// The points where every pair (i, j), i < j, of the curves meets, pairs in selection order
// (i, then j). Pairs whose extents are apart are never opened: the candidates come from a
// sweep over the extents sorted by x. Curves that cannot be opened are skipped.
IntersectionPoints intersectAllPairs(const std::vector<ZcDbObjectId>& curves);

// Keeps a point only when it lies 0.0001 or more from every point kept before it (in list
// order). Linear in the points: the kept points sit in a grid of 0.0001 cells and each point
// is compared with the kept points of its own and the neighbouring cells only.
IntersectionPoints removeRepeatedPoints(const IntersectionPoints& points);

}  // namespace veltrace
