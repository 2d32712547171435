// ZcGeNurbCurve3d: fit-point interpolation and fit data.
//
// Open interpolation (fit points Q_0..Q_n, cubic):
// - Parameters are cumulative chord lengths: u_0 = 0, u_k = u_{k-1} + |Q_k - Q_{k-1}|.
//   Consecutive fit points closer than 1e-10 of the points' extent are one point for the
//   parameterisation (a zero chord would make two knots coincide and the system singular);
//   the curve still passes through both, as they are the same point to that accuracy.
// - Knots: u_0 four times, u_1..u_{n-1} once, u_n four times. Control points P_0..P_{n+2}:
//   P_0 = Q_0, P_{n+2} = Q_n, the two end derivatives fix P_1 and P_{n+1}, and the
//   conditions C(u_k) = Q_k for 0 < k < n form a tridiagonal system for the others.
// - A given end tangent counts by its direction only: the end derivative is the unit tangent
//   (in the chord-length parameter, whose speed is about 1; in a parameter normalised to
//   [0, 1] this is the unit tangent times the total chord length).
// - Missing end tangents are estimated by Bessel's rule: the derivative at the end of the
//   parabola through the first (last) three fit points at their chord-length parameters.
//   With two fit points: the chord direction, or, when the other end has a tangent, the
//   derivative of the parabola through both points with that end tangent.
//
// Closed interpolation (interpolateClosed): a periodic cubic with one knot per fit point at
// the cumulative chord length, the closing chord included; the conditions C(u_k) = Q_k form
// a cyclic tridiagonal system. The curve is C2 everywhere, the seam included.
#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/ZcGeBSplineBasis.h"
#include "geometry/ZcGeLinearSolve.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

// Distance below which two fit points count as one: 1e-10 of the points' extent.
double duplicateTolerance(const ZcGePoint3dArray& points) {
  ZcGePoint3d lo = points.first(), hi = points.first();
  for (const ZcGePoint3d& p : points)
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], p[i]);
      hi[i] = std::max(hi[i], p[i]);
    }
  return 1e-10 * (hi - lo).length();
}

// The points with consecutive near-duplicates removed (see the file comment).
ZcGePoint3dArray distinctConsecutive(const ZcGePoint3dArray& points, double tol) {
  ZcGePoint3dArray out;
  for (const ZcGePoint3d& p : points)
    if (out.isEmpty() || out.last().distanceTo(p) > tol) out.append(p);
  return out;
}

// Drops trailing points on the first one: they close the loop, they are not vertices.
void removeClosingPoints(ZcGePoint3dArray& points, double tol) {
  while (points.length() > 1 && points.last().distanceTo(points.first()) <= tol) points.removeLast();
}

bool allFinite(const ZcGePoint3dArray& points) {
  return std::all_of(points.begin(), points.end(), [](const ZcGePoint3d& p) { return zcgeIsFinite(p); });
}

}  // namespace

ZcGeNurbCurve3d::ZcGeNurbCurve3d(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                                 const ZcGeVector3d& endTangent, bool startTangentDefined,
                                 bool endTangentDefined, const ZcGeTol& fitTolerance) {
  buildInterpolation(fitPoints, startTangent, endTangent, startTangentDefined, endTangentDefined);
  if (!fitPoints_.isEmpty()) fitTol_ = fitTolerance;
  refreshValidity();
}

ZcGeNurbCurve3d::ZcGeNurbCurve3d(const ZcGePoint3dArray& fitPoints, const ZcGeTol& fitTolerance) {
  buildInterpolation(fitPoints, ZcGeVector3d::kIdentity, ZcGeVector3d::kIdentity,
                     /*startTangentDefined=*/false,
                     /*endTangentDefined=*/false);
  if (!fitPoints_.isEmpty()) fitTol_ = fitTolerance;
  refreshValidity();
}

ZcGeNurbCurve3d ZcGeNurbCurve3d::interpolateClosed(const ZcGePoint3dArray& fitPoints,
                                                   const ZcGeTol& fitTolerance) {
  ZcGeNurbCurve3d curve;
  curve.buildClosedInterpolation(fitPoints);
  if (!curve.fitPoints_.isEmpty()) curve.fitTol_ = fitTolerance;
  curve.refreshValidity();
  return curve;
}

void ZcGeNurbCurve3d::buildInterpolation(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                                         const ZcGeVector3d& endTangent, bool startTangentDefined,
                                         bool endTangentDefined) {
  clearFitData();
  degree_ = 0;
  periodic_ = false;
  knots_ = ZcGeKnotVector();
  ctrl_.removeAll();
  weights_.removeAll();
  // No points, or non-finite ones: an invalid curve (isValid() false).
  if (fitPoints.isEmpty() || !allFinite(fitPoints)) return;
  const bool startDefined = startTangentDefined && zcgeIsFinite(startTangent) && !startTangent.isZeroLength();
  const bool endDefined = endTangentDefined && zcgeIsFinite(endTangent) && !endTangent.isZeroLength();
  fitPoints_ = fitPoints;
  fitStartTangent_ = startDefined ? startTangent : ZcGeVector3d::kIdentity;
  fitEndTangent_ = endDefined ? endTangent : ZcGeVector3d::kIdentity;
  fitStartTangentDefined_ = startDefined;
  fitEndTangentDefined_ = endDefined;

  const ZcGePoint3dArray q = distinctConsecutive(fitPoints, duplicateTolerance(fitPoints));
  const int n = q.length() - 1;
  if (n == 0) {
    setDegeneratePoint(q[0]);
    return;
  }
  std::vector<double> u(n + 1, 0.0);
  for (int k = 1; k <= n; ++k) u[k] = u[k - 1] + q[k].distanceTo(q[k - 1]);

  ZcGeVector3d d0 = startDefined ? startTangent.normal() : ZcGeVector3d::kIdentity;
  ZcGeVector3d dn = endDefined ? endTangent.normal() : ZcGeVector3d::kIdentity;
  if (n == 1) {
    const ZcGeVector3d slope = (q[1] - q[0]) / u[1];
    // Parabola through both points with the one given end derivative: p'(L) = 2 s - p'(0).
    if (!startDefined) d0 = endDefined ? slope * 2.0 - dn : slope;
    if (!endDefined) dn = startDefined ? slope * 2.0 - d0 : slope;
  } else {
    if (!startDefined) {
      const double h1 = u[1] - u[0], h2 = u[2] - u[1];
      const ZcGeVector3d s1 = (q[1] - q[0]) / h1, s2 = (q[2] - q[1]) / h2;
      d0 = s1 - (s2 - s1) * (h1 / (h1 + h2));
    }
    if (!endDefined) {
      const double h1 = u[n - 1] - u[n - 2], h2 = u[n] - u[n - 1];
      const ZcGeVector3d s1 = (q[n - 1] - q[n - 2]) / h1, s2 = (q[n] - q[n - 1]) / h2;
      dn = s2 + (s2 - s1) * (h2 / (h1 + h2));
    }
  }

  degree_ = 3;
  ZcGeKnotVector knots;
  for (int i = 0; i < 4; ++i) knots.append(u[0]);
  for (int k = 1; k < n; ++k) knots.append(u[k]);
  for (int i = 0; i < 4; ++i) knots.append(u[n]);
  knots_ = knots;
  ctrl_.setLogicalLength(n + 3);
  ctrl_[0] = q[0];
  ctrl_[1] = q[0] + d0 * ((u[1] - u[0]) / 3.0);
  ctrl_[n + 1] = q[n] - dn * ((u[n] - u[n - 1]) / 3.0);
  ctrl_[n + 2] = q[n];
  if (n < 2) return;

  // Rows k = 1..n-1: N_k(u_k) P_k + N_{k+1}(u_k) P_{k+1} + N_{k+2}(u_k) P_{k+2} = Q_k, for
  // the unknowns P_2..P_n (row k has its diagonal at P_{k+1}).
  const int m = n - 1;
  std::vector<double> sub(m), diag(m), super(m);
  std::vector<ZcGeVector3d> rhs(m);
  for (int k = 1; k < n; ++k) {
    const int span = k + 3;
    assert(knots_[span] == u[k]);
    double N[zcge::kMaxBasisDegree + 1];
    zcge::basisFuns(span, u[k], 3, knots_.asArrayPtr(), N);
    const int r = k - 1;
    sub[r] = N[0];
    diag[r] = N[1];
    super[r] = N[2];
    rhs[r] = q[k].asVector();
  }
  rhs[0] -= ctrl_[1].asVector() * sub[0];
  rhs[m - 1] -= ctrl_[n + 1].asVector() * super[m - 1];
  if (!zcge::solveTridiagonal(sub, diag, super, rhs)) {
    // Cannot happen for distinct increasing parameters; keep the curve finite if it does.
    assert(false);
    setDegeneratePoint(q[0]);
    return;
  }
  for (int r = 0; r < m; ++r) ctrl_[r + 2] = ZcGePoint3d::kOrigin + rhs[r];
}

void ZcGeNurbCurve3d::buildClosedInterpolation(const ZcGePoint3dArray& fitPoints) {
  if (fitPoints.isEmpty() || !allFinite(fitPoints)) {
    buildInterpolation(fitPoints, ZcGeVector3d::kIdentity, ZcGeVector3d::kIdentity,
                       /*startTangentDefined=*/false,
                       /*endTangentDefined=*/false);
    return;
  }
  const double tol = duplicateTolerance(fitPoints);
  ZcGePoint3dArray q = distinctConsecutive(fitPoints, tol);
  removeClosingPoints(q, tol);
  const int n = q.length();
  if (n < 3) {
    // Fewer than three distinct points enclose nothing: the open interpolation.
    buildInterpolation(q, ZcGeVector3d::kIdentity, ZcGeVector3d::kIdentity, /*startTangentDefined=*/false,
                       /*endTangentDefined=*/false);
    return;
  }
  clearFitData();
  ZcGePoint3dArray stored = fitPoints;
  removeClosingPoints(stored, tol);
  fitPoints_ = stored;
  fitClosed_ = true;

  std::vector<double> u(n + 1, 0.0);
  for (int k = 1; k <= n; ++k) u[k] = u[k - 1] + q[k % n].distanceTo(q[k - 1]);
  const double period = u[n];

  degree_ = 3;
  periodic_ = true;
  weights_.removeAll();
  ZcGeKnotVector knots;
  for (int j = 0; j < 3; ++j) knots.append(u[n - 3 + j] - period);
  for (int j = 0; j <= n; ++j) knots.append(u[j]);
  for (int j = 1; j <= 3; ++j) knots.append(u[j] + period);
  knots_ = knots;

  // Row k: C(u_k) = N0 P_k + N1 P_{k+1} + N2 P_{k+2} (indices mod n). With R_k = P_{k+1}
  // this is the cyclic tridiagonal N0 R_{k-1} + N1 R_k + N2 R_{k+1} = Q_k.
  std::vector<double> sub(n), diag(n), super(n);
  std::vector<ZcGeVector3d> rhs(n);
  for (int k = 0; k < n; ++k) {
    const int span = k + 3;
    double N[zcge::kMaxBasisDegree + 1];
    zcge::basisFuns(span, u[k], 3, knots_.asArrayPtr(), N);
    sub[k] = N[0];
    diag[k] = N[1];
    super[k] = N[2];
    rhs[k] = q[k].asVector();
  }
  if (!zcge::solveCyclicTridiagonal(sub, diag, super, rhs)) {
    assert(false);
    buildInterpolation(q, ZcGeVector3d::kIdentity, ZcGeVector3d::kIdentity, /*startTangentDefined=*/false,
                       /*endTangentDefined=*/false);
    return;
  }
  ctrl_.setLogicalLength(n + 3);
  for (int j = 0; j < n + 3; ++j) ctrl_[j] = ZcGePoint3d::kOrigin + rhs[(j + n - 1) % n];
}

bool ZcGeNurbCurve3d::getFitPointAt(int index, ZcGePoint3d& point) const {
  if (index < 0 || index >= fitPoints_.length()) return false;
  point = fitPoints_[index];
  return true;
}

bool ZcGeNurbCurve3d::getFitTolerance(ZcGeTol& fitTolerance) const {
  if (!hasFitData()) return false;
  fitTolerance = fitTol_;
  return true;
}

bool ZcGeNurbCurve3d::getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const {
  bool startDefined = false, endDefined = false;
  return getFitTangents(startTangent, endTangent, startDefined, endDefined) && (startDefined || endDefined);
}

bool ZcGeNurbCurve3d::getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent,
                                     bool& startTangentDefined, bool& endTangentDefined) const {
  if (!hasFitData()) return false;
  startTangent = fitStartTangent_;
  endTangent = fitEndTangent_;
  startTangentDefined = fitStartTangentDefined_;
  endTangentDefined = fitEndTangentDefined_;
  return true;
}

bool ZcGeNurbCurve3d::getFitData(ZcGePoint3dArray& fitPoints, ZcGeTol& fitTolerance, bool& tangentsExist,
                                 ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const {
  if (!hasFitData()) return false;
  fitPoints = fitPoints_;
  fitTolerance = fitTol_;
  tangentsExist = fitStartTangentDefined_ || fitEndTangentDefined_;
  startTangent = fitStartTangent_;
  endTangent = fitEndTangent_;
  return true;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::setFitData(const ZcGePoint3dArray& fitPoints,
                                             const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent,
                                             const ZcGeTol& fitTolerance) {
  buildInterpolation(fitPoints, startTangent, endTangent, !startTangent.isZeroLength(),
                     !endTangent.isZeroLength());
  if (!fitPoints_.isEmpty()) fitTol_ = fitTolerance;
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::setFitPointAt(int index, const ZcGePoint3d& point) {
  if (index < 0 || index >= fitPoints_.length()) return *this;
  ZcGePoint3dArray points = fitPoints_;
  points[index] = point;
  const ZcGeTol tol = fitTol_;
  if (fitClosed_) {
    buildClosedInterpolation(points);
  } else {
    buildInterpolation(points, fitStartTangent_, fitEndTangent_, fitStartTangentDefined_,
                       fitEndTangentDefined_);
  }
  if (!fitPoints_.isEmpty()) fitTol_ = tol;
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::purgeFitData() {
  clearFitData();
  return *this;
}
