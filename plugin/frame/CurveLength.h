#pragma once
// The length of a curve as the host measures it: the distance along the curve at its end
// parameter.
#include <optional>

#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

// nullopt when the host cannot answer either query (a degenerate curve). The value is the
// host's: callers that need a usable length check it against their own smallest length.
inline std::optional<double> curveLength(const ZcDbCurve& curve) {
  double endParam = 0.0;
  double length = 0.0;
  if (curve.getEndParam(endParam) != Zcad::eOk || curve.getDistAtParam(endParam, length) != Zcad::eOk) {
    return std::nullopt;
  }
  return length;
}

}  // namespace veltrace
