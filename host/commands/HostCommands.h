#pragma once
// The host's own commands, all in one group of the command stack.
#include "zcad/ed/ZcEdCommandStack.h"

namespace vtcad::commands {

inline constexpr const ZTCHAR* kHostGroup = L"VTCAD";

// Registers every host command (drawing, editing, view, undo, files, plug-ins).
void registerHostCommands();

void registerUndoCommands(ZcEdCommandStack& stack);
void registerFileCommands(ZcEdCommandStack& stack);

}  // namespace vtcad::commands
