#pragma once
// ZcGeCircArc3d: a circular arc (or full circle) in space. Parameter = angle in
// [startAng, endAng], measured counter-clockwise about normal() from refVec():
// evalPoint(a) = center + r*(cos a * refVec + sin a * (normal x refVec)).
// Angles: endAng >= startAng always; setAngles() adds whole turns to the end angle until it
// is not below the start angle and caps the sweep at 2*pi. The start angle is kept as given.
// A zero radius or zero normal makes the arc invalid (isValid() false).
#include "zcad/ge/ZcGeCurve3d.h"

class ZcGeCircArc3d : public ZcGeCurve3d {
 public:
  ZcGeCircArc3d();  // unit circle about the origin in the XY plane
  // Full circle; refVec by the arbitrary-axis rule for `normal`.
  ZcGeCircArc3d(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius);
  ZcGeCircArc3d(const ZcGePoint3d& center, const ZcGeVector3d& normal, const ZcGeVector3d& refVec,
                double radius, double startAngle = 0.0, double endAngle = ZcGe::kTwoPi);
  // Three-point arc from startPoint through pointOnArc to endPoint (refVec toward the start
  // point, so startAng() is 0). isValid() false when the points are collinear.
  ZcGeCircArc3d(const ZcGePoint3d& startPoint, const ZcGePoint3d& pointOnArc, const ZcGePoint3d& endPoint);

  ZcGeCircArc3d& set(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius);
  ZcGeCircArc3d& set(const ZcGePoint3d& center, const ZcGeVector3d& normal, const ZcGeVector3d& refVec,
                     double radius, double startAngle, double endAngle);
  ZcGeCircArc3d& set(const ZcGePoint3d& startPoint, const ZcGePoint3d& pointOnArc,
                     const ZcGePoint3d& endPoint);
  ZcGeCircArc3d& setCenter(const ZcGePoint3d& center);
  // refVec is projected onto the plane of `normal` and normalised.
  ZcGeCircArc3d& setAxes(const ZcGeVector3d& normal, const ZcGeVector3d& refVec);
  ZcGeCircArc3d& setRadius(double radius);
  ZcGeCircArc3d& setAngles(double startAngle, double endAngle);

  ZcGePoint3d center() const { return center_; }
  ZcGeVector3d normal() const { return normal_; }
  ZcGeVector3d refVec() const { return refVec_; }
  double radius() const { return radius_; }
  double startAng() const { return startAng_; }
  double endAng() const { return endAng_; }
  ZcGePoint3d startPoint() const;
  ZcGePoint3d endPoint() const;
  // The plane of the arc (origin at the center, u axis = refVec).
  ZcGePlane getPlane() const;
  // Angle (in [startAng, startAng + 2*pi)) of the projection of `point` onto the arc's plane.
  double angleOf(const ZcGePoint3d& point) const;

  using ZcGeCurve3d::evalPoint;
  using ZcGeCurve3d::length;
  ZcGe::EntityId type() const override { return ZcGe::kCircArc3d; }
  bool isKindOf(ZcGe::EntityId entityType) const override;
  ZcGeCurve3d* copy() const override;
  bool isValid() const override;
  void getInterval(ZcGeInterval& range) const override;
  ZcGePoint3d evalPoint(double param) const override;
  ZcGePoint3d evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const override;
  double paramOf(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  double length(double fromParam, double toParam, double tol = ZcGeContext::gTol.equalPoint()) const override;
  double paramAtLength(double datumParam, double length, bool posParamDir = true,
                       double tol = ZcGeContext::gTol.equalPoint()) const override;
  // A full circle (sweep 2*pi).
  bool isClosed(const ZcGeTol& tol = ZcGeContext::gTol) const override;
  bool isPlanar(ZcGePlane& plane, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  // Keeps the geometry, flips the normal: new angles are [-endAng, -startAng] about the
  // reversed normal with the same refVec.
  ZcGeCircArc3d& reverseParam() override;
  // A non-uniform transform cannot keep a circle: the result is the circle through the
  // transformed start, middle and end points (callers who need exactness convert to
  // ZcGeEllipArc3d or ZcGeNurbCurve3d first).
  ZcGeCircArc3d& transformBy(const ZcGeMatrix3d& matrix) override;
  bool getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const override;

 private:
  ZcGePoint3d center_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  ZcGeVector3d refVec_ = ZcGeVector3d::kXAxis;
  double radius_ = 1.0;
  double startAng_ = 0.0;
  double endAng_ = ZcGe::kTwoPi;
};
