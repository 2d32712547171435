#include "editor/ProgressMeter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zcad/zced.h"

namespace vtcad::editor {

ProgressMeter& ProgressMeter::instance() {
  static ProgressMeter* meter = new ProgressMeter;  // plug-ins may stop theirs while the process ends
  return *meter;
}

void ProgressMeter::setDisplay(std::shared_ptr<ProgressDisplay> display) {
  if (shown_ && display_) display_->clear();
  shown_ = false;
  display_ = std::move(display);
}

bool ProgressMeter::start(std::wstring label, double minPos, double maxPos) {
  // Degenerate case: an empty or inverted range (NaN included) has no percentage.
  if (!(maxPos > minPos)) return false;
  if (active_) stop();
  label_ = std::move(label);
  min_ = minPos;
  max_ = maxPos;
  percent_ = 0;
  active_ = true;
  shown_ = false;
  started_ = std::chrono::steady_clock::now();
  return true;
}

void ProgressMeter::setPosition(double pos) {
  if (!active_) return;
  const double fraction = std::clamp((pos - min_) / (max_ - min_), 0.0, 1.0);
  const int percent = std::isnan(fraction) ? 0 : static_cast<int>(fraction * 100.0);
  // Most calls end here: work is stepped far more often than a percentage changes.
  if (percent == percent_ && shown_) return;
  percent_ = percent;
  if (!display_) return;
  if (!shown_ && std::chrono::steady_clock::now() - started_ < showAfter_) return;
  shown_ = true;
  display_->show(label_, percent_);
}

void ProgressMeter::stop() {
  if (shown_ && display_) display_->clear();
  active_ = false;
  shown_ = false;
}

}  // namespace vtcad::editor

int zcedSetStatusBarProgressMeter(const ZTCHAR* label, int minPos, int maxPos) {
  return vtcad::editor::ProgressMeter::instance().start(label ? label : L"", minPos, maxPos) ? 0 : -1;
}

int zcedSetStatusBarProgressMeterPos(int pos) {
  vtcad::editor::ProgressMeter::instance().setPosition(pos);
  return 0;
}

void zcedRestoreStatusBar() { vtcad::editor::ProgressMeter::instance().stop(); }
