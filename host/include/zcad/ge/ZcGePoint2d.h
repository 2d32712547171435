#pragma once
// ZcGePoint2d: a position in the plane. point - point is a vector, point +/- vector a point.
// Comparisons (==, isEqualTo) are within ZcGeContext::gTol.equalPoint(), not bitwise.
#include "zcad/ge/ZcGeVector2d.h"

class ZcGePoint3d;

class ZcGePoint2d {
 public:
  constexpr ZcGePoint2d() = default;
  constexpr ZcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

  static const ZcGePoint2d kOrigin;

  ZcGePoint2d& set(double xx, double yy) {
    x = xx;
    y = yy;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? x : y; }
  double& operator[](int i) { return i == 0 ? x : y; }

  ZcGeVector2d operator-(const ZcGePoint2d& p) const { return {x - p.x, y - p.y}; }
  ZcGePoint2d operator+(const ZcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  ZcGePoint2d operator-(const ZcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  ZcGePoint2d& operator+=(const ZcGeVector2d& v) {
    x += v.x;
    y += v.y;
    return *this;
  }
  ZcGePoint2d& operator-=(const ZcGeVector2d& v) {
    x -= v.x;
    y -= v.y;
    return *this;
  }
  // Scaling about the origin, as the host's point class allows.
  ZcGePoint2d operator*(double s) const { return {x * s, y * s}; }
  ZcGeVector2d asVector() const { return {x, y}; }

  double distanceTo(const ZcGePoint2d& p) const;
  ZcGePoint2d& rotateBy(double angle, const ZcGePoint2d& center = kOrigin);
  ZcGePoint2d& scaleBy(double factor, const ZcGePoint2d& center = kOrigin);
  // Mirror in the line through `linePoint` along `lineDir`.
  ZcGePoint2d& mirror(const ZcGePoint2d& linePoint, const ZcGeVector2d& lineDir);

  bool isEqualTo(const ZcGePoint2d& p, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool operator==(const ZcGePoint2d& p) const { return isEqualTo(p); }
  bool operator!=(const ZcGePoint2d& p) const { return !isEqualTo(p); }

  // The 3-D point (x, y, z).
  ZcGePoint3d convert3d(double z = 0.0) const;

  double x = 0.0;
  double y = 0.0;
};

inline constexpr ZcGePoint2d ZcGePoint2d::kOrigin{0.0, 0.0};

inline ZcGePoint2d operator*(double s, const ZcGePoint2d& p) { return p * s; }

// True when both coordinates are finite (no NaN, no infinity).
bool zcgeIsFinite(const ZcGePoint2d& p);
