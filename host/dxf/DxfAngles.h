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

// The decimal of `degrees` rounded to `digits` significant digits, read back.
inline bool roundedDegrees(double degrees, int digits, double& rounded) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::general, digits);
  return ec == std::errc() && std::from_chars(buffer, end, rounded).ec == std::errc();
}

// What the neighbours of `plain` tell without trying decimals, for a `stored` that rises with
// its argument between the points where it wraps (a turn apart). Either `plain` is the only
// double near it that `stored` turns into `radians`, or none is: in both cases no decimal but
// `plain` itself can be written, since any rounding of an angle below 1000 degrees lies within
// 50 degrees of it, less than a turn, on the same rising stretch. Most angles are one of the
// two; trying decimals costs a conversion each way per try.
enum class NearPlain { kOnlyPlain, kNone, kSearch };

template <typename Stored>
NearPlain nearPlain(double plain, double radians, Stored stored) {
  if (!(std::fabs(plain) < 1000.0)) return NearPlain::kSearch;  // NaN too
  const double at = stored(plain);
  const double below = stored(std::nextafter(plain, -std::numeric_limits<double>::infinity()));
  const double above = stored(std::nextafter(plain, std::numeric_limits<double>::infinity()));
  // A wrap between the neighbours, or a flat stretch (products that underflow), is searched.
  if (!(below < at && at < above)) return NearPlain::kSearch;
  if (at == radians) return NearPlain::kOnlyPlain;
  if (below < radians && radians < above) return NearPlain::kNone;
  return NearPlain::kSearch;
}

// The shortest rounding of `plain` (the quotient degrees) that `stored` turns back into
// `radians`. A rounding to 15 digits or fewer that reads back keeps doing so with more
// digits up to 15 (it lies next to a short decimal, which more digits only pad with zeros;
// the test against a plain scan holds it to that), so the number of digits is found by bisection instead of
// trying all 17. Sixteen digits are the exception: their spacing is finer than the interval that reads back,
// which then need not hold the nearest of them, so 16 may miss where 15 and 17 read back. The angles of a
// drawing mostly need a handful of digits (30, 12.5) or nearly all (computed ones): a first probe at 6
// digits, then at 15 and its neighbours, settles either kind in about three tries where halving from the
// middle takes four or five. The degenerate case, `plain` itself not reading back, is left to the caller.
template <typename Stored>
bool shortestDegrees(double plain, double radians, Stored stored, double& found) {
  // Seventeen digits give any double back as it is.
  if (stored(plain) != radians) return false;
  found = plain;
  double candidate = 0.0;
  int low = 1;    // the first count that may read back
  int high = 17;  // a count known to read back
  auto probe = [&](int digits) {
    if (roundedDegrees(plain, digits, candidate) && stored(candidate) == radians) {
      found = candidate;
      high = digits;
    } else {
      low = digits + 1;
    }
  };
  probe(/*digits=*/6);
  if (low > 6) {
    probe(/*digits=*/15);
    if (low > 15) probe(/*digits=*/16);
    if (high == 15) probe(/*digits=*/14);
  }
  while (low < high) probe((low + high) / 2);
  return true;
}

inline double degreesFromRadians(double radians) {
  const double degrees = radians / kRadiansPerDegree;
  if (!std::isfinite(degrees)) return degrees;
  if (nearPlain(degrees, radians, radiansFromDegrees) != NearPlain::kSearch) return degrees;
  double found = 0.0;
  if (shortestDegrees(degrees, radians, radiansFromDegrees, found)) return found;
  for (int digits = 1; digits <= 17; ++digits) {
    double candidate = 0.0;
    if (roundedDegrees(degrees, digits, candidate) && radiansFromDegrees(candidate) == radians) {
      return candidate;
    }
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
  if (nearPlain(plain, radians, stored) != NearPlain::kSearch) return plain;
  double found = 0.0;
  if (std::isfinite(plain) && shortestDegrees(plain, radians, stored, found)) return found;
  for (int digits = 1; digits <= 17; ++digits) {
    double d = 0.0;
    if (roundedDegrees(plain, digits, d) && stored(d) == radians) return d;
  }
  return plain;
}

}  // namespace vtcad::dxf
