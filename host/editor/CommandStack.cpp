#include "editor/CommandStack.h"

#include <algorithm>
#include <cwctype>

#include "editor/Session.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcEdCommandStack, ZcRxObject, L"AcEdCommandStack", nullptr, nullptr)

namespace vtcad::editor {
namespace {

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
         });
}

// A command name is typed at the prompt, where a space ends it.
bool validName(const ZTCHAR* name) {
  if (!name || !*name) return false;
  for (const ZTCHAR* p = name; *p; ++p) {
    if (std::iswspace(static_cast<wint_t>(*p)) || *p == L'"') return false;
  }
  return true;
}

}  // namespace

struct CommandStack::Command final : ZcEdCommand {
  std::wstring global, local, group, appPath;
  Zdesk::Int32 flags = 0;
  ZcRxFunctionPtr function = nullptr;
  int fcode = -1;
  const ZTCHAR* globalName() const override { return global.c_str(); }
  const ZTCHAR* localName() const override { return local.c_str(); }
  const ZTCHAR* groupName() const override { return group.c_str(); }
  Zdesk::Int32 commandFlags() const override { return flags; }
  ZcRxFunctionPtr functionAddr() const override { return function; }
  int functionCode() const override { return fcode; }
};

struct CommandStack::Group {
  std::wstring name;
  std::vector<std::unique_ptr<Command>> commands;
};

CommandStack::CommandStack() = default;
CommandStack::~CommandStack() = default;

CommandStack& CommandStack::instance() {
  static CommandStack* stack = new CommandStack;  // lives as long as the process: plug-ins keep its address
  return *stack;
}

CommandStack::Group* CommandStack::findGroup(std::wstring_view name) {
  for (auto& group : groups_) {
    if (equalNoCase(group->name, name)) return group.get();
  }
  return nullptr;
}

Zcad::ErrorStatus CommandStack::addCommand(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName,
                                           const ZTCHAR* cmdLocalName, Zdesk::Int32 commandFlags,
                                           ZcRxFunctionPtr functionAddr, ZcEdUIContext*, int fcode, HINSTANCE,
                                           ZcEdCommand** cmdPtrRet) {
  if (cmdPtrRet) *cmdPtrRet = nullptr;
  if (!validName(cmdGroupName) || !validName(cmdGlobalName) || !functionAddr) return Zcad::eInvalidInput;
  // A missing local name is the global one, as hosts do.
  const ZTCHAR* local = (cmdLocalName && *cmdLocalName) ? cmdLocalName : cmdGlobalName;
  if (!validName(local)) return Zcad::eInvalidInput;
  Group* group = findGroup(cmdGroupName);
  if (group) {
    for (const auto& command : group->commands) {
      if (equalNoCase(command->global, cmdGlobalName) || equalNoCase(command->local, local)) {
        return Zcad::eDuplicateKey;
      }
    }
  } else {
    groups_.push_back(std::make_unique<Group>());
    group = groups_.back().get();
    group->name = cmdGroupName;
  }
  auto command = std::make_unique<Command>();
  command->global = cmdGlobalName;
  command->local = local;
  command->group = group->name;
  command->appPath = Session::instance().currentAppPath;
  command->flags = commandFlags;
  command->function = functionAddr;
  command->fcode = fcode;
  if (cmdPtrRet) *cmdPtrRet = command.get();
  group->commands.push_back(std::move(command));
  return Zcad::eOk;
}

Zcad::ErrorStatus CommandStack::removeCmd(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName) {
  if (!cmdGroupName || !cmdGlobalName) return Zcad::eInvalidInput;
  Group* group = findGroup(cmdGroupName);
  if (!group) return Zcad::eKeyNotFound;
  auto& commands = group->commands;
  auto it = std::find_if(commands.begin(), commands.end(),
                         [&](const auto& command) { return equalNoCase(command->global, cmdGlobalName); });
  if (it == commands.end()) return Zcad::eKeyNotFound;
  commands.erase(it);
  return Zcad::eOk;
}

Zcad::ErrorStatus CommandStack::removeGroup(const ZTCHAR* groupName) {
  if (!groupName) return Zcad::eInvalidInput;
  auto it = std::find_if(groups_.begin(), groups_.end(),
                         [&](const auto& group) { return equalNoCase(group->name, groupName); });
  if (it == groups_.end()) return Zcad::eKeyNotFound;
  groups_.erase(it);
  return Zcad::eOk;
}

ZcEdCommand* CommandStack::lookupCmd(const ZTCHAR* cmdName, bool globalFlag) {
  if (!cmdName) return nullptr;
  for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
    for (const auto& command : (*group)->commands) {
      if (equalNoCase(globalFlag ? command->global : command->local, cmdName)) return command.get();
    }
  }
  return nullptr;
}

ZcEdCommand* CommandStack::lookupGlobalCmd(const ZTCHAR* cmdName) { return lookupCmd(cmdName, true); }
ZcEdCommand* CommandStack::lookupLocalCmd(const ZTCHAR* cmdName) { return lookupCmd(cmdName, false); }

int CommandStack::removeCommandsIn(const std::function<bool(ZcRxFunctionPtr)>& inModule) {
  int removed = 0;
  for (auto& group : groups_) {
    auto& commands = group->commands;
    auto end = std::remove_if(commands.begin(), commands.end(),
                              [&](const auto& command) { return inModule(command->function); });
    removed += static_cast<int>(commands.end() - end);
    commands.erase(end, commands.end());
  }
  // A group left without commands is gone, as if its plug-in had removed it.
  std::erase_if(groups_, [](const auto& group) { return group->commands.empty(); });
  return removed;
}

std::wstring CommandStack::appPathOf(const ZcEdCommand* command) const {
  for (const auto& group : groups_) {
    for (const auto& own : group->commands) {
      if (own.get() == command) return own->appPath;
    }
  }
  return {};
}

std::vector<std::wstring> CommandStack::groupNames() const {
  std::vector<std::wstring> names;
  for (const auto& group : groups_) names.push_back(group->name);
  return names;
}

}  // namespace vtcad::editor

ZcEdCommandStack* zcedRegCmds() { return &editor::CommandStack::instance(); }
