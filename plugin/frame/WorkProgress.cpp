#include "frame/WorkProgress.h"

#include <algorithm>

#include "zcad/zced.h"

namespace veltrace {

namespace {

// The host's meter counts in int; larger totals are scaled down to this many positions.
constexpr std::size_t kMaxPositions = 1'000'000;

int positionOf(std::size_t done, std::size_t total) {
  done = std::min(done, total);
  if (total <= kMaxPositions) return static_cast<int>(done);
  return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kMaxPositions);
}

}  // namespace

WorkProgress::WorkProgress(const wchar_t* label, std::size_t total) : total_(total) {
  // Degenerate case: no steps at all, nothing to show (the host refuses an empty range).
  if (total_ > 0) {
    started_ = zcedSetStatusBarProgressMeter(label, /*minPos=*/0, positionOf(total_, total_)) == 0;
  }
}

WorkProgress::~WorkProgress() {
  if (started_) zcedRestoreStatusBar();
}

bool WorkProgress::advance(std::size_t done) {
  if (started_) zcedSetStatusBarProgressMeterPos(positionOf(done, total_));
  return zcedUsrBrk() == 0;
}

}  // namespace veltrace
