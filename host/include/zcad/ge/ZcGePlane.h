#pragma once
// ZcGePlane: an oriented infinite plane with an origin and orthonormal u/v axes (u x v is
// the normal). A plane built from degenerate input (zero normal, collinear points) has a
// zero normal and isValid() false; its queries still return finite values.
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeLineSeg3d;
class ZcGeMatrix3d;

class ZcGePlane {
 public:
  // The XY plane.
  constexpr ZcGePlane() : origin_(0, 0, 0), normal_(0, 0, 1), uAxis_(1, 0, 0), vAxis_(0, 1, 0) {}
  // u axis by the drawing format's arbitrary-axis rule for `normal`.
  ZcGePlane(const ZcGePoint3d& origin, const ZcGeVector3d& normal);
  // Through three points, with `origin` as the middle one as the host's interface has it:
  // u axis toward pntU, normal (pntU - origin) x (pntV - origin).
  ZcGePlane(const ZcGePoint3d& pntU, const ZcGePoint3d& origin, const ZcGePoint3d& pntV);
  // From an origin and two in-plane directions (v is made orthogonal to u).
  ZcGePlane(const ZcGePoint3d& origin, const ZcGeVector3d& uAxis, const ZcGeVector3d& vAxis);
  // a*x + b*y + c*z + d = 0.
  ZcGePlane(double a, double b, double c, double d);

  static const ZcGePlane kXYPlane;
  static const ZcGePlane kYZPlane;
  static const ZcGePlane kZXPlane;

  ZcGePlane& set(const ZcGePoint3d& origin, const ZcGeVector3d& normal);
  ZcGePlane& set(const ZcGePoint3d& pntU, const ZcGePoint3d& origin, const ZcGePoint3d& pntV);
  ZcGePlane& set(const ZcGePoint3d& origin, const ZcGeVector3d& uAxis, const ZcGeVector3d& vAxis);
  ZcGePlane& set(double a, double b, double c, double d);

  bool isValid() const;
  ZcGePoint3d pointOnPlane() const { return origin_; }
  ZcGePoint3d origin() const { return origin_; }
  ZcGeVector3d normal() const { return normal_; }
  ZcGeVector3d uAxis() const { return uAxis_; }
  ZcGeVector3d vAxis() const { return vAxis_; }
  void get(ZcGePoint3d& origin, ZcGeVector3d& uAxis, ZcGeVector3d& vAxis) const;
  void get(ZcGePoint3d& pntU, ZcGePoint3d& origin, ZcGePoint3d& pntV) const;
  void getCoefficients(double& a, double& b, double& c, double& d) const;

  // Positive on the side the normal points to.
  double signedDistanceTo(const ZcGePoint3d& point) const;
  double distanceTo(const ZcGePoint3d& point) const;
  ZcGePoint3d closestPointTo(const ZcGePoint3d& point) const;
  bool isOn(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isParallelTo(const ZcGePlane& other, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isCoplanarTo(const ZcGePlane& other, const ZcGeTol& tol = ZcGeContext::gTol) const;

  // Intersection with the segment (false when parallel or outside the segment).
  bool intersectWith(const ZcGeLineSeg3d& segment, ZcGePoint3d& result,
                     const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Intersection with the infinite line through linePoint along lineDir.
  bool intersectWith(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir, ZcGePoint3d& result,
                     const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Intersection line of two planes (false when parallel).
  bool intersectWith(const ZcGePlane& other, ZcGePoint3d& linePoint, ZcGeVector3d& lineDir,
                     const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Projection of `point` along `dir` onto the plane (false when dir is parallel to it).
  bool projectPoint(const ZcGePoint3d& point, const ZcGeVector3d& dir, ZcGePoint3d& result,
                    const ZcGeTol& tol = ZcGeContext::gTol) const;

  ZcGePlane& transformBy(const ZcGeMatrix3d& matrix);
  ZcGePlane& reverseNormal();

 private:
  constexpr ZcGePlane(const ZcGePoint3d& origin, const ZcGeVector3d& normal, const ZcGeVector3d& uAxis,
                      const ZcGeVector3d& vAxis)
      : origin_(origin), normal_(normal), uAxis_(uAxis), vAxis_(vAxis) {}

  ZcGePoint3d origin_;
  ZcGeVector3d normal_;
  ZcGeVector3d uAxis_;
  ZcGeVector3d vAxis_;
};

inline constexpr ZcGePlane ZcGePlane::kXYPlane{ZcGePoint3d(0, 0, 0), ZcGeVector3d(0, 0, 1),
                                               ZcGeVector3d(1, 0, 0), ZcGeVector3d(0, 1, 0)};
inline constexpr ZcGePlane ZcGePlane::kYZPlane{ZcGePoint3d(0, 0, 0), ZcGeVector3d(1, 0, 0),
                                               ZcGeVector3d(0, 1, 0), ZcGeVector3d(0, 0, 1)};
inline constexpr ZcGePlane ZcGePlane::kZXPlane{ZcGePoint3d(0, 0, 0), ZcGeVector3d(0, 1, 0),
                                               ZcGeVector3d(0, 0, 1), ZcGeVector3d(1, 0, 0)};
