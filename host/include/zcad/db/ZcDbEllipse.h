#pragma once
// ZcDbEllipse: a full ellipse or an elliptical arc about `center` in the plane of its unit
// normal. majorAxis is the vector from the center to the end of the major axis (its length is
// the major radius); the minor axis is normal x majorAxis scaled by radiusRatio (in
// [1e-6, 1]).
//
// Parameter = the parametric angle t: P(t) = center + cos t * majorAxis + sin t * minorAxis.
// The arc runs counter-clockwise about the normal over [startParam, endParam]; startParam is
// kept in [0, 2*pi) and the sweep endParam - startParam in (0, 2*pi]. Equal start and end
// (within 1e-12 of a turn) mean the full ellipse, so the usual pair 0, 2*pi is full. The
// angles startAngle/endAngle are the geometric angles of the end points from the major axis
// about the normal; paramAtAngle/angleAtParam convert (keeping whole turns), and the
// constructor, set, setStartAngle and setEndAngle take angles.
//
// A default ellipse is null (isNull(): zero major axis): it is the point `center`, with zero
// length and area and no spline or ZcGe form (eDegenerateGeometry).
//
// Input: set and the setters refuse non-finite values, a zero normal or major axis, a major
// axis not perpendicular to the normal (beyond 1e-6 radians; within it the axis is made
// perpendicular) and a ratio outside [1e-6, 1] with eInvalidInput and store nothing. The
// constructor with such arguments gives the null ellipse.
#include "zcad/db/ZcDbCurve.h"

class ZcGeEllipArc3d;

class ZcDbEllipse : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbEllipse)
  ZCDB_DECLARE_VALUE_COPY(ZcDbEllipse)

  ZcDbEllipse();
  ZcDbEllipse(const ZcGePoint3d& center, const ZcGeVector3d& unitNormal, const ZcGeVector3d& majorAxis,
              double radiusRatio, double startAngle = 0.0, double endAngle = 6.28318530717958647692);
  ~ZcDbEllipse() override;

  ZcGePoint3d center() const;
  Zcad::ErrorStatus setCenter(const ZcGePoint3d& center);
  ZcGeVector3d normal() const;
  ZcGeVector3d majorAxis() const;
  ZcGeVector3d minorAxis() const;
  double radiusRatio() const;
  Zcad::ErrorStatus setRadiusRatio(double ratio);
  double majorRadius() const;
  Zcad::ErrorStatus setMajorRadius(double radius);
  double minorRadius() const;
  Zcad::ErrorStatus setMinorRadius(double radius);
  double startAngle() const;
  Zcad::ErrorStatus setStartAngle(double angle);
  double endAngle() const;
  Zcad::ErrorStatus setEndAngle(double angle);
  // Moving one end keeps the other end where it is.
  Zcad::ErrorStatus setStartParam(double param);
  Zcad::ErrorStatus setEndParam(double param);
  double paramAtAngle(double angle) const;
  double angleAtParam(double param) const;
  bool isNull() const;

  void get(ZcGePoint3d& center, ZcGeVector3d& unitNormal, ZcGeVector3d& majorAxis, double& radiusRatio,
           double& startAngle, double& endAngle) const;
  Zcad::ErrorStatus set(const ZcGePoint3d& center, const ZcGeVector3d& unitNormal,
                        const ZcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                        double endAngle = 6.28318530717958647692);

  // ZcDbCurve. A full ellipse is closed and periodic (parameters wrap). Lengths come from
  // ZcGeEllipArc3d (1e-9 relative). getClosestPointTo with extend uses the full ellipse.
  // getArea is the area between the arc and its chord, a*b/2 (sweep - sin sweep), pi*a*b when
  // full. reverseCurve flips the normal (the minor axis turns over) and negates the
  // parameters: same points, reversed direction.
  bool isClosed() const override;
  bool isPeriodic() const override;
  Zcad::ErrorStatus getStartParam(double& param) const override;
  Zcad::ErrorStatus getEndParam(double& param) const override;
  Zcad::ErrorStatus getStartPoint(ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getEndPoint(ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
  Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Zcad::ErrorStatus getDistAtPoint(const ZcGePoint3d& point, double& dist) const override;
  Zcad::ErrorStatus getPointAtDist(double dist, ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const override;
  Zcad::ErrorStatus getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const override;
  Zcad::ErrorStatus getSecondDeriv(double param, ZcGeVector3d& secDeriv) const override;
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                      bool extend = false) const override;
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                      ZcGePoint3d& pointOnCurve, bool extend = false) const override;
  Zcad::ErrorStatus getArea(double& area) const override;
  Zcad::ErrorStatus reverseCurve() override;
  Zcad::ErrorStatus getSpline(ZcDbSpline*& spline) const override;
  // Offsets in the curve's plane, a positive distance to the right of the direction of travel
  // (docs/offsets.md).
  Zcad::ErrorStatus getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const override;
  // A ZcGeEllipArc3d with the same parameter.
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity. Extents are exact. transformBy takes every affine matrix whose image is still
  // an ellipse (non-uniform scaling included: the image axes are re-diagonalised exactly) and
  // answers eNotApplicable for a perspective matrix or a flat image; getTransformedCopy then
  // gives the transformed exact spline.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbEllipse(const ZcDbEllipse&) = default;
  ZcDbEllipse& operator=(const ZcDbEllipse&) = default;

 private:
  ZcGeVector3d minorVector() const;
  ZcGePoint3d pointAt(double param) const;
  bool isFull() const;
  // The geometry as a ZcGeEllipArc3d (meaningful only when not null).
  ZcGeEllipArc3d geArc(bool full) const;
  // Parameter of the point closest to `point` on the arc (or, with extend, the full ellipse).
  double closestParam(const ZcGePoint3d& point, bool extend) const;
  void setParams(double startParam, double endParam);

  ZcGePoint3d center_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  ZcGeVector3d majorAxis_;
  double radiusRatio_ = 1.0;
  double startParam_ = 0.0;
  double endParam_ = 6.28318530717958647692;
};
