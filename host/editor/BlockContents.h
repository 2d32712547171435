#pragma once
// The entities a block reference shows, walked in block order with the matrix that carries
// them into the world: what the geometry of a drawing (outlines, boundaries) sees inside
// blocks.
#include <algorithm>
#include <memory>
#include <vector>

#include "editor/SelectableEntities.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::editor {

// Whether an entity inside a block shows: it is visible, and its layer is on and thawed or it
// is on layer "0" (which shows as the reference that inserts it does, decided above it).
inline bool showsInBlock(const ZcDbEntity& entity, LayerStates& layers) {
  if (entity.visibility() != ZcDb::kVisible) return false;
  const LayerState layer = layers.of(entity);
  return layer.isLayerZero || (!layer.off && !layer.frozen);
}

// Calls visit(entity, blockToWorld) for every entity of the block `reference` inserts (each
// open for read during the call), in block order, until visit answers false. `chain` holds
// the blocks being walked above this one: a block inserting itself, directly or through
// others, is not walked again; it holds this block while its entities are visited.
template <typename Visit>
void forEachBlockEntity(const ZcDbBlockReference& reference, const ZcGeMatrix3d& toWorld,
                        std::vector<ZcDbObjectId>& chain, Visit&& visit) {
  const ZcDbObjectId blockId = reference.blockTableRecord();
  if (std::find(chain.begin(), chain.end(), blockId) != chain.end()) return;
  ZcDbBlockTableRecord* block = nullptr;
  if (zcdbOpenObject(block, blockId, ZcDb::kForRead) != Zcad::eOk) return;
  ZcDbBlockTableRecordIterator* raw = nullptr;
  const Zcad::ErrorStatus made = block->newIterator(raw, /*atBeginning=*/true, /*skipDeleted=*/true);
  block->close();
  if (made != Zcad::eOk || !raw) return;
  const std::unique_ptr<ZcDbBlockTableRecordIterator> it(raw);
  const ZcGeMatrix3d blockToWorld = toWorld * reference.blockTransform();
  chain.push_back(blockId);
  for (; !it->done(); it->step()) {
    ZcDbEntity* entity = nullptr;
    if (it->getEntity(entity, ZcDb::kForRead) != Zcad::eOk) continue;
    const bool more = visit(*entity, blockToWorld);
    entity->close();
    if (!more) break;
  }
  chain.pop_back();
}

}  // namespace vtcad::editor
