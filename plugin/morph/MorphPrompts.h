#pragma once
// The questions the morphing commands share.
namespace veltrace {

// How many shapes go between the two polylines: 1..100, asked again while out of range;
// Enter or Esc take 16.
int askInterpolationCount();

// The density acceleration as the spacing law takes it (-1..1): the user's integer clamped
// to -100..100, over 100; Enter or Esc take 0.
double askDensityAcceleration();

// The same two questions as the blends ask them (their own texts).
int askCountOfSteps();
double askStepAcceleration();

}  // namespace veltrace
