#pragma once
// ZcGeMatrix3d: a 4x4 affine (or projective) transform in row-major order; a point p maps
// to entry * (p, 1), a vector v to entry * (v, 0). The product A * B applies B first.
//
// Singular matrices: inverse() and invert() leave a singular matrix's inverse undefined
// mathematically; they return / set the identity in that case (never NaN). Callers who
// must know use inverse(result, tol), which returns false, or isSingular().
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGePlane;
class ZcGeLineSeg3d;

class ZcGeMatrix3d {
 public:
  constexpr ZcGeMatrix3d() : entry{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}} {}

  static const ZcGeMatrix3d kIdentity;

  double operator()(int row, int column) const { return entry[row][column]; }
  double& operator()(int row, int column) { return entry[row][column]; }

  ZcGeMatrix3d& setToIdentity();
  bool isIdentity(const ZcGeTol& tol = ZcGeContext::gTol) const;

  // Products: this = left * this, this = this * right, this = m1 * m2.
  ZcGeMatrix3d operator*(const ZcGeMatrix3d& right) const;
  ZcGeMatrix3d& operator*=(const ZcGeMatrix3d& right);
  ZcGeMatrix3d& preMultBy(const ZcGeMatrix3d& left);
  ZcGeMatrix3d& postMultBy(const ZcGeMatrix3d& right);
  ZcGeMatrix3d& setToProduct(const ZcGeMatrix3d& m1, const ZcGeMatrix3d& m2);

  // Inverse; the identity for a singular matrix (see the file comment).
  ZcGeMatrix3d& invert();
  ZcGeMatrix3d inverse() const;
  // false (and `result` set to the identity) when |det| is below tol (relative to the
  // matrix's scale).
  bool inverse(ZcGeMatrix3d& result, double tol) const;
  bool isSingular(const ZcGeTol& tol = ZcGeContext::gTol) const;
  double det() const;
  ZcGeMatrix3d& transposeIt();
  ZcGeMatrix3d transpose() const;

  bool isEqualTo(const ZcGeMatrix3d& other, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool operator==(const ZcGeMatrix3d& other) const { return isEqualTo(other); }
  bool operator!=(const ZcGeMatrix3d& other) const { return !isEqualTo(other); }

  // Orthogonal axes of one common length (rotation, mirror, uniform scale, translation).
  bool isUniScaledOrtho(const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Orthogonal axes of any lengths.
  bool isScaledOrtho(const ZcGeTol& tol = ZcGeContext::gTol) const;
  // The largest length of the images of the unit axes (the uniform scale for a
  // uni-scaled orthogonal matrix).
  double scale() const;

  ZcGeVector3d translation() const;
  ZcGeVector3d getTranslation() const { return translation(); }
  ZcGeMatrix3d& setTranslation(const ZcGeVector3d& vec);

  // Columns: x, y, z axes and origin.
  ZcGeMatrix3d& setCoordSystem(const ZcGePoint3d& origin, const ZcGeVector3d& xAxis,
                               const ZcGeVector3d& yAxis, const ZcGeVector3d& zAxis);
  void getCoordSystem(ZcGePoint3d& origin, ZcGeVector3d& xAxis, ZcGeVector3d& yAxis,
                      ZcGeVector3d& zAxis) const;

  ZcGeMatrix3d& setToTranslation(const ZcGeVector3d& vec);
  // Counter-clockwise rotation seen from the tip of `axis` (right-hand rule).
  ZcGeMatrix3d& setToRotation(double angle, const ZcGeVector3d& axis,
                              const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  ZcGeMatrix3d& setToScaling(double scale, const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  // Per-axis scale factors (x, y, z) about center.
  ZcGeMatrix3d& setToScaling(const ZcGeVector3d& scaleFactors,
                             const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  ZcGeMatrix3d& setToMirroring(const ZcGePlane& plane);
  // Point reflection through `point`.
  ZcGeMatrix3d& setToMirroring(const ZcGePoint3d& point);
  // Reflection in the line through `linePoint` along `lineDir` (a half-turn about it).
  ZcGeMatrix3d& setToMirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir);
  ZcGeMatrix3d& setToMirroring(const ZcGeLineSeg3d& line);
  // Parallel projection onto `plane` along `projectDir`.
  ZcGeMatrix3d& setToProjection(const ZcGePlane& plane, const ZcGeVector3d& projectDir);
  // Maps the "from" coordinate system onto the "to" one (origins and axes).
  ZcGeMatrix3d& setToAlignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromXAxis,
                                   const ZcGeVector3d& fromYAxis, const ZcGeVector3d& fromZAxis,
                                   const ZcGePoint3d& toOrigin, const ZcGeVector3d& toXAxis,
                                   const ZcGeVector3d& toYAxis, const ZcGeVector3d& toZAxis);
  // Plane coordinates to world: the x axis follows the drawing format's arbitrary-axis rule
  // for `normal` (the same axes an entity's object coordinate system uses).
  ZcGeMatrix3d& setToPlaneToWorld(const ZcGeVector3d& normal);
  // Plane coordinates (origin, u axis, v axis, normal of the plane) to world.
  ZcGeMatrix3d& setToPlaneToWorld(const ZcGePlane& plane);
  ZcGeMatrix3d& setToWorldToPlane(const ZcGeVector3d& normal);
  ZcGeMatrix3d& setToWorldToPlane(const ZcGePlane& plane);

  static ZcGeMatrix3d translation(const ZcGeVector3d& vec);
  static ZcGeMatrix3d rotation(double angle, const ZcGeVector3d& axis,
                               const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  static ZcGeMatrix3d scaling(double scale, const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  static ZcGeMatrix3d scaling(const ZcGeVector3d& scaleFactors,
                              const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
  static ZcGeMatrix3d mirroring(const ZcGePlane& plane);
  static ZcGeMatrix3d mirroring(const ZcGePoint3d& point);
  static ZcGeMatrix3d mirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir);
  static ZcGeMatrix3d mirroring(const ZcGeLineSeg3d& line);
  static ZcGeMatrix3d projection(const ZcGePlane& plane, const ZcGeVector3d& projectDir);
  static ZcGeMatrix3d alignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromXAxis,
                                    const ZcGeVector3d& fromYAxis, const ZcGeVector3d& fromZAxis,
                                    const ZcGePoint3d& toOrigin, const ZcGeVector3d& toXAxis,
                                    const ZcGeVector3d& toYAxis, const ZcGeVector3d& toZAxis);
  static ZcGeMatrix3d planeToWorld(const ZcGeVector3d& normal);
  static ZcGeMatrix3d planeToWorld(const ZcGePlane& plane);
  static ZcGeMatrix3d worldToPlane(const ZcGeVector3d& normal);
  static ZcGeMatrix3d worldToPlane(const ZcGePlane& plane);

  double entry[4][4];
};

inline constexpr ZcGeMatrix3d ZcGeMatrix3d::kIdentity{};
