#pragma once
// ZcDbLine: a straight segment from startPoint to endPoint (world coordinates), extruded by
// thickness along its normal.
//
// Parameter = distance from the start point: the curve runs over [0, length]. A zero-length
// line is kept (drawings contain them): its parameter range is [0, 0], its derivatives are
// zero and every query answers its single point.
//
// Input: setters refuse non-finite values and a zero normal with eInvalidInput and store
// nothing; a normal is stored normalised. Constructors apply the same checks and keep the
// default (the origin) for an argument a setter would refuse.
#include "zcad/db/ZcDbCurve.h"

class ZcDbLine : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbLine)
  ZCDB_DECLARE_VALUE_COPY(ZcDbLine)

  ZcDbLine();
  ZcDbLine(const ZcGePoint3d& start, const ZcGePoint3d& end);
  ~ZcDbLine() override;

  ZcGePoint3d startPoint() const;
  Zcad::ErrorStatus setStartPoint(const ZcGePoint3d& point);
  ZcGePoint3d endPoint() const;
  Zcad::ErrorStatus setEndPoint(const ZcGePoint3d& point);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);

  // ZcDbCurve. getClosestPointTo with extend uses the infinite line; getArea is 0;
  // getZcGeCurve gives a ZcGeLineSeg3d (parameter 0..1).
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
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity. Extents include the extruded copy when the thickness is not 0. transformBy
  // takes every affine matrix (eNotApplicable for a perspective one); the normal follows the
  // matrix and the thickness its scaling along the normal.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  // A line lies in many planes: isPlanar is true and `plane` the one containing the line
  // whose normal is nearest to the line's normal.
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbLine(const ZcDbLine&) = default;
  ZcDbLine& operator=(const ZcDbLine&) = default;

 private:
  double length() const { return start_.distanceTo(end_); }
  // Unit direction from start to end; zero for a zero-length line.
  ZcGeVector3d direction() const;
  // Parameter of the point of the segment (or of the infinite line) closest to `point`.
  double closestParam(const ZcGePoint3d& point, bool extend) const;

  // Thickness and normal are nearly always 0 and +Z: they are kept with the object's rarely
  // used parts only when they differ, so that a plain line holds just its two points.
  struct Extrusion;
  const Extrusion* extrusion() const;
  ZcGeVector3d normalValue() const;
  double thicknessValue() const;
  void setExtrusion(const ZcGeVector3d& unitNormal, double thickness);

  ZcGePoint3d start_;
  ZcGePoint3d end_;
};
