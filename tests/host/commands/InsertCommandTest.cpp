#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "DrawCommandTestSupport.h"
#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/zced.h"

namespace draw_test {
namespace {

class InsertCommandTest : public DrawCommandTest {
 protected:
  void SetUp() override {
    DrawCommandTest::SetUp();
    box_ = makeBlock(*db_, L"BOX");
  }

  // A block of one line from its base point, made the way a drawing file would have it.
  static ZcDbObjectId makeBlock(ZcDbDatabase& db, const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    if (!table) return {};
    auto* block = new ZcDbBlockTableRecord;
    block->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Zcad::eOk);
    table->close();
    auto* line = new ZcDbLine({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(block->appendZcDbEntity(line), Zcad::eOk);
    line->close();
    block->close();
    return id;
  }

  ZcDbObjectId box_;
};

struct Insertion {
  ZcDbObjectId block;
  ZcGePoint3d position;
  ZcGeScale3d scale;
  double rotation = 0.0;
};

Insertion insertionOf(ZcDbObjectId id) {
  Opened<ZcDbBlockReference> reference(id);
  EXPECT_TRUE(reference) << "not a block reference";
  if (!reference) return {};
  return {reference->blockTableRecord(), reference->position(), reference->scaleFactors(),
          reference->rotation()};
}

TEST_F(InsertCommandTest, NamePointScaleFactorsAndRotation) {
  run(L"INSERT box 10,10 2 3 45\n");
  Insertion insertion = insertionOf(onlyEntity());
  EXPECT_EQ(insertion.block, box_);
  EXPECT_TRUE(near(insertion.position, {10, 10, 0}));
  EXPECT_DOUBLE_EQ(insertion.scale.sx, 2.0);
  EXPECT_DOUBLE_EQ(insertion.scale.sy, 3.0);
  EXPECT_DOUBLE_EQ(insertion.scale.sz, 2.0);
  EXPECT_NEAR(insertion.rotation, ZcGe::kPi / 4.0, 1e-12);
}

// The X scale is asked at a point prompt that takes other input as text: a real handed
// over by code once fell through it as an invalid point and the insertion never happened.
TEST_F(InsertCommandTest, ScalesAndRotationHandedOverAsRealsByCode) {
  const double at[3] = {4, 5, 0};
  EXPECT_EQ(zcedCommand(RTSTR, L"_INSERT", RTSTR, L"BOX", RTPOINT, at, RTREAL, 2.5, RTREAL, 1.5, RTREAL, 30.0,
                        RTNONE),
            RTNORM)
      << transcript_;
  Insertion insertion = insertionOf(onlyEntity());
  EXPECT_TRUE(near(insertion.position, {4, 5, 0}));
  EXPECT_DOUBLE_EQ(insertion.scale.sx, 2.5);
  EXPECT_DOUBLE_EQ(insertion.scale.sy, 1.5);
  EXPECT_NEAR(insertion.rotation, ZcGe::kPi / 6.0, 1e-12);
}

TEST_F(InsertCommandTest, EnterTakesTheDefaultsAndTheLastBlockName) {
  std::string transcript = run(L"INSERT BOX 5,5\n\n\n\nINSERT\n\n0,0 -1\n\n\n");
  EXPECT_NE(transcript.find("Enter block name or [?] <BOX>:"), std::string::npos) << transcript;
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript;
  Insertion first = insertionOf(ids[0]);
  EXPECT_DOUBLE_EQ(first.scale.sx, 1.0);
  EXPECT_DOUBLE_EQ(first.scale.sy, 1.0);
  EXPECT_EQ(first.rotation, 0.0);
  // A negative X factor mirrors; Y follows X unless given.
  Insertion second = insertionOf(ids[1]);
  EXPECT_EQ(second.block, box_);
  EXPECT_DOUBLE_EQ(second.scale.sx, -1.0);
  EXPECT_DOUBLE_EQ(second.scale.sy, -1.0);
}

TEST_F(InsertCommandTest, ACornerGivesXAndYAtOnceAndXyzAsksForAllThree) {
  run(L"INSERT BOX 1,1 5,3 0\nINSERT BOX 0,0 C 2,-2 0\nINSERT BOX 0,0 XYZ 1 2 3 0\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 3u) << transcript_;
  const ZcGeScale3d expected[] = {{4, 2, 4}, {2, -2, 2}, {1, 2, 3}};
  for (size_t i = 0; i < ids.size(); ++i) {
    Insertion insertion = insertionOf(ids[i]);
    EXPECT_DOUBLE_EQ(insertion.scale.sx, expected[i].sx) << i;
    EXPECT_DOUBLE_EQ(insertion.scale.sy, expected[i].sy) << i;
    EXPECT_DOUBLE_EQ(insertion.scale.sz, expected[i].sz) << i;
  }
}

TEST_F(InsertCommandTest, ZeroAndNonsenseScalesAreAskedAgain) {
  std::string transcript = run(L"INSERT BOX 0,0 0 twice 3,0 2 \n\n");
  EXPECT_NE(transcript.find("Value must be nonzero."), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("Requires a scale factor"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("zero scale factor"), std::string::npos) << transcript;
  Insertion insertion = insertionOf(onlyEntity());
  EXPECT_DOUBLE_EQ(insertion.scale.sx, 2.0);
}

TEST_F(InsertCommandTest, AnUnknownNameEndsTheCommandAndQuestionMarkLists) {
  std::string transcript = run(L"INSERT NOPE\nINSERT *Model_Space\nINSERT ?\n^C\n");
  EXPECT_NE(transcript.find("Block \"NOPE\" not found."), std::string::npos);
  EXPECT_NE(transcript.find("Block \"*Model_Space\" not found."), std::string::npos);
  EXPECT_NE(transcript.find("\"BOX\""), std::string::npos);
  EXPECT_TRUE(entities().empty());
}

TEST_F(InsertCommandTest, UTakesTheInsertionBackAndItSurvivesSavingAsDxf) {
  run(L"INSERT BOX 3,4 2 \n30\n");
  std::unique_ptr<ZcDbDatabase> reloaded = savedAndReloaded();
  ASSERT_TRUE(reloaded);
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(*reloaded);
  ASSERT_EQ(ids.size(), 1u);
  Insertion insertion = insertionOf(ids[0]);
  EXPECT_TRUE(near(insertion.position, {3, 4, 0}));
  EXPECT_DOUBLE_EQ(insertion.scale.sy, 2.0);
  EXPECT_NEAR(insertion.rotation, ZcGe::kPi / 6.0, 1e-9);
  Opened<ZcDbBlockTableRecord> block(insertion.block);
  ASSERT_TRUE(block);
  EXPECT_EQ(std::wstring(block->name().kwszPtr()), L"BOX");
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

// A name that is no block's but a DXF file's: the file's model space becomes a block named
// after the file, its layers come along, and what cannot come along is said.
TEST_F(InsertCommandTest, AFileNameBringsTheFilesDrawingInAsABlockNamedAfterIt) {
  ZcDbDatabase file;
  {
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(file.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
    auto* walls = new ZcDbLayerTableRecord;
    walls->setName(L"WALLS");
    ZcCmColor red;
    red.setColorIndex(1);
    walls->setColor(red);
    ASSERT_EQ(layers->add(walls), Zcad::eOk);
    walls->close();
    layers->close();
    ZcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zcdbOpenObject(space, file.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    auto* line = new ZcDbLine({0, 0, 0}, {4, 0, 0});
    line->setDatabaseDefaults(&file);
    ASSERT_EQ(space->appendZcDbEntity(line), Zcad::eOk);
    ASSERT_EQ(line->setLayer(L"WALLS"), Zcad::eOk);
    line->close();
    auto* nested = new ZcDbBlockReference({1, 1, 0}, makeBlock(file, L"INNER"));
    ASSERT_EQ(space->appendZcDbEntity(nested), Zcad::eOk);
    nested->close();
    space->close();
  }
  const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "plan-for-insert.dxf";
  ASSERT_TRUE(vtcad::dxf::saveDxfFile(file, path).ok);
  std::string transcript = run(L"INSERT " + path.wstring() + L" 2,3 1 1 0\n");
  std::filesystem::remove(path);
  EXPECT_NE(transcript.find("1 block references and texts of the file were left out"), std::string::npos)
      << transcript;
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 1u);
  Insertion insertion = insertionOf(ids[0]);
  EXPECT_TRUE(near(insertion.position, {2, 3, 0}));
  Opened<ZcDbBlockTableRecord> block(insertion.block);
  ASSERT_TRUE(block);
  EXPECT_EQ(std::wstring(block->name().kwszPtr()), L"plan-for-insert");
  ASSERT_EQ(block->entityIds().size(), 1u);
  Opened<ZcDbEntity> line(block->entityIds()[0]);
  ASSERT_TRUE(line);
  EXPECT_EQ(std::wstring(line->layer().kwszPtr()), L"WALLS");
  // A file that is no drawing is refused and nothing is drawn.
  const std::filesystem::path junk = std::filesystem::path(::testing::TempDir()) / "junk-for-insert.dxf";
  { std::ofstream(junk) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n"; }
  transcript = run(L"INSERT " + junk.wstring() + L" 0,0\n");
  std::filesystem::remove(junk);
  EXPECT_NE(transcript.find("Cannot read"), std::string::npos) << transcript;
  EXPECT_EQ(entities().size(), 1u);
}

}  // namespace
}  // namespace draw_test
