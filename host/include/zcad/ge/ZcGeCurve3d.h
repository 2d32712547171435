#pragma once
// ZcGeCurve3d: abstract base of the parametric 3-D curves (line segment, circular arc,
// elliptical arc, NURBS). A curve maps its parameter interval to points; the derived class
// fixes what the parameter means (see each class).
//
// Non-finite or degenerate input: constructors and setters cannot report a status, so every
// curve answers isValid() (finite data, consistent sizes); callers storing curves (the
// database layer) check it. Queries on an invalid curve return finite values (the origin,
// zero lengths) and never loop.
//
// Tolerances: `tol` arguments of point queries are distances (ZcGeTol::equalPoint()). The
// `tol` of length() and paramAtLength() is ignored below the module's own accuracy: lengths
// are computed to 1e-9 relative (adaptive Gauss-Legendre) or exactly where a closed form
// exists.
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeContext.h"
#include "zcad/ge/ZcGeInterval.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcGeMatrix3d;
class ZcGePlane;

class ZcGeCurve3d {
 public:
  virtual ~ZcGeCurve3d() = default;

  virtual ZcGe::EntityId type() const = 0;
  virtual bool isKindOf(ZcGe::EntityId entityType) const;
  // A new heap copy of the same concrete type; the caller owns it.
  virtual ZcGeCurve3d* copy() const = 0;
  virtual bool isValid() const = 0;

  virtual void getInterval(ZcGeInterval& range) const = 0;
  void getInterval(ZcGeInterval& range, ZcGePoint3d& startPoint, ZcGePoint3d& endPoint) const;
  double startParam() const;
  double endParam() const;

  // The point at `param`; params outside the interval extrapolate the analytic form (lines,
  // conics) or are clamped (NURBS, except periodic ones, which wrap).
  virtual ZcGePoint3d evalPoint(double param) const;
  // The point and its derivatives d^k/dparam^k for k = 1..numDeriv in derivArray[0..]
  // (derivArray is resized to numDeriv).
  virtual ZcGePoint3d evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const = 0;

  // Parameter of the point on the curve closest to `point` (no check that it is on it).
  virtual double paramOf(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  bool isOn(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  // As isOn(); `param` receives the parameter of the point when it is on the curve.
  bool isOn(const ZcGePoint3d& point, double& param, const ZcGeTol& tol = ZcGeContext::gTol) const;
  ZcGePoint3d closestPointTo(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;
  // As closestPointTo(); `param` receives the parameter of the closest point.
  ZcGePoint3d closestPointTo(const ZcGePoint3d& point, double& param,
                             const ZcGeTol& tol = ZcGeContext::gTol) const;
  double distanceTo(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const;

  // Arc length between two parameters (order does not matter; the result is >= 0).
  virtual double length(double fromParam, double toParam, double tol = ZcGeContext::gTol.equalPoint()) const;
  // Length of the whole curve.
  double length() const;
  // The parameter at arc length `length` from datumParam, forward (posParamDir) or backward
  // along the parameter; clamped to the interval (periodic curves wrap). Accurate to
  // 1e-9 * curve length.
  virtual double paramAtLength(double datumParam, double length, bool posParamDir = true,
                               double tol = ZcGeContext::gTol.equalPoint()) const;

  virtual bool isClosed(const ZcGeTol& tol = ZcGeContext::gTol) const;
  // Every curve here is bounded; false only for an invalid curve.
  bool hasStartPoint(ZcGePoint3d& startPoint) const;
  bool hasEndPoint(ZcGePoint3d& endPoint) const;
  // true when the curve has (near) zero length.
  virtual bool isDegenerate(const ZcGeTol& tol = ZcGeContext::gTol) const;
  // true, with the plane, when the curve lies in one plane; a line lies in many: `plane`
  // is then one of them.
  virtual bool isPlanar(ZcGePlane& plane, const ZcGeTol& tol = ZcGeContext::gTol) const;

  // Reverses the direction; the interval may change (see each class).
  virtual ZcGeCurve3d& reverseParam() = 0;
  virtual ZcGeCurve3d& transformBy(const ZcGeMatrix3d& matrix) = 0;

  // numSample points at evenly spaced parameters, both ends included (numSample >= 2).
  void getSamplePoints(int numSample, ZcGePoint3dArray& pointArray) const;
  // Points between two parameters such that the chord deviates at most about approxEps from
  // the curve; paramArray receives their parameters.
  virtual void getSamplePoints(double fromParam, double toParam, double approxEps,
                               ZcGePoint3dArray& pointArray, ZcGeDoubleArray& paramArray) const;

  // Axis-aligned bounding box corners. Exact for lines, arcs and ellipses; for NURBS see
  // ZcGeNurbCurve3d::getExtents. false (and both corners at the origin) for an invalid curve.
  virtual bool getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const = 0;

 protected:
  ZcGeCurve3d() = default;
  ZcGeCurve3d(const ZcGeCurve3d&) = default;
  ZcGeCurve3d& operator=(const ZcGeCurve3d&) = default;

  // Numeric closest-point search on [lo, hi]: samples numSamples points per piece, then
  // refines with Newton's method on the squared distance. Used by derived classes that have
  // no closed form.
  double numericClosestParam(const ZcGePoint3d& point, const ZcGeDoubleArray& breakParams,
                             int samplesPerPiece) const;
};
