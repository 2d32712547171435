#pragma once
// Dialogs without windows: each user action is a line of the script (DialogActions.h), asked
// for with the prompt "\n[<title>]: " and logged to the transcript as "\n[<title>] <what it
// did>". The end of input (a cancelled prompt) is Esc; after 100 of them in a row the dialog
// ends as cancelled whatever its handlers do, so a script never hangs.
#include "platform/UiBackend.h"
#include "ui/DialogActions.h"
#include "ui/DialogBackend.h"

struct ZcUiControlState;

namespace vtcad::ui {

class HeadlessDialogs final : public DialogBackend {
 public:
  // Without a print hook, text goes to standard output; without a prompt hook, every action
  // prompt is cancelled.
  explicit HeadlessDialogs(platform::TranscriptHooks hooks);

  void runModal(CDialog& dialog) override;
  void visibilityChanged(CDialog& dialog, bool visible) override;

 private:
  void perform(CDialog& dialog, const DialogAction& action);
  void log(CDialog& dialog, const std::wstring& text);
  void show(CDialog& dialog);
  ZcUiControlState* controlFor(CDialog& dialog, const DialogAction& action);

  platform::TranscriptHooks hooks_;
  int running_ = 0;  // dialogs started and not ended (a dialog may open another)
};

}  // namespace vtcad::ui
