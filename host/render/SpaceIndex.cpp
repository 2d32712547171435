// Boxes of a space's entities read once per state of the drawing.
#include "render/SpaceIndex.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <string>

#include "database/ZcDbDatabaseImpl.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::render {
namespace {

bool finiteBox(const ZcDbExtents& box) {
  const ZcGePoint3d& lo = box.minPoint();
  const ZcGePoint3d& hi = box.maxPoint();
  return std::isfinite(lo.x) && std::isfinite(lo.y) && std::isfinite(lo.z) && std::isfinite(hi.x) &&
         std::isfinite(hi.y) && std::isfinite(hi.z) && lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z;
}

std::vector<IndexedEntity> readEntities(ZcDbObjectId spaceId) {
  std::vector<IndexedEntity> entities;
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, spaceId, ZcDb::kForRead) != Zcad::eOk) return entities;
  const std::vector<ZcDbObjectId> ids = space->entityIds();
  space->close();
  entities.reserve(ids.size());
  for (const ZcDbObjectId& id : ids) {
    IndexedEntity& e = entities.emplace_back();
    e.id = id;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    ZcDbExtents box;
    if (entity->getGeomExtents(box) == Zcad::eOk && finiteBox(box)) e.box = box;
    entity->close();
  }
  return entities;
}

std::vector<db::Box2d> planBoxes(const std::vector<IndexedEntity>& entities, std::vector<int>& boxed,
                                 std::vector<int>& unboxed) {
  std::vector<db::Box2d> boxes;
  // Nearly every entity has a box: room for all at once (growing vectors of a million boxes
  // copied them over and over).
  boxes.reserve(entities.size());
  boxed.reserve(entities.size());
  for (int i = 0; i < static_cast<int>(entities.size()); ++i) {
    const ZcDbExtents& box = entities[static_cast<std::size_t>(i)].box;
    if (box.isEmpty()) {
      unboxed.push_back(i);
      continue;
    }
    boxed.push_back(i);
    boxes.push_back({box.minPoint().x, box.minPoint().y, box.maxPoint().x, box.maxPoint().y});
  }
  return boxes;
}

// What the database keeps for the renderer: the index of one space at one state.
struct KeptIndex : ZcDbDatabaseImpl::Derived {
  Zdesk::UInt64 changes = 0;
  ZcDbObjectId spaceId;
  std::unique_ptr<SpaceIndex> index;
};

constexpr const char* kKeptName = "render.SpaceIndex";

}  // namespace

SpaceIndex::SpaceIndex(ZcDbObjectId spaceId)
    : entities_(readEntities(spaceId)), tree_(planBoxes(entities_, boxed_, unboxed_)) {}

std::vector<int> SpaceIndex::overlapping(const db::Box2d& plan) const {
  // A picture of the whole drawing (its extents, the commonest picture of all) holds every
  // entity: no query, and no sorting of its answer into drawing order.
  if (const db::Box2d* all = tree_.bounds(); all == nullptr || plan.contains(*all)) {
    std::vector<int> every(entities_.size());
    std::iota(every.begin(), every.end(), 0);
    return every;
  }
  std::vector<int> hits(unboxed_);
  tree_.query(plan, [&](int k) {
    hits.push_back(boxed_[static_cast<std::size_t>(k)]);
    return true;
  });
  std::sort(hits.begin(), hits.end());
  return hits;
}

const SpaceIndex& spaceIndexOf(ZcDbDatabase* db, ZcDbObjectId spaceId) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(db);
  std::unique_ptr<ZcDbDatabaseImpl::Derived>& slot = impl->derived[kKeptName];
  auto* kept = dynamic_cast<KeptIndex*>(slot.get());
  if (!kept) {
    slot = std::make_unique<KeptIndex>();
    kept = static_cast<KeptIndex*>(slot.get());
  }
  if (kept->index && kept->spaceId == spaceId && kept->changes != impl->changes &&
      impl->onlyViewsChangedSince(kept->changes)) {
    kept->changes = impl->changes;
  }
  if (!kept->index || kept->changes != impl->changes || kept->spaceId != spaceId) {
    kept->index = std::make_unique<SpaceIndex>(spaceId);
    // Reading the entities opened and closed them for read only: the count is still current.
    kept->changes = impl->changes;
    kept->spaceId = spaceId;
  }
  return *kept->index;
}

}  // namespace vtcad::render
