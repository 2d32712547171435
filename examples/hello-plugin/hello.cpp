// hello: a small vtcad plug-in of two commands, written against the installed SDK only.
//   HELLOSTAR  asks for a centre and a radius and draws a five-pointed star (a closed
//              lightweight polyline) in model space
//   HELLOLIST  counts the entities of model space by kind
#include <cmath>
#include <map>
#include <string>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/rx/ZcRxClass.h"
#include "zcad/rx/ZcRxDictionary.h"
#include "zcad/rx/ZcRxDynamicLinker.h"
#include "zcad/zced.h"

namespace {

constexpr const ZTCHAR* kGroup = L"HELLO";

ZcEdCommandStack* commandStack() {
  return ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_REGISTERED_COMMANDS));
}

void helloStar() {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return;
  zds_point centre{0, 0, 0};
  // Enter takes the origin.
  int got = zcedGetPoint(nullptr, L"\nCentre of the star <0,0>: ", centre);
  if (got == RTNONE) {
    centre[0] = centre[1] = centre[2] = 0;
  } else if (got != RTNORM) {
    return;  // cancelled
  }
  zds_real radius = 0;
  zcedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG, nullptr);
  if (zcedGetDist(centre, L"\nRadius: ", &radius) != RTNORM) return;

  auto* star = new ZcDbPolyline;
  const double pi = std::acos(-1.0);
  for (unsigned int i = 0; i < 10; ++i) {
    // Points and notches in turn; the inner radius makes the edges of a regular star line up.
    const double r = (i % 2 == 0) ? radius : radius * 0.381966;
    const double angle = pi / 2 + i * pi / 5;
    star->addVertexAt(i, ZcGePoint2d(centre[0] + r * std::cos(angle), centre[1] + r * std::sin(angle)));
  }
  star->setClosed(true);
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) {
    delete star;
    return;
  }
  if (space->appendZcDbEntity(star) == Zcad::eOk) {
    star->close();
  } else {
    delete star;
  }
  space->close();
}

void helloList() {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return;
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForRead) != Zcad::eOk) return;
  ZcDbBlockTableRecordIterator* it = nullptr;
  std::map<std::wstring, int> counts;
  if (space->newIterator(it) == Zcad::eOk) {
    for (; !it->done(); it->step()) {
      ZcDbEntity* entity = nullptr;
      if (it->getEntity(entity, ZcDb::kForRead) != Zcad::eOk) continue;
      const ZTCHAR* kind = entity->isA()->dxfName();
      ++counts[kind && *kind ? kind : entity->isA()->name()];
      entity->close();
    }
    delete it;
  }
  space->close();
  if (counts.empty()) zcutPrintf(L"\nModel space is empty.");
  for (const auto& [kind, count] : counts) zcutPrintf(L"\n%s: %d", kind.c_str(), count);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() { return ZCRX_API_VERSION; }

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode zcrxEntryPoint(ZcRx::AppMsgCode msg,
                                                                                  void* appId) {
  switch (msg) {
    case ZcRx::kInitAppMsg: {
      auto* linker = ZcRxDynamicLinker::cast(zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER));
      ZcEdCommandStack* stack = commandStack();
      if (!linker || !stack) return ZcRx::kRetError;
      linker->unlockApplication(appId);  // it may be unloaded again (APPUNLOAD)
      linker->registerAppMDIAware(appId);
      stack->addCommand(kGroup, /*cmdGlobalName=*/L"HELLOSTAR", /*cmdLocalName=*/L"HELLOSTAR",
                        ZcRx::kCmdModal, &helloStar);
      stack->addCommand(kGroup, /*cmdGlobalName=*/L"HELLOLIST", /*cmdLocalName=*/L"HELLOLIST",
                        ZcRx::kCmdModal, &helloList);
      zcutPrintf(L"\nhello plug-in loaded: HELLOSTAR, HELLOLIST.");
      return ZcRx::kRetOK;
    }
    case ZcRx::kUnloadAppMsg:
      if (ZcEdCommandStack* stack = commandStack()) stack->removeGroup(kGroup);
      return ZcRx::kRetOK;
    default:
      return ZcRx::kRetOK;
  }
}
