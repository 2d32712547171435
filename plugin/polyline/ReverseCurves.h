#pragma once
// PLDD: reverses the direction of each selected curve in place. The shape stays; what the
// direction carries turns with it (the host's reverse operation: a polyline's vertices run
// backwards with each arc's bulge negated and its widths swapped, an arc, circle or ellipse
// turns its normal over, a spline its control points).
namespace veltrace {

void plddCommand();

}  // namespace veltrace
