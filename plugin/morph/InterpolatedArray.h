#pragma once
// PLARR: a rectangular array of lightweight polylines between two polylines with as many
// vertices. Across the columns the vertices' x move from the first polyline to the second,
// down the rows their y; z and bulges follow the mean of the two fractions. The corner cells
// that would repeat the two polylines themselves stay empty.
#include <span>

#include "morph/PolylinePair.h"

namespace veltrace {

// The largest array side: a million results in all.
inline constexpr int kMaxArraySide = 1000;

// The shape of the cell with column fraction fc and row fraction fr (both already shaped by
// the spacing law), written into `shape` (resized to the polylines' vertex count).
void arrayCellShape(const PolylinePair& pair, double fc, double fr, VertexTable& shape);

void plarrCommand();

}  // namespace veltrace
