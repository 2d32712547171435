#include "platform/KeyboardState.h"

#include "zcad/platform/zckeys.h"

namespace vtcad::platform {

namespace {

std::mutex backendMutex;
std::shared_ptr<KeyboardState> backend = std::make_shared<HeldKeys>();

SHORT stateOf(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 0xFF) return 0;
  return keyboardState().isDown(commonKey(virtualKey)) ? static_cast<SHORT>(0x8000 - 0x10000) : SHORT{0};
}

}  // namespace

int commonKey(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return virtualKey;
  }
}

bool HeldKeys::isDown(int virtualKey) const {
  std::lock_guard lock(mutex_);
  return held_.contains(virtualKey);
}

void HeldKeys::press(int virtualKey) {
  std::lock_guard lock(mutex_);
  held_.insert(virtualKey);
}

void HeldKeys::release(int virtualKey) {
  std::lock_guard lock(mutex_);
  held_.erase(virtualKey);
}

void HeldKeys::releaseAll() {
  std::lock_guard lock(mutex_);
  held_.clear();
}

KeyboardState& keyboardState() {
  std::lock_guard lock(backendMutex);
  return *backend;
}

void setKeyboardState(std::shared_ptr<KeyboardState> replacement) {
  std::lock_guard lock(backendMutex);
  backend = replacement ? std::move(replacement) : std::make_shared<HeldKeys>();
}

}  // namespace vtcad::platform

SHORT GetKeyState(int nVirtKey) { return vtcad::platform::stateOf(nVirtKey); }

SHORT GetAsyncKeyState(int vKey) { return vtcad::platform::stateOf(vKey); }
