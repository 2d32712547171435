#include <limits>

#include "affect/AffectCommands.h"
#include "affect/MoveXInfluence.h"
#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// Without fading the set's edges are moved this far out, so the fade is negligible.
constexpr double kNoFadeWidening = 1e9;

struct SetBounds {
  double left = std::numeric_limits<double>::infinity();
  double right = -std::numeric_limits<double>::infinity();
};

SetBounds boundsOf(const ObjectIdList& affected, ZcDbObjectId curveId) {
  SetBounds bounds;
  for (ZcDbObjectId id : affected) {
    if (id == curveId) continue;
    ReadOpen<ZcDbEntity> entity(id);
    ZcDbExtents extents;
    if (!entity.get() || entity.get()->getGeomExtents(extents) != Zcad::eOk) continue;
    bounds.left = std::min(bounds.left, extents.minPoint().x);
    bounds.right = std::max(bounds.right, extents.maxPoint().x);
  }
  return bounds;
}

}  // namespace

void plAffectMoveXCommand() {
  zds_name picked = {0, 0};
  zds_point pickPoint = {0, 0, 0};
  if (entSelBilingual(L"\n请选择一根竖向曲线影响曲线: ", L"\nPlease select a curve: ", picked, pickPoint) !=
      RTNORM) {
    zcutPrintf(L"\nNothing selected");
    return;
  }
  const ObjectIdList affected =
      selectEntities(L"\n请选择将被影响的物体。", L"\nPlease select the object that will be affected.");
  if (affected.empty()) return;
  const bool fading = getYesNoBilingual(L"\n影响是渐远渐小吗（Y）?[N]:",
                                        L"\nIs the impact getting smaller and smaller[N]:", false);
  ZcDbObjectId curveId;
  if (zcdbGetObjectId(curveId, picked) != Zcad::eOk) return;
  ReadOpen<ZcDbObject> opened(curveId);
  const ZcDbCurve* curve = ZcDbCurve::cast(opened.get());
  if (!curve) {
    printBilingual(L"\n您选中的影响力曲线它不是一根直线、多段线或样条曲线。",
                   L"\n Which you selected as an influence curve is not a line, polyline, or spline.");
    return;
  }
  SetBounds bounds = boundsOf(affected, curveId);
  // Nothing but the curve itself has extents: nothing to move.
  if (!(bounds.left <= bounds.right)) return;
  if (!fading) {
    bounds.left -= kNoFadeWidening;
    bounds.right += kNoFadeWidening;
  }
  for (ZcDbObjectId id : affected) {
    if (zcedUsrBrk()) return;
    if (id == curveId) continue;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    moveXByCurve(*curve, *entity, bounds.left, bounds.right);
    entity->close();
  }
}

}  // namespace veltrace
