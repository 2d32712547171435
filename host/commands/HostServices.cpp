#include "commands/HostServices.h"

#include <memory>
#include <optional>
#include <string>

#include "dxf/DxfText.h"
#include "editor/Session.h"
#include "platform/Headless.h"
#include "platform/HeadlessUi.h"
#include "platform/SettingsStore.h"
#include "platform/UiBackend.h"
#include "ui/HeadlessDialogs.h"
#include "zcad/zced.h"

namespace vtcad::commands {

void startHostServices(const std::filesystem::path& configDir, bool interactive) {
  platform::setHeadless(!interactive);
  platform::TranscriptHooks hooks;
  hooks.print = [](const std::wstring& text) { editor::Session::instance().print(text); };
  hooks.promptLine = [](const std::wstring& prompt) -> std::optional<std::wstring> {
    // Enter answers "" (a file prompt then takes its default); Esc or the end of input nothing.
    ZTCHAR answer[4096] = {};
    if (zcedGetString(/*cronly=*/1, prompt.c_str(), answer, 4096) != RTNORM) return std::nullopt;
    return std::wstring(answer);
  };
  // Dialogs take their actions from the same lines (docs/dialogs.md).
  ui::setDialogBackend(std::make_shared<ui::HeadlessDialogs>(hooks));
  platform::setUiBackend(std::make_shared<platform::HeadlessUi>(std::move(hooks)));
  if (std::optional<std::string> warning = platform::configureSettings(configDir)) {
    editor::Session::instance().print(L"\nSettings: " + dxf::utf8ToWide(*warning) + L"\n");
  }
}

}  // namespace vtcad::commands
