#pragma once
// ZcDbCurve: the parametric curve interface every curve entity answers.
//
// Parameters run from getStartParam to getEndParam; distances are arc lengths from the start
// point. Queries answer eInvalidInput for a parameter or distance outside the curve (beyond a
// small tolerance), eNotApplicable when the curve kind has no answer, and never NaN: a
// degenerate curve (a zero-length line, a polyline of coincident vertices) answers its single
// point for every distance in [0, 0].
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbSpline;
class ZcGeCurve3d;

class ZcDbCurve : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbCurve)
  ~ZcDbCurve() override;

  virtual bool isClosed() const;
  virtual bool isPeriodic() const;

  virtual Zcad::ErrorStatus getStartParam(double& param) const;
  virtual Zcad::ErrorStatus getEndParam(double& param) const;
  virtual Zcad::ErrorStatus getStartPoint(ZcGePoint3d& point) const;
  virtual Zcad::ErrorStatus getEndPoint(ZcGePoint3d& point) const;
  virtual Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const;
  virtual Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const;
  virtual Zcad::ErrorStatus getDistAtParam(double param, double& dist) const;
  virtual Zcad::ErrorStatus getParamAtDist(double dist, double& param) const;
  virtual Zcad::ErrorStatus getDistAtPoint(const ZcGePoint3d& point, double& dist) const;
  virtual Zcad::ErrorStatus getPointAtDist(double dist, ZcGePoint3d& point) const;
  virtual Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const;
  virtual Zcad::ErrorStatus getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const;
  virtual Zcad::ErrorStatus getSecondDeriv(double param, ZcGeVector3d& secDeriv) const;
  virtual Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                              bool extend = false) const;
  // Closest point seen along a direction (the curve projected onto the plane normal to it).
  virtual Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                              ZcGePoint3d& pointOnCurve, bool extend = false) const;
  // Area enclosed by the curve (closing it with a straight chord when open).
  virtual Zcad::ErrorStatus getArea(double& area) const;
  virtual Zcad::ErrorStatus reverseCurve();
  // The curve's own spline form: a new ZcDbSpline (not in a database) with the curve's
  // properties, exact for lines, arcs, circles, ellipses and bulge polylines.
  virtual Zcad::ErrorStatus getSpline(ZcDbSpline*& spline) const;
  // The box of getZcGeCurve's curve (curve classes may override for speed).
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  // The curve's geometry as a new ZcGe curve (the caller deletes it). The generic queries
  // above are answered through it; the base answers eNotImplementedYet.
  virtual Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const;

  // Operations that come with the later curve-editing work. The base answers
  // eNotImplementedYet; each curve class overrides those it supports.
  virtual Zcad::ErrorStatus getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const;
  virtual Zcad::ErrorStatus getOrthoProjectedCurve(const ZcGePlane& plane, ZcDbCurve*& projectedCurve) const;
  virtual Zcad::ErrorStatus getProjectedCurve(const ZcGePlane& plane, const ZcGeVector3d& projDir,
                                              ZcDbCurve*& projectedCurve) const;
  virtual Zcad::ErrorStatus getSplitCurves(const ZcGeDoubleArray& params,
                                           ZcDbVoidPtrArray& curveSegments) const;
  virtual Zcad::ErrorStatus extend(double newParam);

 protected:
  ZcDbCurve();
  ZcDbCurve(const ZcDbCurve&) = default;
  ZcDbCurve& operator=(const ZcDbCurve&) = default;
};
