#include "outline/EntityVisibility.h"

#include <unordered_set>

#include "frame/ReadOpen.h"
#include "frame/SelectionSet.h"
#include "polyline/CurveSampling.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// True when the entity was visible and is invisible now.
bool hide(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  const bool wasVisible = entity->visibility() == ZcDb::kVisible;
  if (wasVisible) entity->setVisibility(ZcDb::kInvisible);
  entity->close();
  return wasVisible;
}

ObjectIdList everyEntity() {
  SelectionSet set;
  if (zcedSSGet(/*mode=*/L"ALL", /*pt1=*/nullptr, /*pt2=*/nullptr, /*filter=*/nullptr, set.name) != RTNORM)
    return {};
  return selectionSetIds(set.name);
}

}  // namespace

ObjectIdList hideOtherEntities(const ObjectIdList& selected) {
  const std::unordered_set<ZcDbObjectId> keep(selected.begin(), selected.end());
  ObjectIdList hidden;
  for (ZcDbObjectId id : everyEntity()) {
    if (!keep.contains(id) && hide(id)) hidden.push_back(id);
  }
  return hidden;
}

ObjectIdList hideEntities(const ObjectIdList& ids) {
  ObjectIdList hidden;
  for (ZcDbObjectId id : ids) {
    if (hide(id)) hidden.push_back(id);
  }
  return hidden;
}

void showEntities(ObjectIdList& hidden) {
  for (ZcDbObjectId id : hidden) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    entity->setVisibility(ZcDb::kVisible);
    entity->close();
  }
  hidden.clear();
}

ObjectIdList collectInsideCurves(const ZcDbCurve& curve) {
  PointList points;
  if (!sampleCurveByLength(curve, /*count=*/36, points)) return {};
  resbuf* chain = nullptr;
  resbuf* last = nullptr;
  for (const ZcGePoint3d& p : points) {
    resbuf* rb = zcutNewRb(RT3DPOINT);
    if (!rb) break;
    rb->resval.rpoint[0] = p.x;
    rb->resval.rpoint[1] = p.y;
    rb->resval.rpoint[2] = p.z;
    (last ? last->rbnext : chain) = rb;
    last = rb;
  }
  const ResbufChain polygon(chain);
  SelectionSet set;
  ObjectIdList inside;
  if (zcedSSGet(/*mode=*/L"_WP", polygon.get(), /*pt2=*/nullptr, /*filter=*/nullptr, set.name) != RTNORM)
    return inside;
  for (ZcDbObjectId id : selectionSetIds(set.name)) {
    if (id == curve.objectId()) continue;
    ReadOpen<ZcDbCurve> member(id);
    if (member.get()) inside.push_back(id);
  }
  return inside;
}

}  // namespace veltrace
