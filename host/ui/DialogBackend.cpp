#include "ui/DialogBackend.h"

#include "ui/HeadlessDialogs.h"

namespace vtcad::ui {

namespace {

std::shared_ptr<DialogBackend>& slot() {
  static std::shared_ptr<DialogBackend> backend;
  return backend;
}

}  // namespace

std::shared_ptr<DialogBackend> dialogBackend() {
  std::shared_ptr<DialogBackend>& backend = slot();
  if (!backend) backend = std::make_shared<HeadlessDialogs>(platform::TranscriptHooks{});
  return backend;
}

void setDialogBackend(std::shared_ptr<DialogBackend> backend) { slot() = std::move(backend); }

}  // namespace vtcad::ui
