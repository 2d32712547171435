// The morphing commands at their largest: PLARR's million-cell array of 12-vertex polylines
// (then the drawing saved), and PLINT's 100 steps between two 10 000-vertex polylines. Both
// run as a user runs them, from a script on the command line, inside the command's undo group.
// `peak_RSS_MB` is the process's peak resident size when the benchmark ends: run one at a time
// (--benchmark_filter) for a figure that belongs to that benchmark alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchDrawing.h"
#include "dxf/DxfFile.h"
#include "editor/CommandStack.h"
#include "editor/Session.h"
#include "morph/InterpolatedArray.h"
#include "morph/PolylineInterpolation.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/db/ZcDbPolyline.h"

namespace {

double peakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A closed wavy ring of n vertices around (cx, cy) in model space of `db`.
ZcDbObjectId addRing(ZcDbDatabase& db, int n, double cx, double cy, double radius) {
  auto* polyline = new ZcDbPolyline(static_cast<unsigned>(n));
  for (int i = 0; i < n; ++i) {
    const double angle = 2.0 * 3.141592653589793 * i / n;
    const double r = radius * (1.0 + 0.1 * std::sin(7.0 * angle));
    polyline->addVertexAt(static_cast<unsigned>(i),
                          ZcGePoint2d(cx + r * std::cos(angle), cy + r * std::sin(angle)),
                          /*bulge=*/i % 3 == 0 ? 0.2 : 0.0);
  }
  polyline->setClosed(true);
  ZcDbBlockTableRecord* space = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite) == Zcad::eOk) {
    space->appendZcDbEntity(id, polyline);
    space->close();
  }
  if (id.isNull()) {
    delete polyline;  // not in the drawing: still ours
  } else {
    polyline->close();
  }
  return id;
}

using vtcad_bench::BenchDrawing;
using vtcad_bench::pickOf;

std::unique_ptr<BenchDrawing> morphDrawing() {
  return std::make_unique<BenchDrawing>(std::initializer_list<vtcad_bench::BenchCommand>{
      {L"PLINT", &veltrace::plintCommand}, {L"PLARR", &veltrace::plarrCommand}});
}

// Rows and columns from the arguments; the drawing saved once after the last run.
void BM_PlarrArray(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  double saveSeconds = 0.0;
  double fileMegabytes = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = morphDrawing();
    const ZcDbObjectId a = addRing(bench->db(), 12, 0, 0, 10);
    const ZcDbObjectId b = addRing(bench->db(), 12, 5000, 5000, 40);
    const std::wstring script = L"PLARR\n" + pickOf(a) + L"\n" + pickOf(b) + L"\n" + std::to_wstring(side) +
                                L"\n" + std::to_wstring(side) + L"\n30\n";
    state.ResumeTiming();
    bench->run(script);
    state.PauseTiming();
    if (bench->entities() != static_cast<std::int64_t>(side) * side) state.SkipWithError("cells missing");
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "vtcad-plarr-bench.dxf";
    const auto started = std::chrono::steady_clock::now();
    const vtcad::dxf::SaveResult saved = vtcad::dxf::saveDxfFile(bench->db(), file);
    saveSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!saved.ok) state.SkipWithError("the drawing did not save");
    std::error_code ec;
    fileMegabytes = static_cast<double>(std::filesystem::file_size(file, ec)) / 1e6;
    std::filesystem::remove(file, ec);
    std::filesystem::remove(file.string() + ".bak", ec);
    bench.reset();
    state.ResumeTiming();
  }
  state.counters["cells"] = static_cast<double>(side) * side - 2;
  state.counters["save_s"] = saveSeconds;
  state.counters["file_MB"] = fileMegabytes;
  state.counters["peak_RSS_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_PlarrArray)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_PlintSteps(benchmark::State& state) {
  const int vertices = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = morphDrawing();
    const ZcDbObjectId a = addRing(bench->db(), vertices, 0, 0, 100);
    const ZcDbObjectId b = addRing(bench->db(), vertices, 50, 20, 400);
    const std::wstring script = L"PLINT\n" + pickOf(a) + L"\n" + pickOf(b) + L"\n100\n-40\n\n";
    state.ResumeTiming();
    bench->run(script);
    state.PauseTiming();
    if (bench->entities() != 102) state.SkipWithError("steps missing");
    bench.reset();
    state.ResumeTiming();
  }
  state.counters["vertices_out"] = 100.0 * vertices;
  state.counters["peak_RSS_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_PlintSteps)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
