#pragma once
// Desktop: the program's main window (vtcad --gui) as the program's start sees it, without
// Qt in sight: it is shown before the scripts run (so they run in view) and then gives the
// command line typed in the window, which the command loop reads until the window closes.
#include <memory>
#include <string>

#include "editor/InputSource.h"

namespace vtcad::gui {

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual void show() = 0;
  // After the host's services started: message boxes and file dialogs become the window's.
  virtual void startServices() = 0;
  // The drawing was opened or replaced: the window shows it whole and names it.
  virtual void drawingOpened() = 0;
  virtual std::unique_ptr<editor::InputSource> commandLine() = 0;
  // Writes a PNG picture of the whole window; empty when written, otherwise why not.
  virtual std::string screenshot(const std::string& path) = 0;
};

struct DesktopOpened {
  std::unique_ptr<Desktop> desktop;  // null: no window can be shown, `why` says why
  std::string why;
};

// Starts the window system's side of the program (one per process). `argc` and `argv` must
// outlive the desktop.
DesktopOpened openDesktop(int& argc, char** argv);

}  // namespace vtcad::gui
