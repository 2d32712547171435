#pragma once
// The vertex optimisation commands. The frame runs each command's prologue before its body.
namespace veltrace {

// PLYH: replaces each selected polyline by an optimised one under a tolerance the user gives
// (1 to 10) and reports how many vertices were saved.
void plyhCommand();
// PLYH2: deletes consecutive coincident vertices of the selected polylines in place and
// reports how many were deleted.
void plyh2Command();
// PLYH3: turns each selected polyline into a smooth spline-fit polyline.
void plyh3Command();

}  // namespace veltrace
