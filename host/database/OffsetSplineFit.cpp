#include "OffsetSplineFit.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "zcad/ge/ZcGeInterval.h"
#include "zcad/ge/ZcGeKnotVector.h"

namespace vtcad::db {

namespace {

// Beyond this many pieces the tolerance is taken as out of reach (a cusp being approached,
// or a tolerance far below the curve's rounding).
constexpr int kMaxPieces = 100000;
// Pieces are halved at most this often below their initial size.
constexpr int kMaxDepth = 40;
// 1 + d k at or below this counts as passing the centre of curvature: closer to it the
// offset's speed vanishes and no tangent is defined.
constexpr double kMinSpeedFactor = 1e-9;
// Tangent directions on both sides of a knot that differ by more than this (radians) make a
// corner.
constexpr double kCornerAngle = 1e-7;

struct Sample {
  double t = 0.0;
  ZcGePoint3d point;     // O(t)
  ZcGeVector3d tangent;  // O'(t)
};

struct Evaluation {
  OffsetFitOutcome outcome = OffsetFitOutcome::kFitted;
  Sample sample;
  ZcGeVector3d direction;  // unit tangent of the source
};

class OffsetEvaluator {
 public:
  OffsetEvaluator(const ZcGeCurve3d& curve, const ZcGeVector3d& normal, double distance, double scale)
      : curve_(curve), normal_(normal), distance_(distance), scale_(scale) {}

  Evaluation at(double t) const {
    Evaluation result;
    ZcGeVector3dArray derivs;
    const ZcGePoint3d c = curve_.evalPoint(t, 2, derivs);
    const ZcGeVector3d d1 = derivs[0], d2 = derivs[1];
    const double speed = d1.length();
    if (!std::isfinite(speed) || !std::isfinite(d2.length()) || !(speed > 1e-14 * scale_)) {
      result.outcome = OffsetFitOutcome::kDegenerateSource;
      return result;
    }
    const ZcGeVector3d unit = d1 / speed;
    const double curvature = d1.crossProduct(d2).dotProduct(normal_) / (speed * speed * speed);
    const double factor = 1.0 + distance_ * curvature;
    if (!(factor > kMinSpeedFactor)) {
      result.outcome = OffsetFitOutcome::kPassesCentreOfCurvature;
      return result;
    }
    result.direction = unit;
    result.sample.t = t;
    result.sample.point = c + unit.crossProduct(normal_) * distance_;
    result.sample.tangent = d1 * factor;
    return result;
  }

 private:
  const ZcGeCurve3d& curve_;
  ZcGeVector3d normal_;
  double distance_;
  double scale_;
};

// The cubic Hermite piece between a and b at fraction u.
ZcGePoint3d hermite(const Sample& a, const Sample& b, double u) {
  const double h = b.t - a.t;
  const double u2 = u * u, u3 = u2 * u;
  const double h00 = 2 * u3 - 3 * u2 + 1, h10 = u3 - 2 * u2 + u, h01 = -2 * u3 + 3 * u2, h11 = u3 - u2;
  return ZcGePoint3d::kOrigin + a.point.asVector() * h00 + a.tangent * (h10 * h) + b.point.asVector() * h01 +
         b.tangent * (h11 * h);
}

class Fitter {
 public:
  Fitter(const OffsetEvaluator& evaluator, double tolerance) : evaluator_(evaluator), tolerance_(tolerance) {}

  // Appends the nodes after `a` up to and including `b`.
  OffsetFitOutcome refine(const Sample& a, const Sample& b, int depth) {
    double worst = 0.0;
    for (double u : {0.25, 0.5, 0.75}) {
      const Evaluation exact = evaluator_.at(a.t + (b.t - a.t) * u);
      if (exact.outcome != OffsetFitOutcome::kFitted) return exact.outcome;
      worst = std::max(worst, hermite(a, b, u).distanceTo(exact.sample.point));
    }
    if (worst <= tolerance_) {
      nodes_.push_back(b);
      return nodes_.size() > kMaxPieces ? OffsetFitOutcome::kTooManyPieces : OffsetFitOutcome::kFitted;
    }
    if (depth >= kMaxDepth) return OffsetFitOutcome::kTooManyPieces;
    const Evaluation middle = evaluator_.at(0.5 * (a.t + b.t));
    if (middle.outcome != OffsetFitOutcome::kFitted) return middle.outcome;
    if (const OffsetFitOutcome left = refine(a, middle.sample, depth + 1); left != OffsetFitOutcome::kFitted)
      return left;
    return refine(middle.sample, b, depth + 1);
  }

  std::vector<Sample>& nodes() { return nodes_; }

 private:
  const OffsetEvaluator& evaluator_;
  double tolerance_;
  std::vector<Sample> nodes_;
};

// Parameters that split the interval into pieces the fit starts from: the distinct knots of a
// NURBS (the places where its smoothness may drop), each span cut in four; 16 pieces for
// any other curve.
std::vector<double> startingNodes(const ZcGeCurve3d& curve, double t0, double t1) {
  std::vector<double> breaks{t0};
  if (curve.isKindOf(ZcGe::kNurbCurve3d)) {
    const auto& nurbs = static_cast<const ZcGeNurbCurve3d&>(curve);
    for (int i = 0; i < nurbs.numKnots(); ++i) {
      const double k = nurbs.knotAt(i);
      if (k > breaks.back() + 1e-12 * (t1 - t0) && k < t1 - 1e-12 * (t1 - t0)) breaks.push_back(k);
    }
  }
  breaks.push_back(t1);
  const int cuts = breaks.size() > 2 ? 4 : 16;
  std::vector<double> nodes{t0};
  for (size_t i = 1; i < breaks.size(); ++i) {
    for (int k = 1; k <= cuts; ++k) nodes.push_back(breaks[i - 1] + (breaks[i] - breaks[i - 1]) * k / cuts);
  }
  nodes.back() = t1;
  return nodes;
}

double curveScale(const ZcGeCurve3d& curve) {
  ZcGePoint3d min, max;
  if (!curve.getExtents(min, max)) return 1.0;
  return std::max(min.distanceTo(max), 1e-300);
}

}  // namespace

OffsetFit fitOffsetCurve(const ZcGeCurve3d& curve, const ZcGeVector3d& normal, double distance,
                         double tolerance, bool closed) {
  assert(std::isfinite(distance) && distance != 0.0 && tolerance > 0.0);
  OffsetFit fit;
  ZcGeInterval range;
  curve.getInterval(range);
  const double t0 = range.lowerBound(), t1 = range.upperBound();
  if (!(t1 > t0)) {
    fit.outcome = OffsetFitOutcome::kDegenerateSource;
    return fit;
  }
  const OffsetEvaluator evaluator(curve, normal, distance, curveScale(curve));
  // Nodes at knots are evaluated a hair inside each piece, so that each side sees its own
  // tangent; the point itself is the same on both sides.
  const double nudge = 1e-11 * (t1 - t0);
  const std::vector<double> nodes = startingNodes(curve, t0, t1);
  Fitter fitter(evaluator, tolerance);
  for (size_t i = 1; i < nodes.size(); ++i) {
    Evaluation a = evaluator.at(nodes[i - 1] + (i > 1 ? nudge : 0.0));
    Evaluation b = evaluator.at(nodes[i] - (i + 1 < nodes.size() ? nudge : 0.0));
    if (a.outcome != OffsetFitOutcome::kFitted) fit.outcome = a.outcome;
    if (b.outcome != OffsetFitOutcome::kFitted) fit.outcome = b.outcome;
    if (fit.outcome != OffsetFitOutcome::kFitted) return fit;
    a.sample.t = nodes[i - 1];
    b.sample.t = nodes[i];
    if (i > 1) {
      const Sample& previous = fitter.nodes().back();
      if (previous.tangent.normal().angleTo(a.sample.tangent.normal()) > kCornerAngle) {
        fit.outcome = OffsetFitOutcome::kSourceHasCorner;
        return fit;
      }
      a.sample = previous;
    } else {
      fitter.nodes().push_back(a.sample);
    }
    if (i + 1 == nodes.size() && closed) b.sample.point = fitter.nodes().front().point;
    if (const OffsetFitOutcome outcome = fitter.refine(a.sample, b.sample, 0);
        outcome != OffsetFitOutcome::kFitted) {
      fit.outcome = outcome;
      return fit;
    }
  }

  // C1 cubic B-spline of the Hermite pieces: every interior node a double knot, its two
  // control points a third of the neighbouring pieces along its tangent.
  const std::vector<Sample>& samples = fitter.nodes();
  ZcGeDoubleArray knots;
  ZcGePoint3dArray controlPoints;
  for (int k = 0; k < 4; ++k) knots.append(samples.front().t);
  controlPoints.append(samples.front().point);
  for (size_t i = 0; i + 1 < samples.size(); ++i) {
    const Sample& a = samples[i];
    const Sample& b = samples[i + 1];
    const double third = (b.t - a.t) / 3.0;
    controlPoints.append(a.point + a.tangent * third);
    controlPoints.append(b.point - b.tangent * third);
    if (i + 2 < samples.size()) {
      knots.append(b.t);
      knots.append(b.t);
    }
  }
  controlPoints.append(samples.back().point);
  for (int k = 0; k < 4; ++k) knots.append(samples.back().t);
  fit.curve = ZcGeNurbCurve3d(3, ZcGeKnotVector(knots), controlPoints);
  if (!fit.curve.isValid()) fit.outcome = OffsetFitOutcome::kDegenerateSource;
  return fit;
}

Zcad::ErrorStatus offsetFitStatus(OffsetFitOutcome outcome) {
  switch (outcome) {
    case OffsetFitOutcome::kFitted:
      return Zcad::eOk;
    case OffsetFitOutcome::kPassesCentreOfCurvature:
    case OffsetFitOutcome::kTooManyPieces:
      return Zcad::eGeneralModelingFailure;
    case OffsetFitOutcome::kSourceHasCorner:
      return Zcad::eNotApplicable;
    case OffsetFitOutcome::kDegenerateSource:
      return Zcad::eDegenerateGeometry;
  }
  return Zcad::eGeneralModelingFailure;
}

}  // namespace vtcad::db
