#include <gtest/gtest.h>

#include "SelectionTestSupport.h"
#include "editor/SelectableEntities.h"
#include "zcad/db/ZcDbLine.h"

namespace vtcad::editor {
namespace {

class SelectableEntitiesTest : public testing::DrawingTest {
 protected:
  ZcDbObjectId line(double y) { return append(new ZcDbLine(ZcGePoint3d(0, y, 0), ZcGePoint3d(1, y, 0))); }
};

TEST_F(SelectableEntitiesTest, InvisibleErasedAndFrozenNeverComeOffAndLockedAreFlagged) {
  addLayer(L"FROZEN", {.frozen = true});
  addLayer(L"OFF", {.off = true});
  addLayer(L"LOCKED", {.locked = true});
  const ZcDbObjectId plain = line(0);
  putOnLayer(line(1), L"FROZEN");
  const ZcDbObjectId off = line(2);
  putOnLayer(off, L"OFF");
  const ZcDbObjectId locked = line(3);
  putOnLayer(locked, L"LOCKED");
  auto* invisible = new ZcDbLine(ZcGePoint3d(0, 4, 0), ZcGePoint3d(1, 4, 0));
  invisible->setVisibility(ZcDb::kInvisible);
  append(invisible);
  const ZcDbObjectId erased = line(5);
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, erased, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(entity->erase(), Zcad::eOk);
  entity->close();
  const ZcDbObjectId last = line(6);

  const std::vector<SelectableEntity> found = selectableEntities(db_);
  ASSERT_EQ(found.size(), 4u);
  // Drawing order, with the flags the caller decides on.
  EXPECT_EQ(found[0].id, plain);
  EXPECT_FALSE(found[0].onOffLayer);
  EXPECT_FALSE(found[0].onLockedLayer);
  EXPECT_EQ(found[1].id, off);
  EXPECT_TRUE(found[1].onOffLayer);
  EXPECT_EQ(found[2].id, locked);
  EXPECT_TRUE(found[2].onLockedLayer);
  EXPECT_FALSE(found[2].onOffLayer);
  EXPECT_EQ(found[3].id, last);
}

TEST_F(SelectableEntitiesTest, TheCurrentSpaceIsTheOneWalked) {
  line(0);
  const ZcDbObjectId paper =
      append(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)), db_.paperSpaceId());
  ASSERT_EQ(db_.setCurrentSpace(db_.paperSpaceId()), Zcad::eOk);
  const std::vector<SelectableEntity> found = selectableEntities(db_);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].id, paper);
  EXPECT_TRUE(selectableEntities(ZcDbObjectId::kNull).empty()) << "no record, no entities";
}

TEST_F(SelectableEntitiesTest, AnEntityOpenForWriteElsewhereIsLeftOut) {
  const ZcDbObjectId busy = line(0);
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, busy, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_TRUE(selectableEntities(db_).empty());
  entity->close();
  EXPECT_EQ(selectableEntities(db_).size(), 1u);
}

TEST_F(SelectableEntitiesTest, LayerStatesAreReadPerLayer) {
  addLayer(L"OFF", {.off = true, .locked = true});
  const ZcDbObjectId off = line(0);
  putOnLayer(off, L"OFF");
  auto* unplaced = new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0));
  LayerStates layers;
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, off, ZcDb::kForRead), Zcad::eOk);
  const LayerState state = layers.of(*entity);
  entity->close();
  EXPECT_TRUE(state.off);
  EXPECT_TRUE(state.locked);
  EXPECT_FALSE(state.frozen);
  EXPECT_FALSE(state.isLayerZero);
  EXPECT_TRUE(layers.of(*unplaced).isLayerZero) << "an entity without a layer is on layer 0";
  delete unplaced;
}

}  // namespace
}  // namespace vtcad::editor
