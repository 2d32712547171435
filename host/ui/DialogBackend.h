#pragma once
// What runs a modal dialog: the one small interface between the dialog framework
// (zcad/ui/ZcUiDialog.h) and a toolkit. The headless backend (HeadlessDialogs.h) takes the
// user's actions from script lines; a desktop backend would show windows. A backend shows the
// dialog, calls startModal, then until the dialog has ended: paintPending, one user action
// turned into sendCommand / sendNotify / sendClose. The process has one backend at a time,
// used on the command thread only.
#include <memory>

class CDialog;

namespace vtcad::ui {

class DialogBackend {
 public:
  virtual ~DialogBackend() = default;
  // Runs `dialog` until it has ended.
  virtual void runModal(CDialog& dialog) = 0;
  // The dialog hid itself for a prompt on the command line, or shows itself again.
  virtual void visibilityChanged(CDialog& dialog, bool visible) = 0;
};

// The process's backend: until another is set, a headless one printing to standard output
// whose every action prompt is cancelled (a dialog opens and is cancelled at once).
std::shared_ptr<DialogBackend> dialogBackend();
// Null brings back that default backend.
void setDialogBackend(std::shared_ptr<DialogBackend> backend);

}  // namespace vtcad::ui
