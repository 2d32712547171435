#pragma once
// The plug-in's tests: a command line with a fresh drawing, a settings store of its own (so
// counters and addresses start empty), no desktop (message boxes and opened pages appear in
// the transcript), English texts unless a test asks for Chinese. Whatever a test loads is
// unloaded after it.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "editor/DynamicLinker.h"
#include "frame/Messages.h"
#include "frame/Settings.h"
#include "host/editor/EditorTestSupport.h"
#include "platform/Headless.h"
#include "platform/HeadlessUi.h"
#include "platform/SettingsStore.h"
#include "platform/UiBackend.h"
#include "ui/DialogBackend.h"
#include "ui/HeadlessDialogs.h"
#include "zcad/platform/zcreg.h"

namespace veltrace::testing {

class VeltraceTest : public vtcad::editor::testing::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    vtcad::platform::setHeadless(true);
    // Message boxes and opened pages are printed where the test reads the transcript.
    vtcad::platform::TranscriptHooks hooks;
    hooks.print = [](const std::wstring& text) { vtcad::editor::Session::instance().print(text); };
    // Dialogs open and are cancelled at once unless a test drives them (driveDialogsFromTheScript).
    vtcad::ui::setDialogBackend(std::make_shared<vtcad::ui::HeadlessDialogs>(hooks));
    vtcad::platform::setUiBackend(std::make_shared<vtcad::platform::HeadlessUi>(std::move(hooks)));
    // One folder per test and process: ctest runs the tests of one program side by side.
    settingsDir_ = std::filesystem::path(::testing::TempDir()) /
                   ("veltrace-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(settingsDir_);
    vtcad::platform::configureSettings(settingsDir_);
    chineseVersion = false;
  }
  void TearDown() override {
    vtcad::editor::DynamicLinker::instance().unloadAll();
    vtcad::platform::setUiBackend(nullptr);
    vtcad::ui::setDialogBackend(nullptr);
    chineseVersion = false;
    EditorTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(settingsDir_, ignored);
  }
  // File names are asked on the command line, as vtcad does when no desktop is there.
  static void askFileNamesOnTheCommandLine() {
    vtcad::platform::TranscriptHooks hooks;
    hooks.print = [](const std::wstring& text) { vtcad::editor::Session::instance().print(text); };
    hooks.promptLine = [](const std::wstring& prompt) -> std::optional<std::wstring> {
      ZTCHAR answer[4096] = {};
      if (zcedGetString(/*cronly=*/1, prompt.c_str(), answer, 4096) != RTNORM) return std::nullopt;
      return std::wstring(answer);
    };
    vtcad::platform::setUiBackend(std::make_shared<vtcad::platform::HeadlessUi>(std::move(hooks)));
  }
  // Dialog actions are lines of the script, as vtcad takes them (docs/dialogs.md).
  static void driveDialogsFromTheScript() {
    vtcad::platform::TranscriptHooks hooks;
    hooks.print = [](const std::wstring& text) { vtcad::editor::Session::instance().print(text); };
    hooks.promptLine = [](const std::wstring& prompt) -> std::optional<std::wstring> {
      ZTCHAR answer[4096] = {};
      if (zcedGetString(/*cronly=*/1, prompt.c_str(), answer, 4096) != RTNORM) return std::nullopt;
      return std::wstring(answer);
    };
    vtcad::ui::setDialogBackend(std::make_shared<vtcad::ui::HeadlessDialogs>(std::move(hooks)));
  }
  // A string setting under the plug-in's key.
  static void setStringSetting(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }

  std::filesystem::path settingsDir_;
};

}  // namespace veltrace::testing
