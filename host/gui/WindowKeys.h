#pragma once
// WindowKeys: the held keys of GetKeyState read from the real keyboard: Shift, Ctrl, Alt and
// Esc as the application's key events leave them (so the key tests scripts make and a hand on
// the keyboard both count: a key is down when either holds it). Asked on the window's thread,
// it first lets the window take its events, so work that reads keys in a loop sees them change.
#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "platform/KeyboardState.h"

namespace vtcad::gui {

class WindowKeys final : public QObject, public platform::KeyboardState {
 public:
  WindowKeys();
  ~WindowKeys() override;
  bool isDown(int virtualKey) const override;
  // Scripts' key lines (~hold Ctrl) hold and release keys as headless.
  void press(int virtualKey) override { scripted_.press(virtualKey); }
  void release(int virtualKey) override { scripted_.release(virtualKey); }
  void releaseAll() override;

  // Esc was pressed anywhere in the program (a command that works is asked to stop).
  std::function<void()> onEscape;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  mutable std::mutex mutex_;
  std::set<int> held_;
  platform::HeldKeys scripted_;
};

}  // namespace vtcad::gui
