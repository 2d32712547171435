// The process's user-interface backend.
#include "platform/UiBackend.h"

#include <mutex>

#include "platform/HeadlessUi.h"

namespace vtcad::platform {

namespace {

struct Slot {
  std::mutex mutex;
  std::shared_ptr<UiBackend> backend;
};

Slot& slot() {
  static Slot instance;
  return instance;
}

}  // namespace

std::shared_ptr<UiBackend> uiBackend() {
  Slot& s = slot();
  std::lock_guard lock(s.mutex);
  if (!s.backend) s.backend = std::make_shared<HeadlessUi>(TranscriptHooks{});
  // A copy: a caller keeps its backend alive through a call even when another is set meanwhile.
  return s.backend;
}

void setUiBackend(std::shared_ptr<UiBackend> backend) {
  Slot& s = slot();
  std::lock_guard lock(s.mutex);
  s.backend = std::move(backend);
}

}  // namespace vtcad::platform
