#pragma once
// Angles of entities: degrees in the file, radians in the database. Reading multiplies by
// kRadiansPerDegree; writing gives the shortest decimal that reads back as the same radians,
// so that a file's "30" is written back as "30.0" and not as 29.999999999999996 (30 degrees
// through radians and back by division), and a drawing saved and read again keeps its angles
// bit for bit.
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "zcad/ge/ZcGe.h"

namespace vtcad::dxf {

inline constexpr double kRadiansPerDegree = ZcGe::kPi / 180.0;

inline double radiansFromDegrees(double degrees) { return degrees * kRadiansPerDegree; }

inline double degreesFromRadians(double radians) {
  const double degrees = radians / kRadiansPerDegree;
  if (!std::isfinite(degrees)) return degrees;
  char buffer[64];
  for (int digits = 1; digits <= 17; ++digits) {
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::general, digits);
    double candidate = 0.0;
    if (ec == std::errc() && std::from_chars(buffer, end, candidate).ec == std::errc() &&
        radiansFromDegrees(candidate) == radians)
      return candidate;
  }
  // No decimal of the quotient reads back exactly: one of its neighbours may.
  for (double candidate : {std::nextafter(degrees, std::numeric_limits<double>::infinity()),
                           std::nextafter(degrees, -std::numeric_limits<double>::infinity())}) {
    if (radiansFromDegrees(candidate) == radians) return candidate;
  }
  return degrees;
}

}  // namespace vtcad::dxf
