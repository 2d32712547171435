#pragma once
// The host's command stack: every command the command line knows, host commands and those of
// plug-ins, by group. A command has a global name (typed with a "_" prefix whatever the
// language) and a local name. The stack is found in the system registry under
// ZCRX_REGISTERED_COMMANDS ("ZCAD_REGISTERED_COMMANDS") or with zcedRegCmds().
#include "zcad/ZcadErrorStatus.h"
#include "zcad/rx/ZcRxObject.h"

using ZcRxFunctionPtr = void (*)();
class ZcEdUIContext;
// A resource module handle (ignored), the same type the platform headers use.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

namespace ZcRx {
// Command flags (the low bits; others are accepted and ignored).
inline constexpr Zdesk::Int32 kCmdModal = 0x00000000;
inline constexpr Zdesk::Int32 kCmdTransparent = 0x00000001;
inline constexpr Zdesk::Int32 kCmdUsePickset = 0x00000002;
inline constexpr Zdesk::Int32 kCmdRedraw = 0x00000004;
inline constexpr Zdesk::Int32 kCmdNoUndoMarker = 0x00000100;
}  // namespace ZcRx

class ZcEdCommand {
 public:
  virtual ~ZcEdCommand() = default;
  virtual const ZTCHAR* globalName() const = 0;
  virtual const ZTCHAR* localName() const = 0;
  virtual const ZTCHAR* groupName() const = 0;
  virtual Zdesk::Int32 commandFlags() const = 0;
  virtual ZcRxFunctionPtr functionAddr() const = 0;
  virtual int functionCode() const = 0;
};

class ZcEdCommandStack : public ZcRxObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcEdCommandStack)

  // eDuplicateKey when the group already has a command of either name; eInvalidInput for an
  // empty or malformed name (names are letters, digits, "_", "-", "$" and other printing
  // characters without spaces).
  virtual Zcad::ErrorStatus addCommand(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName,
                                       const ZTCHAR* cmdLocalName, Zdesk::Int32 commandFlags,
                                       ZcRxFunctionPtr functionAddr, ZcEdUIContext* uiContext = nullptr,
                                       int fcode = -1, HINSTANCE hResourceHandle = nullptr,
                                       ZcEdCommand** cmdPtrRet = nullptr) = 0;
  virtual Zcad::ErrorStatus removeCmd(const ZTCHAR* cmdGroupName, const ZTCHAR* cmdGlobalName) = 0;
  // eKeyNotFound when there is no such group.
  virtual Zcad::ErrorStatus removeGroup(const ZTCHAR* groupName) = 0;
  // By global or local name, without regard to case; the group added last wins.
  virtual ZcEdCommand* lookupGlobalCmd(const ZTCHAR* cmdName) = 0;
  virtual ZcEdCommand* lookupLocalCmd(const ZTCHAR* cmdName) = 0;
  virtual ZcEdCommand* lookupCmd(const ZTCHAR* cmdName, bool globalFlag) = 0;
};

ZcEdCommandStack* zcedRegCmds();
