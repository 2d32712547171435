#pragma once
// Internal: angle bookkeeping shared by the arc classes. Not part of the public interface.
#include <cmath>

#include "zcad/ge/ZcGe.h"

namespace zcge {

// The end angle moved by whole turns so that start <= end <= start + 2*pi. An end below the
// start by less than a turn means the arc runs on through the zero direction. Non-finite
// angles are passed through (the arc then reports isValid() false).
inline double normalizedEndAngle(double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end)) return end;
  double sweep = end - start;
  if (sweep < 0.0) sweep = std::fmod(sweep, ZcGe::kTwoPi) + ZcGe::kTwoPi;
  if (sweep > ZcGe::kTwoPi) sweep = ZcGe::kTwoPi;
  return start + sweep;
}

// `angle` moved by whole turns into [start, start + 2*pi).
inline double angleFrom(double start, double angle) {
  double d = std::fmod(angle - start, ZcGe::kTwoPi);
  if (d < 0.0) d += ZcGe::kTwoPi;
  if (d >= ZcGe::kTwoPi) d = 0.0;
  return start + d;
}

// Parameter of the closest point of an arc [start, end] for a point at `angle`: the angle
// itself when inside, otherwise the nearer end (by angular distance, the same as distance on
// a circle).
inline double clampAngleToArc(double start, double end, double angle) {
  const double a = angleFrom(start, angle);
  if (a <= end) return a;
  return (a - end) <= (start + ZcGe::kTwoPi - a) ? end : start;
}

}  // namespace zcge
