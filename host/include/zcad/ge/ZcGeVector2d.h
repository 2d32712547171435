#pragma once
// ZcGeVector2d: a direction and magnitude in the plane. Comparisons (==, isEqualTo) are
// within ZcGeContext::gTol.equalVector(), not bitwise.
#include "zcad/ge/ZcGeContext.h"

class ZcGeVector3d;

class ZcGeVector2d {
 public:
  constexpr ZcGeVector2d() = default;
  constexpr ZcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

  static const ZcGeVector2d kIdentity;  // the zero vector
  static const ZcGeVector2d kXAxis;
  static const ZcGeVector2d kYAxis;

  ZcGeVector2d& set(double xx, double yy) {
    x = xx;
    y = yy;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? x : y; }
  double& operator[](int i) { return i == 0 ? x : y; }

  ZcGeVector2d operator+(const ZcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  ZcGeVector2d operator-(const ZcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  ZcGeVector2d operator-() const { return {-x, -y}; }
  ZcGeVector2d operator*(double s) const { return {x * s, y * s}; }
  ZcGeVector2d operator/(double s) const { return {x / s, y / s}; }
  ZcGeVector2d& operator+=(const ZcGeVector2d& v) {
    x += v.x;
    y += v.y;
    return *this;
  }
  ZcGeVector2d& operator-=(const ZcGeVector2d& v) {
    x -= v.x;
    y -= v.y;
    return *this;
  }
  ZcGeVector2d& operator*=(double s) {
    x *= s;
    y *= s;
    return *this;
  }
  ZcGeVector2d& operator/=(double s) {
    x /= s;
    y /= s;
    return *this;
  }
  ZcGeVector2d& negate() {
    x = -x;
    y = -y;
    return *this;
  }

  double length() const;
  double lengthSqrd() const { return x * x + y * y; }
  double dotProduct(const ZcGeVector2d& v) const { return x * v.x + y * v.y; }
  // z component of the 3-D cross product: positive when v is counter-clockwise from this.
  double crossProduct(const ZcGeVector2d& v) const { return x * v.y - y * v.x; }
  // Unit vector in the same direction; the zero vector (below tol) stays zero, never NaN.
  ZcGeVector2d normal(const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGeVector2d& normalize(const ZcGeTol& tol = ZcGeContext::gTol);
  // The vector turned +90 degrees (counter-clockwise).
  ZcGeVector2d perpVector() const { return {-y, x}; }
  // Counter-clockwise angle from the x axis, in [0, 2*pi).
  double angle() const;
  // Unsigned angle between the two vectors, in [0, pi].
  double angleTo(const ZcGeVector2d& v) const;
  ZcGeVector2d& rotateBy(double angle);
  // Mirror in the line through the origin along `line`.
  ZcGeVector2d& mirror(const ZcGeVector2d& line);

  bool isZeroLength(const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isUnitLength(const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isParallelTo(const ZcGeVector2d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isCodirectionalTo(const ZcGeVector2d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isPerpendicularTo(const ZcGeVector2d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isEqualTo(const ZcGeVector2d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool operator==(const ZcGeVector2d& v) const { return isEqualTo(v); }
  bool operator!=(const ZcGeVector2d& v) const { return !isEqualTo(v); }

  // The 3-D vector (x, y, z).
  ZcGeVector3d convert3d(double z = 0.0) const;

  double x = 0.0;
  double y = 0.0;
};

inline constexpr ZcGeVector2d ZcGeVector2d::kIdentity{0.0, 0.0};
inline constexpr ZcGeVector2d ZcGeVector2d::kXAxis{1.0, 0.0};
inline constexpr ZcGeVector2d ZcGeVector2d::kYAxis{0.0, 1.0};

inline ZcGeVector2d operator*(double s, const ZcGeVector2d& v) { return v * s; }

// True when both components are finite (no NaN, no infinity).
bool zcgeIsFinite(const ZcGeVector2d& v);
