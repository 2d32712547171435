// ERASE through the command line: what goes, what stays, and U bringing it back.
#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbLayerTable.h"

namespace edit_test {
namespace {

class EraseCommandTest : public EditCommandTest {};

TEST_F(EraseCommandTest, WindowErasesWhatIsInsideAndUndoBringsItBack) {
  const ZcDbObjectId inside = addLine({1, 1, 0}, {5, 5, 0});
  const ZcDbObjectId circle = addCircle({10, 10, 0}, /*radius=*/2);
  const ZcDbObjectId crossing = addLine({15, 15, 0}, {30, 30, 0});  // leaves the window: stays

  run(L"ERASE W 0,0 20,20 \n");
  EXPECT_TRUE(inside.isErased());
  EXPECT_TRUE(circle.isErased());
  EXPECT_FALSE(crossing.isErased());
  EXPECT_EQ(entities().size(), 1u) << transcript_;

  run(L"U\n");
  EXPECT_EQ(entities().size(), 3u) << transcript_;
  EXPECT_FALSE(inside.isErased());
}

TEST_F(EraseCommandTest, PickedEntitiesGoButThoseOnLockedLayersStay) {
  const ZcDbObjectId free = addLine({0, 0, 0}, {1, 0, 0});
  const ZcDbObjectId held = addLine({0, 1, 0}, {1, 1, 0});
  {
    // A second layer, locked, for `held`.
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db_->getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
    auto* locked = new ZcDbLayerTableRecord();
    locked->setName(L"Fixed");
    locked->setIsLocked(true);
    ASSERT_EQ(layers->add(locked), Zcad::eOk);
    locked->close();
    layers->close();
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, held, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(entity->setLayer(L"Fixed"), Zcad::eOk);
    entity->close();
  }

  const std::string said = run(L"ERASE " + pick(free) + L" " + pick(held) + L" \n");
  EXPECT_TRUE(free.isErased());
  EXPECT_FALSE(held.isErased());
  EXPECT_NE(said.find("1 was on a locked layer."), std::string::npos) << said;
}

TEST_F(EraseCommandTest, EmptySelectionChangesNothing) {
  addLine({0, 0, 0}, {1, 0, 0});
  run(L"ERASE W 100,100 200,200 \n");
  EXPECT_EQ(entities().size(), 1u);
  EXPECT_EQ(db_->undoGroupCount(), 0) << "a command that changed nothing leaves no undo group";
}

}  // namespace
}  // namespace edit_test
