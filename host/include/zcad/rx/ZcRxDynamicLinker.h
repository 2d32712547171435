#pragma once
// Plug-in applications: the messages the host sends to a plug-in's entry point, and the
// dynamic linker that loads and unloads plug-in files.
//
// A plug-in is a shared library exporting
//   extern "C" ZcRx::AppRetCode zcrxEntryPoint(ZcRx::AppMsgCode msg, void* appId);
//   extern "C" int zcrxGetApiVersion();   // must answer ZCRX_API_VERSION
#include "zcad/ZcArray.h"
#include "zcad/ZcString.h"
#include "zcad/rx/ZcRxObject.h"

inline constexpr int ZCRX_API_VERSION = 1;

namespace ZcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace ZcRx

class ZcRxDynamicLinker : public ZcRxObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcRxDynamicLinker)
  // Loads the plug-in file (init message sent); false with a message on the command line when
  // it cannot be loaded, has no entry point, a wrong API version, or its init fails.
  virtual bool loadModule(const ZTCHAR* fileName, bool printIt, bool asCmd = false) = 0;
  // Unloads by file name or application name (the file name without folder and extension).
  // A locked application (one that did not unlock itself) is not unloaded.
  virtual bool unloadModule(const ZTCHAR* fileName, bool printIt) = 0;
  virtual bool unlockApplication(void* appId) const = 0;
  virtual bool lockApplication(void* appId) const = 0;
  virtual bool isApplicationLocked(const ZTCHAR* appName) const = 0;
  virtual bool registerAppMDIAware(void* appId) const = 0;
  virtual bool registerAppNotMDIAware(void* appId) const = 0;
  // Paths of the loaded plug-in files, in load order.
  virtual ZcArray<ZcString> loadedModules() const = 0;
};

ZcRxDynamicLinker* zcrxDynamicLinker();
