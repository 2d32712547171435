// Curve entity queries: a spline's point at a distance once its span lengths are cached
// (binary search for the span, then Newton inside it: O(log n)), and the first query after a
// change (every span is measured again, O(n)); a helix regenerating its spline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbSpline.h"

namespace {

// A wavy fit-point spline of n fit points (n - 1 knot spans).
std::unique_ptr<ZcDbSpline> makeSpline(int n) {
  ZcGePoint3dArray points;
  for (int i = 0; i < n; ++i) points.append({0.5 * i, std::sin(0.3 * i), 0.2 * std::cos(0.7 * i)});
  return std::make_unique<ZcDbSpline>(points);
}

double lengthOf(const ZcDbSpline& spline) {
  double end = 0.0, length = 0.0;
  spline.getEndParam(end);
  spline.getDistAtParam(end, length);
  return length;
}

void BM_SplinePointAtDistCached(benchmark::State& state) {
  const auto spline = makeSpline(static_cast<int>(state.range(0)));
  const double length = lengthOf(*spline);  // builds the cache
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> pick(0.0, length);
  std::vector<double> distances(1024);
  for (double& d : distances) d = pick(rng);
  size_t i = 0;
  ZcGePoint3d p;
  for (auto _ : state) {
    spline->getPointAtDist(distances[i++ % distances.size()], p);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_SplinePointAtDistCached)->Arg(16)->Arg(256)->Arg(4096);

void BM_SplineLengthAfterChange(benchmark::State& state) {
  const auto spline = makeSpline(static_cast<int>(state.range(0)));
  ZcGePoint3d first;
  spline->getControlPointAt(0, first);
  for (auto _ : state) {
    spline->setControlPointAt(0, first);  // drops the cache
    benchmark::DoNotOptimize(lengthOf(*spline));
  }
}
BENCHMARK(BM_SplineLengthAfterChange)->Arg(16)->Arg(256)->Arg(4096);

void BM_HelixRegenerate(benchmark::State& state) {
  ZcDbHelix helix;
  helix.setTurns(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(helix.createHelix());
}
BENCHMARK(BM_HelixRegenerate)->Arg(3)->Arg(100);

}  // namespace
