#pragma once
// ZcDbSpline: a NURBS curve, built either from fit points (interpolation) or from control
// points, knots and weights.
//
// Geometry: a ZcGeNurbCurve3d; parameter = its knot parameter. Fit data (fit points, fit
// tolerance, end tangents) is kept alongside when the spline was built from fit points;
// type() is then kFitPoints. Fit splines are cubic and pass through every fit point: the
// tolerance is stored, not used to approximate. A zero end tangent means "not given" (the
// interpolation estimates it). Fit points whose first and last point coincide (and at least
// three distinct points), with no tangents given, make a closed periodic spline, smooth
// through the closing point (ZcGeNurbCurve3d::interpolateClosed); the fit points are kept as
// given, so moving only the first one opens the spline again. Consecutive coincident fit
// points are kept in the fit data but interpolated once.
//
// Editing the control data (setControlPointAt, setWeightAt, setNurbsData, insertKnot,
// elevateDegree) drops the fit data; editing the fit data re-interpolates.
//
// Degenerate cases: a default spline is null (no control points): its curve queries answer
// eDegenerateGeometry and its extents eInvalidExtents. A single fit point or coincident fit
// points give a degree 1 spline of two equal control points: a point, with length 0.
//
// Input: setters refuse non-finite values and invalid NURBS data (degree outside 1..25,
// counts that do not match, decreasing knots, non-positive weights) with eInvalidInput and
// store nothing; indexes out of range answer eInvalidIndex, fit-data operations on a spline
// without fit data eNotApplicable. Constructors with such arguments give the null spline.
// The `closed` argument of the NURBS constructor and setNurbsData is not needed: closure is
// read off the data (end points that coincide, or a periodic curve).
//
// Lengths: per-knot-span lengths are cached inside the spline on first use (and dropped on
// any change), so getDistAtParam and getParamAtDist find their span by binary search. The
// cache makes concurrent queries of one spline from several threads unsafe.
#include <vector>

#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

class ZcDbSpline : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbSpline)
  ZCDB_DECLARE_VALUE_COPY(ZcDbSpline)

  ZcDbSpline();
  // Cubic interpolation; an order other than 4 is taken as 4 (fit splines are cubic).
  ZcDbSpline(const ZcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0.0);
  ZcDbSpline(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
             const ZcGeVector3d& endTangent, int order = 4, double fitTolerance = 0.0);
  ZcDbSpline(int degree, bool rational, bool closed, bool periodic, const ZcGePoint3dArray& controlPoints,
             const ZcGeDoubleArray& knots, const ZcGeDoubleArray& weights, double controlPtTol = 0.0,
             double knotTol = 0.0);
  ~ZcDbSpline() override;

  ZcDb::SplineType type() const;
  bool isNull() const;
  int degree() const;
  bool isRational() const;
  // Elevates the degree (the curve stays the same); newDegree below the degree or above 25
  // is refused.
  Zcad::ErrorStatus elevateDegree(int newDegree);
  // Adds a knot inside the parameter range (the curve stays the same).
  Zcad::ErrorStatus insertKnot(double param);

  // Fit data.
  bool hasFitData() const;
  int numFitPoints() const;
  Zcad::ErrorStatus getFitPointAt(int index, ZcGePoint3d& point) const;
  Zcad::ErrorStatus setFitPointAt(int index, const ZcGePoint3d& point);
  // index 0..numFitPoints() (at the end appends).
  Zcad::ErrorStatus insertFitPointAt(int index, const ZcGePoint3d& point);
  Zcad::ErrorStatus addFitPointAt(int index, const ZcGePoint3d& point);
  // At least two fit points remain (eInvalidInput otherwise).
  Zcad::ErrorStatus removeFitPointAt(int index);
  // degree must be 3 and at least two points are needed.
  Zcad::ErrorStatus getFitData(ZcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                               bool& tangentsExist, ZcGeVector3d& startTangent,
                               ZcGeVector3d& endTangent) const;
  Zcad::ErrorStatus setFitData(const ZcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                               const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent);
  Zcad::ErrorStatus getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const;
  Zcad::ErrorStatus setFitTangents(const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent);
  // 0 for a spline without fit data.
  double fitTolerance() const;
  Zcad::ErrorStatus setFitTol(double tolerance);
  Zcad::ErrorStatus purgeFitData();

  // Control data. A periodic spline is given unwrapped: its last degree() control points
  // repeat the first ones (setControlPointAt keeps them equal).
  int numControlPoints() const;
  Zcad::ErrorStatus getControlPointAt(int index, ZcGePoint3d& point) const;
  Zcad::ErrorStatus setControlPointAt(int index, const ZcGePoint3d& point);
  // 1 for a non-rational spline; -1 for an index out of range.
  double weightAt(int index) const;
  Zcad::ErrorStatus setWeightAt(int index, double weight);
  int numKnots() const;
  Zcad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                 ZcGePoint3dArray& controlPoints, ZcGeDoubleArray& knots,
                                 ZcGeDoubleArray& weights, double& controlPtTol, double& knotTol) const;
  Zcad::ErrorStatus setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                 const ZcGePoint3dArray& controlPoints, const ZcGeDoubleArray& knots,
                                 const ZcGeDoubleArray& weights, double controlPtTol = 0.0,
                                 double knotTol = 0.0);
  // Replaces the spline by the exact NURBS form of a ZcGe curve (a NURBS curve, line
  // segment, circular or elliptical arc); drops the fit data unless the NURBS carries some.
  // `normal` and `tol` are unused (every curve here has its exact form).
  Zcad::ErrorStatus setFromZcGeCurve(const ZcGeCurve3d& geCurve, ZcGeVector3d* normal = nullptr,
                                     const ZcGeTol& tol = ZcGeContext::gTol);

  // A polyline approximating the spline (a new entity with the spline's properties, not in a
  // database): a ZcDbPolyline (lightweight, straight segments, in the spline's plane) for a
  // planar spline, a simple ZcDb3dPolyline otherwise; closed when the spline is.
  // `precision` 0..99 (clamped) sets the largest distance between a segment and the spline:
  // 1% of the spline's extents diagonal at 0, ten times less every 10 steps (0.1% at the
  // default 10). The result never has more than maxSegments segments; a higher precision
  // never gives fewer segments. numSegments, when given, receives the segment count.
  // eDegenerateGeometry for a null spline, eInvalidInput for maxSegments < 1.
  Zcad::ErrorStatus toPolyline(ZcDbCurve*& curve, int precision = 10, int* numSegments = nullptr,
                               int maxSegments = 10000) const;

  // ZcDbCurve. A periodic spline wraps parameters. getClosestPointTo ignores extend.
  // getArea: the area enclosed with the closing chord (Green's theorem, Gauss quadrature).
  // reverseCurve reverses control points, weights and knots (the parameter range stays) and
  // the fit data (point order, tangents swapped and negated). getSpline gives a copy as a
  // plain ZcDbSpline (also for a helix); getZcGeCurve a ZcGeNurbCurve3d.
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

  // ZcDbEntity. Extents from the NURBS (tight to about 1e-9 of the spline's size).
  // transformBy takes every affine matrix (the fit data transforms along); eNotApplicable
  // for a perspective one. getPlane: eNotApplicable with isPlanar false when the spline is
  // not planar (or null).
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbSpline(const ZcDbSpline&) = default;
  ZcDbSpline& operator=(const ZcDbSpline&) = default;

  // For derived classes that regenerate the curve (helix): replace the NURBS, drop the fit
  // data. The caller has checked the open state.
  void replaceCurve(const ZcGeNurbCurve3d& curve);
  const ZcGeNurbCurve3d& nurbs() const { return curve_; }

 private:
  friend class ZcDbFileAccess;
  struct FitData {
    ZcGePoint3dArray points;
    ZcGeVector3d startTangent;
    ZcGeVector3d endTangent;
    double tolerance = 0.0;
  };

  bool hasCurve() const { return curve_.numControlPoints() > 0; }
  // Interpolates `fit` into `curve`; false when the fit data cannot make a spline.
  static bool interpolate(const FitData& fit, ZcGeNurbCurve3d& curve);
  void setFit(const FitData& fit, const ZcGeNurbCurve3d& curve);
  // Re-interpolates after a change of the fit points or tangents.
  Zcad::ErrorStatus changeFit(const FitData& fit);
  void curveChanged() const { spanLengthsValid_ = false; }
  // Distinct knots in the parameter range, and the curve length up to each of them.
  void ensureSpanLengths() const;
  double lengthInSpan(double from, double to) const;
  double lengthTo(double param) const;
  double paramAtLength(double length) const;

  ZcGeNurbCurve3d curve_;
  FitData fit_;
  double controlPtTol_ = 0.0;
  double knotTol_ = 0.0;
  mutable std::vector<double> spanParams_;
  mutable std::vector<double> spanLengths_;
  mutable bool spanLengthsValid_ = false;
};
