#pragma once
// A plug-in's demand-load record in the host's settings store: where its file is, why the host
// loads it, its command groups and commands, under
// HKEY_CURRENT_USER\Software\vtcad\Applications\<application name>.
#include "zcad/ZcString.h"
#include "zcad/ZcadErrorStatus.h"

class ZcadAppInfo {
 public:
  enum Status { kNoError = 0, kNoModule, kBadArgument, kRegistryError };
  // Load reasons (bits).
  enum LoadReasons {
    kOnProxyDetection = 0x01,
    kOnAutoCADStartup = 0x02,
    kOnCommandInvocation = 0x04,
    kOnLoadRequest = 0x08,
    kLoadDisabled = 0x10,
    kTransparentlyLoadable = 0x20
  };

  ZcadAppInfo() = default;
  void setAppName(const ZTCHAR* name);
  void setModuleName(const ZTCHAR* name);
  void setAppDesc(const ZTCHAR* description);
  void setLoadReason(int reasons);
  const ZTCHAR* appName() const;
  const ZTCHAR* moduleName() const;
  const ZTCHAR* appDesc() const;
  int loadReason() const;

  // Writes the record (name, module, description, load reason). kBadArgument without a name.
  Status writeToRegistry();
  Status writeGroupNameToRegistry(const ZTCHAR* groupName);
  Status writeCommandNameToRegistry(const ZTCHAR* globalName, const ZTCHAR* localName);
  // Reads the record of appName() back.
  Status readFromRegistry();
  Status delFromRegistry();

 private:
  ZcString appName_;
  ZcString moduleName_;
  ZcString description_;
  int loadReason_ = 0;
};
