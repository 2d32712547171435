#pragma once
// CHBJ: rebuilds the boundaries of the selected hatches as red entities in the current space:
// polyline loops as polylines with their bulges, edge loops edge by edge (lines, arcs or full
// circles, elliptical arcs, splines from their fit data or their control points).
namespace veltrace {

void chbjCommand();

}  // namespace veltrace
