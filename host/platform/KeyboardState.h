#pragma once
// Which keys are held, behind one small interface: headless the held keys are a set that
// scripts and the command line change (editor/KeyLines.h); a desktop program installs a
// backend reading its window's keyboard. GetKeyState and GetAsyncKeyState (zcad/platform/
// zckeys.h) ask the installed backend.
#include <memory>
#include <mutex>
#include <set>

namespace vtcad::platform {

class KeyboardState {
 public:
  virtual ~KeyboardState() = default;
  // Whether the key of this virtual-key code (VK_SHIFT, VK_CONTROL, VK_MENU, VK_ESCAPE) is down.
  virtual bool isDown(int virtualKey) const = 0;
  // Holds or releases a key as a script asks. A backend reading a real keyboard may ignore it.
  virtual void press(int virtualKey) = 0;
  virtual void release(int virtualKey) = 0;
  virtual void releaseAll() = 0;
};

// The headless backend: the keys pressed and not yet released.
class HeldKeys final : public KeyboardState {
 public:
  bool isDown(int virtualKey) const override;
  void press(int virtualKey) override;
  void release(int virtualKey) override;
  void releaseAll() override;

 private:
  mutable std::mutex mutex_;
  std::set<int> held_;
};

// Left and right keys answer as their common key (VK_LSHIFT as VK_SHIFT): a script holds
// "Ctrl", a query may ask for either.
int commonKey(int virtualKey);

// The process's backend; HeldKeys until another is set.
KeyboardState& keyboardState();
// Null brings back a fresh HeldKeys with nothing held.
void setKeyboardState(std::shared_ptr<KeyboardState> backend);

}  // namespace vtcad::platform
