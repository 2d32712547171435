// Symbol tables: names unique without regard to case, anonymous blocks, iteration.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/db/ZcDbViewportTable.h"

namespace {

class SymbolTableTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db); }
  ZcDbObjectId addLayer(const ZTCHAR* name, Zcad::ErrorStatus expected = Zcad::eOk) {
    ZcDbLayerTable* table = nullptr;
    EXPECT_EQ(db.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbLayerTableRecord;
    record->setName(name);
    ZcDbObjectId id;
    Zcad::ErrorStatus es = table->add(id, record);
    EXPECT_EQ(es, expected) << std::wstring(name ? name : L"(null)").size();
    if (es == Zcad::eOk) {
      record->close();
    } else {
      delete record;
    }
    table->close();
    return id;
  }
  ZcDbDatabase db;
};

TEST_F(SymbolTableTest, NamesAreUniqueWithoutRegardToCaseAndErasedRecordsDoNotCount) {
  ZcDbObjectId walls = addLayer(L"Walls");
  addLayer(L"WALLS", Zcad::eDuplicateKey);
  addLayer(L"bad/name", Zcad::eInvalidSymbolTableName);
  addLayer(L"", Zcad::eInvalidSymbolTableName);

  ZcDbLayerTable* table = nullptr;
  ASSERT_EQ(db.getLayerTable(table, ZcDb::kForRead), Zcad::eOk);
  ZcDbObjectId found;
  EXPECT_EQ(table->getAt(L"wAlLs", found), Zcad::eOk);
  EXPECT_EQ(found, walls);
  EXPECT_TRUE(table->has(walls));
  EXPECT_EQ(table->getAt(L"Doors", found), Zcad::eKeyNotFound);
  ZcDbLayerTableRecord* record = nullptr;
  ASSERT_EQ(table->getAt(L"walls", record, ZcDb::kForWrite), Zcad::eOk);
  table->close();

  ZcDbObjectId doors = addLayer(L"Doors");
  ZcDbLayerTableRecord* doorsRecord = nullptr;
  ASSERT_EQ(zcdbOpenObject(doorsRecord, doors, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(doorsRecord->setName(L"walls"), Zcad::eDuplicateKey) << "renaming onto another record";
  EXPECT_EQ(doorsRecord->setName(L"DOORS"), Zcad::eOk) << "renaming onto its own name";
  doorsRecord->close();

  ASSERT_EQ(record->erase(), Zcad::eOk);
  record->close();
  ZcDbObjectId second = addLayer(L"Walls");
  EXPECT_NE(second, walls);
  ASSERT_EQ(db.getLayerTable(table, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(table->getAt(L"Walls", found), Zcad::eOk);
  EXPECT_EQ(found, second) << "the live record wins";
  EXPECT_EQ(table->numEntries(), 3);
  EXPECT_EQ(table->numEntries(/*includeErased=*/true), 4);
  table->close();
}

TEST_F(SymbolTableTest, IteratorsWalkInOrderAndSkipErased) {
  addLayer(L"A");
  ZcDbObjectId b = addLayer(L"B");
  addLayer(L"C");
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, b, ZcDb::kForWrite), Zcad::eOk);
  obj->erase();
  obj->close();

  ZcDbLayerTable* table = nullptr;
  ASSERT_EQ(db.getLayerTable(table, ZcDb::kForRead), Zcad::eOk);
  ZcDbLayerTableIterator* it = nullptr;
  ASSERT_EQ(table->newIterator(it), Zcad::eOk);
  table->close();
  std::wstring names;
  for (; !it->done(); it->step()) {
    ZcDbLayerTableRecord* record = nullptr;
    ASSERT_EQ(it->getRecord(record, ZcDb::kForRead), Zcad::eOk);
    names += record->name().str() + L",";
    record->close();
  }
  EXPECT_EQ(names, L"0,A,C,");
  it->start(/*atBeginning=*/false);
  ZcDbObjectId last;
  ASSERT_EQ(it->getRecordId(last), Zcad::eOk);
  EXPECT_EQ(it->seek(b), Zcad::eOk);
  delete it;
}

TEST_F(SymbolTableTest, AnonymousBlocksGetUniqueNumbers) {
  ZcDbBlockTable* table = nullptr;
  ASSERT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
  std::set<std::wstring> names;
  for (int i = 0; i < 5; ++i) {
    auto* block = new ZcDbBlockTableRecord;
    block->setName(i % 2 ? L"*U" : L"*u");
    ASSERT_EQ(table->add(block), Zcad::eOk);
    EXPECT_TRUE(block->isAnonymous());
    EXPECT_FALSE(block->isLayout());
    names.insert(block->name().str());
    block->close();
  }
  table->close();
  EXPECT_EQ(names, (std::set<std::wstring>{L"*U1", L"*U2", L"*U3", L"*U4", L"*U5"}));
}

TEST_F(SymbolTableTest, BlockKnowsTheReferencesThatInsertIt) {
  ZcDbBlockTable* table = nullptr;
  ASSERT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
  auto* door = new ZcDbBlockTableRecord;
  door->setName(L"Door");
  ZcDbObjectId doorId;
  ASSERT_EQ(table->add(doorId, door), Zcad::eOk);
  door->close();
  table->close();
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectId refIds[2];
  for (auto& refId : refIds) {
    auto* reference = new ZcDbBlockReference(ZcGePoint3d(1, 2, 0), doorId);
    ASSERT_EQ(space->appendZcDbEntity(refId, reference), Zcad::eOk);
    reference->close();
  }
  space->close();
  ZcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(zcdbOpenObject(block, doorId, ZcDb::kForRead), Zcad::eOk);
  ZcDbObjectIdArray ids;
  ASSERT_EQ(block->getBlockReferenceIds(ids), Zcad::eOk);
  block->close();
  EXPECT_EQ(ids, (ZcDbObjectIdArray{refIds[0], refIds[1]}));
}

// Regression: isLayout once read the characters of a temporary name (use after free).
TEST_F(SymbolTableTest, LayoutNamesAreRecognisedWithoutRegardToCase) {
  ZcDbBlockTable* table = nullptr;
  ASSERT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
  for (const ZTCHAR* name : {L"*PAPER_SPACE1", L"*Paper_Spac", L"Paper_Space"}) {
    auto* block = new ZcDbBlockTableRecord;
    ASSERT_EQ(block->setName(name), Zcad::eOk);
    EXPECT_EQ(block->isLayout(), std::wstring(name) == L"*PAPER_SPACE1") << std::wstring(name).size();
    delete block;
  }
  ZcDbBlockTableRecord* model = nullptr;
  ASSERT_EQ(table->getAt(L"*model_space", model, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(model->isLayout());
  EXPECT_FALSE(model->isAnonymous());
  model->close();
  table->close();
}

TEST_F(SymbolTableTest, RecordsOfAnotherTableAreRefused) {
  ZcDbLayerTable* table = nullptr;
  ASSERT_EQ(db.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
  auto* style = new ZcDbTextStyleTableRecord;
  style->setName(L"Notes");
  EXPECT_EQ(table->add(style), Zcad::eWrongObjectType);
  EXPECT_EQ(table->add(nullptr), Zcad::eNullObjectPointer);
  delete style;
  EXPECT_EQ(table->downgradeOpen(), Zcad::eOk);
  auto* layer = new ZcDbLayerTableRecord;
  layer->setName(L"Late");
  EXPECT_EQ(table->add(layer), Zcad::eNotOpenForWrite);
  delete layer;
  table->close();
}

TEST_F(SymbolTableTest, RecordSettersRefuseNonFiniteAndOutOfRangeInput) {
  ZcDbLinetypeTableRecord linetype;
  EXPECT_EQ(linetype.setPatternLength(std::nan("")), Zcad::eInvalidInput);
  EXPECT_EQ(linetype.setNumDashes(2), Zcad::eOk);
  EXPECT_EQ(linetype.setDashLengthAt(1, -0.5), Zcad::eOk);
  EXPECT_EQ(linetype.dashLengthAt(1), -0.5);
  EXPECT_EQ(linetype.setDashLengthAt(2, 1.0), Zcad::eInvalidInput);
  EXPECT_EQ(linetype.setDashLengthAt(0, INFINITY), Zcad::eInvalidInput);

  ZcDbTextStyleTableRecord style;
  EXPECT_EQ(style.setXScale(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(style.setObliquingAngle(1.6), Zcad::eInvalidInput);
  EXPECT_EQ(style.setTextSize(-1.0), Zcad::eInvalidInput);

  ZcDbViewportTableRecord view;
  EXPECT_EQ(view.setHeight(std::nan("")), Zcad::eInvalidInput);
  EXPECT_EQ(view.setViewDirection(ZcGeVector3d(0, 0, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(view.setCenterPoint(ZcGePoint2d(INFINITY, 0)), Zcad::eInvalidInput);

  ZcDbLayerTableRecord layer;
  ZcCmColor byLayer;
  EXPECT_EQ(layer.setColor(byLayer), Zcad::eInvalidInput);
  EXPECT_EQ(layer.color().colorIndex(), 7);
  EXPECT_EQ(layer.setLineWeight(ZcDb::kLnWtByLayer), Zcad::eInvalidInput);
}

}  // namespace
