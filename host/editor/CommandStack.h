#pragma once
// The host's command stack: groups of commands in the order they were added; lookups search
// the group added last first, so a plug-in may redefine a name for as long as it is loaded.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zcad/ed/ZcEdCommandStack.h"

namespace vtcad::editor {

class CommandStack final : public ZcEdCommandStack {
 public:
  static CommandStack& instance();

  Zcad::ErrorStatus addCommand(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName,
                               const ZTCHAR* cmdLocalName, Zdesk::Int32 commandFlags,
                               ZcRxFunctionPtr functionAddr, ZcEdUIContext* uiContext, int fcode,
                               HINSTANCE hResourceHandle, ZcEdCommand** cmdPtrRet) override;
  Zcad::ErrorStatus removeCmd(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName) override;
  Zcad::ErrorStatus removeGroup(const ZTCHAR* groupName) override;
  ZcEdCommand* lookupGlobalCmd(const ZTCHAR* cmdName) override;
  ZcEdCommand* lookupLocalCmd(const ZTCHAR* cmdName) override;
  ZcEdCommand* lookupCmd(const ZTCHAR* cmdName, bool globalFlag) override;

  // Removes every command whose function the predicate names (the functions of a plug-in
  // file that is being unloaded). Returns how many went.
  int removeCommandsIn(const std::function<bool(ZcRxFunctionPtr)>& inModule);
  // The plug-in file a command came from (empty for the host's own commands).
  std::wstring appPathOf(const ZcEdCommand* command) const;
  // Every group name, in the order added.
  std::vector<std::wstring> groupNames() const;

 private:
  CommandStack();
  ~CommandStack() override;
  struct Command;
  struct Group;
  Group* findGroup(std::wstring_view name);
  std::vector<std::unique_ptr<Group>> groups_;
};

}  // namespace vtcad::editor
