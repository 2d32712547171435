#include "editor/SelectableEntities.h"

#include <memory>
#include <string_view>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"

namespace vtcad::editor {
namespace {

LayerState readLayer(ZcDbObjectId layerId) {
  LayerState state;
  ZcDbLayerTableRecord* layer = nullptr;
  if (zcdbOpenObject(layer, layerId, ZcDb::kForRead) != Zcad::eOk) return state;
  state.off = layer->isOff();
  state.frozen = layer->isFrozen();
  state.locked = layer->isLocked();
  const ZTCHAR* name = nullptr;
  state.isLayerZero = layer->getName(name) == Zcad::eOk && name && name == std::wstring_view(L"0");
  layer->close();
  return state;
}

// The record of layer "0" in the entity's database (or the working one for an entity that is
// not in a database yet); null when there is none.
ZcDbObjectId layerZeroOf(const ZcDbEntity& entity) {
  ZcDbDatabase* db = entity.database() ? entity.database() : zcdbCurDwg();
  ZcDbObjectId id;
  ZcDbLayerTable* table = nullptr;
  if (!db || db->getLayerTable(table, ZcDb::kForRead) != Zcad::eOk) return id;
  if (table->getAt(L"0", id) != Zcad::eOk) id.setNull();
  table->close();
  return id;
}

// Closes `entity` (open for read) and keeps it when it may be selected.
void keepIfSelectable(ZcDbEntity* entity, LayerStates& layers, std::vector<SelectableEntity>& result) {
  const bool visible = entity->visibility() == ZcDb::kVisible;
  const LayerState layer = layers.of(*entity);
  const ZcDbObjectId id = entity->objectId();
  entity->close();
  if (visible && !layer.frozen) result.push_back({id, layer.off, layer.locked});
}

}  // namespace

LayerState LayerStates::of(const ZcDbEntity& entity) {
  ZcDbObjectId layerId = entity.layerId();
  if (layerId.isNull()) {
    layerId = layerZeroOf(entity);
    if (layerId.isNull()) return LayerState{.isLayerZero = true};
  }
  if (const auto found = known_.find(layerId); found != known_.end()) return found->second;
  const LayerState state = readLayer(layerId);
  known_.emplace(layerId, state);
  return state;
}

std::vector<SelectableEntity> selectableEntities(ZcDbDatabase& db) {
  return selectableEntities(db.currentSpaceId());
}

std::vector<SelectableEntity> selectableEntities(ZcDbObjectId blockTableRecordId) {
  std::vector<SelectableEntity> result;
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, blockTableRecordId, ZcDb::kForRead) != Zcad::eOk) return result;
  ZcDbBlockTableRecordIterator* raw = nullptr;
  const Zcad::ErrorStatus made = space->newIterator(raw, /*atBeginning=*/true, /*skipDeleted=*/true);
  space->close();
  if (made != Zcad::eOk || !raw) return result;
  const std::unique_ptr<ZcDbBlockTableRecordIterator> it(raw);

  LayerStates layers;
  for (; !it->done(); it->step()) {
    ZcDbEntity* entity = nullptr;
    if (it->getEntity(entity, ZcDb::kForRead) != Zcad::eOk) continue;
    keepIfSelectable(entity, layers, result);
  }
  return result;
}

std::vector<SelectableEntity> selectableAmong(const std::vector<ZcDbObjectId>& ids) {
  std::vector<SelectableEntity> result;
  LayerStates layers;
  for (const ZcDbObjectId& id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    keepIfSelectable(entity, layers, result);
  }
  return result;
}

}  // namespace vtcad::editor
