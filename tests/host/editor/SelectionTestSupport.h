#pragma once
// A small drawing in memory for the selection tests: entities appended to model space or to
// blocks, layers with their states, and outlines read back by id.
#include <gtest/gtest.h>

#include "editor/EntityOutline.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"

namespace vtcad::editor::testing {

struct LayerSetup {
  bool off = false;
  bool frozen = false;
  bool locked = false;
};

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  // Appends to model space (or to `block`) and closes the entity.
  ZcDbObjectId append(ZcDbEntity* entity, ZcDbObjectId block = ZcDbObjectId::kNull) {
    ZcDbBlockTableRecord* record = nullptr;
    ZcDbObjectId id;
    EXPECT_EQ(zcdbOpenObject(record, block.isNull() ? db_.modelSpaceId() : block, ZcDb::kForWrite),
              Zcad::eOk);
    if (!record) {
      delete entity;
      return id;
    }
    EXPECT_EQ(record->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    record->close();
    return id;
  }

  ZcDbObjectId addBlock(const ZTCHAR* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* block = new ZcDbBlockTableRecord();
    block->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Zcad::eOk);
    block->close();
    table->close();
    return id;
  }

  ZcDbObjectId addLayer(const ZTCHAR* name, const LayerSetup& setup = {}) {
    ZcDbLayerTable* table = nullptr;
    EXPECT_EQ(db_.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* layer = new ZcDbLayerTableRecord();
    layer->setName(name);
    layer->setIsOff(setup.off);
    layer->setIsFrozen(setup.frozen);
    layer->setIsLocked(setup.locked);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, layer), Zcad::eOk);
    layer->close();
    table->close();
    return id;
  }

  // Sets the entity's layer (by name) after it was appended.
  void putOnLayer(ZcDbObjectId entityId, const ZTCHAR* layer) {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, entityId, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(entity->setLayer(layer), Zcad::eOk);
    entity->close();
  }

  static EntityOutline outlineOf(ZcDbObjectId id, double chordTolerance, const OutlineLimits& limits = {}) {
    ZcDbEntity* entity = nullptr;
    EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
    if (!entity) return {};
    EntityOutline outline = entityOutline(*entity, chordTolerance, limits);
    entity->close();
    return outline;
  }

  ZcDbDatabase db_;
};

}  // namespace vtcad::editor::testing
