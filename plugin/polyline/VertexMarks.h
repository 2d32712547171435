#pragma once
// A numbered vertex mark: a point entity at the vertex and its number as a text beside it,
// both in the current space with the drawing's current layer, colour and text style.
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// Marks vertex number `index + 1` at `point`: the point, and the text "<index + 1>" at
// point + (h/2, h/2, 0) with height h/2.
void markVertex(const ZcGePoint3d& point, double h, int index);

}  // namespace veltrace
