#pragma once
// ZcDbCircle: a full circle about `center` in the plane of its normal, extruded by thickness.
//
// Parameter = angle in the object coordinate system (OCS) of the normal, counter-clockwise
// about the normal from the OCS x axis (the drawing format's arbitrary-axis rule): the curve
// runs over [0, 2*pi], is closed and periodic, and parameters outside the range wrap.
//
// Radius: zero is kept (drawings contain such circles; a reader may repair them) and gives a
// circle that is its center point: length and area 0, zero derivatives, no spline or ZcGe
// form (eDegenerateGeometry). setRadius refuses a negative or non-finite radius with
// eInvalidInput; the constructor stores 0 for such a radius.
//
// Input: setters refuse non-finite values and a zero normal with eInvalidInput and store
// nothing; a normal is stored normalised. Constructors keep the default (origin, +Z normal,
// radius 0) for an argument a setter would refuse.
#include "zcad/db/ZcDbCurve.h"

class ZcDbCircle : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbCircle)
  ZCDB_DECLARE_VALUE_COPY(ZcDbCircle)

  ZcDbCircle();
  ZcDbCircle(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius);
  ~ZcDbCircle() override;

  ZcGePoint3d center() const;
  Zcad::ErrorStatus setCenter(const ZcGePoint3d& center);
  double radius() const;
  Zcad::ErrorStatus setRadius(double radius);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  double circumference() const;
  Zcad::ErrorStatus setCircumference(double circumference);
  double diameter() const;
  Zcad::ErrorStatus setDiameter(double diameter);

  // ZcDbCurve. getArea is pi r^2; reverseCurve flips the normal (the geometry stays, the
  // direction reverses, the point at parameter 0 moves to the new OCS x axis) and negates
  // the thickness so the extrusion stays where it was.
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
  // A full ZcGeCircArc3d whose reference vector is the OCS x axis (same parameter).
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity. transformBy takes rotations, mirrors, uniform scalings and translations (a
  // mirror flips the normal, so the circle still runs counter-clockwise about it) and answers
  // eNotApplicable for any other matrix, changing nothing. getTransformedCopy then gives the
  // exact ZcDbEllipse, or a ZcDbSpline when the image is flat (a projection edge-on).
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbCircle(const ZcDbCircle&) = default;
  ZcDbCircle& operator=(const ZcDbCircle&) = default;

 private:
  ZcGePoint3d center_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  double radius_ = 0.0;
  double thickness_ = 0.0;
};
