#pragma once
// QXTY: projects the selected curves straight down onto the world XY plane and adds the
// projections as new curves in the current space; the sources stay as they are.
namespace veltrace {

void qxtyCommand();

}  // namespace veltrace
