// Headless or desktop.
#include "platform/Headless.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace vtcad::platform {

namespace {

std::atomic<bool> forced{false};

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] != '\0';
}

}  // namespace

void setHeadless(bool headless) { forced = headless; }

bool isHeadless() {
  if (forced) return true;
  const char* flag = std::getenv("VTCAD_HEADLESS");
  if (flag && std::strcmp(flag, "1") == 0) return true;
  return !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY");
}

}  // namespace vtcad::platform
