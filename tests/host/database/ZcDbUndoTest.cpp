// Undo and redo of whole commands.
#include <gtest/gtest.h>

#include <vector>

#include "AllocationCounter.h"
#include "DatabaseTestSupport.h"
#include "database/ZcDbDatabaseImpl.h"
#include "database/ZcDbUndo.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbXrecord.h"

namespace {

class UndoTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db); }
  void moveStart(ZcDbObjectId target, double x) {
    TestSegment* segment = nullptr;
    ASSERT_EQ(zcdbOpenObject(segment, target, ZcDb::kForWrite), Zcad::eOk);
    segment->setStart({x, 0, 0});
    segment->close();
  }
  void eraseObject(ZcDbObjectId target) {
    ZcDbObject* obj = nullptr;
    ASSERT_EQ(zcdbOpenObject(obj, target, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(obj->erase(), Zcad::eOk);
    obj->close();
  }
  int modelSpaceCount() {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
    int n = space->entityCount();
    space->close();
    return n;
  }
  ZcDbDatabase db;
};

TEST_F(UndoTest, CommandThatAddsChangesErasesAndHandsOverIsTakenBackAndRedone) {
  ZcDbObjectId changed = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  ZcDbObjectId erased = appendSegment(db, {3, 0, 0}, {4, 0, 0});
  ZcDbObjectId handed = appendSegment(db, {5, 0, 0}, {6, 0, 0});

  db.beginUndoGroup(L"EDIT");
  ZcDbObjectId added = appendSegment(db, {7, 0, 0}, {8, 0, 0});
  moveStart(changed, 10);
  moveStart(changed, 11);  // a second open in the same command: one record
  eraseObject(erased);
  TestSegment* old = nullptr;
  ASSERT_EQ(zcdbOpenObject(old, handed, ZcDb::kForWrite), Zcad::eOk);
  auto* replacement = new TestSegment({50, 0, 0}, {60, 0, 0});
  ASSERT_EQ(old->handOverTo(replacement), Zcad::eObjectToBeDeleted);
  delete old;
  replacement->setStart({55, 0, 0});
  replacement->close();
  db.endUndoGroup();
  EXPECT_EQ(db.undoGroupCount(), 1);

  ASSERT_EQ(db.undo(), Zcad::eOk);
  EXPECT_EQ(startX(changed), 1.0);
  EXPECT_FALSE(erased.isErased());
  EXPECT_EQ(startX(handed), 5.0) << "the old object has its id back";
  EXPECT_EQ(handed.objectClass(), TestSegment::desc());
  ZcDbObject* obj = nullptr;
  EXPECT_EQ(zcdbOpenObject(obj, added, ZcDb::kForRead, /*openErased=*/true), Zcad::ePermanentlyErased);
  EXPECT_EQ(modelSpaceCount(), 3) << "the added entity left model space";
  EXPECT_EQ(db.redoGroupCount(), 1);

  ASSERT_EQ(db.redo(), Zcad::eOk);
  EXPECT_EQ(startX(changed), 11.0);
  EXPECT_TRUE(erased.isErased());
  EXPECT_EQ(startX(handed), 55.0);
  EXPECT_EQ(startX(added), 7.0);
  EXPECT_EQ(modelSpaceCount(), 3) << "three live: added is back, erased is erased";

  // Undo again, then a new change: redo is gone, and the added object for good.
  ASSERT_EQ(db.undo(), Zcad::eOk);
  moveStart(changed, 99);
  EXPECT_EQ(db.redoGroupCount(), 0);
  EXPECT_EQ(db.redo(), Zcad::eNotApplicable);
  EXPECT_EQ(zcdbOpenObject(obj, added, ZcDb::kForRead, /*openErased=*/true), Zcad::ePermanentlyErased);
  EXPECT_FALSE(added.isValid());
}

// A block's cancel state keeps the length of its entity list, not a copy: a cancelled append
// inside a command must not disturb what undo and redo put back.
TEST_F(UndoTest, ACancelledAppendInsideACommandUndoesAndRedoesWithTheRest) {
  const ZcDbObjectId before = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup(L"ADD");
  const ZcDbObjectId kept = appendSegment(db, {3, 0, 0}, {4, 0, 0});
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  auto* dropped = new TestSegment({5, 0, 0}, {6, 0, 0});
  ZcDbObjectId droppedId;
  ASSERT_EQ(space->appendZcDbEntity(droppedId, dropped), Zcad::eOk);
  dropped->close();
  ASSERT_EQ(space->cancel(), Zcad::eOk);
  const ZcDbObjectId after = appendSegment(db, {7, 0, 0}, {8, 0, 0});
  db.endUndoGroup();
  auto listed = [&] {
    ZcDbBlockTableRecord* block = nullptr;
    EXPECT_EQ(zcdbOpenObject(block, db.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
    std::vector<ZcDbObjectId> ids = block->entityIds();
    block->close();
    return ids;
  };
  EXPECT_EQ(listed(), (std::vector<ZcDbObjectId>{before, kept, after}));
  ASSERT_EQ(db.undo(), Zcad::eOk);
  EXPECT_EQ(listed(), (std::vector<ZcDbObjectId>{before}));
  ASSERT_EQ(db.redo(), Zcad::eOk);
  EXPECT_EQ(listed(), (std::vector<ZcDbObjectId>{before, kept, after}));
}

TEST_F(UndoTest, NestedGroupsCountOnceAndEmptyGroupsNotAtAll) {
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup();
  db.beginUndoGroup();
  moveStart(target, 2);
  db.endUndoGroup();
  EXPECT_TRUE(db.isRecordingUndo());
  moveStart(target, 3);
  db.endUndoGroup();
  db.beginUndoGroup();
  db.endUndoGroup();
  EXPECT_EQ(db.undoGroupCount(), 1);
  ASSERT_EQ(db.undo(5), Zcad::eOk) << "more than there are: all of them";
  EXPECT_EQ(startX(target), 1.0);
  EXPECT_EQ(db.undo(), Zcad::eNotApplicable);
  EXPECT_EQ(db.undo(0), Zcad::eInvalidInput);
}

TEST_F(UndoTest, ACancelledGroupIsTakenBackForGoodAndAnEmptyOneTakesNothingElse) {
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup(L"MOVE");
  moveStart(target, 2);
  db.endUndoGroup();
  // A broken-off command: what it added and changed goes, inner groups included.
  db.beginUndoGroup(L"ARRAY");
  db.beginUndoGroup(L"COPY");
  appendSegment(db, {7, 0, 0}, {8, 0, 0});
  EXPECT_EQ(db.cancelUndoGroup(), Zcad::eOk) << "an inner group only ends";
  moveStart(target, 3);
  EXPECT_EQ(db.cancelUndoGroup(), Zcad::eOk);
  EXPECT_EQ(modelSpaceCount(), 1);
  EXPECT_EQ(startX(target), 2.0);
  EXPECT_EQ(db.undoGroupCount(), 1);
  EXPECT_EQ(db.redoGroupCount(), 0);
  // Degenerate case: a cancelled command that changed nothing leaves the MOVE before it alone.
  db.beginUndoGroup(L"ARRAY");
  EXPECT_EQ(db.cancelUndoGroup(), Zcad::eOk);
  EXPECT_EQ(startX(target), 2.0);
  EXPECT_EQ(db.undoGroupCount(), 1);
}

TEST_F(UndoTest, UndoIsRefusedWhileObjectsAreOpenOrACommandRuns) {
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup();
  moveStart(target, 2);
  EXPECT_EQ(db.undo(), Zcad::eInvalidOpenState);
  db.endUndoGroup();
  ZcDbObject* reader = nullptr;
  ASSERT_EQ(zcdbOpenObject(reader, target, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(db.undo(), Zcad::eInvalidOpenState);
  reader->close();
  EXPECT_EQ(db.undo(), Zcad::eOk);
}

TEST_F(UndoTest, LayerPropertiesAndExtendedDataComeBack) {
  ASSERT_EQ(zcdbRegApp(L"VT"), RTNORM);
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup();
  ZcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
  auto* walls = new ZcDbLayerTableRecord;
  ASSERT_EQ(walls->setName(L"Walls"), Zcad::eOk);
  ASSERT_EQ(layers->add(walls), Zcad::eOk);
  walls->close();
  layers->close();
  TestSegment* segment = nullptr;
  ASSERT_EQ(zcdbOpenObject(segment, target, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(segment->setLayer(L"walls"), Zcad::eOk);
  resbuf* xdata = zcutBuildList(1001, L"VT", 1070, 5, 0);
  ASSERT_EQ(segment->setXData(xdata), Zcad::eOk);
  zcutRelRb(xdata);
  segment->close();
  db.endUndoGroup();

  ASSERT_EQ(db.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(segment, target, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(segment->layer(), ZcString(L"0"));
  EXPECT_EQ(segment->xData(L"VT"), nullptr);
  segment->close();
  ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForRead), Zcad::eOk);
  EXPECT_FALSE(layers->has(L"Walls"));
  layers->close();

  ASSERT_EQ(db.redo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(segment, target, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(segment->layer(), ZcString(L"Walls"));
  segment->close();
}

TEST_F(UndoTest, DictionaryRemoveAndReplaceComeBackWithTheirOwners) {
  ZcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForWrite), Zcad::eOk);
  auto* first = new ZcDbXrecord;
  ZcDbObjectId firstId;
  ASSERT_EQ(nod->setAt(L"VT", first, firstId), Zcad::eOk);
  first->close();
  nod->close();

  db.beginUndoGroup();
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(nod->remove(L"vt"), Zcad::eOk);
  nod->close();
  db.endUndoGroup();
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, firstId, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(obj->ownerId().isNull());
  obj->close();

  ASSERT_EQ(db.undo(), Zcad::eOk);
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForRead), Zcad::eOk);
  ZcDbObjectId found;
  EXPECT_EQ(nod->getAt(L"VT", found), Zcad::eOk);
  EXPECT_EQ(found, firstId);
  nod->close();
  ASSERT_EQ(zcdbOpenObject(obj, firstId, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(obj->ownerId(), db.namedObjectsDictionaryId());
  obj->close();
}

TEST_F(UndoTest, OpeningForWriteWithoutAChangeAllocatesAndRecordsNothing) {
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  db.beginUndoGroup();
  size_t recordsBefore = db.impl()->undo.recordCount();
  long before = testAllocationCount();
  for (int i = 0; i < 10; ++i) {
    ZcDbObject* obj = nullptr;
    ASSERT_EQ(zcdbOpenObject(obj, target, ZcDb::kForWrite), Zcad::eOk);
    obj->close();
    ASSERT_EQ(zcdbOpenObject(obj, target, ZcDb::kForRead), Zcad::eOk);
    obj->close();
  }
  long allocations = testAllocationCount() - before;
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(db.impl()->undo.recordCount(), recordsBefore);
  db.endUndoGroup();
  EXPECT_EQ(db.undoGroupCount(), 0);
}

TEST_F(UndoTest, ChangesOutsideCommandsAreNotRecorded) {
  ZcDbObjectId target = appendSegment(db, {1, 0, 0}, {2, 0, 0});
  moveStart(target, 4);
  EXPECT_EQ(db.impl()->undo.recordCount(), 0u);
  db.disableUndoRecording(true);
  db.beginUndoGroup();
  moveStart(target, 5);
  db.endUndoGroup();
  db.disableUndoRecording(false);
  EXPECT_EQ(db.undoGroupCount(), 0);
}

}  // namespace
