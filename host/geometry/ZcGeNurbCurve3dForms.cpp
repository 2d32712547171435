// ZcGeNurbCurve3d: exact NURBS forms of segments, arcs, ellipses and bulge polylines.
//
// A conic arc of sweep at most 90 degrees is one rational quadratic: end points with weight
// 1, and the intersection of the end tangents with weight cos(sweep / 2). Longer arcs are
// split into equal pieces of at most 90 degrees joined by double knots.
#include <algorithm>
#include <cmath>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

// Accumulates the pieces of a degree-2 rational curve with C0 joints.
class QuadraticBuilder {
 public:
  explicit QuadraticBuilder(const ZcGePoint3d& start, double startParam) {
    ctrl_.append(start);
    weights_.append(1.0);
    for (int i = 0; i < 3; ++i) knots_.append(startParam);
  }
  void addPiece(const ZcGePoint3d& middle, double middleWeight, const ZcGePoint3d& end, double endParam) {
    ctrl_.append(middle);
    weights_.append(middleWeight);
    ctrl_.append(end);
    weights_.append(1.0);
    knots_.append(endParam);
    knots_.append(endParam);
  }
  ZcGeNurbCurve3d build() {
    // The last joint is the end: three knots there, not two.
    knots_.append(knots_.endParam());
    return ZcGeNurbCurve3d(/*degree=*/2, knots_, ctrl_, weights_, /*isPeriodic=*/false);
  }

 private:
  ZcGePoint3dArray ctrl_;
  ZcGeDoubleArray weights_;
  ZcGeKnotVector knots_;
};

// The conic center + cos t * xAxis + sin t * yAxis for t in [start, end] (the axes carry
// the radii). The degenerate case of a zero sweep gives a zero-length degree-1 curve.
ZcGeNurbCurve3d conicArc(const ZcGePoint3d& center, const ZcGeVector3d& xAxis, const ZcGeVector3d& yAxis,
                         double start, double end) {
  auto at = [&](double t) { return center + xAxis * std::cos(t) + yAxis * std::sin(t); };
  const double sweep = end - start;
  if (!(sweep > 0.0)) {
    const double k[] = {0.0, 0.0, 1.0, 1.0};
    ZcGePoint3dArray pts{at(start), at(start)};
    return ZcGeNurbCurve3d(/*degree=*/1, ZcGeKnotVector(4, k), pts);
  }
  // 1e-12 of slack: a sweep of exactly 90 degrees (after round-off) stays one piece.
  const int pieces = std::clamp(static_cast<int>(std::ceil(sweep / ZcGe::kHalfPi - 1e-12)), 1, 4);
  const double step = sweep / pieces;
  const double w = std::cos(0.5 * step);
  QuadraticBuilder builder(at(start), start);
  for (int i = 0; i < pieces; ++i) {
    const double a1 = i + 1 == pieces ? end : start + step * (i + 1);
    const double mid = start + step * (i + 0.5);
    // Intersection of the end tangents: the middle direction scaled by 1 / cos(step / 2).
    const ZcGePoint3d middle = center + (xAxis * std::cos(mid) + yAxis * std::sin(mid)) / w;
    builder.addPiece(middle, w, at(a1), a1);
  }
  return builder.build();
}

}  // namespace

ZcGeNurbCurve3d::ZcGeNurbCurve3d(const ZcGeLineSeg3d& line) {
  const double k[] = {0.0, 0.0, 1.0, 1.0};
  ZcGePoint3dArray pts{line.startPoint(), line.endPoint()};
  set(/*degree=*/1, ZcGeKnotVector(4, k), pts, ZcGeDoubleArray(), /*isPeriodic=*/false);
}

ZcGeNurbCurve3d::ZcGeNurbCurve3d(const ZcGeCircArc3d& arc) {
  if (!arc.isValid()) return;  // stays invalid
  const ZcGeVector3d x = arc.refVec() * arc.radius();
  const ZcGeVector3d y = arc.normal().crossProduct(arc.refVec()) * arc.radius();
  *this = conicArc(arc.center(), x, y, arc.startAng(), arc.endAng());
}

ZcGeNurbCurve3d::ZcGeNurbCurve3d(const ZcGeEllipArc3d& ellipse) {
  if (!ellipse.isValid()) return;  // stays invalid
  *this = conicArc(ellipse.center(), ellipse.majorAxis() * ellipse.majorRadius(),
                   ellipse.minorAxis() * ellipse.minorRadius(), ellipse.startAng(), ellipse.endAng());
}

ZcGeNurbCurve3d ZcGeNurbCurve3d::fromBulgePolyline(const ZcGePoint3dArray& vertices,
                                                   const ZcGeDoubleArray& bulges, bool closed,
                                                   const ZcGeVector3d& normal) {
  const int nv = vertices.length();
  if (nv < 2) return ZcGeNurbCurve3d();  // nothing to join: invalid
  for (const ZcGePoint3d& v : vertices)
    if (!zcgeIsFinite(v)) return ZcGeNurbCurve3d();
  ZcGeVector3d n = normal.normal();
  if (n.isZeroLength() || !zcgeIsFinite(n)) n = ZcGeVector3d::kZAxis;
  const int segments = closed ? nv : nv - 1;

  // One quadratic piece from a to b turning by `sweep` (signed, |sweep| <= 90 degrees,
  // counter-clockwise about n when positive). The middle control point is found from the
  // chord alone, mid-chord minus left * (chord / 2) * tan(sweep / 2), not from the center:
  // a tiny bulge puts the center far away and would cost all precision. A zero sweep (a
  // straight segment) gives the chord midpoint with weight 1, a zero-length chord a point.
  auto piece = [&n](const ZcGePoint3d& a, const ZcGePoint3d& b, double sweep, ZcGePoint3d& middle,
                    double& w) {
    const ZcGeVector3d chord = b - a;
    const double d = chord.length();
    middle = a + chord * 0.5;
    w = 1.0;
    if (!(d > 0.0) || sweep == 0.0) return;
    const ZcGeVector3d left = n.crossProduct(chord) / d;
    middle -= left * (0.5 * d * std::tan(0.5 * sweep));
    w = std::cos(0.5 * sweep);
  };

  QuadraticBuilder builder(vertices[0], /*startParam=*/0.0);
  for (int i = 0; i < segments; ++i) {
    const ZcGePoint3d& s = vertices[i];
    const ZcGePoint3d& e = vertices[(i + 1) % nv];
    double bulge = i < bulges.length() ? bulges[i] : 0.0;
    if (!std::isfinite(bulge)) bulge = 0.0;
    const double sweep = 4.0 * std::atan(bulge);
    const ZcGeVector3d chord = e - s;
    const double d = chord.length();
    const int pieces =
        (d > 0.0) ? std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / ZcGe::kHalfPi - 1e-12)), 1, 4)
                  : 1;
    if (pieces == 1) {
      ZcGePoint3d middle;
      double w;
      piece(s, e, sweep, middle, w);
      builder.addPiece(middle, w, e, i + 1.0);
      continue;
    }
    // More than 90 degrees: |bulge| > tan(pi/8), so the center is near and safe to use for
    // the intermediate points.
    const ZcGeVector3d left = n.crossProduct(chord) / d;
    const ZcGePoint3d center = s + chord * 0.5 + left * (d * (1.0 - bulge * bulge) / (4.0 * bulge));
    const ZcGeVector3d v0 = s - center;
    const double step = sweep / pieces;
    ZcGePoint3d a = s;
    for (int j = 0; j < pieces; ++j) {
      ZcGePoint3d b = e;
      if (j + 1 < pieces) {
        const double angle = step * (j + 1);
        b = center + v0 * std::cos(angle) + n.crossProduct(v0) * std::sin(angle);
      }
      ZcGePoint3d middle;
      double w;
      piece(a, b, step, middle, w);
      builder.addPiece(middle, w, b, i + static_cast<double>(j + 1) / pieces);
      a = b;
    }
  }
  return builder.build();
}
