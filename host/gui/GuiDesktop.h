#pragma once
// The Qt side of the desktop, for the window's tests: the main window of a desktop that
// openDesktop made.
#include "gui/Desktop.h"

namespace vtcad::gui {

class MainWindow;

MainWindow& mainWindowOf(Desktop& desktop);

}  // namespace vtcad::gui
