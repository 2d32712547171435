// Geometry module timings: the per-call cost of the spline queries entity code makes most
// (length, point at length, evaluation, closest point) on a 50-point fit spline.
#include <benchmark/benchmark.h>

#include <cmath>

#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeEllipArc3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

ZcGePoint3dArray fitPoints50() {
  ZcGePoint3dArray pts;
  for (int i = 0; i < 50; ++i) {
    const double t = i * 0.37;
    pts.append(ZcGePoint3d(10.0 * t + std::sin(3.0 * t), 5.0 * std::sin(t), std::cos(2.0 * t)));
  }
  return pts;
}

const ZcGeNurbCurve3d& spline50() {
  static const ZcGeNurbCurve3d curve(fitPoints50());
  return curve;
}

void BM_SplineFit50(benchmark::State& state) {
  const ZcGePoint3dArray pts = fitPoints50();
  for (auto _ : state) benchmark::DoNotOptimize(ZcGeNurbCurve3d(pts));
}
BENCHMARK(BM_SplineFit50);

void BM_SplineLength50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  for (auto _ : state) benchmark::DoNotOptimize(c.length());
}
BENCHMARK(BM_SplineLength50);

void BM_SplineParamAtLength50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  const double total = c.length();
  double frac = 0.0;
  for (auto _ : state) {
    frac = frac > 0.95 ? 0.013 : frac + 0.0731;
    benchmark::DoNotOptimize(c.paramAtLength(c.startParam(), frac * total, /*posParamDir=*/true));
  }
}
BENCHMARK(BM_SplineParamAtLength50);

void BM_SplinePointAtLength50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  const double total = c.length();
  double frac = 0.0;
  for (auto _ : state) {
    frac = frac > 0.95 ? 0.013 : frac + 0.0731;
    benchmark::DoNotOptimize(
        c.evalPoint(c.paramAtLength(c.startParam(), frac * total, /*posParamDir=*/true)));
  }
}
BENCHMARK(BM_SplinePointAtLength50);

void BM_SplineEvalPoint50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  const double t0 = c.startParam(), span = c.endParam() - t0;
  double frac = 0.0;
  for (auto _ : state) {
    frac = frac > 0.95 ? 0.013 : frac + 0.0731;
    benchmark::DoNotOptimize(c.evalPoint(t0 + frac * span));
  }
}
BENCHMARK(BM_SplineEvalPoint50);

void BM_SplineEvalDerivs50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  const double t0 = c.startParam(), span = c.endParam() - t0;
  ZcGeVector3dArray derivs;
  double frac = 0.0;
  for (auto _ : state) {
    frac = frac > 0.95 ? 0.013 : frac + 0.0731;
    benchmark::DoNotOptimize(c.evalPoint(t0 + frac * span, 2, derivs));
  }
}
BENCHMARK(BM_SplineEvalDerivs50);

void BM_SplineClosestPoint50(benchmark::State& state) {
  const ZcGeNurbCurve3d& c = spline50();
  double x = 0.0;
  for (auto _ : state) {
    x = x > 150.0 ? 1.3 : x + 17.1;
    benchmark::DoNotOptimize(c.closestPointTo(ZcGePoint3d(x, 3.0, 1.0)));
  }
}
BENCHMARK(BM_SplineClosestPoint50);

void BM_EllipseLength(benchmark::State& state) {
  const ZcGeEllipArc3d e(ZcGePoint3d(), ZcGeVector3d::kXAxis, ZcGeVector3d::kYAxis, 5.0, 1.0, 0.3, 5.1);
  for (auto _ : state) benchmark::DoNotOptimize(e.length());
}
BENCHMARK(BM_EllipseLength);

void BM_CircleToNurbs(benchmark::State& state) {
  const ZcGeCircArc3d arc(ZcGePoint3d(1, 2, 3), ZcGeVector3d(0, 0, 1), 2.0);
  for (auto _ : state) benchmark::DoNotOptimize(ZcGeNurbCurve3d(arc));
}
BENCHMARK(BM_CircleToNurbs);

}  // namespace
