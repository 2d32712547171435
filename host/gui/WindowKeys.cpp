#include "gui/WindowKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QThread>

#include "editor/WorkPoll.h"
#include "zcad/platform/zckeys.h"

namespace vtcad::gui {
namespace {

// The virtual-key code of a Qt key, 0 for keys nobody asks about.
int virtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return VK_MENU;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    default:
      return 0;
  }
}

}  // namespace

WindowKeys::WindowKeys() { QCoreApplication::instance()->installEventFilter(this); }

WindowKeys::~WindowKeys() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowKeys::isDown(int virtualKey) const {
  if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread()) {
    editor::pollWork();
  }
  const int key = platform::commonKey(virtualKey);
  {
    std::lock_guard lock(mutex_);
    if (held_.count(key)) return true;
  }
  return scripted_.isDown(virtualKey);
}

void WindowKeys::releaseAll() {
  scripted_.releaseAll();
  std::lock_guard lock(mutex_);
  held_.clear();
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      const int code = virtualKeyOf(key->key());
      if (code && !key->isAutoRepeat()) {
        {
          std::lock_guard lock(mutex_);
          if (event->type() == QEvent::KeyPress) {
            held_.insert(code);
          } else {
            held_.erase(code);
          }
        }
        if (code == VK_ESCAPE && event->type() == QEvent::KeyPress && onEscape) onEscape();
      }
      break;
    }
    case QEvent::ApplicationDeactivate: {
      // Keys let go in another program's window never reach this one.
      std::lock_guard lock(mutex_);
      held_.clear();
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vtcad::gui
