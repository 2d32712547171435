// BOUNDARY on a generated floor plan of 10 x 10 rooms (5 x 4 units each): walls of lines,
// one door per inner wall below a room, its gap closed by a door leaf and a quarter-circle
// swing (every third door by a straight line instead). Times:
// - the arrangement of the plan's curves built once (what each BOUNDARY command costs),
// - one BOUNDARY command picking all 100 rooms,
// - 100 BOUNDARY commands, one per room, on the growing drawing (each one's polyline is part
//   of the drawing the next one reads), as a plug-in making one offset per room calls it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

#include "boundary/Arrangement.h"
#include "boundary/DrawingCurves.h"
#include "commands/HostCommands.h"
#include "editor/Session.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"

namespace {

constexpr int kRooms = 10;  // per side
constexpr double kWidth = 5.0, kHeight = 4.0;
constexpr double kPi = 3.14159265358979323846;

// Each plan is moved along x by a different amount, so that no plan repeats the one before
// (the command keeps the arrangement of curves it has seen).
double shift = 0.0;

void addLine(ZcDbBlockTableRecord& space, double x0, double y0, double x1, double y1) {
  auto* line = new ZcDbLine({x0 + shift, y0, 0}, {x1 + shift, y1, 0});
  space.appendZcDbEntity(line);
  line->close();
}

std::unique_ptr<ZcDbDatabase> floorPlan() {
  shift += 1.0;
  auto db = std::make_unique<ZcDbDatabase>();
  ZcDbBlockTableRecord* space = nullptr;
  zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
  for (int i = 0; i <= kRooms; ++i) {
    for (int j = 0; j < kRooms; ++j) {
      // Vertical walls, one piece per room side.
      addLine(*space, i * kWidth, j * kHeight, i * kWidth, (j + 1) * kHeight);
    }
  }
  for (int j = 0; j <= kRooms; ++j) {
    for (int i = 0; i < kRooms; ++i) {
      const double x = i * kWidth, y = j * kHeight;
      if (j == 0 || j == kRooms) {
        addLine(*space, x, y, x + kWidth, y);
        continue;
      }
      // A door from x + 1 to x + 2 into the room above.
      addLine(*space, x, y, x + 1.0, y);
      addLine(*space, x + 2.0, y, x + kWidth, y);
      if ((i + j) % 3 == 0) {
        addLine(*space, x + 1.0, y, x + 2.0, y);
      } else {
        addLine(*space, x + 1.0, y, x + 1.0, y + 1.0);
        auto* swing =
            new ZcDbArc({x + 1.0 + shift, y, 0}, /*radius=*/1.0, /*startAngle=*/0.0, /*endAngle=*/kPi / 2.0);
        space->appendZcDbEntity(swing);
        swing->close();
      }
    }
  }
  space->close();
  return db;
}

// The point is inside the room whatever the plan's shift (less than a room's width).
std::wstring roomPoint(int i, int j) {
  return std::to_wstring(i * kWidth + 2.5) + L"," + std::to_wstring(j * kHeight + 2.0);
}

void BM_BoundaryArrangementOfFloorPlan(benchmark::State& state) {
  const std::unique_ptr<ZcDbDatabase> db = floorPlan();
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  size_t faces = 0;
  for (auto _ : state) {
    const vtcad::boundary::Arrangement arrangement(vtcad::boundary::visibleCurves(db->modelSpaceId()));
    faces = arrangement.faces().size();
    benchmark::DoNotOptimize(faces);
  }
  state.counters["faces"] = static_cast<double>(faces);
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_BoundaryArrangementOfFloorPlan)->Unit(benchmark::kMillisecond);

// Each iteration times the script on a new plan (the plan's making is not timed).
void timeScript(benchmark::State& state, const std::wstring& script) {
  vtcad::commands::registerHostCommands();
  vtcad::editor::Session::instance().setOutput([](std::string_view) {});
  for (auto _ : state) {
    state.PauseTiming();
    if (shift > 2.0) shift = 0.0;
    std::unique_ptr<ZcDbDatabase> db = floorPlan();
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    state.ResumeTiming();
    vtcad::editor::Session::instance().runScript(script);
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    state.ResumeTiming();
  }
}

void BM_BoundaryOneCommandAllRooms(benchmark::State& state) {
  std::wstring script = L"BOUNDARY";
  for (int i = 0; i < kRooms; ++i)
    for (int j = 0; j < kRooms; ++j) script += L" " + roomPoint(i, j);
  timeScript(state, script + L" \n");
}
BENCHMARK(BM_BoundaryOneCommandAllRooms)->Unit(benchmark::kMillisecond);

void BM_BoundaryOneCommandPerRoom(benchmark::State& state) {
  std::wstring script;
  for (int i = 0; i < kRooms; ++i)
    for (int j = 0; j < kRooms; ++j) script += L"BOUNDARY " + roomPoint(i, j) + L" \n";
  timeScript(state, script);
}
BENCHMARK(BM_BoundaryOneCommandPerRoom)->Unit(benchmark::kMillisecond);

// What each of those commands would cost if it built the arrangement again: the plan with
// the 100 room outlines on its walls.
void BM_BoundaryArrangementOfFloorPlanWithRoomOutlines(benchmark::State& state) {
  vtcad::commands::registerHostCommands();
  vtcad::editor::Session::instance().setOutput([](std::string_view) {});
  const std::unique_ptr<ZcDbDatabase> db = floorPlan();
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  std::wstring script;
  for (int i = 0; i < kRooms; ++i)
    for (int j = 0; j < kRooms; ++j) script += L"BOUNDARY " + roomPoint(i, j) + L" \n";
  vtcad::editor::Session::instance().runScript(script);
  size_t faces = 0;
  for (auto _ : state) {
    const vtcad::boundary::Arrangement arrangement(vtcad::boundary::visibleCurves(db->modelSpaceId()));
    faces = arrangement.faces().size();
    benchmark::DoNotOptimize(faces);
  }
  state.counters["faces"] = static_cast<double>(faces);
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_BoundaryArrangementOfFloorPlanWithRoomOutlines)->Unit(benchmark::kMillisecond);

}  // namespace
