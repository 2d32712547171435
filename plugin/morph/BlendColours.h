#pragma once
// The colours of a blend: the colour an entity shows, and the colour of each step between two
// colours.
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbEntity.h"

namespace veltrace {

// The colour `entity` shows: its own true colour or colour index; index 7 for ByBlock; for
// ByLayer (and any other method) its layer's colour. `colour` keeps what the caller gave when
// the layer cannot be opened.
void effectiveColor(const ZcDbEntity& entity, ZcCmColor& colour);

// The colour of step j (0..count-1) of `count` between two colours: each channel
// first + (second - first) (j + 1) / (count + 1), truncated, as a true colour; ByLayer when
// the two colours are the same.
ZcCmColor gradientColor(const ZcCmColor& first, const ZcCmColor& second, int count, int j);

}  // namespace veltrace
