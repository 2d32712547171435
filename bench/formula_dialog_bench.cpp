// The FORMULA dialog's redraw at a slider move, through the dialog itself: entry 30 at its
// largest (A 12, Precision 36: 15 120 points), the origin picked, then each iteration moves the
// radius slider to the other of two positions. The repaint that follows runs the dialog's
// slider handler, which erases the curve drawn last and draws the new one (samples and spline)
// into the same drawing, as a user dragging the slider sees it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string_view>

#include "editor/Session.h"
#include "formula/CurveThroughPoints.h"
#include "formula/FormulaCommand.h"
#include "frame/Messages.h"
#include "ui/DialogBackend.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/ui/ZcUiDialog.h"

namespace {

constexpr int kSphericalCurve = 29;  // entry 30
constexpr int kCurveList = 2010;
constexpr int kPreview = 4004;
constexpr int kSliderA = 4010;
constexpr int kSliderRadius = 4011;
constexpr int kSliderPrecision = 4012;

// Runs the benchmark's iterations inside the dialog's modal run.
class SliderBenchBackend final : public vtcad::ui::DialogBackend {
 public:
  explicit SliderBenchBackend(benchmark::State& state) : state_(state) {}
  void runModal(CDialog& dialog) override {
    dialog.startModal();
    dialog.paintPending();
    ZcUiControlState* list = dialog.findControl(kCurveList);
    list->selection = kSphericalCurve;
    dialog.sendCommand(kCurveList, LBN_SELCHANGE);
    dialog.paintPending();
    move(dialog, kSliderA, 12);
    move(dialog, kSliderPrecision, 36);
    // The origin comes from the script: the curve is drawn for the first time.
    dialog.sendCommand(kPreview, BN_CLICKED);
    dialog.paintPending();
    int radius = 10;
    for (auto _ : state_) {
      radius = radius == 10 ? 11 : 10;
      move(dialog, kSliderRadius, radius);
    }
    dialog.EndDialog(IDOK);
  }
  void visibilityChanged(CDialog&, bool) override {}

 private:
  static void move(CDialog& dialog, int slider, int position) {
    ZcUiControlState* state = dialog.findControl(slider);
    state->position = position;
    state->needsPaint = true;
    dialog.paintPending();
  }
  benchmark::State& state_;
};

void BM_FormulaDialogSliderRedraw(benchmark::State& state) {
  veltrace::chineseVersion = false;
  veltrace::curveOutputAsSpline = true;
  vtcad::editor::Session::instance().setOutput([](std::string_view) {});
  zcedRegCmds()->addCommand(L"FormulaDialogBench", L"FORMULA", L"FORMULA", 0, &veltrace::formulaCommand);
  vtcad::ui::setDialogBackend(std::make_shared<SliderBenchBackend>(state));
  auto db = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  vtcad::editor::Session::instance().runScript(L"FORMULA\n0,0\n", L"bench.scr");
  state.counters["points"] = 15120;
  vtcad::ui::setDialogBackend(nullptr);
  zcedRegCmds()->removeGroup(L"FormulaDialogBench");
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_FormulaDialogSliderRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
