#pragma once
// The building blocks of batch offsets: which sides get copies, turning a polyline
// counter-clockwise so that its outside is the host's positive offset side, and the copies of
// one curve at the cumulative distances of a spacing table.
#include "polyline/SpacingList.h"

class ZcDbCurve;
class ZcDbEntity;

namespace veltrace {

// The host's offsets go to the right of the direction of travel for a positive distance:
// outside a counter-clockwise closed curve.
enum class OffsetSides {
  kBoth,     // "Double"
  kInner,    // negative distances only
  kOutside,  // positive distances only
};

// A lightweight, old-style 2-D or 3-D polyline of at least 3 vertices whose vertex pairs run
// mostly clockwise about the vertices' centroid (seen from +Z; the closing pair not counted)
// is reversed. `curve` is open for read or write and stays open as it was; every other curve
// is left alone. True when it was reversed.
bool orientCounterclockwise(ZcDbCurve* curve);

// For k = 1..copies (clamped to 1..10), the host's offsets of `entity` at +s(k) and/or -s(k),
// s(k) the cumulative spacing, each placed beside `entity` with the drawing's current layer
// and colour. Nothing for an entity that is not a curve, not in a database or shorter than
// kSmallestSpacing; a distance the host cannot offset gives no copy. `entity` (open for read)
// is oriented first (orientCounterclockwise). The number of copies placed.
int offsetCopies(ZcDbEntity* entity, const SpacingTable& table, int copies, OffsetSides sides);

}  // namespace veltrace
