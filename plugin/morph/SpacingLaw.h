#pragma once
// How the shapes between two polylines are spaced: a fraction of the way from the first
// shape (0) to the second (1), bent by a density acceleration in -1..1. At 0 the steps are
// even; a positive acceleration crowds the first steps near the first shape, a negative one
// near the second.
namespace veltrace {

// The acceleration a command works with: the user's integer clamped to -100..100, over 100.
double accelerationFromInput(int value);

// The fraction `s` (0..1, both ends included) bent by the acceleration `a`: s^e for a >= 0,
// 1 - (1 - s)^e for a < 0, with e = 2|a| + 1.
double shapedFraction(double s, double a);

// Step j (0..n-1) of n between two shapes, never the shapes themselves: the shaped fraction of
// (j + 1) / (n + 1).
double densityFraction(int j, int n, double a);

}  // namespace veltrace
