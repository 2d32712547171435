#include "frame/EntryPoint.h"

#include "frame/CommandTable.h"
#include "frame/LinkReactorClass.h"
#include "frame/Messages.h"
#include "frame/Settings.h"
#include "linkline/VTLinkLineToNotify.h"
#include "outreach/Outreach.h"
#include "zcad/ZcadAppInfo.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/rx/ZcRxDictionary.h"
#include "zcad/rx/ZcRxDynamicLinker.h"
#include "zcad/zced.h"

namespace veltrace {
namespace {

// The host's objects are taken from its system registry only when they are of the class
// expected.
ZcRxDynamicLinker* dynamicLinker() {
  return ZcRxDynamicLinker::cast(zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER));
}

ZcEdCommandStack* commandStack() {
  return ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_REGISTERED_COMMANDS));
}

void registerCommands() {
  outreach::startVersionQuery();
  outreach::recordCommand(L"Loadme");
  chineseVersion = false;
  if (readSetting(L"ChineseVersion") != 0) chineseVersion = true;
  zcrxBuildClassHierarchy();
  if (ZcEdCommandStack* stack = commandStack()) registerCommandTable(*stack);
  zcutPrintf(chineseVersion ? L"\n【Veltrace】 %s 已成功加载。" : L"\nVeltrace %s loaded successfully.",
             kVersionText);
}

void writeDemandLoadRecord() {
  ZcadAppInfo info;
  info.setAppName(L"Veltrace");
  info.setModuleName(zcedGetAppName());
  info.setAppDesc(L"Veltrace version 1.0");
  // Loaded when a drawing holds its objects, at start-up, and when one of its commands is typed.
  info.setLoadReason(ZcadAppInfo::kOnAutoCADStartup | ZcadAppInfo::kOnCommandInvocation |
                     ZcadAppInfo::kOnProxyDetection);
  if (info.writeToRegistry() != ZcadAppInfo::kNoError) return;
  (void)info.writeGroupNameToRegistry(kCommandGroup);
  for (const CommandNames& names : demandLoadCommands()) {
    (void)info.writeCommandNameToRegistry(names.globalName, names.localName);
  }
}

}  // namespace

void initApplication(void* appId) {
  if (ZcRxDynamicLinker* linker = dynamicLinker()) {
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
  }
  registerCommands();
  registerLinkReactorClass();
  outreach::countLoad();
  writeDemandLoadRecord();
}

void unloadApplication() {
  if (ZcEdCommandStack* stack = commandStack()) (void)stack->removeGroup(kCommandGroup);
  unregisterLinkReactorClass();
  outreach::stopOutreach();
}

}  // namespace veltrace

// The plug-in's exports: the host's interface version and the entry point for its messages.
// Every message is answered with success; only load and unload do something.
extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() { return ZCRX_API_VERSION; }

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode zcrxEntryPoint(ZcRx::AppMsgCode msg,
                                                                                  void* appId) {
  switch (msg) {
    case ZcRx::kInitAppMsg:
      veltrace::initApplication(appId);
      break;
    case ZcRx::kUnloadAppMsg:
      // Connector reactors in an open drawing run our code: unloading now would leave them
      // pointing into an unmapped library.
      if (VTLinkLineToNotify::liveObjects() > 0) {
        veltrace::printBilingual(L"\n图纸中仍有连接线反应器，无法卸载。",
                                 L"\nConnector reactors are still in a drawing: not unloaded.");
        return ZcRx::kRetError;
      }
      veltrace::unloadApplication();
      break;
    default:
      break;
  }
  return ZcRx::kRetOK;
}
