#pragma once
// Timing a plug-in command end to end: each iteration fills a new drawing (not timed), runs a
// script on it (timed: selection, the command's work, its undo group) and drops the drawing
// (not timed).
#include <benchmark/benchmark.h>

#include <memory>
#include <string_view>

#include "editor/Session.h"
#include "frame/Messages.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace vtcad_bench {

// `name` is registered as `body` for the run; makeEntity(k) gives the k-th of `count`
// entities of the drawing's model space.
template <typename MakeEntity>
void timeCommandOnDrawing(benchmark::State& state, const wchar_t* name, void (*body)(), int count,
                          MakeEntity makeEntity, const wchar_t* script) {
  veltrace::chineseVersion = false;
  vtcad::editor::Session::instance().setOutput([](std::string_view) {});
  zcedRegCmds()->addCommand(L"CommandOnDrawingBench", name, name, 0, body);
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<ZcDbDatabase>();
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    {
      ZcDbBlockTableRecord* space = nullptr;
      zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
      for (int k = 0; k < count; ++k) {
        ZcDbEntity* entity = makeEntity(k);
        space->appendZcDbEntity(entity);
        entity->close();
      }
      space->close();
    }
    state.ResumeTiming();
    vtcad::editor::Session::instance().runScript(script);
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    state.ResumeTiming();
  }
  zcedRegCmds()->removeGroup(L"CommandOnDrawingBench");
}

}  // namespace vtcad_bench
