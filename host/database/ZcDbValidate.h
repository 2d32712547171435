#pragma once
// Internal: checks shared by the setters of the database module. Non-finite numbers never
// enter the database.
#include <cmath>

#include "zcad/db/ZcDb.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector2d.h"
#include "zcad/ge/ZcGeVector3d.h"

inline bool zcdbFinite(double v) { return std::isfinite(v); }
inline bool zcdbFinite(const ZcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool zcdbFinite(const ZcGeVector2d& v) { return std::isfinite(v.x) && std::isfinite(v.y); }
inline bool zcdbFinite(const ZcGePoint3d& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
inline bool zcdbFinite(const ZcGeVector3d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The line weights a drawing can hold: ByLayer, ByBlock, default, and the standard widths in
// hundredths of a millimetre.
inline bool zcdbIsValidLineWeight(int weight) {
  static constexpr int kWeights[] = {-3, -2, -1, 0,  5,  9,  13,  15,  18,  20,  25,  30,  35, 40,
                                     50, 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
  for (int w : kWeights) {
    if (w == weight) return true;
  }
  return false;
}
