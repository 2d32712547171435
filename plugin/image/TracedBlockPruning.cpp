#include "image/TracedBlockPruning.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "frame/ReadOpen.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace {

namespace {

constexpr double kFrameTolerance = 0.001;

bool sameExtents(const ZcDbExtents& a, const ZcDbExtents& b) {
  return std::abs(a.minPoint().x - b.minPoint().x) <= kFrameTolerance &&
         std::abs(a.minPoint().y - b.minPoint().y) <= kFrameTolerance &&
         std::abs(a.maxPoint().x - b.maxPoint().x) <= kFrameTolerance &&
         std::abs(a.maxPoint().y - b.maxPoint().y) <= kFrameTolerance;
}

std::vector<ZcDbObjectId> entitiesOf(ZcDbBlockTableRecord* block) {
  std::vector<ZcDbObjectId> ids;
  ZcDbBlockTableRecordIterator* raw = nullptr;
  if (block->newIterator(raw) != Zcad::eOk) return ids;
  std::unique_ptr<ZcDbBlockTableRecordIterator> iterator(raw);
  for (; !iterator->done(); iterator->step()) {
    ZcDbObjectId id;
    if (iterator->getEntityId(id) == Zcad::eOk) ids.push_back(id);
  }
  return ids;
}

}  // namespace

PruneCount pruneTracedBlock(ZcDbObjectId reference, int clutter) {
  PruneCount count;
  ZcDbObjectId blockId;
  {
    ReadOpen<ZcDbBlockReference> insert(reference);
    if (!insert.get()) return count;
    blockId = insert.get()->blockTableRecord();
  }
  std::vector<ZcDbObjectId> ids;
  {
    ReadOpen<ZcDbBlockTableRecord> block(blockId);
    if (!block.get()) return count;
    ids = entitiesOf(block.get());
  }
  ZcDbExtents whole;
  for (ZcDbObjectId id : ids) {
    ReadOpen<ZcDbEntity> entity(id);
    ZcDbExtents e;
    if (entity.get() && entity.get()->getGeomExtents(e) == Zcad::eOk) whole.addExt(e);
  }
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    bool erase = false;
    if (const ZcDbPolyline* polyline = ZcDbPolyline::cast(entity)) {
      ZcDbExtents e;
      // The frame is told from a traced rectangle by being the only entity that spans the
      // others: a drawing of one rectangle keeps it.
      const bool frame = ids.size() > 1 && polyline->isClosed() && polyline->numVerts() == 4 &&
                         entity->getGeomExtents(e) == Zcad::eOk && sameExtents(e, whole);
      erase = frame || polyline->numVerts() < static_cast<unsigned>(std::max(clutter, 0));
    }
    if (erase) {
      entity->erase();
      ++count.erased;
    } else {
      entity->setColorIndex(0);
      ++count.kept;
    }
    entity->close();
  }
  return count;
}

}  // namespace veltrace
