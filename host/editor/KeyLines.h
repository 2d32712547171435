#pragma once
// Key lines: script and command-line lines that hold or release keys instead of giving an
// input, so that commands polling the keyboard (GetKeyState) can be driven without one.
//   ~hold Ctrl Shift     ~release Alt     ~release      (the last releases every key)
// Key names: Shift, Ctrl (Control), Alt, Esc (Escape), any case.
#include <string_view>

namespace vtcad::editor {

// Whether `line` is a key line (it starts with "~hold" or "~release" and a space or its end).
bool isKeyLine(std::wstring_view line);
// Applies a key line to the keyboard state (platform/KeyboardState.h). Names it does not know
// are left alone and said on the command line ("Unknown key name: X."); the known ones still
// take effect.
void applyKeyLine(std::wstring_view line);

}  // namespace vtcad::editor
