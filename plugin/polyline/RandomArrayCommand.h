#pragma once
// PLRNDArray: copies the selected curves many times along one direction, the gaps between
// successive copies random or following a wave law over groups of copies (ArrayOffsets.h).
// Every copy goes into the current space; the selection stays as it is.
namespace veltrace {

// The most positions of one array, the selection's own included.
inline constexpr int kMaxArrayPositions = 1000;

void plrndArrayCommand();

}  // namespace veltrace
