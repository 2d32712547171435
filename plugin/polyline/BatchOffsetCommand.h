#pragma once
// PLOFFSET: offset copies of each selected curve, on both sides or one, up to ten per side at
// one spacing or a list of spacings. The copies go on the current layer in the current
// colour beside their source; a clockwise polyline source is turned counter-clockwise.
namespace veltrace {

void ploffsetCommand();

}  // namespace veltrace
