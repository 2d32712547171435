// Registration of the editing commands on the command stack.
#include <gtest/gtest.h>

#include "commands/EditCommands.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace {

TEST(EditCommandsTest, EveryCommandIsInTheHostGroupAndOnlyZoomIsTransparent) {
  ZcEdCommandStack& stack = *zcedRegCmds();
  registerEditCommands(stack);
  registerEditCommands(stack);  // twice: harmless
  for (const wchar_t* name :
       {L"ERASE", L"MOVE", L"COPY", L"SCALE", L"ROTATE", L"MIRROR", L"ZOOM", L"PEDIT", L"LIST"}) {
    const ZcEdCommand* command = stack.lookupGlobalCmd(name);
    ASSERT_NE(command, nullptr) << name;
    EXPECT_EQ(std::wstring(command->groupName()), L"VTCAD");
    EXPECT_EQ(std::wstring(command->localName()), name);
    const bool transparent = (command->commandFlags() & ZcRx::kCmdTransparent) != 0;
    EXPECT_EQ(transparent, std::wstring(name) == L"ZOOM") << name;
  }
}

}  // namespace
