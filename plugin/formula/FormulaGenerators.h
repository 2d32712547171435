#pragma once
// The sample points of the formula curves: a pure computation (no drawing, no host state),
// so the dialog's preview and the tests can call it freely.
#include "formula/FormulaCatalogue.h"
#include "frame/PolylineFromPoints.h"

namespace veltrace {

// P1..P4 of a catalogue entry, in slot order.
struct FormulaParameters {
  int p1 = 0;
  int p2 = 0;
  int p3 = 0;
  int p4 = 0;
};

// What a curve through the samples looks like.
struct FormulaSamples {
  PointList points;      // relative to the origin; every coordinate finite
  int colourIndex = -1;  // -1: the drawing's current colour
  bool closed = false;
};

// The samples of catalogue entry `entryIndex` (0..70; any other index gives no points).
// Parameters outside the entry's ranges are clamped into them first. `surftab1` is the host's
// SURFTAB1, read only by entry 7 (6 samples per unit; none when it is not positive). Samples
// with no real value, or with a coordinate that is not finite or exceeds kMaxCoordinate
// (frame/CoordinateRange.h), are left out, so a curve may have fewer points than its count.
FormulaSamples formulaCurveSamples(int entryIndex, FormulaParameters parameters, int surftab1);

// The defaults of the entry's four slots.
FormulaParameters formulaDefaultParameters(int entryIndex);

}  // namespace veltrace
