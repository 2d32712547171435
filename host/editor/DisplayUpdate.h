#pragma once
// DisplayUpdate: what zcedUpdateDisplay does. A host without a screen does nothing (the
// headless backend, the default); a window installs its repaint here, so plug-ins that ask for
// an update after changing entities see it on screen.
#include <functional>

namespace vtcad::editor {

// Replaces the update; an empty function restores the headless one.
void setDisplayUpdate(std::function<void()> update);

}  // namespace vtcad::editor
