#pragma once
// The coordinates the plug-in hands to the drawing. The host's geometry squares distances
// (a length is sqrt(x*x + y*y + z*z)), which overflows to infinity near 1e154; a point beyond
// kMaxCoordinate is far outside any drawing and is refused where it enters (a file, a typed
// distance, a formula) rather than turned into infinite lengths later.
#include <cmath>
#include <span>

#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace veltrace {

inline constexpr double kMaxCoordinate = 1e100;

// False for NaN and infinity too.
inline bool withinCoordinateRange(double value) { return std::abs(value) <= kMaxCoordinate; }
inline bool withinCoordinateRange(const ZcGePoint3d& p) {
  return withinCoordinateRange(p.x) && withinCoordinateRange(p.y) && withinCoordinateRange(p.z);
}
inline bool withinCoordinateRange(const ZcGeVector3d& v) {
  return withinCoordinateRange(v.x) && withinCoordinateRange(v.y) && withinCoordinateRange(v.z);
}

// Every coordinate of every point is a finite number (the weaker check, for points that are
// refused only when not numbers at all).
inline bool allFinite(std::span<const ZcGePoint3d> points) {
  for (const ZcGePoint3d& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  }
  return true;
}

}  // namespace veltrace
