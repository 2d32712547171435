// Lightweight polyline distance queries: a query once the cumulative lengths are cached
// (binary search, O(log n)), and the first query after a change (the cache is rebuilt, O(n)).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "zcad/db/ZcDbPolyline.h"

namespace {

// A wandering polyline of n vertices, every third segment an arc.
std::unique_ptr<ZcDbPolyline> makePolyline(int n) {
  auto pl = std::make_unique<ZcDbPolyline>(static_cast<unsigned>(n));
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> step(0.0, 2.0), bulge(-0.8, 0.8);
  ZcGePoint2d p(0, 0);
  for (int i = 0; i < n; ++i) {
    pl->addVertexAt(static_cast<unsigned>(i), p, i % 3 == 0 ? bulge(rng) : 0.0);
    p = ZcGePoint2d(p.x + step(rng), p.y + step(rng) - 1.0);
  }
  return pl;
}

double lengthOf(const ZcDbPolyline& pl) {
  double end = 0.0, length = 0.0;
  pl.getEndParam(end);
  pl.getDistAtParam(end, length);
  return length;
}

void BM_PolylinePointAtDistCached(benchmark::State& state) {
  const auto pl = makePolyline(static_cast<int>(state.range(0)));
  const double length = lengthOf(*pl);  // builds the cache
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> pick(0.0, length);
  std::vector<double> distances(4096);
  for (double& d : distances) d = pick(rng);
  size_t i = 0;
  for (auto _ : state) {
    ZcGePoint3d p;
    pl->getPointAtDist(distances[i++ & 4095], p);
    benchmark::DoNotOptimize(p);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PolylinePointAtDistCached)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Complexity(benchmark::oLogN);

void BM_PolylinePointAtDistFirstCallAfterChange(benchmark::State& state) {
  const auto pl = makePolyline(static_cast<int>(state.range(0)));
  const double length = lengthOf(*pl);
  double bulge = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    bulge = bulge == 0.0 ? 0.1 : 0.0;
    pl->setBulgeAt(1, bulge);  // any change drops the cache
    state.ResumeTiming();
    ZcGePoint3d p;
    pl->getPointAtDist(0.5 * length, p);
    benchmark::DoNotOptimize(p);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PolylinePointAtDistFirstCallAfterChange)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Complexity(benchmark::oN);

}  // namespace
