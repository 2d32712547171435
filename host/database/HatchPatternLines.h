#pragma once
// HatchPatternLines: the definition lines of a hatch's pattern as a drawing file gives them
// (groups 78, then per line 53 angle, 43/44 base point, 45/46 offset, 79 dash count and 49
// dashes), kept with the hatch since it was read. The pattern's scale and angle are already
// folded into them, in the hatch's plane. A hatch made here, or one whose file had none, has
// no lines; a damaged list (a count that does not match, a number that is not one) gives the
// lines before the damage.
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector2d.h"

class ZcDbHatch;

namespace vtcad::db {

struct HatchPatternLine {
  double angle = 0.0;          // radians, of the lines' direction
  ZcGePoint2d base;            // a point of the family's first line (and where its dashes start)
  ZcGeVector2d offset;         // from one line of the family to the next
  std::vector<double> dashes;  // positive dash, negative gap, zero dot; empty: continuous
};

std::vector<HatchPatternLine> hatchPatternLines(const ZcDbHatch& hatch);

}  // namespace vtcad::db
