// The formula curve with the most samples (entry 30, A 12, Precision 36: 15 120 points), as
// the formula dialog's preview redraws it on every slider move: the samples alone, and the
// samples built into a spline or a polyline in a drawing. Each build goes into a fresh
// drawing (made outside the timing), so the drawing never grows.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "formula/CurveThroughPoints.h"
#include "formula/FormulaCurve.h"
#include "formula/FormulaGenerators.h"
#include "zcad/db/ZcDbDatabase.h"

namespace {

constexpr int kSphericalCurve = 29;  // entry 30
constexpr veltrace::FormulaParameters kLargest{12, 10, 36, 12};

void BM_FormulaSamplesLargest(benchmark::State& state) {
  for (auto _ : state) {
    veltrace::FormulaSamples samples =
        veltrace::formulaCurveSamples(kSphericalCurve, kLargest, /*surftab1=*/6);
    benchmark::DoNotOptimize(samples.points.data());
  }
  state.SetItemsProcessed(state.iterations() * 15120);
}
BENCHMARK(BM_FormulaSamplesLargest)->Unit(benchmark::kMicrosecond);

// range(0): 1 spline output, 0 polyline output.
void BM_FormulaCurveLargestIntoDrawing(benchmark::State& state) {
  const bool previous = veltrace::curveOutputAsSpline;
  veltrace::curveOutputAsSpline = state.range(0) != 0;
  std::unique_ptr<ZcDbDatabase> db;
  for (auto _ : state) {
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db = std::make_unique<ZcDbDatabase>();
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    state.ResumeTiming();
    const std::vector<ZcDbObjectId> ids = veltrace::generateFormulaCurve(
        kSphericalCurve, kLargest.p1, kLargest.p2, kLargest.p3, kLargest.p4, ZcGePoint3d(0, 0, 0));
    if (ids.size() != 1) {
      state.SkipWithError("no curve was made");
      break;
    }
  }
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  db.reset();
  veltrace::curveOutputAsSpline = previous;
}
BENCHMARK(BM_FormulaCurveLargestIntoDrawing)
    ->ArgName("spline")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
