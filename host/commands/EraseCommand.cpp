// ERASE: removes the selected entities from the drawing (U brings them back).
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"

namespace vtcad::commands {

void eraseCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;
  reportRefused(eraseEntities(ids).refused, L"erased");
}

}  // namespace vtcad::commands
