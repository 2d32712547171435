#include "app/TerminalSource.h"

#include <editline/readline.h>

#include <csignal>
#include <cstdlib>

#include "dxf/DxfText.h"
#include "editor/Session.h"

namespace vtcad::app {
namespace {

void onInterrupt(int) { editor::Session::interruptFromSignal(); }

}  // namespace

TerminalSource::TerminalSource() {
  // Without SA_RESTART, so that Ctrl+C ends the line editor's wait for a key.
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous_);
  using_history();
}

TerminalSource::~TerminalSource() { sigaction(SIGINT, &previous_, nullptr); }

std::optional<std::wstring> TerminalSource::readLine(std::wstring_view prompt) {
  std::string shown = dxf::wideToUtf8(prompt);
  char* line = readline(shown.c_str());
  if (!line) {
    if (editor::Session::interruptPending()) {
      // Ctrl+C at the prompt cancels the prompt; it breaks off no work.
      editor::Session::clearInterrupt();
      return std::wstring(L"^C");
    }
    std::fputs("\n", stdout);
    return std::nullopt;  // Ctrl+D: the end of input
  }
  std::string text(line);
  std::free(line);
  if (!text.empty()) add_history(text.c_str());
  return dxf::utf8ToWide(text);
}

}  // namespace vtcad::app
