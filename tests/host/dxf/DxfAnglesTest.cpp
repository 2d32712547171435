#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "database/ConicGeometry.h"
#include "dxf/DxfAngles.h"

namespace vtcad::dxf {
namespace {

// The plain search: every digit count from 1 up, the first that reads back.
double shortestByScan(double radians) {
  const double degrees = radians / kRadiansPerDegree;
  for (int digits = 1; digits <= 17; ++digits) {
    double candidate = 0.0;
    if (roundedDegrees(degrees, digits, candidate) && radiansFromDegrees(candidate) == radians) {
      return candidate;
    }
  }
  // Some radians are no double's product with the factor: a neighbour of the quotient may be.
  for (double candidate : {std::nextafter(degrees, 1e9), std::nextafter(degrees, -1e9)}) {
    if (radiansFromDegrees(candidate) == radians) return candidate;
  }
  return degrees;
}

// The same search for a reader that keeps angles within a turn (texts, block references).
double normalizedDegrees(double degrees) { return vtcad::db::normalizeAngle(degrees * kRadiansPerDegree); }
double shortestNormalizedByScan(double radians, double turned) {
  const double plain = turned / kRadiansPerDegree;
  for (int digits = 1; digits <= 17; ++digits) {
    double candidate = 0.0;
    if (roundedDegrees(plain, digits, candidate) && normalizedDegrees(candidate) == radians) return candidate;
  }
  return plain;
}

// Angles as drawings hold them: typed degrees of a few decimals, full-precision radians of
// computed geometry, and degrees of other programs' files written with 6 to 16 digits.
TEST(DxfAnglesTest, WrittenDegreesAreTheShortestThatReadBack) {
  std::mt19937_64 rng(/*seed=*/20261208);
  std::uniform_real_distribution<double> turn(-2.0 * ZcGe::kPi, 2.0 * ZcGe::kPi);
  std::uniform_int_distribution<int> decimals(0, 16);
  int exact = 0;
  for (int i = 0; i < 30000; ++i) {
    double radians = turn(rng);
    if (i % 3 == 1) {
      const double scale = std::pow(10.0, decimals(rng) % 4);
      radians = radiansFromDegrees(std::round(radians / kRadiansPerDegree * scale) / scale);
    } else if (i % 3 == 2) {
      double rounded = 0.0;
      ASSERT_TRUE(roundedDegrees(radians / kRadiansPerDegree, 6 + decimals(rng) % 11, rounded));
      radians = radiansFromDegrees(rounded);
    }
    const double written = degreesFromRadians(radians);
    ASSERT_EQ(written, shortestByScan(radians)) << "radians " << radians;
    const double kept = vtcad::db::normalizeAngle(radians);
    const double turned = kept > ZcGe::kPi ? kept - ZcGe::kTwoPi : kept;
    ASSERT_EQ(degreesOf(kept, turned, normalizedDegrees), shortestNormalizedByScan(kept, turned))
        << "radians " << kept;
    if (radiansFromDegrees(written) == radians) ++exact;
  }
  // Typed and file angles always come back; computed radians nearly always.
  EXPECT_GT(exact, 29000);
}

TEST(DxfAnglesTest, TypedAnglesComeBackAsTyped) {
  for (double typed : {30.0, 45.5, 90.0, 12.345, -15.0, 359.999, 0.001}) {
    EXPECT_EQ(degreesFromRadians(radiansFromDegrees(typed)), typed);
    EXPECT_EQ(degreesOf(radiansFromDegrees(typed), radiansFromDegrees(typed), radiansFromDegrees), typed);
  }
}

}  // namespace
}  // namespace vtcad::dxf
