// PLLIST's list of one lightweight polyline of 100 000 vertices: the points read, the markup
// built and encoded, the file written beside its final name and renamed into place.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "export/ListCommands.h"
#include "export/ListDocument.h"
#include "export/ListFile.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"

namespace {

// A staircase of n vertices in model space of `db`.
ZcDbObjectId addPolyline(ZcDbDatabase& db, int n) {
  auto* polyline = new ZcDbPolyline(static_cast<unsigned>(n));
  for (int i = 0; i < n; ++i) {
    polyline->addVertexAt(static_cast<unsigned>(i), ZcGePoint2d(i * 0.5 + (i % 2) * 0.25, i * 0.75));
  }
  ZcDbBlockTableRecord* space = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite) == Zcad::eOk) {
    space->appendZcDbEntity(id, polyline);
    space->close();
  }
  polyline->close();
  return id;
}

void BM_CurveListOfOnePolyline(benchmark::State& state) {
  const int vertices = static_cast<int>(state.range(0));
  auto db = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  const ZcDbObjectId id = addPolyline(*db, vertices);
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vtcad-list-bench";
  std::filesystem::create_directories(folder);
  const std::wstring path = (folder / "list.html").wstring();
  for (auto _ : state) {
    veltrace::ListFile file;
    if (!file.create(path)) {
      state.SkipWithError("the list file cannot be made");
      break;
    }
    veltrace::ListDocument document(file, path, L"Lines、Arcs、Polylines、Splines",
                                    veltrace::curveListColumns());
    const veltrace::ListRun run{document, veltrace::curveListColumns(), /*marks=*/false, /*markHeight=*/1.0,
                                /*lowerLeft=*/true};
    veltrace::writeCurveRows(id, /*index=*/0, run);
    document.finish();
    if (!file.commit()) {
      state.SkipWithError("the list file cannot be written");
      break;
    }
  }
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(folder / "list.html", ec);
  if (!ec) {
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  }
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  db.reset();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CurveListOfOnePolyline)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
