#pragma once
// System variables by name for the host's own code (zcedGetVar and zcedSetVar are thin calls
// into these), and the setters of the variables only the host may change. Session variables
// are process-wide, on the command thread like the rest of the command line.
#include <string_view>

#include "editor/SysVarTable.h"
#include "editor/ViewTransform.h"

namespace vtcad::editor {

// RTNORM, or RTERROR for an unknown name or a drawing variable without a working drawing.
int getSystemVariable(std::wstring_view name, SysVarValue& value);
// RTNORM, or RTERROR for an unknown name, a read-only variable, a value of another type or one
// the variable does not take. A value of another type is converted only where nothing is lost:
// a whole number for a real, a 2-D point for a 3-D one (z 0) and back (z dropped), a 16-bit
// number for a 32-bit one.
int setSystemVariable(std::wstring_view name, const SysVarValue& value);

// CMDACTIVE: bits of what runs (1 a command, 2 a transparent one, 4 a script, 8 a dialog).
void setCommandActive(int bits);
// DWGNAME and DWGPREFIX (the folder, with its trailing '/').
void setDrawingName(std::wstring_view name, std::wstring_view prefix);
// SCREENSIZE: false (and no change) for less than one pixel either way.
bool setScreenSize(ScreenSize size);
ScreenSize screenSize();
// Every session variable back to its default (a new session; tests).
void resetSessionVariables();

}  // namespace vtcad::editor
