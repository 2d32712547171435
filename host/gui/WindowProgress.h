#pragma once
// WindowProgress: the progress meter of long work in the window's status bar (a label and a
// bar); each change also lets the window take its events, as zcedUsrBrk does.
#include "editor/ProgressMeter.h"

class QLabel;
class QProgressBar;

namespace vtcad::gui {

class WindowProgress final : public editor::ProgressDisplay {
 public:
  WindowProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) {}
  void show(std::wstring_view label, int percent) override;
  void clear() override;

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

}  // namespace vtcad::gui
