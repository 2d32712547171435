#pragma once
// Internal: adaptive Gauss-Legendre quadrature for arc lengths. Not part of the public
// interface. Each piece is integrated with the 8- and 16-point rules. For an integrand
// analytic on the piece the n-point error falls like r^(-2n), so the 16-point error is about
// the square of the 8-point one: with d = |G16 - G8| / |G16| (about the 8-point error), the
// 16-point value is accepted when 100 d^2 <= relTol; otherwise the piece is halved. Near a
// kink (a cusp, where the speed is not analytic) d does not shrink with the piece, and the
// halving goes on to maxDepth there, on a piece too short to matter.
#include <cassert>
#include <cmath>

namespace zcge {

struct GaussRule {
  int count = 0;   // number of positive nodes; the rule has 2 * count nodes (+x and -x)
  double x[16]{};  // positive nodes on [-1, 1]
  double w[16]{};  // their weights
};

// The n-point rules for n = 8 and 16 (computed once, to machine precision).
const GaussRule& gaussRule8();
const GaussRule& gaussRule16();

template <typename F>
double gaussApply(const GaussRule& rule, F& f, double a, double b) {
  const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
  double sum = 0.0;
  for (int i = 0; i < rule.count; ++i)
    sum += rule.w[i] * (f(mid - half * rule.x[i]) + f(mid + half * rule.x[i]));
  return sum * half;
}

template <typename F>
double integrateAdaptiveRec(F& f, double a, double b, double relTol, double absTol, int depth, int& panels) {
  const double g16 = gaussApply(gaussRule16(), f, a, b);
  const double g8 = gaussApply(gaussRule8(), f, a, b);
  const double diff = std::fabs(g16 - g8);
  const double estimate = 100.0 * diff * diff / std::fabs(g16);  // absolute error of g16
  // The !(x > ...) form also stops on NaN, which must not recurse forever.
  if (!(estimate > relTol * std::fabs(g16)) || !(diff > absTol) || depth <= 0) return g16;
  // A budget of panels bounds the work where no accuracy can be had: over a stretch where
  // the integrand is rounding noise (a curve standing still on repeated control points),
  // every panel looks unconverged and a plain depth limit would split 2^depth times.
  if (--panels <= 0) return g16;
  const double mid = 0.5 * (a + b);
  return integrateAdaptiveRec(f, a, mid, relTol, 0.5 * absTol, depth - 1, panels) +
         integrateAdaptiveRec(f, mid, b, relTol, 0.5 * absTol, depth - 1, panels);
}

// Integral of f over [a, b] (a <= b) to relative accuracy relTol, or absolute absTol,
// whichever is reached first, splitting [a, b] at most maxPanels times.
template <typename F>
double integrateAdaptive(F&& f, double a, double b, double relTol, double absTol, int maxDepth = 30,
                         int maxPanels = 4096) {
  assert(a <= b);
  if (!(b > a)) return 0.0;
  int panels = maxPanels;
  return integrateAdaptiveRec(f, a, b, relTol, absTol, maxDepth, panels);
}

}  // namespace zcge
