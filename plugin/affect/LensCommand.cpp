#include <cmath>
#include <optional>

#include "affect/AffectCommands.h"
#include "affect/InfluenceGeometry.h"
#include "affect/InfluenceScaling.h"
#include "frame/EntityPlacement.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/platform/zckeys.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr int kMaxPasses = 51;
constexpr double kReachFactor = 1.2;
constexpr double kGrowFactor = 1.2;    // Shift
constexpr double kShrinkFactor = 0.8;  // Alt
constexpr double kFactorTolerance = 0.0001;
constexpr Zdesk::UInt16 kRed = 1;

bool held(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

void printNotACurve() {
  printBilingual(L"\n您选中的影响力曲线它不是一根直线、多段线或样条曲线。",
                 L"\n Which you selected as an influence curve is not a line, polyline, or spline.");
}

struct Lens {
  ZcDbObjectId id;
  ZcGePoint3d centre;
  double reach = 0.0;
};

// The red copy of the tool in the current space, the tool's centre and the reach of the lens.
std::optional<Lens> placeLens(ZcDbObjectId toolId) {
  ReadOpen<ZcDbObject> opened(toolId);
  const ZcDbCurve* tool = ZcDbCurve::cast(opened.get());
  if (!tool) return std::nullopt;
  ZcDbExtents extents;
  if (tool->getGeomExtents(extents) != Zcad::eOk) return std::nullopt;
  auto* copy = ZcDbEntity::cast(tool->clone());
  if (!copy) return std::nullopt;
  copy->setColorIndex(kRed);
  const Placement placement = appendToCurrentSpace(copy);
  if (!placement.placed()) {
    delete copy;
    return std::nullopt;
  }
  const ZcGePoint3d& lo = extents.minPoint();
  const ZcGePoint3d& hi = extents.maxPoint();
  Lens lens;
  lens.id = placement.id;
  lens.centre = ZcGePoint3d((lo.x + hi.x) * 0.5, (lo.y + hi.y) * 0.5, (lo.z + hi.z) * 0.5);
  lens.reach = kReachFactor * (std::abs(hi.x - lo.x) * 0.25 + std::abs(hi.y - lo.y) * 0.25);
  return lens;
}

enum class PassEnd { kGoOn, kStop };

// One pass: resize or move the lens as the keys say, then scale what lies near it.
PassEnd lensPass(Lens& lens, const zds_name lensName, const ObjectIdList& affected) {
  if (zcedUsrBrk()) return PassEnd::kStop;
  double resize = 1.0;
  if (held(VK_SHIFT)) resize = kGrowFactor;
  if (held(VK_MENU)) resize = kShrinkFactor;  // Alt wins over Shift
  zds_point base = {lens.centre.x, lens.centre.y, lens.centre.z};
  // The host's own commands move and resize the lens; their prompts stay on the command line,
  // where the user drags the lens and picks its new place.
  (void)zcedCommand(RTSTR, L"_Scale", RTENAME, lensName, RTSTR, L"", RT3DPOINT, base, RTREAL, resize, RTNONE);
  int answer = RTNORM;
  if (std::abs(resize - 1.0) < kFactorTolerance) {
    answer =
        zcedCommand(RTSTR, L"_MOVE", RTENAME, lensName, RTSTR, L"", RT3DPOINT, base, RTSTR, L"\\", RTNONE);
  } else {
    zds_point click = {0, 0, 0};
    answer = zcedGetPoint(/*pt=*/nullptr, /*prompt=*/nullptr, click);
  }
  // Esc at the drag or the click (and the end of a script's input) ends the lens as the held
  // Esc does: without it, the passes left would go on scaling with the lens standing still.
  if (answer == RTCAN || held(VK_ESCAPE)) return PassEnd::kStop;
  const bool enlarge = held(VK_CONTROL);
  ReadOpen<ZcDbObject> opened(lens.id);
  const ZcDbCurve* curve = ZcDbCurve::cast(opened.get());
  if (!curve) return PassEnd::kStop;
  const std::optional<ZcGePoint3d> centre = extentsCentre(*curve);
  if (!centre) return PassEnd::kStop;
  lens.centre = *centre;
  (void)influenceScalePass(*curve, lens.id, affected, lens.reach, enlarge);
  return PassEnd::kGoOn;
}

}  // namespace

void plAffClickCommand() {
  zds_name picked = {0, 0};
  zds_point pickPoint = {0, 0, 0};
  if (entSelBilingual(L"\n请选择一根封闭影响曲线: ", L"\nPlease select a closed curve as affective tool: ",
                      picked, pickPoint) != RTNORM) {
    zcutPrintf(L"\nNothing selected");
    return;
  }
  const ObjectIdList affected =
      selectEntities(L"\n请选择将被影响的物体。", L"\nPlease select the object that will be affected.");
  if (affected.empty()) return;
  ZcDbObjectId toolId;
  if (zcdbGetObjectId(toolId, picked) != Zcad::eOk) return;
  {
    ReadOpen<ZcDbObject> tool(toolId);
    if (!ZcDbCurve::cast(tool.get())) {
      printNotACurve();
      return;
    }
  }
  std::optional<Lens> lens = placeLens(toolId);
  if (!lens) return;
  zds_name lensName = {0, 0};
  if (zcdbGetZdsName(lensName, lens->id) != Zcad::eOk) return;
  printBilingual(L"\n提示：同时按住 Ctrl 键转为放大物体，Ctrl 放大红线， ALT 缩小红线， 按 ESC 键退出。",
                 L"\nPress Ctrl to enlarge the entities, and press ESC to exit.");
  for (int pass = 1; pass <= kMaxPasses; ++pass) {
    if (lensPass(*lens, lensName, affected) == PassEnd::kStop || zcedUsrBrk()) break;
  }
}

}  // namespace veltrace
