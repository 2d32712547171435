#include "morph/SpacingLaw.h"

#include <algorithm>
#include <cmath>

namespace veltrace {

double accelerationFromInput(int value) { return std::clamp(value, -100, 100) / 100.0; }

double shapedFraction(double s, double a) {
  const double e = 2.0 * std::abs(a) + 1.0;
  return a >= 0.0 ? std::pow(s, e) : 1.0 - std::pow(1.0 - s, e);
}

double densityFraction(int j, int n, double a) {
  const double s = (static_cast<double>(j) + 1.0) / (static_cast<double>(n) + 1.0);
  return shapedFraction(s, a);
}

}  // namespace veltrace
