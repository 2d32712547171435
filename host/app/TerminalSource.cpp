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

TerminalSource::TerminalSource() { using_history(); }

TerminalSource::~TerminalSource() = default;

std::optional<std::wstring> TerminalSource::readLine(std::wstring_view prompt) {
  std::string shown = dxf::wideToUtf8(prompt);
  // While the line editor waits for a key, Ctrl+C must end the wait: a handler without
  // SA_RESTART. Outside of it the program's own handler (which restarts reads and writes, so
  // the transcript is never cut) is back.
  struct sigaction waiting {};
  waiting.sa_handler = onInterrupt;
  sigemptyset(&waiting.sa_mask);
  struct sigaction previous {};
  sigaction(SIGINT, &waiting, &previous);
  char* line = readline(shown.c_str());
  sigaction(SIGINT, &previous, nullptr);
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
