#pragma once
// A command line with a fresh drawing and a settings store of its own, for tests that load the
// test plug-ins (tests/plugins). Whatever a test leaves loaded, locked applications included,
// is unloaded after it, so each test starts with no plug-in.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "EditorTestSupport.h"
#include "editor/DynamicLinker.h"
#include "platform/SettingsStore.h"

namespace vtcad::editor::testing {

class PluginTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    // One folder a process: ctest runs the tests of one program side by side.
    settingsDir_ = std::filesystem::path(::testing::TempDir()) /
                   ("vtcad-plugins-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    vtcad::platform::configureSettings(settingsDir_);
  }
  void TearDown() override {
    DynamicLinker::instance().unloadAll();
    EditorTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(settingsDir_, ignored);
  }

  std::filesystem::path settingsDir_;
};

}  // namespace vtcad::editor::testing
