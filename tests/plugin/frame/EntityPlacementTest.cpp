// Where new entities go: the current space, the block of the entity they came from, and new
// anonymous blocks.
#include "frame/EntityPlacement.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbXrecord.h"

namespace veltrace::testing {
namespace {

using EntityPlacementTest = FrameTest;

ZcDbLine* newLine() { return new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0)); }

// The block the placed entity is in; it must be closed again (it opens for write).
ZcDbObjectId placedIn(const Placement& placement) {
  ZcDbEntity* entity = nullptr;
  if (!placement.placed() || zcdbOpenObject(entity, placement.id, ZcDb::kForWrite) != Zcad::eOk) return {};
  const ZcDbObjectId owner = entity->ownerId();
  entity->close();
  return owner;
}

TEST_F(EntityPlacementTest, CurrentSpaceOrTheSourcesBlock) {
  EXPECT_EQ(placedIn(appendToCurrentSpace(newLine())), db_->modelSpaceId());
  const ZcDbObjectId part = addBlock(L"Bracket");
  const ZcDbObjectId inPart = add(part, newLine());
  const ZcDbObjectId onPaper = add(db_->paperSpaceId(), newLine());
  EXPECT_EQ(placedIn(appendBesideSource(db_.get(), newLine(), inPart)), part);
  EXPECT_EQ(placedIn(appendBesideSource(db_.get(), newLine(), onPaper)), db_->paperSpaceId());
  EXPECT_EQ(placedIn(appendBesideSource(db_.get(), newLine(), ZcDbObjectId())), db_->modelSpaceId());
  {
    Opened<ZcDbLine> held(inPart);  // a source the caller holds open for read still counts
    EXPECT_EQ(placedIn(appendBesideSource(db_.get(), newLine(), inPart)), part);
  }
  ASSERT_EQ(db_->setCurrentSpace(db_->paperSpaceId()), Zcad::eOk);
  EXPECT_EQ(placedIn(appendToCurrentSpace(newLine())), db_->paperSpaceId());
  EXPECT_EQ(placedIn(appendBesideSource(db_.get(), newLine(), ZcDbObjectId())), db_->paperSpaceId());
}

TEST_F(EntityPlacementTest, UnplacedEntitiesStayTheCallers) {
  ZcDbDictionary* named = nullptr;
  ASSERT_EQ(db_->getNamedObjectsDictionary(named, ZcDb::kForWrite), Zcad::eOk);
  auto* record = new ZcDbXrecord;
  ZcDbObjectId inDictionary;
  ASSERT_EQ(named->setAt(L"VELTRACE_TEST", record, inDictionary), Zcad::eOk);
  record->close();
  named->close();
  ZcDbLine* line = newLine();
  Placement placement = appendBesideSource(db_.get(), line, inDictionary);
  EXPECT_FALSE(placement.placed());
  EXPECT_TRUE(placement.id.isNull());
  EXPECT_FALSE(line->isDatabaseResident());
  ASSERT_EQ(db_->getNamedObjectsDictionary(named, ZcDb::kForWrite), Zcad::eOk);  // given back
  named->close();
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  placement = appendToCurrentSpace(line);
  EXPECT_FALSE(placement.placed());
  EXPECT_FALSE(line->isDatabaseResident());
  delete line;
}

TEST_F(EntityPlacementTest, AnonymousBlocksAreNumberedAndHandedBackOpen) {
  const NewBlock first = newAnonymousBlock(db_.get());
  ASSERT_NE(first.record, nullptr);
  EXPECT_EQ(first.record->objectId(), first.id);
  EXPECT_EQ(first.record->name(), L"*U1");
  EXPECT_EQ(first.record->appendZcDbEntity(newLine()), Zcad::eOk);  // open for write: the caller fills it
  first.record->close();
  const NewBlock second = newAnonymousBlock(db_.get());
  ASSERT_NE(second.record, nullptr);
  EXPECT_EQ(second.record->name(), L"*U2");
  second.record->close();
  EXPECT_EQ(Opened<ZcDbBlockTableRecord>(first.id)->entityCount(), 1);
  // A table held elsewhere (or no drawing) gives no block, and nothing is added.
  ZcDbBlockTable* table = nullptr;
  ASSERT_EQ(db_->getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);  // the calls above closed it
  EXPECT_EQ(newAnonymousBlock(db_.get()).record, nullptr);
  EXPECT_FALSE(table->has(L"*U3"));
  table->close();
  EXPECT_EQ(newAnonymousBlock(nullptr).record, nullptr);
}

}  // namespace
}  // namespace veltrace::testing
