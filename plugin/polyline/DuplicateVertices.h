#pragma once
// Deleting consecutive coincident vertices of polylines in place (PLYH2).
#include <vector>

#include "zcad/ge/ZcGePoint3d.h"

class ZcDbEntity;

namespace veltrace {

// Vertices closer than this to the next one are duplicates.
inline constexpr double kDuplicateVertexDistance = 1e-5;

// Vertices deleted by removeDuplicateVertices since PLYH2 last reset the count (for the whole
// process).
int& deletedVertexCount();

// Which vertices go: of each coincident pair (i, i + 1) the first, and the last vertex when it
// coincides with the first. When that would take every vertex, the last one stays.
std::vector<bool> duplicateVertexMarks(const std::vector<ZcGePoint3d>& points);

// Deletes the marked vertices of `polyline` (open for read; upgraded to write when it changes)
// and counts each one. A lightweight polyline loses them by index; an old-style polyline loses
// its vertex objects, and only those of its frame (the vertices a user made or the control
// frame of a spline fit; a fitted polyline is fitted again afterwards). A polyline whose last
// vertex was deleted against its first is closed, so it keeps its closing segment. Anything
// but a polyline is left alone; a polyline shorter than kShortestPolyline, or whose length
// cannot be measured, is erased. Answers the running count.
int removeDuplicateVertices(ZcDbEntity* polyline);

}  // namespace veltrace
