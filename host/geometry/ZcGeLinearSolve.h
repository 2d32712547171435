#pragma once
// Internal: the banded solvers of spline interpolation. Not part of the public interface.
// T is a vector type with +, - and * double (ZcGeVector3d).
#include <cmath>
#include <vector>

namespace zcge {

// Thomas algorithm for sub[i] x[i-1] + diag[i] x[i] + super[i] x[i+1] = rhs[i]; sub[0] and
// super[n-1] are unused. Without pivoting: the collocation matrices of B-spline interpolation
// are totally positive, for which this is stable. false on a zero pivot (rhs unspecified);
// on success rhs holds the solution.
template <typename T>
bool solveTridiagonal(const std::vector<double>& sub, const std::vector<double>& diag,
                      const std::vector<double>& super, std::vector<T>& rhs) {
  const size_t n = diag.size();
  if (n == 0) return true;
  std::vector<double> c(n, 0.0);
  double beta = diag[0];
  if (!(std::fabs(beta) > 0.0)) return false;
  rhs[0] = rhs[0] * (1.0 / beta);
  for (size_t i = 1; i < n; ++i) {
    c[i - 1] = super[i - 1] / beta;
    beta = diag[i] - sub[i] * c[i - 1];
    if (!(std::fabs(beta) > 0.0)) return false;
    rhs[i] = (rhs[i] - rhs[i - 1] * sub[i]) * (1.0 / beta);
  }
  for (size_t i = n - 1; i-- > 0;) rhs[i] = rhs[i] - rhs[i + 1] * c[i];
  return true;
}

// As solveTridiagonal with the two corner entries of a cyclic system: row 0 has sub[0] at
// column n-1 and row n-1 has super[n-1] at column 0 (n >= 3). Sherman-Morrison on the
// tridiagonal part.
template <typename T>
bool solveCyclicTridiagonal(const std::vector<double>& sub, const std::vector<double>& diag,
                            const std::vector<double>& super, std::vector<T>& rhs) {
  const size_t n = diag.size();
  if (n < 3) return false;
  const double alpha = super[n - 1];  // row n-1, column 0
  const double beta = sub[0];         // row 0, column n-1
  const double gamma = -diag[0];
  std::vector<double> d = diag;
  d[0] -= gamma;
  d[n - 1] -= alpha * beta / gamma;
  if (!solveTridiagonal(sub, d, super, rhs)) return false;
  std::vector<double> u(n, 0.0);
  u[0] = gamma;
  u[n - 1] = alpha;
  if (!solveTridiagonal(sub, d, super, u)) return false;
  const double denom = 1.0 + u[0] + beta * u[n - 1] / gamma;
  if (!(std::fabs(denom) > 0.0)) return false;
  const T factor = (rhs[0] + rhs[n - 1] * (beta / gamma)) * (1.0 / denom);
  for (size_t i = 0; i < n; ++i) rhs[i] = rhs[i] - factor * u[i];
  return true;
}

}  // namespace zcge
