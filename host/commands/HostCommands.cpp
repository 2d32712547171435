#include "commands/HostCommands.h"

#include "commands/AppCommands.h"
#include "commands/DrawCommands.h"
#include "commands/EditCommands.h"
#include "editor/CommandStack.h"

namespace vtcad::commands {

void registerHostCommands() {
  ZcEdCommandStack& stack = editor::CommandStack::instance();
  // Registering twice (a test that starts the host again) finds the group there already.
  if (stack.lookupGlobalCmd(L"UNDO")) return;
  registerDrawCommands(stack);
  registerEditCommands(stack);
  registerUndoCommands(stack);
  registerFileCommands(stack);
  registerAppCommands(stack);
}

}  // namespace vtcad::commands
