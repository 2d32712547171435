#include "commands/DrawCommands.h"

namespace {

struct CommandEntry {
  const ZTCHAR* name;
  ZcRxFunctionPtr function;
};

constexpr CommandEntry kDrawCommands[] = {
    {L"LINE", &vtcad::commands::lineCommand},         {L"PLINE", &vtcad::commands::plineCommand},
    {L"CIRCLE", &vtcad::commands::circleCommand},     {L"ARC", &vtcad::commands::arcCommand},
    {L"ELLIPSE", &vtcad::commands::ellipseCommand},   {L"SPLINE", &vtcad::commands::splineCommand},
    {L"POINT", &vtcad::commands::pointCommand},       {L"TEXT", &vtcad::commands::textCommand},
    {L"3DPOLY", &vtcad::commands::poly3dCommand},     {L"INSERT", &vtcad::commands::insertCommand},
    {L"BOUNDARY", &vtcad::commands::boundaryCommand}, {L"-BOUNDARY", &vtcad::commands::boundaryCommand},
};

}  // namespace

void registerDrawCommands(ZcEdCommandStack& stack) {
  for (const CommandEntry& entry : kDrawCommands) {
    // eDuplicateKey when registered before: the command is there, which is all we need.
    (void)stack.addCommand(L"VTCAD", /*cmdGlobalName=*/entry.name, /*cmdLocalName=*/entry.name,
                           ZcRx::kCmdModal, entry.function);
  }
}
