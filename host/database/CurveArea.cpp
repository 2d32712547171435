#include "database/CurveArea.h"

#include <array>
#include <cmath>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeCurve3d.h"

namespace vtcad::db {
namespace {

// Positive nodes and weights of the n-point Gauss-Legendre rule on [-1, 1].
template <int N>
struct GaussRule {
  std::array<double, N / 2> x{};
  std::array<double, N / 2> w{};

  GaussRule() {
    for (int i = 0; i < N / 2; ++i) {
      // Newton's method on P_N from the Chebyshev-like first guess converges in a few steps.
      double z = std::cos(ZcGe::kPi * (i + 0.75) / (N + 0.5));
      double derivative = 1.0;
      for (int iteration = 0; iteration < 100; ++iteration) {
        double p0 = 1.0, p1 = 0.0;
        for (int k = 1; k <= N; ++k) {
          const double p2 = p1;
          p1 = p0;
          p0 = ((2.0 * k - 1.0) * z * p1 - (k - 1.0) * p2) / k;
        }
        derivative = N * (z * p0 - p1) / (z * z - 1.0);
        const double step = p0 / derivative;
        z -= step;
        if (std::fabs(step) < 1e-16) break;
      }
      x[i] = z;
      w[i] = 2.0 / ((1.0 - z * z) * derivative * derivative);
    }
  }
};

const GaussRule<8>& rule8() {
  static const GaussRule<8> rule;
  return rule;
}
const GaussRule<16>& rule16() {
  static const GaussRule<16> rule;
  return rule;
}

class VectorAreaIntegrator {
 public:
  VectorAreaIntegrator(const ZcGeCurve3d& curve, const ZcGePoint3d& origin, double absTol)
      : curve_(curve), origin_(origin), absTol_(absTol) {}

  ZcGeVector3d integrate(double a, double b, int depth) const {
    const ZcGeVector3d fine = apply(rule16(), a, b);
    const ZcGeVector3d coarse = apply(rule8(), a, b);
    const double error = (fine - coarse).length();
    // !(error > tol) also stops on NaN, which must not recurse.
    if (!(error > absTol_) || !(error > 1e-13 * fine.length()) || depth <= 0) return fine;
    const double mid = 0.5 * (a + b);
    return integrate(a, mid, depth - 1) + integrate(mid, b, depth - 1);
  }

 private:
  ZcGeVector3d integrand(double t) const {
    ZcGeVector3dArray derivs;
    const ZcGePoint3d p = curve_.evalPoint(t, 1, derivs);
    return 0.5 * (p - origin_).crossProduct(derivs[0]);
  }

  template <typename Rule>
  ZcGeVector3d apply(const Rule& rule, double a, double b) const {
    const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
    ZcGeVector3d sum;
    for (size_t i = 0; i < rule.x.size(); ++i)
      sum += rule.w[i] * (integrand(mid - half * rule.x[i]) + integrand(mid + half * rule.x[i]));
    return sum * half;
  }

  const ZcGeCurve3d& curve_;
  ZcGePoint3d origin_;
  double absTol_;
};

}  // namespace

ZcGeVector3d chordClosedVectorArea(const ZcGeCurve3d& curve, const ZcGeDoubleArray& breakParams) {
  if (breakParams.length() < 2) return {};
  ZcGePoint3d min, max;
  if (!curve.getExtents(min, max)) return {};
  const double size = min.distanceTo(max);
  if (!(size > 0.0)) return {};
  const VectorAreaIntegrator integrator(curve, curve.evalPoint(breakParams.first()), 1e-13 * size * size);
  ZcGeVector3d area;
  for (int i = 0; i + 1 < breakParams.length(); ++i) {
    if (breakParams[i + 1] > breakParams[i])
      area += integrator.integrate(breakParams[i], breakParams[i + 1], 16);
  }
  return area;
}

}  // namespace vtcad::db
