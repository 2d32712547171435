// Frames of the desktop window's canvas (vtcad --gui): a drawing of 100 000 or 1 000 000
// entities (a quarter each lines, arcs, circles and four-segment polylines at random over a
// 10 000 x 10 000 square, fixed seed) on a 1600 x 1000 canvas, offscreen (software
// rendering). Each pan step is a frame as the user sees it: the view moved, the kept picture
// moved and the uncovered strip drawn by the renderer. Each wheel notch is a frame of the zoom
// preview; the regeneration when the wheel rests is timed apart. Goal: under 16 ms a frame at
// 100 000 entities; the first frame of 1 000 000 (with the box tree built) is part of showing
// a drawing in under 3 s.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWheelEvent>
#include <map>
#include <memory>

#include "ScatteredDrawing.h"
#include "commands/CurrentView.h"
#include "gui/DrawingCanvas.h"
#include "render/ExtentsView.h"
#include "zcad/db/ZcDbDatabase.h"

namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "vtcad_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

// The canvas on the drawing at its extents, as a window opening it with ZOOM E shows it.
struct Shown {
  std::unique_ptr<ZcDbDatabase> db;
  std::unique_ptr<vtcad::gui::DrawingCanvas> canvas;
};

Shown shownDrawing(long count) {
  application();
  Shown shown{vtcad_bench::scatteredDrawing(count), std::make_unique<vtcad::gui::DrawingCanvas>()};
  zcdbHostApplicationServices()->setWorkingDatabase(shown.db.get());
  shown.canvas->resize(1600, 1000);
  const auto extents = vtcad::render::extentsView(shown.db.get(), {1600, 1000});
  (void)vtcad::commands::setCurrentView(shown.db.get(), ZcGePoint2d(extents.center().x, extents.center().y),
                                        extents.height());
  return shown;
}

Shown& keptDrawing(long count);

void BM_GuiPanFrame(benchmark::State& state) {
  Shown& shown = keptDrawing(state.range(0));
  shown.canvas->refresh();
  double step = 3.0;
  for (auto _ : state) {
    shown.canvas->panBy(QPointF(step, 0.0));  // pans: moves the kept picture, draws a strip
    step = -step;
    benchmark::DoNotOptimize(shown.canvas->frame().constBits());
  }
  state.counters["regenerations"] = static_cast<double>(shown.canvas->regenerations());
  state.counters["scrolls"] = static_cast<double>(shown.canvas->scrolls());
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_GuiPanFrame)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

Shown& keptDrawing(long count) {
  static std::map<long, Shown> drawings;
  Shown& shown = drawings[count];
  if (!shown.db) shown = shownDrawing(count);
  zcdbHostApplicationServices()->setWorkingDatabase(shown.db.get());
  return shown;
}

void wheel(vtcad::gui::DrawingCanvas& canvas, int notches) {
  const QPointF at(800, 500);
  QWheelEvent event(at, at, QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&canvas, &event);
}

// One wheel notch as the user sees it while turning the wheel: the kept picture scaled.
void BM_GuiWheelFrame(benchmark::State& state) {
  Shown& shown = keptDrawing(state.range(0));
  shown.canvas->settle();
  shown.canvas->refresh();
  int notches = 1;
  for (auto _ : state) {
    wheel(*shown.canvas, notches);
    notches = -notches;
    const QImage picture = shown.canvas->shownPicture();
    benchmark::DoNotOptimize(picture.constBits());
  }
  shown.canvas->settle();
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_GuiWheelFrame)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

// The picture drawn anew when the wheel rests, zoomed in by two notches from the extents (a
// good two fifths of the drawing in view) and back out.
void BM_GuiWheelRest(benchmark::State& state) {
  Shown& shown = keptDrawing(state.range(0));
  shown.canvas->settle();
  int notches = 2;
  for (auto _ : state) {
    wheel(*shown.canvas, notches);
    notches = -notches;
    shown.canvas->settle();
    benchmark::DoNotOptimize(shown.canvas->frame().constBits());
  }
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_GuiWheelRest)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The first frame of a drawing just opened: the box tree is built, everything is drawn.
void BM_GuiFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Shown shown = shownDrawing(state.range(0));
    state.ResumeTiming();
    shown.canvas->refresh();
    benchmark::DoNotOptimize(shown.canvas->frame().constBits());
    state.PauseTiming();
    zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
    shown = Shown{};
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GuiFirstFrame)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
