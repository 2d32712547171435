#pragma once
// ZcGeScale3d: scale factors along x, y and z, as block references store them. Header only:
// a plain value. Comparisons are within a tolerance (ZcGeContext::gTol.equalPoint()).
#include <cmath>

#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeScale3d {
 public:
  constexpr ZcGeScale3d() = default;
  constexpr explicit ZcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
  constexpr ZcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}

  static const ZcGeScale3d kIdentity;

  ZcGeScale3d& set(double x, double y, double z) {
    sx = x;
    sy = y;
    sz = z;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
  double& operator[](int i) { return i == 0 ? sx : (i == 1 ? sy : sz); }

  // Factor by factor.
  ZcGeScale3d operator*(const ZcGeScale3d& other) const {
    return {sx * other.sx, sy * other.sy, sz * other.sz};
  }
  ZcGeScale3d operator*(double factor) const { return {sx * factor, sy * factor, sz * factor}; }
  ZcGeScale3d& operator*=(const ZcGeScale3d& other) { return *this = *this * other; }
  ZcGeScale3d& operator*=(double factor) { return *this = *this * factor; }

  // The scaling matrix about the origin.
  ZcGeMatrix3d asMatrix() const { return ZcGeMatrix3d::scaling(ZcGeVector3d(sx, sy, sz)); }
  // The matrix as getMatrix() fills it in the host's interface.
  void getMatrix(ZcGeMatrix3d& matrix) const { matrix = asMatrix(); }

  bool isEqualTo(const ZcGeScale3d& other, const ZcGeTol& tol = ZcGeContext::gTol) const {
    return std::fabs(sx - other.sx) <= tol.equalPoint() && std::fabs(sy - other.sy) <= tol.equalPoint() &&
           std::fabs(sz - other.sz) <= tol.equalPoint();
  }
  bool operator==(const ZcGeScale3d& other) const { return isEqualTo(other); }
  bool operator!=(const ZcGeScale3d& other) const { return !isEqualTo(other); }
  // The same factor on every axis.
  bool isProportional(const ZcGeTol& tol = ZcGeContext::gTol) const {
    return std::fabs(sx - sy) <= tol.equalPoint() && std::fabs(sx - sz) <= tol.equalPoint();
  }

  double sx = 1.0;
  double sy = 1.0;
  double sz = 1.0;
};

inline constexpr ZcGeScale3d ZcGeScale3d::kIdentity{1.0, 1.0, 1.0};
inline ZcGeScale3d operator*(double factor, const ZcGeScale3d& scale) { return scale * factor; }
