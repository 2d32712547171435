#pragma once
// SelectableEntities: which entities of a space the command line may select, in drawing
// order (the order the block record holds them: later ones are drawn on top).
//
// An entity is selectable when it is not erased, is visible (ZcDbEntity::visibility() is
// kVisible) and its layer is not frozen. Entities on layers that are off stay in the list
// with `onOffLayer` set: picks and windows leave them out, "ALL" takes them, as CAD hosts
// do; the caller decides. Locked layers do not stop selection (commands that change
// entities refuse them later): `onLockedLayer` says so.
//
// An entity that cannot be opened for read (another command holds it open for write) is
// left out: nothing of it can be read.
#include <unordered_map>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;
class ZcDbEntity;

namespace vtcad::editor {

struct LayerState {
  bool off = false;
  bool frozen = false;
  bool locked = false;
  // Layer "0": inside a block, entities on it show as the reference that inserts them.
  bool isLayerZero = false;
};

// The states of the layers entities are on, each layer record read once.
class LayerStates {
 public:
  // An entity without a layer record (a null id) is on layer "0". A layer record that cannot
  // be opened (erased, or missing from a damaged drawing) counts as on, thawed and unlocked,
  // so its entities stay selectable.
  LayerState of(const ZcDbEntity& entity);

 private:
  std::unordered_map<ZcDbObjectId, LayerState> known_;
};

struct SelectableEntity {
  ZcDbObjectId id;
  bool onOffLayer = false;
  bool onLockedLayer = false;
};

// The selectable entities of the database's current space (ZcDbDatabase::currentSpaceId()).
std::vector<SelectableEntity> selectableEntities(ZcDbDatabase& db);
// The selectable entities of one block table record; empty when it cannot be opened.
std::vector<SelectableEntity> selectableEntities(ZcDbObjectId blockTableRecordId);
// The selectable ones of `ids`, in their order (candidates of a window: SelectionIndex).
std::vector<SelectableEntity> selectableAmong(const std::vector<ZcDbObjectId>& ids);

}  // namespace vtcad::editor
