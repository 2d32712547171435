#include <algorithm>

#include "affect/AffectCommands.h"
#include "affect/InfluenceDeformation.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "frame/SystemVariables.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr int kDefaultStrength = 3;
constexpr int kMaxStrength = 10;
// VIEWSIZE when it cannot be read.
constexpr double kFallbackViewSize = 10.0;
// A reach below this share of the view is too small to see: the default is taken instead.
constexpr double kSmallestReachShare = 1.0 / 50.0;

double askStrength() {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/L"");
  int value = kDefaultStrength;
  if (getIntBilingual(L"\n请输入影响力度[1--10](3):", L"\nPlease input the influence strength[1--10](3):",
                      &value) != RTNORM) {
    value = kDefaultStrength;
  }
  return std::clamp(value, 1, kMaxStrength) / 10.0;
}

double askReach() {
  double viewSize = kFallbackViewSize;
  if (getSysVarReal(L"VIEWSIZE", viewSize) != kSysVarOk || !(viewSize > 0.0)) viewSize = kFallbackViewSize;
  double reach = viewSize * 0.5;
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/L"");
  // Enter or Esc keep the default.
  (void)getDistBilingual(/*base=*/nullptr, L"\n请输入影响距离:", L"\nInfluence distance:", &reach);
  if (!(reach >= viewSize * kSmallestReachShare)) reach = viewSize * 0.5;
  return reach;
}

// One influence curve's pass over the affected entities, as the earlier passes left them.
// False when the user broke the command off (the host then takes the whole command back).
bool applyInfluenceCurve(ZcDbObjectId curveId, const ObjectIdList& affected,
                         const InfluenceSettings& settings) {
  ReadOpen<ZcDbObject> opened(curveId);
  const ZcDbCurve* curve = ZcDbCurve::cast(opened.get());
  if (!curve) return true;
  for (ZcDbObjectId id : affected) {
    if (zcedUsrBrk()) return false;
    if (id == curveId) continue;
    ZcDbEntity* entity = nullptr;
    // Erased entities (curves replaced by an earlier pass) do not open.
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    if (ZcDbCurve* target = ZcDbCurve::cast(entity); target && !settings.rigidBody) {
      affectCurveShape(*curve, *target, settings);
    } else {
      affectRigidEntity(*curve, *entity, settings);
    }
    entity->close();
  }
  return true;
}

}  // namespace

void plaffectCommand() {
  const ObjectIdList curves =
      selectCurves(L"\n请选择影响力曲线（一根或多根）>", L"\nPlease Select Curve(s) With Affection >");
  if (curves.empty()) return;
  const ObjectIdList affected =
      selectEntities(L"\n请选择将被影响的物体。", L"\nPlease select the object that will be affected.");
  if (affected.empty()) return;

  InfluenceSettings settings;
  settings.strength = askStrength();
  settings.reach = askReach();
  settings.position =
      getYesNoBilingual(L"\n是否影响物体位置[Y/N]（Y）:", L"\n Position affect?[Y/N]（Y）:", true);
  settings.rotate = getYesNoBilingual(L"\n是否影响物体旋转[Y/N]（N）:", L"\nRotate?[Y/N]（N）:", false);
  settings.scale = getYesNoBilingual(L"\n是否影响物体缩放[Y/N]（Y）:", L"\nSclae?[Y/N]（Y）:", true);
  settings.rigidBody =
      getYesNoBilingual(L"\n被影响物体是否是刚体（刚体不会曲线化，只能旋转、移动）[Y/N]（Y）:",
                        L"\nWhether the affected object is a rigid body (the rigid body will not curve, but "
                        L"can only rotate and "
                        L"move)?[Y/N]（Y）:",
                        true);

  for (ZcDbObjectId curveId : curves) {
    if (!applyInfluenceCurve(curveId, affected, settings)) return;
  }
}

}  // namespace veltrace
