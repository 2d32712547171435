#pragma once
// WorkPoll: what long work gives the program's window while it asks whether to stop
// (zcedUsrBrk) or reads the keyboard (GetKeyState): a chance to repaint, show that it works and
// notice Esc. Headless there is nothing to poll; a window installs its poll here.
#include <functional>

namespace vtcad::editor {

// Replaces the poll; an empty function restores the headless one.
void setWorkPoll(std::function<void()> poll);
// Runs the installed poll (the command thread only).
void pollWork();

}  // namespace vtcad::editor
