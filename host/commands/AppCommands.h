#pragma once
// The host commands that load and unload plug-in files: APPLOAD asks for a file and loads
// it, APPUNLOAD asks for an application (its name, file name or path) and unloads it. Both
// report on the command line as the dynamic linker words it.
#include "zcad/ed/ZcEdCommandStack.h"

// Adds APPLOAD and APPUNLOAD to group "VTCAD" (global name = local name, modal). A command the
// group already has is left as it is, so calling this twice is harmless.
void registerAppCommands(ZcEdCommandStack& stack);

namespace vtcad::commands {

void appLoadCommand();
void appUnloadCommand();

}  // namespace vtcad::commands
