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
#include <random>

#include "render/DrawingPicture.h"
#include "render/ExtentsView.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace {

constexpr double kSide = 10000.0;

std::unique_ptr<ZcDbDatabase> mixedDrawing(long count) {
  auto db = std::make_unique<ZcDbDatabase>();
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) return db;
  std::mt19937 rng(1208);
  std::uniform_real_distribution<double> at(0.0, kSide), size(2.0, 40.0), angle(0.0, 6.283);
  for (long i = 0; i < count; ++i) {
    const ZcGePoint3d p(at(rng), at(rng), 0.0);
    ZcDbEntity* entity = nullptr;
    switch (i % 4) {
      case 0:
        entity = new ZcDbLine(p, p + ZcGeVector3d(size(rng), size(rng), 0.0));
        break;
      case 1:
        entity = new ZcDbArc(p, size(rng), angle(rng), angle(rng));
        break;
      case 2:
        entity = new ZcDbCircle(p, ZcGeVector3d::kZAxis, size(rng));
        break;
      default: {
        auto* pline = new ZcDbPolyline;
        for (unsigned k = 0; k < 5; ++k)
          pline->addVertexAt(k, ZcGePoint2d(p.x + 15.0 * k, p.y + (k % 2) * 10.0));
        entity = pline;
      }
    }
    entity->setDatabaseDefaults(db.get());
    space->appendZcDbEntity(entity);
    entity->close();
  }
  space->close();
  return db;
}

ZcDbDatabase* drawingOf(long count) {
  static std::map<long, std::unique_ptr<ZcDbDatabase>> drawings;
  auto& db = drawings[count];
  if (!db) db = mixedDrawing(count);
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
