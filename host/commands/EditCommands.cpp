#include "commands/EditCommands.h"

#include "zcad/ed/ZcEdCommandStack.h"

namespace {

struct CommandEntry {
  const ZTCHAR* name;
  ZcRxFunctionPtr function;
  Zdesk::Int32 flags;
};

// ZOOM may run inside another command ('ZOOM while a prompt waits), as view commands do.
constexpr CommandEntry kEditCommands[] = {
    {L"ERASE", &vtcad::commands::eraseCommand, ZcRx::kCmdModal},
    {L"MOVE", &vtcad::commands::moveCommand, ZcRx::kCmdModal},
    {L"COPY", &vtcad::commands::copyCommand, ZcRx::kCmdModal},
    {L"SCALE", &vtcad::commands::scaleCommand, ZcRx::kCmdModal},
    {L"ROTATE", &vtcad::commands::rotateCommand, ZcRx::kCmdModal},
    {L"MIRROR", &vtcad::commands::mirrorCommand, ZcRx::kCmdModal},
    {L"ZOOM", &vtcad::commands::zoomCommand, ZcRx::kCmdModal | ZcRx::kCmdTransparent},
    {L"PEDIT", &vtcad::commands::peditCommand, ZcRx::kCmdModal},
    {L"LIST", &vtcad::commands::listCommand, ZcRx::kCmdModal},
    {L"PNGOUT", &vtcad::commands::pngoutCommand, ZcRx::kCmdModal},
    {L"WMFOUT", &vtcad::commands::wmfoutCommand, ZcRx::kCmdModal},
    {L"WMFIN", &vtcad::commands::wmfinCommand, ZcRx::kCmdModal},
    {L"REGEN", &vtcad::commands::regenCommand, ZcRx::kCmdModal},
    {L"SETVAR", &vtcad::commands::setvarCommand, ZcRx::kCmdModal | ZcRx::kCmdTransparent},
};

}  // namespace

void registerEditCommands(ZcEdCommandStack& stack) {
  for (const CommandEntry& entry : kEditCommands) {
    // eDuplicateKey when registered before: the command is there, which is all we need.
    (void)stack.addCommand(L"VTCAD", /*cmdGlobalName=*/entry.name, /*cmdLocalName=*/entry.name, entry.flags,
                           entry.function);
  }
}
