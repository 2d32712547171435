#pragma once
// ZcGeVector3d: a direction and magnitude in space. Vectors transform without the
// translation part of a matrix. Comparisons (==, isEqualTo) are within
// ZcGeContext::gTol.equalVector(), not bitwise.
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeVector2d.h"

class ZcGeMatrix3d;
class ZcGePlane;

class ZcGeVector3d {
 public:
  constexpr ZcGeVector3d() = default;
  constexpr ZcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  // The vector u*uAxis + v*vAxis of `plane` (a 2-D vector expressed in the plane's axes).
  ZcGeVector3d(const ZcGePlane& plane, const ZcGeVector2d& vector2d);

  static const ZcGeVector3d kIdentity;  // the zero vector
  static const ZcGeVector3d kXAxis;
  static const ZcGeVector3d kYAxis;
  static const ZcGeVector3d kZAxis;

  ZcGeVector3d& set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

  ZcGeVector3d operator+(const ZcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  ZcGeVector3d operator-(const ZcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  ZcGeVector3d operator-() const { return {-x, -y, -z}; }
  ZcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  ZcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  ZcGeVector3d& operator+=(const ZcGeVector3d& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ZcGeVector3d& operator-=(const ZcGeVector3d& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  ZcGeVector3d& operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
  ZcGeVector3d& operator/=(double s) {
    x /= s;
    y /= s;
    z /= s;
    return *this;
  }
  ZcGeVector3d& negate() {
    x = -x;
    y = -y;
    z = -z;
    return *this;
  }
  ZcGeVector3d& setToSum(const ZcGeVector3d& a, const ZcGeVector3d& b) { return *this = a + b; }
  ZcGeVector3d& setToProduct(const ZcGeVector3d& v, double s) { return *this = v * s; }
  // this = matrix * v (the translation part is ignored).
  ZcGeVector3d& setToProduct(const ZcGeMatrix3d& matrix, const ZcGeVector3d& v);

  double length() const;
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const ZcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  ZcGeVector3d crossProduct(const ZcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // Unit vector in the same direction; the zero vector (length below tol.equalVector())
  // stays zero, never NaN.
  ZcGeVector3d normal(const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGeVector3d& normalize(const ZcGeTol& tol = ZcGeContext::gTol);
  // A unit vector perpendicular to this one, chosen by the arbitrary-axis rule of the
  // drawing format (so planeToWorld(n) has perpVector-like x axis); zero for a zero vector.
  ZcGeVector3d perpVector() const;
  // Unsigned angle between the vectors, in [0, pi]; 0 when either is zero.
  double angleTo(const ZcGeVector3d& v) const;
  // Angle from this to v measured counter-clockwise about refVec, in [0, 2*pi).
  double angleTo(const ZcGeVector3d& v, const ZcGeVector3d& refVec) const;
  // Angle of the projection onto `plane` measured from the plane's u axis, in [0, 2*pi).
  double angleOnPlane(const ZcGePlane& plane) const;
  ZcGeVector3d& rotateBy(double angle, const ZcGeVector3d& axis);
  // Mirror in the plane through the origin with normal `planeNormal`.
  ZcGeVector3d& mirror(const ZcGeVector3d& planeNormal);
  ZcGeVector3d& transformBy(const ZcGeMatrix3d& matrix);
  // The component perpendicular to planeNormal.
  ZcGeVector3d orthoProject(const ZcGeVector3d& planeNormal) const;
  // Index (0, 1, 2) of the component with the largest magnitude.
  int largestElement() const;

  bool isZeroLength(const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isUnitLength(const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isParallelTo(const ZcGeVector3d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isCodirectionalTo(const ZcGeVector3d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isPerpendicularTo(const ZcGeVector3d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isEqualTo(const ZcGeVector3d& v, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool operator==(const ZcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const ZcGeVector3d& v) const { return !isEqualTo(v); }

  // (x, y): drops z.
  ZcGeVector2d convert2d() const { return {x, y}; }
  // Components along the plane's u and v axes.
  ZcGeVector2d convert2d(const ZcGePlane& plane) const;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline constexpr ZcGeVector3d ZcGeVector3d::kIdentity{0.0, 0.0, 0.0};
inline constexpr ZcGeVector3d ZcGeVector3d::kXAxis{1.0, 0.0, 0.0};
inline constexpr ZcGeVector3d ZcGeVector3d::kYAxis{0.0, 1.0, 0.0};
inline constexpr ZcGeVector3d ZcGeVector3d::kZAxis{0.0, 0.0, 1.0};

inline ZcGeVector3d operator*(double s, const ZcGeVector3d& v) { return v * s; }
// matrix * vector: the rotation/scale part only.
ZcGeVector3d operator*(const ZcGeMatrix3d& matrix, const ZcGeVector3d& v);

// True when all components are finite (no NaN, no infinity).
bool zcgeIsFinite(const ZcGeVector3d& v);
