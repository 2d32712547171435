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
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  using_history();
}

TerminalSource::~TerminalSource() { std::signal(SIGINT, SIG_DFL); }

std::optional<std::wstring> TerminalSource::readLine(std::wstring_view prompt) {
  std::string shown = dxf::wideToUtf8(prompt);
  char* line = readline(shown.c_str());
  if (!line) {
    if (editor::Session::instance().userBreak()) return std::wstring(L"^C");  // Ctrl+C at the prompt
    std::fputs("\n", stdout);
    return std::nullopt;  // Ctrl+D: the end of input
  }
  std::string text(line);
  std::free(line);
  if (!text.empty()) add_history(text.c_str());
  return dxf::utf8ToWide(text);
}

}  // namespace vtcad::app
