#pragma once
// PLBH: numbers the vertices of each selected polyline, spline, line, arc or open ellipse
// with a point and a number text at every vertex (markVertex), in the current space.
namespace veltrace {

void plbhCommand();

}  // namespace veltrace
