#pragma once
// ZcDbArc: a circular arc about `center` in the plane of its normal, counter-clockwise about
// the normal from startAngle to endAngle, extruded by thickness.
//
// Angles are measured in the object coordinate system (OCS) of the normal from its x axis
// (the drawing format's arbitrary-axis rule) and stored normalised to [0, 2*pi). The sweep
// (totalAngle) is endAngle - startAngle, plus 2*pi when the end is below the start. Equal
// angles give a zero sweep (a full arc is a ZcDbCircle): the arc is then its start point,
// like a zero radius arc, with length and area 0 and no spline or ZcGe form
// (eDegenerateGeometry).
//
// Parameter = angle: the curve runs over [startAngle, startAngle + totalAngle], so the end
// parameter exceeds 2*pi when the arc runs through the OCS x axis.
//
// Input: setters refuse non-finite values, a negative radius and a zero normal with
// eInvalidInput and store nothing (a zero radius is kept); a normal is stored normalised.
// Constructors keep the default (origin, +Z normal, radius 0, angle 0) for an argument a
// setter would refuse.
#include "zcad/db/ZcDbCurve.h"

class ZcDbArc : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbArc)
  ZCDB_DECLARE_VALUE_COPY(ZcDbArc)

  ZcDbArc();
  ZcDbArc(const ZcGePoint3d& center, double radius, double startAngle, double endAngle);
  ZcDbArc(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius, double startAngle,
          double endAngle);
  ~ZcDbArc() override;

  ZcGePoint3d center() const;
  Zcad::ErrorStatus setCenter(const ZcGePoint3d& center);
  double radius() const;
  Zcad::ErrorStatus setRadius(double radius);
  double startAngle() const;
  Zcad::ErrorStatus setStartAngle(double angle);
  double endAngle() const;
  Zcad::ErrorStatus setEndAngle(double angle);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  // Sweep in [0, 2*pi) and arc length (radius * sweep).
  double totalAngle() const;
  double length() const;

  // ZcDbCurve. getClosestPointTo with extend uses the full circle. getArea is the area
  // between the arc and its chord, r^2/2 (sweep - sin sweep). reverseCurve flips the normal
  // and maps the angles into the new OCS so the points stay where they are and the direction
  // reverses; the thickness is negated so the extrusion stays where it was.
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
  // A ZcGeCircArc3d whose reference vector is the OCS x axis (same parameter).
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity. Extents are exact: the end points and the circle's extreme points inside the
  // sweep (and their extruded copies). transformBy takes rotations, mirrors, uniform
  // scalings and translations (a mirror flips the normal, so the arc still runs
  // counter-clockwise about it) and answers eNotApplicable for any other matrix, changing
  // nothing. getTransformedCopy then gives the exact ZcDbEllipse arc, or a ZcDbSpline when
  // the image is flat.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbArc(const ZcDbArc&) = default;
  ZcDbArc& operator=(const ZcDbArc&) = default;

 private:
  double sweep() const;
  double endParam() const { return startAngle_ + sweep(); }
  ZcGePoint3d pointAt(double angle) const;
  // Parameter of the arc point closest to `point`; with extend, of the full circle's.
  double closestParam(const ZcGePoint3d& point, bool extend) const;
  bool isDegenerate() const { return !(radius_ > 0.0) || !(sweep() > 0.0); }

  ZcGePoint3d center_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  double radius_ = 0.0;
  double startAngle_ = 0.0;
  double endAngle_ = 0.0;
  double thickness_ = 0.0;
};
