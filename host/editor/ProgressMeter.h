#pragma once
// The progress meter of long work (zcedSetStatusBarProgressMeter and its kin, and the host's
// own open and save). One meter per process, on the command thread. It decides when there is
// something worth showing (not before kShowAfter has passed since the start, then at each
// change of the whole percentage) and hands that to a display: a terminal line, the desktop
// program's status bar, or nothing (the default, headless and in pipes).
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace vtcad::editor {

class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual void show(std::wstring_view label, int percent) = 0;
  // The meter stopped: whatever show() put up goes away.
  virtual void clear() = 0;
};

class ProgressMeter {
 public:
  static constexpr std::chrono::milliseconds kShowAfter{250};

  static ProgressMeter& instance();
  // Null: nothing is shown.
  void setDisplay(std::shared_ptr<ProgressDisplay> display);
  // How long work runs before its progress shows (kShowAfter unless set; tests use 0).
  void setShowAfter(std::chrono::milliseconds delay) { showAfter_ = delay; }

  // False (and nothing started) for an empty range.
  bool start(std::wstring label, double minPos, double maxPos);
  void setPosition(double pos);
  void stop();
  bool active() const { return active_; }
  // The whole percentage of the last position (0..100).
  int percent() const { return percent_; }

 private:
  std::shared_ptr<ProgressDisplay> display_;
  std::wstring label_;
  double min_ = 0, max_ = 1;
  int percent_ = 0;
  bool active_ = false;
  bool shown_ = false;
  std::chrono::milliseconds showAfter_ = kShowAfter;
  std::chrono::steady_clock::time_point started_;
};

// A meter for host code: started by the constructor, stopped by the destructor.
class ProgressScope {
 public:
  ProgressScope(std::wstring label, double total) {
    ProgressMeter::instance().start(std::move(label), 0, total);
  }
  ~ProgressScope() { ProgressMeter::instance().stop(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
  void update(double done) { ProgressMeter::instance().setPosition(done); }
};

}  // namespace vtcad::editor
