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

// The degrees written for an angle held in radians when the reader stores it by its own
// conversion `stored` (a normalisation, say): the shortest decimal that `stored` turns back
// into the same radians; the plain quotient when none does. `turned` is the same angle as
// the file prefers to see it (-15 degrees rather than 345).
template <typename Stored>
double degreesOf(double radians, double turned, Stored stored) {
  const double plain = turned / kRadiansPerDegree;
  char buffer[32];
  for (int digits = 1; digits <= 17; ++digits) {
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, plain, std::chars_format::general, digits);
    double d = 0.0;
    if (written.ec == std::errc() && std::from_chars(buffer, written.ptr, d).ec == std::errc() &&
        stored(d) == radians) {
      return d;
    }
  }
  return plain;
}

}  // namespace vtcad::dxf
