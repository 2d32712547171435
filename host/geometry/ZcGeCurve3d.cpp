#include "zcad/ge/ZcGeCurve3d.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "geometry/ZcGeGaussLegendre.h"
#include "geometry/ZcGePlaneFit.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

// Relative accuracy the numeric length aims at (better than the promised 1e-9).
constexpr double kLengthRelTol = 1e-11;

}  // namespace

bool ZcGeCurve3d::isKindOf(ZcGe::EntityId entityType) const {
  return entityType == type() || entityType == ZcGe::kCurve3d || entityType == ZcGe::kEntity3d;
}

void ZcGeCurve3d::getInterval(ZcGeInterval& range, ZcGePoint3d& startPoint, ZcGePoint3d& endPoint) const {
  getInterval(range);
  startPoint = evalPoint(range.lowerBound());
  endPoint = evalPoint(range.upperBound());
}

double ZcGeCurve3d::startParam() const {
  ZcGeInterval range;
  getInterval(range);
  return range.lowerBound();
}

double ZcGeCurve3d::endParam() const {
  ZcGeInterval range;
  getInterval(range);
  return range.upperBound();
}

ZcGePoint3d ZcGeCurve3d::evalPoint(double param) const {
  ZcGeVector3dArray derivs;
  return evalPoint(param, 0, derivs);
}

double ZcGeCurve3d::paramOf(const ZcGePoint3d& point, const ZcGeTol& /*tol*/) const {
  ZcGeDoubleArray breaks;
  breaks.append(startParam());
  breaks.append(endParam());
  return numericClosestParam(point, breaks, /*samplesPerPiece=*/64);
}

bool ZcGeCurve3d::isOn(const ZcGePoint3d& point, const ZcGeTol& tol) const {
  double param = 0.0;
  return isOn(point, param, tol);
}

bool ZcGeCurve3d::isOn(const ZcGePoint3d& point, double& param, const ZcGeTol& tol) const {
  if (!isValid()) return false;
  const double t = paramOf(point, tol);
  if (!(evalPoint(t).distanceTo(point) <= tol.equalPoint())) return false;
  param = t;
  return true;
}

ZcGePoint3d ZcGeCurve3d::closestPointTo(const ZcGePoint3d& point, const ZcGeTol& tol) const {
  double param = 0.0;
  return closestPointTo(point, param, tol);
}

ZcGePoint3d ZcGeCurve3d::closestPointTo(const ZcGePoint3d& point, double& param, const ZcGeTol& tol) const {
  param = paramOf(point, tol);
  return evalPoint(param);
}

double ZcGeCurve3d::distanceTo(const ZcGePoint3d& point, const ZcGeTol& tol) const {
  return closestPointTo(point, tol).distanceTo(point);
}

double ZcGeCurve3d::length(double fromParam, double toParam, double /*tol*/) const {
  if (!isValid()) return 0.0;
  if (fromParam > toParam) std::swap(fromParam, toParam);
  ZcGeVector3dArray derivs;
  auto speed = [&](double t) {
    evalPoint(t, 1, derivs);
    return derivs[0].length();
  };
  return zcge::integrateAdaptive(speed, fromParam, toParam, kLengthRelTol, /*absTol=*/0.0);
}

double ZcGeCurve3d::length() const { return isValid() ? length(startParam(), endParam()) : 0.0; }

double ZcGeCurve3d::paramAtLength(double datumParam, double len, bool posParamDir, double /*tol*/) const {
  if (!isValid()) return datumParam;
  if (len < 0.0) {
    // A negative length walks the other way.
    len = -len;
    posParamDir = !posParamDir;
  }
  const double t0 = startParam(), t1 = endParam();
  const double datum = std::clamp(datumParam, t0, t1);
  const double end = posParamDir ? t1 : t0;
  const double total = length(datum, end);
  if (!(len > 0.0)) return datum;
  if (!(len < total)) return end;
  // Newton's method on g(t) = length(datum, t) - len, kept inside the bracket [lo, hi]
  // by bisection whenever a step would leave it (zero speed, cusps).
  double lo = std::min(datum, end), hi = std::max(datum, end);
  double t = datum + (end - datum) * (len / total);
  const double sign = posParamDir ? 1.0 : -1.0;
  ZcGeVector3dArray derivs;
  for (int iter = 0; iter < 100; ++iter) {
    const double g = length(datum, t) - len;
    if (std::fabs(g) <= 1e-12 * total) break;
    // g grows with t going forward and shrinks with t going backward.
    if ((g > 0.0) == posParamDir)
      hi = t;
    else
      lo = t;
    evalPoint(t, 1, derivs);
    const double speed = derivs[0].length();
    double next = speed > 0.0 ? t - sign * g / speed : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    if (hi - lo <= 1e-15 * std::max(1.0, std::fabs(t))) break;
    t = next;
  }
  return t;
}

bool ZcGeCurve3d::isClosed(const ZcGeTol& tol) const {
  if (!isValid()) return false;
  return evalPoint(startParam()).isEqualTo(evalPoint(endParam()), tol);
}

bool ZcGeCurve3d::hasStartPoint(ZcGePoint3d& startPoint) const {
  if (!isValid()) return false;
  startPoint = evalPoint(startParam());
  return true;
}

bool ZcGeCurve3d::hasEndPoint(ZcGePoint3d& endPoint) const {
  if (!isValid()) return false;
  endPoint = evalPoint(endParam());
  return true;
}

bool ZcGeCurve3d::isDegenerate(const ZcGeTol& tol) const { return !(length() > tol.equalPoint()); }

bool ZcGeCurve3d::isPlanar(ZcGePlane& plane, const ZcGeTol& tol) const {
  if (!isValid()) return false;
  ZcGePoint3dArray pts;
  getSamplePoints(/*numSample=*/65, pts);
  return zcge::fitPlane(pts, plane, tol);
}

void ZcGeCurve3d::getSamplePoints(int numSample, ZcGePoint3dArray& pointArray) const {
  pointArray.removeAll();
  if (!isValid() || numSample <= 0) return;
  const double t0 = startParam(), t1 = endParam();
  if (numSample == 1) {
    pointArray.append(evalPoint(t0));
    return;
  }
  for (int i = 0; i < numSample; ++i) {
    const double t = i + 1 == numSample ? t1 : t0 + (t1 - t0) * i / (numSample - 1);
    pointArray.append(evalPoint(t));
  }
}

void ZcGeCurve3d::getSamplePoints(double fromParam, double toParam, double approxEps,
                                  ZcGePoint3dArray& pointArray, ZcGeDoubleArray& paramArray) const {
  pointArray.removeAll();
  paramArray.removeAll();
  if (!isValid()) return;
  if (fromParam > toParam) std::swap(fromParam, toParam);
  // A floor on the tolerance keeps the subdivision finite for eps = 0.
  const double eps = std::max(approxEps, 1e-9 * std::max(1.0, length(fromParam, toParam)));
  constexpr int kInitialPieces = 8;
  constexpr int kMaxDepth = 16;
  struct Piece {
    double a, b;
    ZcGePoint3d pa, pb;
    int depth;
  };
  paramArray.append(fromParam);
  pointArray.append(evalPoint(fromParam));
  for (int k = 0; k < kInitialPieces; ++k) {
    const double a = fromParam + (toParam - fromParam) * k / kInitialPieces;
    const double b =
        k + 1 == kInitialPieces ? toParam : fromParam + (toParam - fromParam) * (k + 1) / kInitialPieces;
    std::vector<Piece> stack{{a, b, evalPoint(a), evalPoint(b), 0}};
    while (!stack.empty()) {
      Piece p = stack.back();
      stack.pop_back();
      const double m = 0.5 * (p.a + p.b);
      const ZcGePoint3d pm = evalPoint(m);
      const ZcGeVector3d chord = p.pb - p.pa;
      const double len2 = chord.lengthSqrd();
      double dev = (pm - p.pa).length();
      if (len2 > 0.0) dev = (pm - p.pa).crossProduct(chord).length() / std::sqrt(len2);
      if (dev > eps && p.depth < kMaxDepth) {
        // Right half first so that the left half is processed first (in order output).
        stack.push_back({m, p.b, pm, p.pb, p.depth + 1});
        stack.push_back({p.a, m, p.pa, pm, p.depth + 1});
        continue;
      }
      paramArray.append(p.b);
      pointArray.append(p.pb);
    }
  }
}

double ZcGeCurve3d::numericClosestParam(const ZcGePoint3d& point, const ZcGeDoubleArray& breakParams,
                                        int samplesPerPiece) const {
  assert(breakParams.length() >= 2);
  const double tMin = breakParams.first(), tMax = breakParams.last();
  std::vector<double> ts;
  // Samples that sit on an interior break (a knot where the curve may have a kink).
  std::vector<bool> onBreak;
  for (int k = 0; k + 1 < breakParams.length(); ++k) {
    const double a = breakParams[k], b = breakParams[k + 1];
    if (!(b > a)) continue;
    for (int i = 0; i < samplesPerPiece; ++i) {
      ts.push_back(a + (b - a) * i / samplesPerPiece);
      onBreak.push_back(i == 0 && ts.size() > 1);
    }
  }
  ts.push_back(tMax);
  onBreak.push_back(false);
  std::vector<double> d2(ts.size());
  for (size_t i = 0; i < ts.size(); ++i) d2[i] = (evalPoint(ts[i]) - point).lengthSqrd();

  // Refine the few best local minima of the samples; the global one can hide behind a
  // neighbouring sample's value on tight curves.
  std::vector<size_t> minima;
  for (size_t i = 0; i < ts.size(); ++i) {
    const bool leftOk = i == 0 || d2[i] <= d2[i - 1];
    const bool rightOk = i + 1 == ts.size() || d2[i] <= d2[i + 1];
    // At a kink each side is a piece of its own: a sample there that beats one neighbour can
    // be the end of that side's basin even when the other side comes nearer.
    if (onBreak[i] ? (leftOk || rightOk) : (leftOk && rightOk)) minima.push_back(i);
  }
  std::sort(minima.begin(), minima.end(), [&](size_t a, size_t b) { return d2[a] < d2[b]; });
  if (minima.size() > 4) minima.resize(4);

  // Candidates are ranked by distance; distances equal to round-off (the distance is flat at
  // a minimum, so a point 1e-9 off the foot can tie with it) go to the one where the offset
  // is more nearly perpendicular to the curve.
  ZcGeVector3dArray derivs;
  auto cosine = [&](double t) {
    const ZcGeVector3d diff = evalPoint(t, 1, derivs) - point;
    const double denom = diff.length() * derivs[0].length();
    return denom > 0.0 ? std::fabs(derivs[0].dotProduct(diff)) / denom : 0.0;
  };
  double bestT = ts[minima.empty() ? 0 : minima[0]];
  double bestD2 = (evalPoint(bestT) - point).lengthSqrd();
  double bestCos = cosine(bestT);
  auto consider = [&](double t) {
    const double d = (evalPoint(t) - point).lengthSqrd();
    const bool tie = std::fabs(d - bestD2) <= 1e-14 * bestD2;
    const double c = cosine(t);
    if ((d < bestD2 && !tie) || (tie && c < bestCos)) {
      bestD2 = std::min(d, bestD2);
      bestT = t;
      bestCos = c;
    }
  };
  // Newton's method on f(t) = C'(t) . (C(t) - P), kept inside [lo, hi].
  auto refine = [&](double t, double lo, double hi) {
    for (int iter = 0; iter < 50; ++iter) {
      const ZcGePoint3d c = evalPoint(t, 2, derivs);
      const ZcGeVector3d diff = c - point;
      const double f = derivs[0].dotProduct(diff);
      const double fp = derivs[1].dotProduct(diff) + derivs[0].lengthSqrd();
      if (!(fp > 0.0)) break;
      double next = std::clamp(t - f / fp, lo, hi);
      if (std::fabs(next - t) <= 1e-15 * std::max(1.0, std::fabs(t))) {
        t = next;
        break;
      }
      t = next;
    }
    consider(t);
  };
  for (size_t idx : minima) {
    const double lo = idx > 0 ? ts[idx - 1] : tMin;
    const double hi = idx + 1 < ts.size() ? ts[idx + 1] : tMax;
    const double t = ts[idx];
    if (!onBreak[idx]) {
      refine(t, lo, hi);
      continue;
    }
    // A sample on a kink: the derivative there is one side's only, so Newton started at the
    // kink walks into that side and never sees a nearer foot on the other one (a point on
    // the curve just before a polyline vertex turned spline). Refine each side on its own.
    consider(t);
    refine(0.5 * (lo + t), lo, t);
    refine(0.5 * (t + hi), t, hi);
  }
  return bestT;
}
