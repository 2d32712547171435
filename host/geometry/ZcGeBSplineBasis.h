#pragma once
// Internal: B-spline basis functions (the standard triangular recurrences). Not part of the
// public interface. Knots U[0 .. numCtrl + p], degree p <= kMaxBasisDegree.
#include <cassert>
#include <utility>

namespace zcge {

inline constexpr int kMaxBasisDegree = 25;

// The knot span s with U[s] <= u < U[s + 1] and U[s] < U[s + 1], restricted to the domain
// [U[p], U[numCtrl]]; parameters beyond an end fall into the nearest non-empty span.
inline int findSpan(const double* U, int numCtrl, int p, double u) {
  const int n = numCtrl - 1;
  if (!(u < U[n + 1])) {
    int s = n;
    while (s > p && !(U[s] < U[s + 1])) --s;
    return s;
  }
  if (!(u > U[p])) {
    int s = p;
    while (s < n && !(U[s] < U[s + 1])) ++s;
    return s;
  }
  int lo = p, hi = n + 1;  // invariant: U[lo] <= u < U[hi]
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (u < U[mid])
      hi = mid;
    else
      lo = mid;
  }
  return lo;
}

// The p + 1 basis functions non-zero on span i at u: N[j] = N_{i-p+j,p}(u).
inline void basisFuns(int i, double u, int p, const double* U, double* N) {
  assert(p >= 0 && p <= kMaxBasisDegree);
  double left[kMaxBasisDegree + 1], right[kMaxBasisDegree + 1];
  N[0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[i + 1 - j];
    right[j] = U[i + j] - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      // The denominator spans [U[i+r+1-j], U[i+r+1]], which contains the non-empty span i.
      const double temp = N[r] / (right[r + 1] + left[j - r]);
      N[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    N[j] = saved;
  }
}

// The p + 1 basis functions and their first derivatives on span i at u (p >= 1), from the
// degree p - 1 functions: the fast path of arc-length integration.
inline void basisFunsAndFirstDerivs(int i, double u, int p, const double* U, double* N, double* D) {
  assert(p >= 1 && p <= kMaxBasisDegree);
  double lower[kMaxBasisDegree + 1];  // lower[r] = N_{i-p+1+r, p-1}(u)
  basisFuns(i, u, p - 1, U, lower);
  for (int r = 0; r <= p; ++r) {
    const int j = i - p + r;
    double n = 0.0, d = 0.0;
    if (r >= 1) {
      const double inv = 1.0 / (U[j + p] - U[j]);  // spans the non-empty span i
      n += (u - U[j]) * inv * lower[r - 1];
      d += p * inv * lower[r - 1];
    }
    if (r <= p - 1) {
      const double inv = 1.0 / (U[j + p + 1] - U[j + 1]);
      n += (U[j + p + 1] - u) * inv * lower[r];
      d -= p * inv * lower[r];
    }
    N[r] = n;
    D[r] = d;
  }
}

// Basis functions and their derivatives up to order nd (nd <= p) on span i at u:
// ders[k][j] = d^k/du^k N_{i-p+j,p}(u).
inline void dersBasisFuns(int i, double u, int p, int nd, const double* U,
                          double (*ders)[kMaxBasisDegree + 1]) {
  assert(p >= 0 && p <= kMaxBasisDegree && nd >= 0 && nd <= p);
  double ndu[kMaxBasisDegree + 1][kMaxBasisDegree + 1];
  double a[2][kMaxBasisDegree + 1];
  double left[kMaxBasisDegree + 1], right[kMaxBasisDegree + 1];
  ndu[0][0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - U[i + 1 - j];
    right[j] = U[i + j] - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];  // knot differences (lower triangle)
      const double temp = ndu[r][j - 1] / ndu[j][r];
      ndu[r][j] = saved + right[r + 1] * temp;  // basis functions (upper triangle)
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  for (int j = 0; j <= p; ++j) ders[0][j] = ndu[j][p];
  for (int r = 0; r <= p; ++r) {
    int s1 = 0, s2 = 1;
    a[0][0] = 1.0;
    for (int k = 1; k <= nd; ++k) {
      double d = 0.0;
      const int rk = r - k, pk = p - k;
      if (r >= k) {
        a[s2][0] = a[s1][0] / ndu[pk + 1][rk];
        d = a[s2][0] * ndu[rk][pk];
      }
      const int j1 = rk >= -1 ? 1 : -rk;
      const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
      for (int j = j1; j <= j2; ++j) {
        a[s2][j] = (a[s1][j] - a[s1][j - 1]) / ndu[pk + 1][rk + j];
        d += a[s2][j] * ndu[rk + j][pk];
      }
      if (r <= pk) {
        a[s2][k] = -a[s1][k - 1] / ndu[pk + 1][r];
        d += a[s2][k] * ndu[r][pk];
      }
      ders[k][r] = d;
      std::swap(s1, s2);
    }
  }
  double factor = p;
  for (int k = 1; k <= nd; ++k) {
    for (int j = 0; j <= p; ++j) ders[k][j] *= factor;
    factor *= (p - k);
  }
}

}  // namespace zcge
