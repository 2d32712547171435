#pragma once
// Where the copies of a random or wave array go: a table of offsets from the selection, one
// per position, built step by step. Position 0 is the selection itself (no offset); each next
// position adds an increment along the array's direction whose length follows the law of the
// array's mode over groups of positions. Offsets stay in the XY plane.
#include <functional>
#include <vector>

#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

// The numbers are the ones the user types.
enum class ArrayMode {
  kRandom = 1,       // each step a random fraction of the distance, 50/150 to 149/150
  kHalfWave = 2,     // a quarter of a cosine over each group
  kFullWave = 3,     // half a cosine over each group, folded up
  kExponential = 4,  // e^((k - 1) * 3 / k) within each group: 0, 1, then growing towards e^3
  kLogarithmic = 5,  // log10(k + 1) within each group: 0, then growing
};

// A fresh non-negative pseudo-random integer per call (only the random mode draws).
using RandomSource = std::function<unsigned()>;

struct ArrayLayout {
  int count = 10;         // positions, the selection's own included
  double distance = 1.0;  // the step length the laws scale
  int angleDegrees = 0;   // direction in whole degrees, counter-clockwise from +x
  ArrayMode mode = ArrayMode::kRandom;
  int groupSize = 10;  // positions per period of the wave modes, at least 1
};

// The step factor of the random mode for one draw: ((r mod 100) + 50) / 150.
double randomStepFactor(unsigned draw);

// Offsets P_0 .. P_{count-1}: P_0 is zero and P_i = P_{i-1} + the increment of position i,
// taken at k = i mod groupSize. The random mode draws once per position from `random`,
// which no other mode calls (it may then be empty). A count below 1 gives no offsets.
std::vector<ZcGeVector3d> arrayOffsets(const ArrayLayout& layout, const RandomSource& random);

}  // namespace veltrace
