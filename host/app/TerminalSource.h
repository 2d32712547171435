#pragma once
// The interactive command line: lines typed at a terminal, with line editing and history
// (libedit). Ctrl+C at a prompt cancels it (and interrupts a command that works, as the
// program's own handler does); Ctrl+D at an empty line ends the session.
#include "editor/InputSource.h"

namespace vtcad::app {

class TerminalSource final : public editor::InputSource {
 public:
  TerminalSource();
  ~TerminalSource() override;
  Kind kind() const override { return Kind::kLines; }
  std::optional<std::wstring> readLine(std::wstring_view prompt) override;
  bool echoes() const override { return false; }
  bool showsPrompt() const override { return true; }
  std::wstring name() const override { return L"terminal"; }
};

}  // namespace vtcad::app
