#pragma once
// WindowSource: the command line typed in the main window, as a line source of the command
// loop. Like the terminal it shows the prompt itself (in the input row) and puts what was typed
// after it into the transcript; the end of input is the window closing.
#include "editor/InputSource.h"

namespace vtcad::gui {

class MainWindow;

class WindowSource final : public editor::InputSource {
 public:
  explicit WindowSource(MainWindow& window) : window_(window) {}
  Kind kind() const override { return Kind::kLines; }
  std::optional<std::wstring> readLine(std::wstring_view prompt) override;
  bool echoes() const override { return false; }
  bool showsPrompt() const override { return true; }
  std::wstring name() const override { return L"window"; }

 private:
  MainWindow& window_;
};

}  // namespace vtcad::gui
