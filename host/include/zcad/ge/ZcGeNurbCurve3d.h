#pragma once
// ZcGeNurbCurve3d: a non-uniform rational B-spline curve. Parameter = the knot parameter in
// [knots[degree], knots[numControlPoints]].
//
// Representation: control points, knots (numControlPoints + degree + 1 of them) and, for a
// rational curve, one positive weight per control point. A periodic curve is stored
// unwrapped: its last `degree` control points repeat the first ones and its knots continue
// periodically, so general evaluation applies; evalPoint() wraps parameters into the period
// and setControlPointAt() keeps the copies equal.
//
// Fit-point splines: the interpolating constructors and interpolateClosed() build a cubic
// (degree 3) with chord-length parameters (the knot parameter at a fit point is the
// cumulative chord length) and keep the fit data (points, tolerance, end tangents). They
// always interpolate (every fit point lies on the curve); the fit tolerance is stored, not
// used to approximate. ZcGeNurbCurve3dFit.cpp documents the parameters and the
// end-tangent rules.
//
// Degenerate input: no fit points gives an invalid curve (isValid() false, no control
// points); one point or all points coincident give a degree-1 curve with two equal control
// points (valid, isDegenerate() true). Non-finite input gives isValid() false. Queries never
// produce NaN on valid curves and never loop.
//
// getExtents(): the box of the curve sampled densely per knot span and refined by Newton's
// method at the coordinate extrema, so it is tight to about 1e-9 of the curve's size (never
// larger than the control hull's box).
#include "zcad/ge/ZcGeCurve3d.h"
#include "zcad/ge/ZcGeKnotVector.h"

class ZcGeLineSeg3d;
class ZcGeCircArc3d;
class ZcGeEllipArc3d;

class ZcGeNurbCurve3d : public ZcGeCurve3d {
 public:
  // Highest degree accepted (isValid() false above it).
  static constexpr int kMaxDegree = 25;

  ZcGeNurbCurve3d();  // invalid until set
  // Polynomial B-spline. With isPeriodic, either the unwrapped form (knots =
  // numControlPoints + degree + 1) or the compact periodic form (knots = numControlPoints + 1:
  // one period of knots, control points without the repeated ones) is accepted.
  ZcGeNurbCurve3d(int degree, const ZcGeKnotVector& knots, const ZcGePoint3dArray& controlPoints,
                  bool isPeriodic = false);
  // Rational B-spline (one weight per control point; all ones is non-rational).
  ZcGeNurbCurve3d(int degree, const ZcGeKnotVector& knots, const ZcGePoint3dArray& controlPoints,
                  const ZcGeDoubleArray& weights, bool isPeriodic = false);
  // Cubic interpolation of the fit points with the given end tangents. A defined tangent's
  // direction is honoured; its length is ignored (see ZcGeNurbCurve3dFit.cpp).
  ZcGeNurbCurve3d(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                  const ZcGeVector3d& endTangent, bool startTangentDefined = true,
                  bool endTangentDefined = true, const ZcGeTol& fitTolerance = ZcGeContext::gTol);
  // Cubic interpolation with estimated end tangents.
  explicit ZcGeNurbCurve3d(const ZcGePoint3dArray& fitPoints,
                           const ZcGeTol& fitTolerance = ZcGeContext::gTol);
  // Exact forms. The segment becomes degree 1 with knots [0, 0, 1, 1] (same parameter as
  // ZcGeLineSeg3d). Arcs and ellipses become rational quadratics, one piece per at most
  // 90 degrees, whose knots are the analytic angles at the piece joints: the interval and the
  // joint points equal the analytic curve's, but inside a piece the parameter is not
  // proportional to the angle (no rational quadratic is).
  explicit ZcGeNurbCurve3d(const ZcGeLineSeg3d& line);
  explicit ZcGeNurbCurve3d(const ZcGeCircArc3d& arc);
  explicit ZcGeNurbCurve3d(const ZcGeEllipArc3d& ellipse);

  // A lightweight polyline as one rational degree-2 curve: vertex i to i+1 is an arc with
  // bulge[i] = tan(sweep/4) (positive = counter-clockwise seen from +normal) or straight
  // (bulge 0, a degree-2 piece with middle weight 1). Vertices are in the plane of `normal`
  // (the database stores them in object coordinates: pass world points). Knot parameter i
  // is vertex i. Zero-length segments give repeated control points, never NaN. Fewer than
  // two vertices give an invalid curve. `bulges` may be shorter than the segment count
  // (missing bulges are 0).
  static ZcGeNurbCurve3d fromBulgePolyline(const ZcGePoint3dArray& vertices, const ZcGeDoubleArray& bulges,
                                           bool closed, const ZcGeVector3d& normal = ZcGeVector3d::kZAxis);
  // Closed C2 cubic through the fit points (periodic, chord-length parameters). A last point
  // equal to the first is taken as the closing point, not as another vertex. Fewer than
  // three distinct points fall back to the open interpolation.
  static ZcGeNurbCurve3d interpolateClosed(const ZcGePoint3dArray& fitPoints,
                                           const ZcGeTol& fitTolerance = ZcGeContext::gTol);

  ZcGeNurbCurve3d& set(int degree, const ZcGeKnotVector& knots, const ZcGePoint3dArray& controlPoints,
                       const ZcGeDoubleArray& weights, bool isPeriodic = false);

  // Definition data.
  int degree() const { return degree_; }
  int order() const { return degree_ + 1; }
  bool isRational() const { return !weights_.isEmpty(); }
  bool isPeriodic() const { return periodic_; }
  bool isPeriodic(double& period) const;
  int numControlPoints() const { return ctrl_.length(); }
  ZcGePoint3d controlPointAt(int index) const;
  ZcGeNurbCurve3d& setControlPointAt(int index, const ZcGePoint3d& point);
  // 1 for a non-rational curve.
  double weightAt(int index) const;
  // Makes the curve rational if needed; non-positive or non-finite weights make it invalid.
  ZcGeNurbCurve3d& setWeightAt(int index, double weight);
  int numKnots() const { return knots_.length(); }
  double knotAt(int index) const;
  ZcGeNurbCurve3d& setKnotAt(int index, double value);
  const ZcGeKnotVector& knots() const { return knots_; }
  void getKnots(ZcGeKnotVector& knots) const { knots = knots_; }
  void getControlPoints(ZcGePoint3dArray& controlPoints) const { controlPoints = ctrl_; }
  // Weights; empty for a non-rational curve.
  void getWeights(ZcGeDoubleArray& weights) const { weights = weights_; }
  void getDefinitionData(int& degree, bool& rational, bool& periodic, ZcGeKnotVector& knots,
                         ZcGePoint3dArray& controlPoints, ZcGeDoubleArray& weights) const;

  // Fit data (only for curves built by interpolation; cleared by any change of the
  // definition data, by transformBy() it is transformed along).
  bool hasFitData() const { return !fitPoints_.isEmpty(); }
  int numFitPoints() const { return fitPoints_.length(); }
  bool getFitPointAt(int index, ZcGePoint3d& point) const;
  bool getFitTolerance(ZcGeTol& fitTolerance) const;
  // false when neither tangent was given.
  bool getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const;
  bool getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent, bool& startTangentDefined,
                      bool& endTangentDefined) const;
  bool getFitData(ZcGePoint3dArray& fitPoints, ZcGeTol& fitTolerance, bool& tangentsExist,
                  ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const;
  // true for a curve from interpolateClosed().
  bool isFitClosed() const { return fitClosed_; }
  // Rebuilds the curve by interpolation.
  ZcGeNurbCurve3d& setFitData(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                              const ZcGeVector3d& endTangent,
                              const ZcGeTol& fitTolerance = ZcGeContext::gTol);
  ZcGeNurbCurve3d& setFitPointAt(int index, const ZcGePoint3d& point);
  ZcGeNurbCurve3d& purgeFitData();

  // Modification.
  // Boehm knot insertion; the shape is unchanged. No-op outside the open interval or when the
  // knot already has multiplicity `degree`. A periodic curve becomes non-periodic (same shape,
  // its unwrapped form).
  ZcGeNurbCurve3d& insertKnot(double newKnot);
  // Exact degree elevation by splitting into Bezier pieces: the shape is unchanged, interior
  // knots end with multiplicity equal to the new degree (no knot removal afterwards).
  ZcGeNurbCurve3d& elevateDegree(int plusDegree);
  ZcGeNurbCurve3d& makeRational(double weight = 1.0);
  // Drops the weights when they are all equal (otherwise no-op).
  ZcGeNurbCurve3d& makeNonRational();
  // Keeps the part between the two parameters (swapped when reversed) as a clamped curve
  // with the same parameterisation; a periodic curve becomes non-periodic.
  ZcGeNurbCurve3d& hardTrimByParams(double newStartParam, double newEndParam);

  // Same degree, periodicity, knots (within the knot tolerance), control points and weights.
  bool isEqualTo(const ZcGeNurbCurve3d& other, const ZcGeTol& tol = ZcGeContext::gTol) const;

  using ZcGeCurve3d::evalPoint;
  using ZcGeCurve3d::length;
  ZcGe::EntityId type() const override { return ZcGe::kNurbCurve3d; }
  bool isKindOf(ZcGe::EntityId entityType) const override;
  ZcGeCurve3d* copy() const override;
  bool isValid() const override { return valid_; }
  void getInterval(ZcGeInterval& range) const override;
  ZcGePoint3d evalPoint(double param) const override;
  // Up to any order (derivatives above the degree are zero for non-rational curves).
  ZcGePoint3d evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const override;
  double paramOf(const ZcGePoint3d& point, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  // Adaptive Gauss-Legendre per knot span, 1e-9 relative.
  double length(double fromParam, double toParam, double tol = ZcGeContext::gTol.equalPoint()) const override;
  double paramAtLength(double datumParam, double length, bool posParamDir = true,
                       double tol = ZcGeContext::gTol.equalPoint()) const override;
  bool isClosed(const ZcGeTol& tol = ZcGeContext::gTol) const override;
  bool isDegenerate(const ZcGeTol& tol = ZcGeContext::gTol) const override;
  // From the control points (a B-spline is planar exactly when its control polygon is).
  bool isPlanar(ZcGePlane& plane, const ZcGeTol& tol = ZcGeContext::gTol) const override;
  // Reverses control points, weights and knots (k -> first + last - k): the interval stays.
  ZcGeNurbCurve3d& reverseParam() override;
  // Control points (and fit data) transform; weights are unchanged (exact for affine maps).
  ZcGeNurbCurve3d& transformBy(const ZcGeMatrix3d& matrix) override;
  bool getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const override;

 private:
  void clearFitData();
  // isValid() is asked on every evaluation: the full check runs once per change instead.
  bool computeValidity() const;
  void refreshValidity() { valid_ = computeValidity(); }
  void buildInterpolation(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                          const ZcGeVector3d& endTangent, bool startTangentDefined, bool endTangentDefined);
  void buildClosedInterpolation(const ZcGePoint3dArray& fitPoints);
  void setDegeneratePoint(const ZcGePoint3d& point);
  // Index of the knot span containing param (knots_[span] <= param < knots_[span + 1]).
  int findSpan(double param) const;
  // Parameter moved into the domain: wrapped for a periodic curve, clamped otherwise.
  double wrapParam(double param) const;
  void getDomain(double& t0, double& t1) const;
  double weightOrOne(int index) const { return weights_.isEmpty() ? 1.0 : weights_[index]; }
  // The point (out[0], as a vector from the origin) and derivatives 1..numDeriv.
  void evalDerivs(double param, int numDeriv, ZcGeVector3d* out) const;
  // As evalDerivs for a parameter already in the domain and its known knot span.
  void evalDerivsInSpan(int span, double u, int numDeriv, ZcGeVector3d* out) const;
  // Arc length over [a, b] inside the domain, integrated per knot span.
  double lengthInDomain(double a, double b) const;
  // Parameter in [a, b] at arc length `len` from a (forward) or from b (backward).
  double solveLengthInPiece(double a, double b, double len, bool forward) const;
  // Distinct knots inside the domain, both domain ends included.
  void getBreakParams(ZcGeDoubleArray& breaks) const;
  // Boehm insertion of one knot, knots_[degree] <= knot < knots_[numControlPoints].
  void insertKnotRaw(double knot);
  // Drops the part before `param` (inside the domain, before its end); clamps the start.
  void trimStartAt(double param);

  int degree_ = 0;
  bool periodic_ = false;
  bool valid_ = false;
  ZcGeKnotVector knots_;
  ZcGePoint3dArray ctrl_;
  ZcGeDoubleArray weights_;  // empty when non-rational

  ZcGePoint3dArray fitPoints_;
  ZcGeTol fitTol_;
  ZcGeVector3d fitStartTangent_;
  ZcGeVector3d fitEndTangent_;
  bool fitStartTangentDefined_ = false;
  bool fitEndTangentDefined_ = false;
  bool fitClosed_ = false;
};
