#include "polyline/ProjectToXy.h"

#include "frame/EntityPlacement.h"
#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/Selection.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// The projection of one curve, placed; false when the host cannot project it or place it.
bool project(ZcDbObjectId id, const ZcGePlane& worldXy) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  const ZcDbCurve* curve = ZcDbCurve::cast(entity);
  ZcDbCurve* projected = nullptr;
  const bool made =
      curve && curve->getProjectedCurve(worldXy, ZcGeVector3d::kZAxis, projected) == Zcad::eOk && projected;
  entity->close();
  if (!made) return false;
  if (appendToCurrentSpace(projected).placed()) return true;
  delete projected;
  return false;
}

}  // namespace

void qxtyCommand() {
  printBilingual(
      L"\n垂直投影各类曲线到世界坐标系XY平面...",
      L"\nVertically project all kinds of curves to the XY plane of the world coordinate system...");
  const ObjectIdList ids = selectFilteredIds({L"请选择曲线 >", L"Please select curves >"}, curveFilter(),
                                             {L"未选中曲线。\n", L"No curves selected.\n"});
  if (ids.empty()) return;
  const ZcGePlane worldXy(ZcGePoint3d::kOrigin, ZcGeVector3d::kZAxis);
  int added = 0;
  for (const ZcDbObjectId& id : ids) {
    if (project(id, worldXy)) ++added;
  }
  if (added > 0) printfBilingual({L"\n生成了< %d >根投影曲线。 ", L"\n< %d > new curves added."}, added);
}

}  // namespace veltrace
