#include <gtest/gtest.h>

#include <cmath>

#include "geometry/ZcGeGaussLegendre.h"
#include "zcad/ge/ZcGe.h"

namespace {

TEST(ZcGeGaussLegendreTest, RulesIntegratePolynomialsExactly) {
  // The n-point rule is exact up to degree 2n - 1.
  for (const zcge::GaussRule* rule : {&zcge::gaussRule8(), &zcge::gaussRule16()}) {
    const int n = 2 * rule->count;
    double wsum = 0.0;
    for (int i = 0; i < rule->count; ++i) wsum += 2.0 * rule->w[i];
    EXPECT_NEAR(wsum, 2.0, 1e-14);
    auto f = [n](double x) { return std::pow(x, 2 * n - 2) + std::pow(x, 2 * n - 1); };
    EXPECT_NEAR(zcge::gaussApply(*rule, f, -1.0, 1.0), 2.0 / (2 * n - 1), 1e-14);
  }
}

TEST(ZcGeGaussLegendreTest, AdaptiveReachesRequestedAccuracy) {
  EXPECT_NEAR(zcge::integrateAdaptive([](double x) { return std::sin(x); }, 0.0, ZcGe::kPi, 1e-12, 0.0), 2.0,
              1e-12);
  // A kink (sqrt near zero) needs subdivision.
  const double v =
      zcge::integrateAdaptive([](double x) { return std::sqrt(std::fabs(x)); }, -1.0, 1.0, 1e-10, 0.0);
  EXPECT_NEAR(v, 4.0 / 3.0, 1e-9);
  EXPECT_EQ(zcge::integrateAdaptive([](double) { return 1.0; }, 2.0, 2.0, 1e-12, 0.0), 0.0);
}

TEST(ZcGeGaussLegendreTest, NaNIntegrandTerminates) {
  const double v = zcge::integrateAdaptive([](double) { return std::nan(""); }, 0.0, 1.0, 1e-12, 0.0);
  EXPECT_TRUE(std::isnan(v));
}

// A spline standing still on repeated control points has a speed that is rounding noise: every
// panel looked unconverged and the integration split 2^30 times (a drawing that never opened).
TEST(ZcGeGaussLegendreTest, NoiseIntegrandStopsWithinItsPanelBudget) {
  long evaluations = 0;
  unsigned state = 12345;
  const double v = zcge::integrateAdaptive(
      [&](double) {
        ++evaluations;
        state = state * 1103515245u + 12345u;
        return 1e-17 * static_cast<double>(state >> 16);
      },
      0.0, 1.0, 1e-11, 0.0);
  EXPECT_LT(std::fabs(v), 1e-11);
  EXPECT_LE(evaluations, 4096L * 2 * 48 + 48);
}

}  // namespace
