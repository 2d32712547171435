#include "geometry/ZcGeGaussLegendre.h"

#include "zcad/ge/ZcGe.h"

namespace zcge {
namespace {

// Nodes and weights of the n-point rule: Newton's method on the Legendre polynomial P_n
// from the usual cosine guesses, P_n evaluated by its three-term recurrence.
GaussRule makeRule(int n) {
  assert(n % 2 == 0 && n / 2 <= 16);
  GaussRule rule;
  rule.count = n / 2;
  for (int i = 0; i < rule.count; ++i) {
    double x = std::cos(ZcGe::kPi * (i + 0.75) / (n + 0.5));
    double dp = 1.0;
    for (int iter = 0; iter < 100; ++iter) {
      double p0 = 1.0, p1 = x;
      for (int k = 2; k <= n; ++k) {
        const double p2 = ((2.0 * k - 1.0) * x * p1 - (k - 1.0) * p0) / k;
        p0 = p1;
        p1 = p2;
      }
      dp = n * (x * p1 - p0) / (x * x - 1.0);
      const double dx = p1 / dp;
      x -= dx;
      if (std::fabs(dx) < 1e-16) break;
    }
    rule.x[i] = x;
    rule.w[i] = 2.0 / ((1.0 - x * x) * dp * dp);
  }
  return rule;
}

}  // namespace

const GaussRule& gaussRule8() {
  static const GaussRule rule = makeRule(8);
  return rule;
}

const GaussRule& gaussRule16() {
  static const GaussRule rule = makeRule(16);
  return rule;
}

}  // namespace zcge
