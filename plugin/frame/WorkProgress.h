#pragma once
// Long work of a command (an array of a million copies, a large coordinate file, thousands of
// polylines): its progress on the host's status bar, and whether the user broke it off.
#include <cstddef>

namespace veltrace {

class WorkProgress {
 public:
  // `label` is shown beside the meter (the command's name); `total` steps make the whole.
  WorkProgress(const wchar_t* label, std::size_t total);
  ~WorkProgress();
  WorkProgress(const WorkProgress&) = delete;
  WorkProgress& operator=(const WorkProgress&) = delete;

  // Moves the meter to `done` steps. False when the user broke the command off (Ctrl+C or
  // Esc): the command stops at once and says nothing more, since the host takes back all it
  // did.
  bool advance(std::size_t done);

 private:
  std::size_t total_;
  bool started_ = false;
};

}  // namespace veltrace
