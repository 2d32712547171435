// Headless unless there is a display and nobody asked for headless.
#include <gtest/gtest.h>

#include "PlatformTestSupport.h"
#include "platform/Headless.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

TEST(Headless, ADisplayMakesADesktopUnlessHeadlessIsAskedFor) {
  ScopedEnv flag("VTCAD_HEADLESS", nullptr);
  {
    ScopedEnv x11("DISPLAY", ":0");
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    EXPECT_FALSE(isHeadless());
    setHeadless(true);
    EXPECT_TRUE(isHeadless());
    setHeadless(false);
    EXPECT_FALSE(isHeadless());
    ScopedEnv asked("VTCAD_HEADLESS", "1");
    EXPECT_TRUE(isHeadless());
  }
  {
    ScopedEnv x11("DISPLAY", "");
    ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_FALSE(isHeadless());
  }
  ScopedEnv x11("DISPLAY", nullptr);
  ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
  EXPECT_TRUE(isHeadless());
}
