#pragma once
// ZcGePoint3d: a position in space. point - point is a vector, point +/- vector a point;
// points transform with the translation part of a matrix. Comparisons (==, isEqualTo) are
// within ZcGeContext::gTol.equalPoint(), not bitwise.
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeMatrix3d;
class ZcGePlane;

class ZcGePoint3d {
 public:
  constexpr ZcGePoint3d() = default;
  constexpr ZcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  // The point origin + u*uAxis + v*vAxis of `plane`.
  ZcGePoint3d(const ZcGePlane& plane, const ZcGePoint2d& point2d);

  static const ZcGePoint3d kOrigin;

  ZcGePoint3d& set(double xx, double yy, double zz) {
    x = xx;
    y = yy;
    z = zz;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }

  ZcGeVector3d operator-(const ZcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  ZcGePoint3d operator+(const ZcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  ZcGePoint3d operator-(const ZcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  ZcGePoint3d& operator+=(const ZcGeVector3d& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
  }
  ZcGePoint3d& operator-=(const ZcGeVector3d& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
  }
  // Scaling about the origin, as the host's point class allows (used for weighted sums).
  ZcGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
  ZcGeVector3d asVector() const { return {x, y, z}; }
  ZcGePoint3d& setToProduct(const ZcGeMatrix3d& matrix, const ZcGePoint3d& p);
  ZcGePoint3d& setToSum(const ZcGePoint3d& p, const ZcGeVector3d& v) { return *this = p + v; }

  double distanceTo(const ZcGePoint3d& p) const;
  ZcGePoint3d& rotateBy(double angle, const ZcGeVector3d& axis, const ZcGePoint3d& center = kOrigin);
  ZcGePoint3d& scaleBy(double factor, const ZcGePoint3d& center = kOrigin);
  ZcGePoint3d& mirror(const ZcGePlane& plane);
  ZcGePoint3d& transformBy(const ZcGeMatrix3d& matrix);
  // Foot of the perpendicular on the plane.
  ZcGePoint3d orthoProject(const ZcGePlane& plane) const;
  // Projection along `dir` onto the plane; the point itself when dir is parallel to it.
  ZcGePoint3d project(const ZcGePlane& plane, const ZcGeVector3d& dir) const;

  bool isEqualTo(const ZcGePoint3d& p, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool operator==(const ZcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const ZcGePoint3d& p) const { return !isEqualTo(p); }

  // (x, y): drops z.
  ZcGePoint2d convert2d() const { return {x, y}; }
  // Coordinates of the (orthogonally projected) point in the plane's u/v axes.
  ZcGePoint2d convert2d(const ZcGePlane& plane) const;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline constexpr ZcGePoint3d ZcGePoint3d::kOrigin{0.0, 0.0, 0.0};

inline ZcGePoint3d operator*(double s, const ZcGePoint3d& p) { return p * s; }
// matrix * point: with the translation part.
ZcGePoint3d operator*(const ZcGeMatrix3d& matrix, const ZcGePoint3d& p);

// True when all coordinates are finite (no NaN, no infinity).
bool zcgeIsFinite(const ZcGePoint3d& p);
