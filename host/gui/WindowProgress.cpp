#include "gui/WindowProgress.h"

#include <QLabel>
#include <QProgressBar>

#include "editor/WorkPoll.h"

namespace vtcad::gui {

void WindowProgress::show(std::wstring_view label, int percent) {
  label_->setText(QString::fromWCharArray(label.data(), static_cast<qsizetype>(label.size())));
  bar_->setValue(percent);
  label_->setVisible(true);
  bar_->setVisible(true);
  editor::pollWork();
}

void WindowProgress::clear() {
  label_->setVisible(false);
  bar_->setVisible(false);
}

}  // namespace vtcad::gui
