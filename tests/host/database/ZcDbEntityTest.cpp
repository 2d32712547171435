// Entity properties: layers and linetypes by name, defaults, refusals.
#include <gtest/gtest.h>

#include <cmath>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"

namespace {

class EntityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zcdbHostApplicationServices()->setWorkingDatabase(&db);
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
    auto* walls = new ZcDbLayerTableRecord;
    walls->setName(L"Walls");
    ASSERT_EQ(layers->add(wallsId, walls), Zcad::eOk);
    walls->close();
    layers->close();
  }
  ZcDbDatabase db;
  ZcDbObjectId wallsId;
};

TEST_F(EntityTest, LayerIsFoundByNameInTheWorkingDatabaseAndUnknownNamesAreRefused) {
  TestSegment segment;
  EXPECT_EQ(segment.layer(), ZcString(L"0"));
  EXPECT_EQ(segment.setLayer(L"WALLS"), Zcad::eOk);
  EXPECT_EQ(segment.layerId(), wallsId);
  EXPECT_EQ(segment.layer(), ZcString(L"Walls"));
  EXPECT_EQ(segment.setLayer(L"Nowhere"), Zcad::eKeyNotFound);
  EXPECT_EQ(segment.layerId(), wallsId);
  EXPECT_EQ(segment.setLayer(db.linetypeTableId()), Zcad::eInvalidInput);
  EXPECT_EQ(segment.setLinetype(L"continuous"), Zcad::eOk);
  EXPECT_EQ(segment.linetype(), ZcString(L"Continuous"));
  EXPECT_EQ(segment.setLinetype(L"Dashed"), Zcad::eKeyNotFound);

  ZcDbDatabase other;
  zcdbHostApplicationServices()->setWorkingDatabase(&other);
  ZcDbObjectId id = appendSegment(db, {0, 0, 0}, {1, 0, 0});
  TestSegment* resident = nullptr;
  ASSERT_EQ(zcdbOpenObject(resident, id, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(resident->setLayer(L"Walls"), Zcad::eOk) << "a resident entity uses its own database";
  resident->close();
  zcdbHostApplicationServices()->setWorkingDatabase(&db);
}

TEST_F(EntityTest, RenamedLayerIsSeenThroughTheId) {
  TestSegment segment;
  ASSERT_EQ(segment.setLayer(wallsId), Zcad::eOk);
  ZcDbLayerTableRecord* record = nullptr;
  ASSERT_EQ(zcdbOpenObject(record, wallsId, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(record->setName(L"Partitions"), Zcad::eOk);
  record->close();
  EXPECT_EQ(segment.layer(), ZcString(L"Partitions"));
}

TEST_F(EntityTest, DatabaseDefaultsAndPropertiesFromAnotherEntity) {
  ASSERT_EQ(db.setClayer(wallsId), Zcad::eOk);
  ZcCmColor red;
  red.setColorIndex(1);
  ASSERT_EQ(db.setCecolor(red), Zcad::eOk);
  ASSERT_EQ(db.setCeltscale(0.5), Zcad::eOk);
  ASSERT_EQ(db.setCelweight(ZcDb::kLnWt025), Zcad::eOk);
  TestSegment source;
  source.setDatabaseDefaults();
  EXPECT_EQ(source.layerId(), wallsId);
  EXPECT_EQ(source.colorIndex(), 1);
  EXPECT_EQ(source.linetypeScale(), 0.5);
  EXPECT_EQ(source.lineWeight(), 25);
  source.setVisibility(ZcDb::kInvisible);

  TestSegment target;
  ASSERT_EQ(target.setPropertiesFrom(&source), Zcad::eOk);
  EXPECT_EQ(target.layer(), ZcString(L"Walls"));
  EXPECT_EQ(target.colorIndex(), 1);
  EXPECT_EQ(target.visibility(), ZcDb::kInvisible);
  EXPECT_EQ(target.setPropertiesFrom(nullptr), Zcad::eNullEntityPointer);
}

TEST_F(EntityTest, NonFiniteAndInvalidValuesAreRefused) {
  TestSegment segment;
  EXPECT_EQ(segment.setLinetypeScale(std::nan("")), Zcad::eInvalidInput);
  EXPECT_EQ(segment.setLinetypeScale(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(segment.linetypeScale(), 1.0);
  EXPECT_EQ(segment.setLineWeight(static_cast<ZcDb::LineWeight>(7)), Zcad::eInvalidInput);
  EXPECT_EQ(segment.setColorIndex(999), Zcad::eInvalidInput);
}

TEST_F(EntityTest, TransformedCopyIsACloneMovedByTheMatrix) {
  TestSegment segment({1, 0, 0}, {2, 0, 0});
  segment.setLayer(L"Walls");
  ZcDbEntity* copy = nullptr;
  ASSERT_EQ(segment.getTransformedCopy(ZcGeMatrix3d::translation({0, 5, 0}), copy), Zcad::eOk);
  auto* moved = TestSegment::cast(copy);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->start().y, 5.0);
  EXPECT_EQ(moved->layerId(), wallsId);
  EXPECT_EQ(segment.start().y, 0.0);
  delete copy;
}

}  // namespace
