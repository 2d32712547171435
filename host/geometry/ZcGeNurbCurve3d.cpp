// ZcGeNurbCurve3d: definition data, evaluation, length and the curve queries. Interpolation
// lives in ZcGeNurbCurve3dFit.cpp, the exact forms of lines, arcs and polylines in
// ZcGeNurbCurve3dForms.cpp.
#include "zcad/ge/ZcGeNurbCurve3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "geometry/ZcGeBSplineBasis.h"
#include "geometry/ZcGeGaussLegendre.h"
#include "geometry/ZcGePlaneFit.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

static_assert(ZcGeNurbCurve3d::kMaxDegree == zcge::kMaxBasisDegree);

namespace {

// Relative accuracy of the numeric arc length per knot span (better than the promised 1e-9).
constexpr double kLengthRelTol = 1e-11;
// Highest derivative order evaluated; higher ones are reported as zero.
constexpr int kMaxDerivOrder = 31;

struct Homogeneous {
  ZcGeVector3d wp;  // weighted point
  double w = 0.0;
};

// `value`, or the knot within the knot tolerance of it: a near-duplicate knot would make a
// span of almost zero length.
double snapToKnot(const ZcGeKnotVector& knots, double value) {
  for (int i = 0; i < knots.length(); ++i)
    if (std::fabs(knots[i] - value) <= knots.tolerance()) return knots[i];
  return value;
}

}  // namespace

ZcGeNurbCurve3d::ZcGeNurbCurve3d() = default;

ZcGeNurbCurve3d::ZcGeNurbCurve3d(int degree, const ZcGeKnotVector& knots,
                                 const ZcGePoint3dArray& controlPoints, bool isPeriodic) {
  set(degree, knots, controlPoints, ZcGeDoubleArray(), isPeriodic);
}

ZcGeNurbCurve3d::ZcGeNurbCurve3d(int degree, const ZcGeKnotVector& knots,
                                 const ZcGePoint3dArray& controlPoints, const ZcGeDoubleArray& weights,
                                 bool isPeriodic) {
  set(degree, knots, controlPoints, weights, isPeriodic);
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::set(int degree, const ZcGeKnotVector& knots,
                                      const ZcGePoint3dArray& controlPoints, const ZcGeDoubleArray& weights,
                                      bool isPeriodic) {
  clearFitData();
  degree_ = degree;
  periodic_ = isPeriodic;
  knots_ = knots;
  ctrl_ = controlPoints;
  weights_ = weights;
  const int nc = controlPoints.length();
  if (isPeriodic && degree >= 1 && nc > degree && knots.length() == nc + 1 && knots.isValid() &&
      (weights.isEmpty() || weights.length() == nc)) {
    // The compact periodic form: one period of knots, no repeated control points. Unwrap it:
    // repeat the first `degree` control points and continue the knots periodically.
    const double period = knots[nc] - knots[0];
    ZcGeKnotVector unwrapped(knots.tolerance());
    for (int j = 0; j < degree; ++j) unwrapped.append(knots[nc - degree + j] - period);
    for (int j = 0; j <= nc; ++j) unwrapped.append(knots[j]);
    for (int j = 1; j <= degree; ++j) unwrapped.append(knots[j] + period);
    knots_ = unwrapped;
    for (int j = 0; j < degree; ++j) {
      ctrl_.append(controlPoints[j]);
      if (!weights_.isEmpty()) weights_.append(weights[j]);
    }
  }
  // All-one weights are kept: the caller asked for a rational curve.
  refreshValidity();
  return *this;
}

bool ZcGeNurbCurve3d::computeValidity() const {
  const int nc = ctrl_.length();
  if (degree_ < 1 || degree_ > kMaxDegree || nc < degree_ + 1) return false;
  if (knots_.length() != nc + degree_ + 1 || !knots_.isValid()) return false;
  if (!(knots_[degree_] < knots_[nc])) return false;
  if (!weights_.isEmpty()) {
    if (weights_.length() != nc) return false;
    for (double w : weights_)
      if (!std::isfinite(w) || !(w > 0.0)) return false;
  }
  return std::all_of(ctrl_.begin(), ctrl_.end(), [](const ZcGePoint3d& p) { return zcgeIsFinite(p); });
}

void ZcGeNurbCurve3d::setDegeneratePoint(const ZcGePoint3d& point) {
  // The degenerate case of one point (or all points coincident): a valid degree-1 curve of
  // zero length, so that callers get finite answers everywhere.
  degree_ = 1;
  periodic_ = false;
  const double k[] = {0.0, 0.0, 1.0, 1.0};
  knots_.set(4, k);
  ctrl_.removeAll();
  ctrl_.append(point);
  ctrl_.append(point);
  weights_.removeAll();
  refreshValidity();
}

void ZcGeNurbCurve3d::clearFitData() {
  fitPoints_.removeAll();
  fitTol_ = ZcGeTol();
  fitStartTangent_ = fitEndTangent_ = ZcGeVector3d::kIdentity;
  fitStartTangentDefined_ = fitEndTangentDefined_ = false;
  fitClosed_ = false;
}

bool ZcGeNurbCurve3d::isPeriodic(double& period) const {
  if (!periodic_ || !isValid()) return false;
  double t0, t1;
  getDomain(t0, t1);
  period = t1 - t0;
  return true;
}

ZcGePoint3d ZcGeNurbCurve3d::controlPointAt(int index) const {
  if (index < 0 || index >= ctrl_.length()) return ZcGePoint3d::kOrigin;
  return ctrl_[index];
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::setControlPointAt(int index, const ZcGePoint3d& point) {
  if (index < 0 || index >= ctrl_.length()) return *this;
  clearFitData();
  ctrl_[index] = point;
  if (periodic_ && degree_ >= 1) {
    // Keep the repeated control points of the unwrapped periodic form equal.
    const int unique = ctrl_.length() - degree_;
    if (index < degree_ && index + unique < ctrl_.length()) ctrl_[index + unique] = point;
    if (index >= unique && index - unique >= 0) ctrl_[index - unique] = point;
  }
  refreshValidity();
  return *this;
}

double ZcGeNurbCurve3d::weightAt(int index) const {
  if (index < 0 || index >= ctrl_.length()) return 1.0;
  return weightOrOne(index);
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::setWeightAt(int index, double weight) {
  if (index < 0 || index >= ctrl_.length()) return *this;
  clearFitData();
  if (weights_.isEmpty()) {
    weights_.setLogicalLength(ctrl_.length());
    for (double& w : weights_) w = 1.0;
  }
  weights_[index] = weight;
  if (periodic_ && degree_ >= 1) {
    const int unique = ctrl_.length() - degree_;
    if (index < degree_ && index + unique < ctrl_.length()) weights_[index + unique] = weight;
    if (index >= unique && index - unique >= 0) weights_[index - unique] = weight;
  }
  refreshValidity();
  return *this;
}

double ZcGeNurbCurve3d::knotAt(int index) const {
  if (index < 0 || index >= knots_.length()) return 0.0;
  return knots_[index];
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::setKnotAt(int index, double value) {
  if (index < 0 || index >= knots_.length()) return *this;
  clearFitData();
  knots_[index] = value;
  refreshValidity();
  return *this;
}

void ZcGeNurbCurve3d::getDefinitionData(int& degree, bool& rational, bool& periodic, ZcGeKnotVector& knots,
                                        ZcGePoint3dArray& controlPoints, ZcGeDoubleArray& weights) const {
  degree = degree_;
  rational = isRational();
  periodic = periodic_;
  knots = knots_;
  controlPoints = ctrl_;
  weights = weights_;
}

void ZcGeNurbCurve3d::getDomain(double& t0, double& t1) const {
  assert(isValid());
  t0 = knots_[degree_];
  t1 = knots_[ctrl_.length()];
}

int ZcGeNurbCurve3d::findSpan(double param) const {
  return zcge::findSpan(knots_.asArrayPtr(), ctrl_.length(), degree_, param);
}

double ZcGeNurbCurve3d::wrapParam(double param) const {
  double t0, t1;
  getDomain(t0, t1);
  if (!std::isfinite(param)) return t0;
  if (periodic_ && (param < t0 || param > t1)) {
    const double period = t1 - t0;
    double d = std::fmod(param - t0, period);
    if (d < 0.0) d += period;
    return t0 + d;
  }
  return std::clamp(param, t0, t1);
}

void ZcGeNurbCurve3d::evalDerivs(double param, int numDeriv, ZcGeVector3d* out) const {
  assert(isValid() && numDeriv >= 0 && numDeriv <= kMaxDerivOrder);
  const double u = wrapParam(param);
  evalDerivsInSpan(findSpan(u), u, numDeriv, out);
}

void ZcGeNurbCurve3d::evalDerivsInSpan(int span, double u, int numDeriv, ZcGeVector3d* out) const {
  const int p = degree_;
  const int nb = std::min(numDeriv, p);
  // Homogeneous derivatives: h[k] = (sum N^(k) w P, sum N^(k) w). Left uninitialised beyond
  // numDeriv: this runs for every quadrature node.
  double h[kMaxDerivOrder + 1][4];
  for (int k = 0; k <= numDeriv; ++k) h[k][0] = h[k][1] = h[k][2] = h[k][3] = 0.0;
  auto accumulate = [&](int k, const double* basis) {
    for (int j = 0; j <= p; ++j) {
      const int idx = span - p + j;
      const double nw = basis[j] * weightOrOne(idx);
      const ZcGePoint3d& c = ctrl_[idx];
      h[k][0] += c.x * nw;
      h[k][1] += c.y * nw;
      h[k][2] += c.z * nw;
      h[k][3] += nw;
    }
  };
  if (nb == 1) {
    double N[zcge::kMaxBasisDegree + 1], D[zcge::kMaxBasisDegree + 1];
    zcge::basisFunsAndFirstDerivs(span, u, p, knots_.asArrayPtr(), N, D);
    accumulate(0, N);
    accumulate(1, D);
  } else {
    double ders[zcge::kMaxBasisDegree + 1][zcge::kMaxBasisDegree + 1];
    zcge::dersBasisFuns(span, u, p, nb, knots_.asArrayPtr(), ders);
    // Derivatives of order above p vanish: their rows stay zero.
    for (int k = 0; k <= nb; ++k) accumulate(k, ders[k]);
  }
  if (weights_.isEmpty()) {
    for (int k = 0; k <= numDeriv; ++k) out[k].set(h[k][0], h[k][1], h[k][2]);
    return;
  }
  // Quotient rule for C = A / w: C^(k) = (A^(k) - sum_{i=1..k} binom(k, i) w^(i) C^(k-i)) / w.
  for (int k = 0; k <= numDeriv; ++k) {
    ZcGeVector3d v(h[k][0], h[k][1], h[k][2]);
    double binom = 1.0;
    for (int i = 1; i <= k; ++i) {
      binom = binom * (k - i + 1) / i;
      v -= out[k - i] * (binom * h[i][3]);
    }
    out[k] = v / h[0][3];
  }
}

ZcGePoint3d ZcGeNurbCurve3d::evalPoint(double param) const {
  if (!isValid()) return ZcGePoint3d::kOrigin;
  const double u = wrapParam(param);
  const int p = degree_;
  const int span = findSpan(u);
  double N[zcge::kMaxBasisDegree + 1];
  zcge::basisFuns(span, u, p, knots_.asArrayPtr(), N);
  ZcGeVector3d sum;
  double wsum = 0.0;
  for (int j = 0; j <= p; ++j) {
    const int idx = span - p + j;
    const double nw = N[j] * weightOrOne(idx);
    sum += ctrl_[idx].asVector() * nw;
    wsum += nw;
  }
  if (!weights_.isEmpty()) sum /= wsum;
  return ZcGePoint3d::kOrigin + sum;
}

ZcGePoint3d ZcGeNurbCurve3d::evalPoint(double param, int numDeriv, ZcGeVector3dArray& derivArray) const {
  numDeriv = std::max(0, numDeriv);
  derivArray.setLogicalLength(numDeriv);
  for (ZcGeVector3d& d : derivArray) d = ZcGeVector3d::kIdentity;
  if (!isValid()) return ZcGePoint3d::kOrigin;
  const int nd = std::min(numDeriv, kMaxDerivOrder);
  ZcGeVector3d out[kMaxDerivOrder + 1];
  evalDerivs(param, nd, out);
  for (int k = 1; k <= nd; ++k) derivArray[k - 1] = out[k];
  return ZcGePoint3d::kOrigin + out[0];
}

void ZcGeNurbCurve3d::getInterval(ZcGeInterval& range) const {
  if (!isValid()) {
    range.set(0.0, 0.0);
    return;
  }
  double t0, t1;
  getDomain(t0, t1);
  range.set(t0, t1);
}

void ZcGeNurbCurve3d::getBreakParams(ZcGeDoubleArray& breaks) const {
  breaks.removeAll();
  double t0, t1;
  getDomain(t0, t1);
  breaks.append(t0);
  for (int i = degree_ + 1; i < ctrl_.length(); ++i)
    if (knots_[i] > breaks.last() && knots_[i] < t1) breaks.append(knots_[i]);
  breaks.append(t1);
}

double ZcGeNurbCurve3d::lengthInDomain(double a, double b) const {
  if (!(b > a)) return 0.0;
  // Per knot span: the speed is smooth inside a span, not across knots; the span is known,
  // so the quadrature nodes skip the span search.
  double total = 0.0;
  const int nc = ctrl_.length();
  for (int span = degree_; span < nc; ++span) {
    const double lo = std::max(a, knots_[span]), hi = std::min(b, knots_[span + 1]);
    if (!(hi > lo)) continue;
    auto speed = [this, span](double t) {
      ZcGeVector3d out[2];
      evalDerivsInSpan(span, t, 1, out);
      return out[1].length();
    };
    total += zcge::integrateAdaptive(speed, lo, hi, kLengthRelTol, /*absTol=*/0.0);
  }
  return total;
}

double ZcGeNurbCurve3d::length(double fromParam, double toParam, double /*tol*/) const {
  if (!isValid() || !std::isfinite(fromParam) || !std::isfinite(toParam)) return 0.0;
  if (fromParam > toParam) std::swap(fromParam, toParam);
  double t0, t1;
  getDomain(t0, t1);
  if (!periodic_) return lengthInDomain(std::clamp(fromParam, t0, t1), std::clamp(toParam, t0, t1));
  // Periodic: whole periods plus the rest, which may run over the seam.
  const double period = t1 - t0;
  const double turns = std::floor((toParam - fromParam) / period);
  const double rest = (toParam - fromParam) - turns * period;
  const double a = wrapParam(fromParam);
  double result = turns > 0.0 ? turns * lengthInDomain(t0, t1) : 0.0;
  if (a + rest <= t1) return result + lengthInDomain(a, a + rest);
  return result + lengthInDomain(a, t1) + lengthInDomain(t0, t0 + (a + rest - t1));
}

double ZcGeNurbCurve3d::solveLengthInPiece(double a, double b, double len, bool forward) const {
  // Newton's method on g(t) = (arc length from the start end of the piece to t) - len, with
  // bisection whenever a step leaves the bracket (zero speed at a cusp, for one). g is
  // updated by the length of each step, not re-integrated from the piece start.
  const double pieceLen = lengthInDomain(a, b);
  if (!(pieceLen > 0.0)) return forward ? a : b;
  double lo = a, hi = b;
  double t = forward ? a + (b - a) * (len / pieceLen) : b - (b - a) * (len / pieceLen);
  double g = forward ? lengthInDomain(a, t) - len : lengthInDomain(t, b) - len;
  const double stopTol = 1e-13 * std::max(pieceLen, len);
  for (int iter = 0; iter < 100 && std::fabs(g) > stopTol; ++iter) {
    // g increases with t going forward, and with t decreasing going backward.
    if ((g > 0.0) == forward)
      hi = t;
    else
      lo = t;
    if (!(hi - lo > 1e-15 * std::max(1.0, std::fabs(t)))) break;
    ZcGeVector3d out[2];
    evalDerivs(t, 1, out);
    const double speed = out[1].length();
    double next = speed > 0.0 ? (forward ? t - g / speed : t + g / speed) : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    const double step = next > t ? lengthInDomain(t, next) : -lengthInDomain(next, t);
    g += forward ? step : -step;
    t = next;
  }
  return t;
}

double ZcGeNurbCurve3d::paramAtLength(double datumParam, double len, bool posParamDir, double /*tol*/) const {
  if (!isValid() || !std::isfinite(len)) return datumParam;
  if (len < 0.0) {
    // A negative length walks the other way.
    len = -len;
    posParamDir = !posParamDir;
  }
  double t0, t1;
  getDomain(t0, t1);
  double cur = wrapParam(datumParam);
  if (!(len > 0.0)) return cur;
  ZcGeDoubleArray breaks;
  getBreakParams(breaks);
  if (periodic_) {
    // Whole turns change nothing on a periodic curve: reduce the length first (this also
    // bounds the walk below).
    const double total = lengthInDomain(t0, t1);
    if (!(total > 0.0)) return cur;
    len = std::fmod(len, total);
  }
  double remaining = len;
  // Walk the knot spans from the datum until the remaining length falls inside one; a
  // periodic curve continues over the seam (at most one pass after the reduction above,
  // plus one span for round-off).
  for (int pass = 0; pass < 2 * breaks.length() + 2; ++pass) {
    if (posParamDir) {
      int i = 0;
      while (i < breaks.length() && breaks[i] <= cur) ++i;
      if (i == breaks.length()) {
        if (!periodic_) return t1;
        cur = t0;
        continue;
      }
      const double next = breaks[i];
      const double piece = lengthInDomain(cur, next);
      if (remaining <= piece) return solveLengthInPiece(cur, next, remaining, /*forward=*/true);
      remaining -= piece;
      cur = next;
    } else {
      int i = breaks.length() - 1;
      while (i >= 0 && breaks[i] >= cur) --i;
      if (i < 0) {
        if (!periodic_) return t0;
        cur = t1;
        continue;
      }
      const double prev = breaks[i];
      const double piece = lengthInDomain(prev, cur);
      if (remaining <= piece) return solveLengthInPiece(prev, cur, remaining, /*forward=*/false);
      remaining -= piece;
      cur = prev;
    }
  }
  return cur;
}

double ZcGeNurbCurve3d::paramOf(const ZcGePoint3d& point, const ZcGeTol& /*tol*/) const {
  if (!isValid()) return 0.0;
  ZcGeDoubleArray breaks;
  getBreakParams(breaks);
  // A few samples per span find the right basin; Newton's method does the rest.
  const int samples = std::max(8, 2 * degree_ + 2);
  return numericClosestParam(point, breaks, samples);
}

bool ZcGeNurbCurve3d::isClosed(const ZcGeTol& tol) const {
  if (!isValid()) return false;
  if (periodic_) return true;
  return evalPoint(knots_[degree_]).isEqualTo(evalPoint(knots_[ctrl_.length()]), tol);
}

bool ZcGeNurbCurve3d::isDegenerate(const ZcGeTol& tol) const {
  if (!isValid()) return true;
  // Inside the control hull: all control points within tol of the first means no extent.
  const ZcGePoint3d& p0 = ctrl_.first();
  return std::all_of(ctrl_.begin(), ctrl_.end(), [&](const ZcGePoint3d& p) { return p.isEqualTo(p0, tol); });
}

bool ZcGeNurbCurve3d::isPlanar(ZcGePlane& plane, const ZcGeTol& tol) const {
  if (!isValid()) return false;
  return zcge::fitPlane(ctrl_, plane, tol);
}

bool ZcGeNurbCurve3d::isKindOf(ZcGe::EntityId entityType) const {
  return entityType == ZcGe::kSplineEnt3d || ZcGeCurve3d::isKindOf(entityType);
}

ZcGeCurve3d* ZcGeNurbCurve3d::copy() const { return new ZcGeNurbCurve3d(*this); }

ZcGeNurbCurve3d& ZcGeNurbCurve3d::reverseParam() {
  ctrl_.reverse();
  weights_.reverse();
  knots_.reverse();
  if (hasFitData()) {
    fitPoints_.reverse();
    std::swap(fitStartTangent_, fitEndTangent_);
    fitStartTangent_ = -fitStartTangent_;
    fitEndTangent_ = -fitEndTangent_;
    std::swap(fitStartTangentDefined_, fitEndTangentDefined_);
  }
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::transformBy(const ZcGeMatrix3d& matrix) {
  for (ZcGePoint3d& p : ctrl_) p = matrix * p;
  for (ZcGePoint3d& p : fitPoints_) p = matrix * p;
  fitStartTangent_ = matrix * fitStartTangent_;
  fitEndTangent_ = matrix * fitEndTangent_;
  refreshValidity();
  return *this;
}

bool ZcGeNurbCurve3d::getExtents(ZcGePoint3d& minPoint, ZcGePoint3d& maxPoint) const {
  minPoint = maxPoint = ZcGePoint3d::kOrigin;
  if (!isValid()) return false;
  double t0, t1;
  getDomain(t0, t1);
  const int nc = ctrl_.length();
  auto grow = [&](const ZcGePoint3d& p) {
    for (int axis = 0; axis < 3; ++axis) {
      minPoint[axis] = std::min(minPoint[axis], p[axis]);
      maxPoint[axis] = std::max(maxPoint[axis], p[axis]);
    }
  };
  // The box of the curve's points at its knots first.
  minPoint = maxPoint = evalPoint(t0);
  std::vector<int> spans;  // knot index of the start of every non-empty span
  for (int i = degree_; i < nc; ++i) {
    if (knots_[i] < knots_[i + 1]) {
      spans.push_back(i);
      grow(evalPoint(std::min(knots_[i + 1], t1)));
    }
  }
  // A span lies inside the box of its degree + 1 control points (convex hull property; the
  // weights are positive), so a span whose control box is already inside the box cannot widen
  // it. On a dense curve that is nearly every span; the others are sampled and each sampled
  // local extremum of a coordinate is refined by Newton's method on the coordinate's
  // derivative, kept between the neighbouring samples.
  constexpr int kSamplesPerSpan = 8;
  for (const int i : spans) {
    ZcGePoint3d lo = ctrl_[i - degree_];
    ZcGePoint3d hi = lo;
    for (int j = i - degree_ + 1; j <= i; ++j) {
      for (int axis = 0; axis < 3; ++axis) {
        lo[axis] = std::min(lo[axis], ctrl_[j][axis]);
        hi[axis] = std::max(hi[axis], ctrl_[j][axis]);
      }
    }
    bool inside = true;
    for (int axis = 0; axis < 3; ++axis)
      inside = inside && lo[axis] >= minPoint[axis] && hi[axis] <= maxPoint[axis];
    if (inside) continue;
    const double a = knots_[i];
    const double b = std::min(knots_[i + 1], t1);
    const double step = (b - a) / kSamplesPerSpan;
    // Samples k = 0..8 over the span, with one more on each side (into the neighbouring spans,
    // within the domain) so that an extremum at a span's end is seen as one.
    std::array<double, kSamplesPerSpan + 3> ts;
    std::array<ZcGePoint3d, kSamplesPerSpan + 3> pts;
    ts[0] = std::max(t0, a - step);
    for (int k = 0; k <= kSamplesPerSpan; ++k) ts[static_cast<size_t>(k) + 1] = a + step * k;
    ts[kSamplesPerSpan + 2] = std::min(t1, b + step);
    for (size_t k = 0; k < ts.size(); ++k) pts[k] = evalPoint(ts[k]);
    for (size_t k = 1; k + 1 < ts.size(); ++k) grow(pts[k]);
    for (int axis = 0; axis < 3; ++axis) {
      for (size_t k = 1; k + 1 < ts.size(); ++k) {
        const double v = pts[k][axis], vl = pts[k - 1][axis], vr = pts[k + 1][axis];
        const bool isMax = v >= vl && v >= vr, isMin = v <= vl && v <= vr;
        if (!isMax && !isMin) continue;
        double t = ts[k];
        for (int iter = 0; iter < 30; ++iter) {
          ZcGeVector3d out[3];
          evalDerivs(t, 2, out);
          const double f = out[1][axis], fp = out[2][axis];
          if (fp == 0.0) break;
          const double next = std::clamp(t - f / fp, ts[k - 1], ts[k + 1]);
          if (std::fabs(next - t) <= 1e-15 * std::max(1.0, std::fabs(t))) break;
          t = next;
        }
        const double value = evalPoint(t)[axis];
        minPoint[axis] = std::min(minPoint[axis], value);
        maxPoint[axis] = std::max(maxPoint[axis], value);
      }
    }
  }
  return true;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::insertKnot(double newKnot) {
  if (!isValid() || !std::isfinite(newKnot)) return *this;
  double t0, t1;
  getDomain(t0, t1);
  if (!(newKnot > t0 && newKnot < t1)) return *this;
  newKnot = snapToKnot(knots_, newKnot);
  if (static_cast<int>(std::count(knots_.begin(), knots_.end(), newKnot)) >= degree_) return *this;
  clearFitData();
  periodic_ = false;
  insertKnotRaw(newKnot);
  refreshValidity();
  return *this;
}

void ZcGeNurbCurve3d::insertKnotRaw(double newKnot) {
  const int p = degree_;
  const int k = findSpan(newKnot);
  assert(knots_[k] <= newKnot && newKnot < knots_[k + 1]);
  const int s = static_cast<int>(std::count(knots_.begin(), knots_.end(), newKnot));
  const int n = ctrl_.length() - 1;
  const bool rational = isRational();
  // Boehm's algorithm in homogeneous coordinates.
  std::vector<Homogeneous> pw(n + 1);
  for (int i = 0; i <= n; ++i) pw[i] = {ctrl_[i].asVector() * weightOrOne(i), weightOrOne(i)};
  std::vector<Homogeneous> q(n + 2);
  for (int i = 0; i <= k - p; ++i) q[i] = pw[i];
  for (int i = k - s; i <= n; ++i) q[i + 1] = pw[i];
  for (int i = k - p + 1; i <= k - s; ++i) {
    const double alpha = (newKnot - knots_[i]) / (knots_[i + p] - knots_[i]);
    q[i] = {pw[i].wp * alpha + pw[i - 1].wp * (1.0 - alpha), pw[i].w * alpha + pw[i - 1].w * (1.0 - alpha)};
  }
  ctrl_.setLogicalLength(n + 2);
  if (rational) weights_.setLogicalLength(n + 2);
  for (int i = 0; i <= n + 1; ++i) {
    ctrl_[i] = ZcGePoint3d::kOrigin + q[i].wp / q[i].w;
    if (rational) weights_[i] = q[i].w;
  }
  knots_.insertAt(k + 1, newKnot);
}

void ZcGeNurbCurve3d::trimStartAt(double a) {
  const int p = degree_;
  for (int guard = 0; guard <= p; ++guard) {
    if (static_cast<int>(std::count(knots_.begin(), knots_.end(), a)) >= p) break;
    insertKnotRaw(a);
  }
  int k = -1;
  for (int i = 0; i < knots_.length(); ++i)
    if (knots_[i] == a) k = i;
  assert(k >= p);
  // With multiplicity >= p at a, the curve point there is control point k - p: drop the
  // control points before it and the knots before index k - p, and clamp the first knot.
  const int first = k - p;
  ZcGePoint3dArray ctrl;
  ZcGeDoubleArray weights;
  for (int i = first; i < ctrl_.length(); ++i) {
    ctrl.append(ctrl_[i]);
    if (isRational()) weights.append(weights_[i]);
  }
  ZcGeKnotVector knots(knots_.tolerance());
  knots.append(a);
  for (int i = first + 1; i < knots_.length(); ++i) knots.append(knots_[i]);
  knots_ = knots;
  ctrl_ = ctrl;
  weights_ = weights;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::hardTrimByParams(double newStartParam, double newEndParam) {
  if (!isValid() || !std::isfinite(newStartParam) || !std::isfinite(newEndParam)) return *this;
  if (newStartParam > newEndParam) std::swap(newStartParam, newEndParam);
  double t0, t1;
  getDomain(t0, t1);
  const double a = snapToKnot(knots_, std::clamp(newStartParam, t0, t1));
  const double b = snapToKnot(knots_, std::clamp(newEndParam, t0, t1));
  clearFitData();
  if (!(b - a > knots_.tolerance())) {
    // The degenerate case: nothing left but a point.
    setDegeneratePoint(evalPoint(a));
    return *this;
  }
  // The unwrapped periodic form is an ordinary B-spline on its domain.
  periodic_ = false;
  trimStartAt(a);
  // The end: mirrored (knot k -> sum - k, control points reversed), it is a start. Both
  // mirrors use the same sum, so the parameter comes back unchanged.
  const double sum = knots_.startParam() + knots_.endParam();
  auto mirror = [this, sum]() {
    ctrl_.reverse();
    weights_.reverse();
    ZcGeKnotVector mirrored(knots_.tolerance());
    for (int i = knots_.length() - 1; i >= 0; --i) mirrored.append(sum - knots_[i]);
    knots_ = mirrored;
  };
  mirror();
  trimStartAt(snapToKnot(knots_, sum - b));
  mirror();
  // Reflecting twice can move the ends by an ulp: put them back exactly.
  for (int i = 0; i <= degree_; ++i) {
    knots_[i] = a;
    knots_[knots_.length() - 1 - i] = b;
  }
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::elevateDegree(int plusDegree) {
  if (!isValid() || plusDegree <= 0 || degree_ + plusDegree > kMaxDegree) return *this;
  double t0, t1;
  getDomain(t0, t1);
  // Clamp (also unwraps a periodic curve), then split into Bezier pieces by raising every
  // interior knot to multiplicity p.
  hardTrimByParams(t0, t1);
  const int p = degree_;
  ZcGeDoubleArray breaks;
  getBreakParams(breaks);
  for (int i = 1; i + 1 < breaks.length(); ++i)
    while (static_cast<int>(std::count(knots_.begin(), knots_.end(), breaks[i])) < p)
      insertKnotRaw(breaks[i]);
  const int pieces = breaks.length() - 1;
  assert(ctrl_.length() == pieces * p + 1);
  const int q = p + plusDegree;
  // Binomial coefficients up to q.
  std::vector<std::vector<double>> binom(q + 1, std::vector<double>(q + 1, 0.0));
  for (int i = 0; i <= q; ++i) {
    binom[i][0] = 1.0;
    for (int j = 1; j <= i; ++j) binom[i][j] = binom[i - 1][j - 1] + (j <= i - 1 ? binom[i - 1][j] : 0.0);
  }
  const bool rational = isRational();
  std::vector<Homogeneous> out;
  for (int piece = 0; piece < pieces; ++piece) {
    // Bezier degree elevation: Q_i = sum_j C(p, j) C(t, i - j) / C(p + t, i) P_j.
    for (int i = piece == 0 ? 0 : 1; i <= q; ++i) {
      Homogeneous h;
      for (int j = std::max(0, i - plusDegree); j <= std::min(p, i); ++j) {
        const int idx = piece * p + j;
        const double c = binom[p][j] * binom[plusDegree][i - j] / binom[q][i];
        h.wp += ctrl_[idx].asVector() * (weightOrOne(idx) * c);
        h.w += weightOrOne(idx) * c;
      }
      out.push_back(h);
    }
  }
  ZcGeKnotVector knots(knots_.tolerance());
  for (int i = 0; i <= q; ++i) knots.append(t0);
  for (int i = 1; i + 1 < breaks.length(); ++i)
    for (int j = 0; j < q; ++j) knots.append(breaks[i]);
  for (int i = 0; i <= q; ++i) knots.append(t1);
  ctrl_.removeAll();
  weights_.removeAll();
  for (const Homogeneous& h : out) {
    ctrl_.append(ZcGePoint3d::kOrigin + h.wp / h.w);
    if (rational) weights_.append(h.w);
  }
  knots_ = knots;
  degree_ = q;
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::makeRational(double weight) {
  if (isRational() || !std::isfinite(weight) || !(weight > 0.0)) return *this;
  clearFitData();
  weights_.setLogicalLength(ctrl_.length());
  for (double& w : weights_) w = weight;
  refreshValidity();
  return *this;
}

ZcGeNurbCurve3d& ZcGeNurbCurve3d::makeNonRational() {
  if (!isRational()) return *this;
  const double w0 = weights_.first();
  for (double w : weights_)
    if (!(std::fabs(w - w0) <= 1e-15 * std::fabs(w0))) return *this;
  weights_.removeAll();
  refreshValidity();
  return *this;
}

bool ZcGeNurbCurve3d::isEqualTo(const ZcGeNurbCurve3d& other, const ZcGeTol& tol) const {
  if (degree_ != other.degree_ || periodic_ != other.periodic_ || ctrl_.length() != other.ctrl_.length() ||
      !knots_.isEqualTo(other.knots_))
    return false;
  for (int i = 0; i < ctrl_.length(); ++i) {
    if (!ctrl_[i].isEqualTo(other.ctrl_[i], tol)) return false;
    if (std::fabs(weightOrOne(i) - other.weightOrOne(i)) > tol.equalVector()) return false;
  }
  return true;
}
