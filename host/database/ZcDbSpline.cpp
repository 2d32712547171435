#include "zcad/db/ZcDbSpline.h"

#include <algorithm>
#include <cmath>

#include "database/CurveArea.h"
#include "database/CurveQueryRules.h"
#include "geometry/ZcGeGaussLegendre.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGePlane.h"

using namespace vtcad::db;

namespace {

ZcRxObject* newZcDbSpline() { return new ZcDbSpline(); }

constexpr int kMaxDegree = 25;
// Fit-point splines are cubic.
constexpr int kFitDegree = 3;

void boxOf(const ZcGePoint3dArray& points, ZcGePoint3d& min, ZcGePoint3d& max) {
  min = max = points.isEmpty() ? ZcGePoint3d() : points.first();
  for (const ZcGePoint3d& p : points) {
    for (int i = 0; i < 3; ++i) {
      min[i] = std::min(min[i], p[i]);
      max[i] = std::max(max[i], p[i]);
    }
  }
}

double pointTolerance(const ZcGePoint3dArray& points) {
  ZcGePoint3d min, max;
  boxOf(points, min, max);
  return onCurveTolerance(min, max);
}

// The knots and control points of a NURBS that setNurbsData accepts; false otherwise.
bool buildNurbs(int degree, bool rational, bool periodic, const ZcGePoint3dArray& controlPoints,
                const ZcGeDoubleArray& knots, const ZcGeDoubleArray& weights, double knotTol,
                ZcGeNurbCurve3d& curve) {
  if (degree < 1 || degree > kMaxDegree || !allFinite(controlPoints)) return false;
  const int n = controlPoints.length(), k = knots.length();
  if (n < degree + 1) return false;
  const bool unwrapped = k == n + degree + 1;
  const bool compactPeriodic = periodic && k == n + 1;
  if (!unwrapped && !compactPeriodic) return false;
  for (int i = 0; i < k; ++i) {
    if (!std::isfinite(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return false;
  }
  const double first = unwrapped ? knots[degree] : knots[0];
  const double last = knots[n];
  if (!(last > first)) return false;
  // A knot repeated more than degree + 1 times (degree times inside the range) would leave
  // a control point without influence or break the curve apart.
  for (int i = 0; i < k;) {
    int run = 1;
    while (i + run < k && knots[i + run] == knots[i]) ++run;
    const bool inner = knots[i] > first && knots[i] < last;
    if (run > (inner ? degree : degree + 1)) return false;
    i += run;
  }
  if (rational) {
    if (weights.length() != n) return false;
    for (const double w : weights)
      if (!std::isfinite(w) || !(w > 0.0)) return false;
  }
  const ZcGeKnotVector knotVector(knots, knotTol > 0.0 ? knotTol : 1e-9);
  curve = rational ? ZcGeNurbCurve3d(degree, knotVector, controlPoints, weights, periodic)
                   : ZcGeNurbCurve3d(degree, knotVector, controlPoints, periodic);
  return curve.isValid() && curve.numControlPoints() > 0;
}

// Normal turned toward +Z (then +Y, then +X), so planar splines in the XY plane get +Z.
ZcGeVector3d orientNormal(ZcGeVector3d normal) {
  constexpr double kEps = 1e-12;
  const bool flip =
      normal.z < -kEps ||
      (std::fabs(normal.z) <= kEps && (normal.y < -kEps || (std::fabs(normal.y) <= kEps && normal.x < 0.0)));
  return flip ? -normal : normal;
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbSpline, ZcDbCurve, L"AcDbSpline", L"SPLINE", newZcDbSpline)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbSpline::desc(), true);
}  // namespace

ZcDbSpline::ZcDbSpline() = default;

ZcDbSpline::ZcDbSpline(const ZcGePoint3dArray& fitPoints, int order, double fitTolerance)
    : ZcDbSpline(fitPoints, ZcGeVector3d(), ZcGeVector3d(), order, fitTolerance) {}

ZcDbSpline::ZcDbSpline(const ZcGePoint3dArray& fitPoints, const ZcGeVector3d& startTangent,
                       const ZcGeVector3d& endTangent, int /*order: fit splines are cubic*/,
                       double fitTolerance) {
  if (fitPoints.isEmpty() || !allFinite(fitPoints)) return;
  FitData fit;
  fit.points = fitPoints;
  if (zcgeIsFinite(startTangent)) fit.startTangent = startTangent;
  if (zcgeIsFinite(endTangent)) fit.endTangent = endTangent;
  if (std::isfinite(fitTolerance) && fitTolerance >= 0.0) fit.tolerance = fitTolerance;
  ZcGeNurbCurve3d curve;
  if (interpolate(fit, curve)) setFit(fit, curve);
}

ZcDbSpline::ZcDbSpline(int degree, bool rational, bool /*closed*/, bool periodic,
                       const ZcGePoint3dArray& controlPoints, const ZcGeDoubleArray& knots,
                       const ZcGeDoubleArray& weights, double controlPtTol, double knotTol) {
  ZcGeNurbCurve3d curve;
  if (!buildNurbs(degree, rational, periodic, controlPoints, knots, weights, knotTol, curve)) return;
  curve_ = curve;
  if (std::isfinite(controlPtTol) && controlPtTol >= 0.0) controlPtTol_ = controlPtTol;
  if (std::isfinite(knotTol) && knotTol >= 0.0) knotTol_ = knotTol;
}

ZcDbSpline::~ZcDbSpline() = default;

// --- Fit data ---------------------------------------------------------------------------

bool ZcDbSpline::interpolate(const FitData& fit, ZcGeNurbCurve3d& curve) {
  // Consecutive coincident points would give zero chord lengths: interpolate them once.
  const double tol = pointTolerance(fit.points);
  ZcGePoint3dArray points;
  for (const ZcGePoint3d& p : fit.points) {
    if (points.isEmpty() || points.last().distanceTo(p) > tol) points.append(p);
  }
  if (points.isEmpty()) return false;
  const bool startGiven = !fit.startTangent.isZeroLength(), endGiven = !fit.endTangent.isZeroLength();
  const ZcGeTol fitTol = fit.tolerance > 0.0 ? ZcGeTol(fit.tolerance, fit.tolerance) : ZcGeContext::gTol;
  // First point = last point without tangents: the closed periodic interpolation, which
  // wants the closing point exactly equal.
  const bool closing =
      !startGiven && !endGiven && points.length() >= 4 && points.first().distanceTo(points.last()) <= tol;
  if (closing) {
    points.last() = points.first();
    curve = ZcGeNurbCurve3d::interpolateClosed(points, fitTol);
  } else {
    curve = ZcGeNurbCurve3d(points, fit.startTangent, fit.endTangent, startGiven, endGiven, fitTol);
  }
  curve.purgeFitData();
  return curve.isValid() && curve.numControlPoints() > 0;
}

void ZcDbSpline::setFit(const FitData& fit, const ZcGeNurbCurve3d& curve) {
  fit_ = fit;
  curve_ = curve;
  curveChanged();
}

Zcad::ErrorStatus ZcDbSpline::changeFit(const FitData& fit) {
  ZcGeNurbCurve3d curve;
  if (!interpolate(fit, curve)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  setFit(fit, curve);
  return Zcad::eOk;
}

void ZcDbSpline::replaceCurve(const ZcGeNurbCurve3d& curve) {
  curve_ = curve;
  curve_.purgeFitData();
  fit_ = FitData();
  curveChanged();
}

ZcDb::SplineType ZcDbSpline::type() const {
  assertReadEnabled();
  return fit_.points.isEmpty() ? ZcDb::kControlPoints : ZcDb::kFitPoints;
}

bool ZcDbSpline::isNull() const {
  assertReadEnabled();
  return !hasCurve();
}

int ZcDbSpline::degree() const {
  assertReadEnabled();
  return curve_.degree();
}

bool ZcDbSpline::isRational() const {
  assertReadEnabled();
  return curve_.isRational();
}

Zcad::ErrorStatus ZcDbSpline::elevateDegree(int newDegree) {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (newDegree < curve_.degree() || newDegree > kMaxDegree) return Zcad::eInvalidInput;
  if (newDegree == curve_.degree()) return Zcad::eOk;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeNurbCurve3d curve(curve_);
  curve.elevateDegree(newDegree - curve_.degree());
  replaceCurve(curve);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::insertKnot(double param) {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!std::isfinite(param) || param <= curve_.startParam() || param >= curve_.endParam())
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeNurbCurve3d curve(curve_);
  curve.insertKnot(param);
  replaceCurve(curve);
  return Zcad::eOk;
}

bool ZcDbSpline::hasFitData() const {
  assertReadEnabled();
  return !fit_.points.isEmpty();
}

int ZcDbSpline::numFitPoints() const {
  assertReadEnabled();
  return fit_.points.length();
}

Zcad::ErrorStatus ZcDbSpline::getFitPointAt(int index, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (index < 0 || index >= fit_.points.length()) return Zcad::eInvalidIndex;
  point = fit_.points[index];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setFitPointAt(int index, const ZcGePoint3d& point) {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (index < 0 || index >= fit_.points.length()) return Zcad::eInvalidIndex;
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  FitData fit = fit_;
  fit.points[index] = point;
  return changeFit(fit);
}

Zcad::ErrorStatus ZcDbSpline::insertFitPointAt(int index, const ZcGePoint3d& point) {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (index < 0 || index > fit_.points.length()) return Zcad::eInvalidIndex;
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  FitData fit = fit_;
  fit.points.insertAt(index, point);
  return changeFit(fit);
}

Zcad::ErrorStatus ZcDbSpline::addFitPointAt(int index, const ZcGePoint3d& point) {
  return insertFitPointAt(index, point);
}

Zcad::ErrorStatus ZcDbSpline::removeFitPointAt(int index) {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (index < 0 || index >= fit_.points.length()) return Zcad::eInvalidIndex;
  if (fit_.points.length() <= 2) return Zcad::eInvalidInput;
  FitData fit = fit_;
  fit.points.removeAt(index);
  return changeFit(fit);
}

Zcad::ErrorStatus ZcDbSpline::getFitData(ZcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                                         bool& tangentsExist, ZcGeVector3d& startTangent,
                                         ZcGeVector3d& endTangent) const {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  fitPoints = fit_.points;
  degree = kFitDegree;
  fitTolerance = fit_.tolerance;
  startTangent = fit_.startTangent;
  endTangent = fit_.endTangent;
  tangentsExist = !startTangent.isZeroLength() || !endTangent.isZeroLength();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setFitData(const ZcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                         const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent) {
  if (degree != kFitDegree || fitPoints.length() < 2 || !allFinite(fitPoints) ||
      !std::isfinite(fitTolerance) || fitTolerance < 0.0 || !zcgeIsFinite(startTangent) ||
      !zcgeIsFinite(endTangent))
    return Zcad::eInvalidInput;
  FitData fit;
  fit.points = fitPoints;
  fit.tolerance = fitTolerance;
  fit.startTangent = startTangent;
  fit.endTangent = endTangent;
  return changeFit(fit);
}

Zcad::ErrorStatus ZcDbSpline::getFitTangents(ZcGeVector3d& startTangent, ZcGeVector3d& endTangent) const {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  startTangent = fit_.startTangent;
  endTangent = fit_.endTangent;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setFitTangents(const ZcGeVector3d& startTangent,
                                             const ZcGeVector3d& endTangent) {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (!zcgeIsFinite(startTangent) || !zcgeIsFinite(endTangent)) return Zcad::eInvalidInput;
  FitData fit = fit_;
  fit.startTangent = startTangent;
  fit.endTangent = endTangent;
  return changeFit(fit);
}

double ZcDbSpline::fitTolerance() const {
  assertReadEnabled();
  return fit_.tolerance;
}

Zcad::ErrorStatus ZcDbSpline::setFitTol(double tolerance) {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eNotApplicable;
  if (!std::isfinite(tolerance) || tolerance < 0.0) return Zcad::eInvalidInput;
  // The tolerance is stored, not used to approximate: the curve stays.
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  fit_.tolerance = tolerance;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::purgeFitData() {
  assertReadEnabled();
  if (fit_.points.isEmpty()) return Zcad::eOk;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  fit_ = FitData();
  return Zcad::eOk;
}

// --- Control data -------------------------------------------------------------------------

int ZcDbSpline::numControlPoints() const {
  assertReadEnabled();
  return curve_.numControlPoints();
}

Zcad::ErrorStatus ZcDbSpline::getControlPointAt(int index, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (index < 0 || index >= curve_.numControlPoints()) return Zcad::eInvalidIndex;
  point = curve_.controlPointAt(index);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setControlPointAt(int index, const ZcGePoint3d& point) {
  assertReadEnabled();
  if (index < 0 || index >= curve_.numControlPoints()) return Zcad::eInvalidIndex;
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeNurbCurve3d curve(curve_);
  curve.setControlPointAt(index, point);
  replaceCurve(curve);
  return Zcad::eOk;
}

double ZcDbSpline::weightAt(int index) const {
  assertReadEnabled();
  if (index < 0 || index >= curve_.numControlPoints()) return -1.0;
  return curve_.weightAt(index);
}

Zcad::ErrorStatus ZcDbSpline::setWeightAt(int index, double weight) {
  assertReadEnabled();
  if (index < 0 || index >= curve_.numControlPoints()) return Zcad::eInvalidIndex;
  if (!std::isfinite(weight) || !(weight > 0.0)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  ZcGeNurbCurve3d curve(curve_);
  curve.setWeightAt(index, weight);
  replaceCurve(curve);
  return Zcad::eOk;
}

int ZcDbSpline::numKnots() const {
  assertReadEnabled();
  return curve_.numKnots();
}

Zcad::ErrorStatus ZcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                           ZcGePoint3dArray& controlPoints, ZcGeDoubleArray& knots,
                                           ZcGeDoubleArray& weights, double& controlPtTol,
                                           double& knotTol) const {
  assertReadEnabled();
  degree = curve_.degree();
  rational = curve_.isRational();
  closed = hasCurve() && isClosed();
  periodic = curve_.isPeriodic();
  curve_.getControlPoints(controlPoints);
  knots = curve_.knots().asArray();
  curve_.getWeights(weights);
  controlPtTol = controlPtTol_;
  knotTol = knotTol_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setNurbsData(int degree, bool rational, bool /*closed*/, bool periodic,
                                           const ZcGePoint3dArray& controlPoints,
                                           const ZcGeDoubleArray& knots, const ZcGeDoubleArray& weights,
                                           double controlPtTol, double knotTol) {
  ZcGeNurbCurve3d curve;
  if (!buildNurbs(degree, rational, periodic, controlPoints, knots, weights, knotTol, curve) ||
      !std::isfinite(controlPtTol) || controlPtTol < 0.0 || !std::isfinite(knotTol) || knotTol < 0.0)
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  replaceCurve(curve);
  controlPtTol_ = controlPtTol;
  knotTol_ = knotTol;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setFromZcGeCurve(const ZcGeCurve3d& geCurve, ZcGeVector3d* /*normal*/,
                                               const ZcGeTol& /*tol*/) {
  ZcGeNurbCurve3d curve;
  switch (geCurve.type()) {
    case ZcGe::kNurbCurve3d:
      curve = static_cast<const ZcGeNurbCurve3d&>(geCurve);
      break;
    case ZcGe::kLineSeg3d:
      curve = ZcGeNurbCurve3d(static_cast<const ZcGeLineSeg3d&>(geCurve));
      break;
    case ZcGe::kCircArc3d:
      curve = ZcGeNurbCurve3d(static_cast<const ZcGeCircArc3d&>(geCurve));
      break;
    case ZcGe::kEllipArc3d:
      curve = ZcGeNurbCurve3d(static_cast<const ZcGeEllipArc3d&>(geCurve));
      break;
    default:
      return Zcad::eNotApplicable;
  }
  if (!geCurve.isValid() || !curve.isValid() || curve.numControlPoints() == 0) return Zcad::eInvalidInput;
  FitData fit;
  if (curve.hasFitData()) {
    ZcGeTol fitTol;
    bool tangentsExist = false, startDefined = false, endDefined = false;
    ZcGeVector3d startTangent, endTangent;
    curve.getFitData(fit.points, fitTol, tangentsExist, startTangent, endTangent);
    curve.getFitTangents(startTangent, endTangent, startDefined, endDefined);
    fit.tolerance = fitTol.equalPoint();
    // An estimated tangent is "not given" in the fit data: zero.
    if (startDefined) fit.startTangent = startTangent;
    if (endDefined) fit.endTangent = endTangent;
  }
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  replaceCurve(curve);
  fit_ = fit;
  return Zcad::eOk;
}

// --- Curve queries --------------------------------------------------------------------------

namespace {
ParamRange rangeOf(const ZcGeNurbCurve3d& curve) {
  return {curve.startParam(), curve.endParam(), curve.isPeriodic()};
}
}  // namespace

void ZcDbSpline::ensureSpanLengths() const {
  if (spanLengthsValid_) return;
  const double start = curve_.startParam(), end = curve_.endParam();
  ZcGeDoubleArray knots;
  curve_.knots().getDistinctKnots(knots);
  spanParams_.assign(1, start);
  for (const double knot : knots)
    if (knot > start && knot < end) spanParams_.push_back(knot);
  spanParams_.push_back(end);
  spanLengths_.assign(1, 0.0);
  for (size_t i = 0; i + 1 < spanParams_.size(); ++i)
    spanLengths_.push_back(spanLengths_.back() + lengthInSpan(spanParams_[i], spanParams_[i + 1]));
  spanLengthsValid_ = true;
}

double ZcDbSpline::lengthInSpan(double from, double to) const {
  // Integrated here rather than by ZcGeNurbCurve3d::length, which visits every knot span
  // of the curve: inside one span the speed is smooth and each evaluation finds its span by
  // binary search, so a query costs O(log n).
  ZcGeVector3dArray derivs;
  const auto speed = [&](double t) {
    curve_.evalPoint(t, 1, derivs);
    return derivs[0].length();
  };
  return zcge::integrateAdaptive(speed, from, to, 1e-11, /*absTol=*/0.0);
}

double ZcDbSpline::lengthTo(double param) const {
  ensureSpanLengths();
  const auto it = std::upper_bound(spanParams_.begin(), spanParams_.end(), param);
  const size_t span =
      std::min<size_t>(std::max<ptrdiff_t>(it - spanParams_.begin() - 1, 0), spanParams_.size() - 2);
  return spanLengths_[span] + lengthInSpan(spanParams_[span], std::max(param, spanParams_[span]));
}

double ZcDbSpline::paramAtLength(double length) const {
  ensureSpanLengths();
  const auto it = std::upper_bound(spanLengths_.begin(), spanLengths_.end(), length);
  const size_t span =
      std::min<size_t>(std::max<ptrdiff_t>(it - spanLengths_.begin() - 1, 0), spanLengths_.size() - 2);
  const double a = spanParams_[span], b = spanParams_[span + 1];
  const double spanLength = spanLengths_[span + 1] - spanLengths_[span];
  const double target = length - spanLengths_[span];
  // A span of zero length (coincident control points) is a single point.
  if (!(spanLength > 0.0)) return a;
  if (target >= spanLength) return b;
  // Safeguarded Newton on length(a, t) = target: the speed is the derivative; a step leaving
  // the bracket, or a zero speed, bisects instead.
  const double tol = 1e-12 * std::max(spanLengths_.back(), 1e-300);
  double lo = a, hi = b, t = a + (b - a) * (target / spanLength);
  for (int iteration = 0; iteration < 60; ++iteration) {
    const double f = lengthInSpan(a, t) - target;
    if (std::fabs(f) <= tol) break;
    (f > 0.0 ? hi : lo) = t;
    ZcGeVector3dArray derivs;
    curve_.evalPoint(t, 1, derivs);
    const double speed = derivs[0].length();
    double next = speed > 0.0 ? t - f / speed : lo;
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (next == t || !(hi > lo)) break;
    t = next;
  }
  return t;
}

bool ZcDbSpline::isClosed() const {
  assertReadEnabled();
  if (!hasCurve()) return false;
  if (curve_.isPeriodic()) return true;
  ZcGePoint3dArray controlPoints;
  curve_.getControlPoints(controlPoints);
  return curve_.evalPoint(curve_.startParam()).distanceTo(curve_.evalPoint(curve_.endParam())) <=
         pointTolerance(controlPoints);
}

bool ZcDbSpline::isPeriodic() const {
  assertReadEnabled();
  return curve_.isPeriodic();
}

Zcad::ErrorStatus ZcDbSpline::getStartParam(double& param) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  param = curve_.startParam();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getEndParam(double& param) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  param = curve_.endParam();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getStartPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  point = curve_.evalPoint(curve_.startParam());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getEndPoint(ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  point = curve_.evalPoint(curve_.endParam());
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getPointAtParam(double param, ZcGePoint3d& point) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!fitParamIntoRange(rangeOf(curve_), param)) return Zcad::eInvalidInput;
  point = curve_.evalPoint(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!zcgeIsFinite(point)) return Zcad::eInvalidInput;
  double candidate = curve_.startParam();
  const ZcGePoint3d closest = curve_.closestPointTo(point, candidate);
  ZcGePoint3dArray controlPoints;
  curve_.getControlPoints(controlPoints);
  if (point.distanceTo(closest) > pointTolerance(controlPoints)) return Zcad::eInvalidInput;
  if (!fitParamIntoRange(rangeOf(curve_), candidate)) return Zcad::eInvalidInput;
  param = candidate;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!fitParamIntoRange(rangeOf(curve_), param)) return Zcad::eInvalidInput;
  dist = lengthTo(param);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getParamAtDist(double dist, double& param) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  ensureSpanLengths();
  if (!fitDistIntoLength(spanLengths_.back(), dist)) return Zcad::eInvalidInput;
  param = paramAtLength(dist);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getDistAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbSpline::getPointAtDist(double dist, ZcGePoint3d& point) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtDist(dist, param);
  if (es != Zcad::eOk) return es;
  return getPointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbSpline::getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!fitParamIntoRange(rangeOf(curve_), param)) return Zcad::eInvalidInput;
  ZcGeVector3dArray derivs;
  curve_.evalPoint(param, 1, derivs);
  firstDeriv = derivs[0];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const {
  double param = 0.0;
  const Zcad::ErrorStatus es = getParamAtPoint(point, param);
  if (es != Zcad::eOk) return es;
  return getFirstDeriv(param, firstDeriv);
}

Zcad::ErrorStatus ZcDbSpline::getSecondDeriv(double param, ZcGeVector3d& secDeriv) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!fitParamIntoRange(rangeOf(curve_), param)) return Zcad::eInvalidInput;
  ZcGeVector3dArray derivs;
  curve_.evalPoint(param, 2, derivs);
  secDeriv = derivs[1];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                                bool /*extend: splines are not extended*/) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!zcgeIsFinite(givenPoint)) return Zcad::eInvalidInput;
  pointOnCurve = curve_.closestPointTo(givenPoint);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                                ZcGePoint3d& pointOnCurve, bool /*extend*/) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  if (!zcgeIsFinite(givenPoint) || !zcgeIsFinite(direction) || direction.isZeroLength())
    return Zcad::eInvalidInput;
  pointOnCurve = closestPointAlongDirection(curve_, givenPoint, direction);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getArea(double& area) const {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  ensureSpanLengths();
  ZcGeDoubleArray breaks;
  for (const double param : spanParams_) breaks.append(param);
  area = chordClosedVectorArea(curve_, breaks).length();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::reverseCurve() {
  assertReadEnabled();
  if (!hasCurve()) return Zcad::eOk;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  curve_.reverseParam();
  curve_.purgeFitData();
  fit_.points.reverse();
  const ZcGeVector3d start = fit_.startTangent;
  fit_.startTangent = -fit_.endTangent;
  fit_.endTangent = -start;
  curveChanged();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getSpline(ZcDbSpline*& spline) const {
  assertReadEnabled();
  spline = nullptr;
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  auto* copy = new ZcDbSpline();
  copy->curve_ = curve_;
  copy->fit_ = fit_;
  copy->controlPtTol_ = controlPtTol_;
  copy->knotTol_ = knotTol_;
  // Properties as far as the working database allows (see makeSplineForm).
  (void)copy->setPropertiesFrom(this);
  spline = copy;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& /*tol*/) const {
  assertReadEnabled();
  curve = nullptr;
  if (!hasCurve()) return Zcad::eDegenerateGeometry;
  curve = new ZcGeNurbCurve3d(curve_);
  return Zcad::eOk;
}

// --- Entity -------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbSpline::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  extents = ZcDbExtents();
  ZcGePoint3d min, max;
  if (!hasCurve() || !curve_.getExtents(min, max)) return Zcad::eInvalidExtents;
  extents.addPoint(min);
  extents.addPoint(max);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::transformBy(const ZcGeMatrix3d& xform) {
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  curve_.transformBy(xform);
  curve_.purgeFitData();
  for (ZcGePoint3d& p : fit_.points) p = xform * p;
  fit_.startTangent = xform * fit_.startTangent;
  fit_.endTangent = xform * fit_.endTangent;
  curveChanged();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  isPlanar = false;
  if (!hasCurve()) return Zcad::eNotApplicable;
  ZcGePoint3dArray controlPoints;
  curve_.getControlPoints(controlPoints);
  const double tol = pointTolerance(controlPoints);
  ZcGePlane found;
  if (!curve_.isPlanar(found, ZcGeTol(tol, ZcGeContext::gTol.equalVector()))) return Zcad::eNotApplicable;
  plane.set(found.pointOnPlane(), orientNormal(found.normal()));
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbCurve::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  int degree = 0;
  bool rational = false, periodic = false;
  ZcGeKnotVector knots;
  ZcGePoint3dArray controlPoints;
  ZcGeDoubleArray weights;
  curve_.getDefinitionData(degree, rational, periodic, knots, controlPoints, weights);
  filer->writeInt16(static_cast<Zdesk::Int16>(degree));
  filer->writeBool(rational);
  filer->writeBool(periodic);
  filer->writeDouble(controlPtTol_);
  filer->writeDouble(knotTol_);
  filer->writeInt32(knots.length());
  for (int i = 0; i < knots.length(); ++i) filer->writeDouble(knots[i]);
  filer->writeInt32(controlPoints.length());
  for (const ZcGePoint3d& p : controlPoints) filer->writePoint3d(p);
  filer->writeInt32(weights.length());
  for (const double w : weights) filer->writeDouble(w);
  filer->writeInt32(fit_.points.length());
  for (const ZcGePoint3d& p : fit_.points) filer->writePoint3d(p);
  filer->writeVector3d(fit_.startTangent);
  filer->writeVector3d(fit_.endTangent);
  filer->writeDouble(fit_.tolerance);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbSpline::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbCurve::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  // Counts are checked against this bound before anything is allocated: a damaged filer must
  // not make the reader reserve gigabytes.
  constexpr Zdesk::Int32 kMaxCount = 100'000'000;
  const auto readCount = [&](int& count) {
    Zdesk::Int32 value = 0;
    filer->readInt32(&value);
    if (filer->filerStatus() != Zcad::eOk || value < 0 || value > kMaxCount) return false;
    count = value;
    return true;
  };
  Zdesk::Int16 degree = 0;
  bool rational = false, periodic = false;
  double controlPtTol = 0.0, knotTol = 0.0;
  filer->readInt16(&degree);
  filer->readBool(&rational);
  filer->readBool(&periodic);
  filer->readDouble(&controlPtTol);
  filer->readDouble(&knotTol);
  int count = 0;
  if (!readCount(count)) return Zcad::eFilerError;
  ZcGeDoubleArray knots;
  for (int i = 0; i < count; ++i) {
    double knot = 0.0;
    filer->readDouble(&knot);
    knots.append(knot);
  }
  if (!readCount(count)) return Zcad::eFilerError;
  ZcGePoint3dArray controlPoints;
  for (int i = 0; i < count; ++i) {
    ZcGePoint3d p;
    filer->readPoint3d(&p);
    controlPoints.append(p);
  }
  if (!readCount(count)) return Zcad::eFilerError;
  ZcGeDoubleArray weights;
  for (int i = 0; i < count; ++i) {
    double w = 0.0;
    filer->readDouble(&w);
    weights.append(w);
  }
  if (!readCount(count)) return Zcad::eFilerError;
  FitData fit;
  for (int i = 0; i < count; ++i) {
    ZcGePoint3d p;
    filer->readPoint3d(&p);
    fit.points.append(p);
  }
  filer->readVector3d(&fit.startTangent);
  filer->readVector3d(&fit.endTangent);
  filer->readDouble(&fit.tolerance);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  ZcGeNurbCurve3d curve;
  if (!controlPoints.isEmpty() &&
      !buildNurbs(degree, rational, periodic, controlPoints, knots, weights, knotTol, curve))
    return Zcad::eFilerError;
  if (!allFinite(fit.points) || !zcgeIsFinite(fit.startTangent) || !zcgeIsFinite(fit.endTangent))
    return Zcad::eFilerError;
  // The stored curve is taken as it was, not re-interpolated from the fit data.
  curve_ = curve;
  fit_ = fit;
  controlPtTol_ = controlPtTol;
  knotTol_ = knotTol;
  curveChanged();
  return Zcad::eOk;
}
