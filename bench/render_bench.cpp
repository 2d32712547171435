// Pictures of large drawings: 100 000 and 1 000 000 entities (a quarter each lines, arcs,
// circles and four-segment lightweight polylines, scattered at random with a fixed seed over a
// 10 000 x 10 000 square) drawn at their extents into a 1920 x 1080 picture and written as a
// PNG file (docs/benchmarks.md). Goals: under 150 ms and under 1 s. The drawings are built once
// per size, outside the timed section.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>

#include "ScatteredDrawing.h"
#include "render/DrawingPicture.h"
#include "render/ExtentsView.h"
#include "zcad/db/ZcDbDatabase.h"

namespace {

ZcDbDatabase* drawingOf(long count) {
  static std::map<long, std::unique_ptr<ZcDbDatabase>> drawings;
  auto& db = drawings[count];
  if (!db) db = vtcad_bench::scatteredDrawing(count);
  return db.get();
}

void BM_RenderPng(benchmark::State& state) {
  const long count = state.range(0);
  ZcDbDatabase* db = drawingOf(count);
  const vtcad::editor::ViewTransform view = vtcad::render::extentsView(db, {1920, 1080});
  const std::filesystem::path out =
      std::filesystem::temp_directory_path() / ("vtcad-render-bench-" + std::to_string(::getpid()) + ".png");
  for (auto _ : state) {
    const auto failed =
        vtcad::render::writeDrawingPicture(db, out, vtcad::render::PictureFormat::kPng, view, {});
    if (failed) state.SkipWithError(failed->c_str());
  }
  std::filesystem::remove(out);
  state.counters["entities/s"] =
      benchmark::Counter(static_cast<double>(count) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderPng)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
