// A shape that carries a connector moved among many other entities: the link reactor's
// crossing selection inside the notification, through the selection index. Beside it the
// same crossing window answered through the index and by walking the whole space. And
// txt2PL on a thousand texts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string_view>

#include "CommandOnDrawing.h"
#include "commands/HostCommands.h"
#include "editor/EntityPick.h"
#include "editor/SelectableEntities.h"
#include "editor/Session.h"
#include "frame/LinkReactorClass.h"
#include "linkline/LinkLineCommands.h"
#include "polyline/TextToPolylines.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace {

constexpr int kOthers = 100000;

// A drawing of kOthers small circles on a 1000 x 1000 grid of step 10, two rectangles in a
// free corner and a linkLineAuto connector between them.
struct LinkedDrawing {
  std::unique_ptr<ZcDbDatabase> db = std::make_unique<ZcDbDatabase>();
  ZcDbObjectId shape;

  LinkedDrawing() {
    veltrace::chineseVersion = false;
    vtcad::editor::Session::instance().setOutput([](std::string_view) {});
    zcdbHostApplicationServices()->setWorkingDatabase(db.get());
    veltrace::registerLinkReactorClass();
    ZcDbBlockTableRecord* space = nullptr;
    zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
    for (int k = 0; k < kOthers; ++k) {
      auto* circle =
          new ZcDbCircle(ZcGePoint3d(10.0 * (k % 316), 10.0 * (k / 316), 0), ZcGeVector3d::kZAxis, 2);
      space->appendZcDbEntity(circle);
      circle->close();
    }
    for (double x : {-200.0, -100.0}) {
      auto* outline = new ZcDbPolyline;
      outline->addVertexAt(0, ZcGePoint2d(x, -200));
      outline->addVertexAt(1, ZcGePoint2d(x + 40, -200));
      outline->addVertexAt(2, ZcGePoint2d(x + 40, -180));
      outline->addVertexAt(3, ZcGePoint2d(x, -180));
      outline->setClosed(true);
      ZcDbObjectId id;
      space->appendZcDbEntity(id, outline);
      outline->close();
      if (shape.isNull()) shape = id;
    }
    space->close();
    zcedRegCmds()->addCommand(L"LinkLineBench", L"linkLineAuto", L"linkLineAuto", 0,
                              &veltrace::linkLineAutoCommand);
    vtcad::editor::Session::instance().runScript(L"linkLineAuto\n-160,-190\n-100,-190\n");
    zcedRegCmds()->removeGroup(L"LinkLineBench");
  }
  ~LinkedDrawing() {
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db.reset();
    veltrace::unregisterLinkReactorClass();
  }
};

// One move of the shape as a command makes it: open, transform, close, in an undo group;
// the reactor selects near the shape and moves the connector's end.
void BM_MoveLinkedShapeAmongManyEntities(benchmark::State& state) {
  LinkedDrawing drawing;
  ZcGeMatrix3d there, back;
  there.setToTranslation(ZcGeVector3d(0, 5, 0));
  back.setToTranslation(ZcGeVector3d(0, -5, 0));
  bool out = true;
  for (auto _ : state) {
    drawing.db->beginUndoGroup();
    ZcDbEntity* entity = nullptr;
    zcdbOpenObject(entity, drawing.shape, ZcDb::kForWrite);
    entity->transformBy(out ? there : back);
    entity->close();
    drawing.db->endUndoGroup();
    out = !out;
  }
}
BENCHMARK(BM_MoveLinkedShapeAmongManyEntities)->Unit(benchmark::kMillisecond);

// The reactor's crossing window (the shape's box grown by a thirtieth of its diagonal),
// answered as zcedSSGet "_C" does.
const ZcGePoint2d kWindowMin(-201.5, -201.5), kWindowMax(-158.5, -178.5);

void BM_CrossingWindowThroughTheIndex(benchmark::State& state) {
  LinkedDrawing drawing;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vtcad::editor::entitiesInWindow(*drawing.db, kWindowMin, kWindowMax,
                                                             vtcad::editor::WindowMode::kCrossing, 0.01));
  }
}
BENCHMARK(BM_CrossingWindowThroughTheIndex)->Unit(benchmark::kMillisecond);

void BM_CrossingWindowWalkingTheSpace(benchmark::State& state) {
  LinkedDrawing drawing;
  for (auto _ : state) {
    std::vector<ZcDbObjectId> all;
    for (const auto& entity : vtcad::editor::selectableEntities(*drawing.db))
      if (!entity.onOffLayer) all.push_back(entity.id);
    benchmark::DoNotOptimize(vtcad::editor::entitiesInWindow(all, kWindowMin, kWindowMax,
                                                             vtcad::editor::WindowMode::kCrossing, 0.01));
  }
}
BENCHMARK(BM_CrossingWindowWalkingTheSpace)->Unit(benchmark::kMillisecond);

// txt2PL on 1000 one-line texts.
void BM_Txt2plOnAThousandTexts(benchmark::State& state) {
  vtcad::commands::registerHostCommands();
  vtcad_bench::timeCommandOnDrawing(
      state, L"txt2PL", &veltrace::txt2plCommand, 1000,
      [](int k) {
        return new ZcDbText(ZcGePoint3d(100.0 * (k % 40), 20.0 * (k / 40), 0), L"Veltrace 42",
                            ZcDbObjectId::kNull, 8.0, 0.0);
      },
      L"txt2PL\nALL\n\n");
  zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
}
BENCHMARK(BM_Txt2plOnAThousandTexts)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
