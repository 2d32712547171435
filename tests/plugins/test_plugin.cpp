// A small plug-in for the dynamic linker's tests, written as a plug-in author would: it sees
// the host only through zcad/ headers. On init it unlocks itself, registers the command group
// "VtTest", prints a banner with its own path, writes its demand-load record and registers
// the runtime class "VtTestThing"; on unload it takes its group and class out again.
//
// Variants, chosen by compile definitions, for the cases the host must refuse or repair:
//   VTCAD_TEST_PLUGIN_LOCKED       never unlocks itself, so it cannot be unloaded
//   VTCAD_TEST_PLUGIN_API_VERSION  answers this interface version instead of the host's
//   VTCAD_TEST_PLUGIN_UNTIDY       leaves its commands and class behind when unloaded
//   VTCAD_TEST_PLUGIN_FAIL_INIT    answers kInitAppMsg with an error after registering
#include "zcad/ZcadAppInfo.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/rx/ZcRxClass.h"
#include "zcad/rx/ZcRxDictionary.h"
#include "zcad/rx/ZcRxDynamicLinker.h"
#include "zcad/zced.h"

#ifndef VTCAD_TEST_PLUGIN_API_VERSION
#define VTCAD_TEST_PLUGIN_API_VERSION ZCRX_API_VERSION
#endif

// The plug-in's runtime class, outside the unnamed namespace as a class of a real plug-in is
// (its members are there to be used from elsewhere).
class VtTestThing : public ZcRxObject {
 public:
  ZCRX_DECLARE_MEMBERS(VtTestThing)
  static ZcRxObject* create() { return new VtTestThing; }
};

ZCRX_DEFINE_PLUGIN_MEMBERS(VtTestThing)

namespace {

constexpr const ZTCHAR* kGroup = L"VtTest";

void helloCommand() { zcutPrintf(L"\nHello from the test plug-in."); }

// A line from (0,0,0) to (10,5,0) in model space of the working drawing.
void lineCommand() {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) {
    zcutPrintf(L"\nNo drawing is open.");
    return;
  }
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) return;
  auto* line = new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 5, 0));
  if (space->appendZcDbEntity(line) == Zcad::eOk) {
    line->close();
  } else {
    delete line;
  }
  space->close();
}

ZcEdCommandStack* commandStack() {
  return ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_REGISTERED_COMMANDS));
}

ZcRxDynamicLinker* dynamicLinker() {
  return ZcRxDynamicLinker::cast(zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER));
}

void writeDemandLoadRecord() {
  ZcadAppInfo info;
  info.setAppName(L"VtTest");
  info.setModuleName(zcedGetAppName());
  info.setAppDesc(L"Test plug-in of vtcad");
  info.setLoadReason(ZcadAppInfo::kOnCommandInvocation | ZcadAppInfo::kOnLoadRequest);
  if (info.writeToRegistry() != ZcadAppInfo::kNoError) return;
  (void)info.writeGroupNameToRegistry(kGroup);
  (void)info.writeCommandNameToRegistry(/*globalName=*/L"TESTHELLO", /*localName=*/L"HELLO");
  (void)info.writeCommandNameToRegistry(/*globalName=*/L"TESTLINE", /*localName=*/L"TLINE");
}

ZcRx::AppRetCode initApp(void* appId) {
  ZcRxDynamicLinker* linker = dynamicLinker();
  ZcEdCommandStack* stack = commandStack();
  if (!linker || !stack) return ZcRx::kRetError;
#ifndef VTCAD_TEST_PLUGIN_LOCKED
  linker->unlockApplication(appId);
#endif
  linker->registerAppMDIAware(appId);
  stack->addCommand(kGroup, /*cmdGlobalName=*/L"TESTHELLO", /*cmdLocalName=*/L"HELLO", ZcRx::kCmdModal,
                    &helloCommand);
  stack->addCommand(kGroup, /*cmdGlobalName=*/L"TESTLINE", /*cmdLocalName=*/L"TLINE", ZcRx::kCmdModal,
                    &lineCommand);
  VtTestThing::gpDesc =
      newZcRxClass(L"VtTestThing", L"AcRxObject", /*dwgVersion=*/0, /*maintenanceVersion=*/0,
                   /*proxyFlags=*/0, &VtTestThing::create, /*dxfName=*/L"VTTESTTHING",
                   /*appName=*/L"VtTest");
  zcrxBuildClassHierarchy();
  zcutPrintf(L"\nvtcad test plug-in loaded from %s.", zcedGetAppName());
  writeDemandLoadRecord();
#ifdef VTCAD_TEST_PLUGIN_FAIL_INIT
  return ZcRx::kRetError;
#else
  return ZcRx::kRetOK;
#endif
}

ZcRx::AppRetCode unloadApp() {
#ifndef VTCAD_TEST_PLUGIN_UNTIDY
  if (ZcEdCommandStack* stack = commandStack()) stack->removeGroup(kGroup);
  deleteZcRxClass(VtTestThing::gpDesc);
#endif
  // The file may stay mapped (the system decides): a later load must start from nothing.
  VtTestThing::gpDesc = nullptr;
  return ZcRx::kRetOK;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() {
  return VTCAD_TEST_PLUGIN_API_VERSION;
}

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode zcrxEntryPoint(ZcRx::AppMsgCode msg,
                                                                                  void* appId) {
  switch (msg) {
    case ZcRx::kInitAppMsg:
      return initApp(appId);
    case ZcRx::kUnloadAppMsg:
      return unloadApp();
    default:
      return ZcRx::kRetOK;
  }
}
