// The outline commands end to end on drawings in the current view (a new drawing's, 1600 × 1000
// pixels): INOFFSET on a floor plan of 10 × 10 rooms (one boundary search per room, then one
// inner offset each), and makeOutline on 1 250 separate squares of four lines (5 000 entities:
// above a thousand, so the rough outline is offered first and declined here, as a user asking
// for the precise outline would).
#include <benchmark/benchmark.h>

#include "CommandOnDrawing.h"
#include "commands/HostCommands.h"
#include "outline/OutlineCommands.h"
#include "zcad/db/ZcDbLine.h"

namespace {

constexpr int kRooms = 10;
constexpr double kRoom = 28.0;

// Wall k of the plan: 11 rows of 10 horizontal segments, then 11 columns of 10 vertical ones.
ZcDbEntity* wall(int k) {
  const int perLine = kRooms;
  const bool horizontal = k < (kRooms + 1) * perLine;
  const int index = horizontal ? k : k - (kRooms + 1) * perLine;
  const int line = index / perLine, piece = index % perLine;
  const double a = 10.0 + line * kRoom, b = 10.0 + piece * kRoom;
  if (horizontal) return new ZcDbLine(ZcGePoint3d(b, a, 0), ZcGePoint3d(b + kRoom, a, 0));
  return new ZcDbLine(ZcGePoint3d(a, b, 0), ZcGePoint3d(a, b + kRoom, 0));
}

// The commands drive PNGOUT, BOUNDARY, ZOOM and ERASE.
struct HostCommandsForTheRun {
  HostCommandsForTheRun() { vtcad::commands::registerHostCommands(); }
  ~HostCommandsForTheRun() { zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup); }
};

void BM_InoffsetFloorPlan(benchmark::State& state) {
  const HostCommandsForTheRun hostCommands;
  const int walls = 2 * (kRooms + 1) * kRooms;
  vtcad_bench::timeCommandOnDrawing(state, L"INOFFSET", &veltrace::inoffsetCommand, walls, wall,
                                    L"INOFFSET\nALL\n\nY\n1\n2\n");
}
BENCHMARK(BM_InoffsetFloorPlan)->Unit(benchmark::kMillisecond)->Iterations(3);

// Square s of a 50 × 25 field, side k % 4.
ZcDbEntity* squareSide(int k) {
  const int s = k / 4, side = k % 4;
  const double x = 20.0 + (s % 50) * 8.0, y = 20.0 + (s / 50) * 8.0, d = 5.0;
  const ZcGePoint3d corners[5] = {{x, y, 0}, {x + d, y, 0}, {x + d, y + d, 0}, {x, y + d, 0}, {x, y, 0}};
  return new ZcDbLine(corners[side], corners[side + 1]);
}

void BM_MakeOutlineFiveThousandLines(benchmark::State& state) {
  const HostCommandsForTheRun hostCommands;
  vtcad_bench::timeCommandOnDrawing(state, L"makeOutline", &veltrace::makeOutlineCommand, 5000, squareSide,
                                    L"makeOutline\nALL\n\nN\n");
}
BENCHMARK(BM_MakeOutlineFiveThousandLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
