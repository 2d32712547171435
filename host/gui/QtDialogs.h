#pragma once
// QtDialogs: the dialog framework's backend in the window (ui/DialogBackend.h). Each template
// control becomes a Qt widget at its place (dialog units as the framework counts them); what
// the user does becomes the framework's sendCommand / sendClose, and after each action the
// framework paints (sliders notify NM_CUSTOMDRAW, so FORMULA redraws while a slider moves)
// and the widgets take the controls' state again. The editor-command bracket hides and shows
// the dialog's window.
#include <map>

#include "ui/DialogBackend.h"

class QWidget;
class QDialog;

namespace vtcad::gui {

class QtDialogs final : public ui::DialogBackend {
 public:
  explicit QtDialogs(QWidget* owner) : owner_(owner) {}
  void runModal(CDialog& dialog) override;
  void visibilityChanged(CDialog& dialog, bool visible) override;

  // The window of a running dialog (tests); null when none runs.
  static QDialog* runningWindow();

 private:
  QWidget* owner_;
  std::map<CDialog*, QDialog*> windows_;
};

}  // namespace vtcad::gui
