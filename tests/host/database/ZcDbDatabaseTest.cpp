// The drawing database: default contents, handles, header variables, spaces.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbRegAppTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/db/ZcDbViewportTable.h"
#include "zcad/db/ZcDbXrecord.h"

namespace {

std::wstring stringVar(const ZcDbDatabase& db, const ZTCHAR* name) {
  resbuf* rb = db.getHeaderVar(name);
  std::wstring text = rb && rb->resval.rstring ? rb->resval.rstring : L"<none>";
  zcutRelRb(rb);
  return text;
}

TEST(ZcDbDatabaseTest, NewDrawingHasWhatEveryDrawingHas) {
  ZcDbDatabase db;
  auto hasRecord = [&](ZcDbObjectId tableId, const ZTCHAR* name) {
    ZcDbSymbolTable* table = nullptr;
    EXPECT_EQ(zcdbOpenObject(table, tableId, ZcDb::kForRead), Zcad::eOk);
    bool has = table->has(name);
    table->close();
    return has;
  };
  EXPECT_TRUE(hasRecord(db.blockTableId(), L"*MODEL_SPACE"));
  EXPECT_TRUE(hasRecord(db.blockTableId(), L"*Paper_Space"));
  EXPECT_TRUE(hasRecord(db.layerTableId(), L"0"));
  for (const ZTCHAR* name : {L"ByBlock", L"ByLayer", L"Continuous"})
    EXPECT_TRUE(hasRecord(db.linetypeTableId(), name));
  EXPECT_TRUE(hasRecord(db.textStyleTableId(), L"Standard"));
  EXPECT_TRUE(hasRecord(db.regAppTableId(), L"ACAD"));
  EXPECT_TRUE(hasRecord(db.dimStyleTableId(), L"Standard"));

  // Tables and the named-objects dictionary have the low handles of drawing files.
  EXPECT_EQ(db.blockTableId().handle().value(), 0x1u);
  EXPECT_EQ(db.layerTableId().handle().value(), 0x2u);
  EXPECT_EQ(db.namedObjectsDictionaryId().handle().value(), 0xCu);
  EXPECT_GT(db.handseed().value(), db.paperSpaceId().handle().value());
  EXPECT_EQ(db.currentSpaceId(), db.modelSpaceId());
  EXPECT_EQ(stringVar(db, L"$CLAYER"), L"0");
  EXPECT_EQ(stringVar(db, L"celtype"), L"ByLayer");

  ZcDbViewportTable* viewports = nullptr;
  ASSERT_EQ(db.getViewportTable(viewports, ZcDb::kForRead), Zcad::eOk);
  ZcDbViewportTableRecord* active = nullptr;
  ASSERT_EQ(viewports->getAt(L"*Active", active, ZcDb::kForRead), Zcad::eOk);
  viewports->close();
  EXPECT_EQ(active->centerPoint().x, 210.0);
  EXPECT_EQ(active->width(), 420.0);
  EXPECT_EQ(active->height(), 297.0);
  active->close();

  // What the drawing cannot do without cannot be erased.
  ZcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(layers->erase(), Zcad::eCannotBeErasedByCaller);
  ZcDbLayerTableRecord* layer0 = nullptr;
  ASSERT_EQ(layers->getAt(L"0", layer0, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(layer0->erase(), Zcad::eCannotBeErasedByCaller);
  layer0->close();
  layers->close();
}

TEST(ZcDbDatabaseTest, HandlesResolveAndForwardReferencesAreFilledLater) {
  ZcDbDatabase db(/*buildDefaultDrawing=*/false);
  EXPECT_TRUE(db.blockTableId().isNull());
  ZcDbObjectId forward;
  EXPECT_EQ(db.getZcDbObjectId(forward, /*createIfNotFound=*/false, ZcDbHandle(0x2A)), Zcad::eUnknownHandle);
  ASSERT_EQ(db.getZcDbObjectId(forward, /*createIfNotFound=*/true, ZcDbHandle(0x2A)), Zcad::eOk);
  EXPECT_FALSE(forward.isValid());
  ZcDbObject* obj = nullptr;
  EXPECT_EQ(zcdbOpenObject(obj, forward, ZcDb::kForRead), Zcad::eUnknownHandle);

  auto* record = new ZcDbXrecord;
  ZcDbObjectId id;
  ASSERT_EQ(db.addZcDbObjectWithHandle(id, record, ZcDbHandle(L"2a")), Zcad::eOk);
  record->close();
  EXPECT_EQ(id, forward) << "the forward reference is the object now";
  EXPECT_TRUE(forward.isValid());
  EXPECT_GE(db.handseed().value(), 0x2Bu);

  auto* duplicate = new ZcDbXrecord;
  EXPECT_EQ(db.addZcDbObjectWithHandle(id, duplicate, ZcDbHandle(0x2A)), Zcad::eHandleInUse);
  EXPECT_EQ(db.addZcDbObjectWithHandle(id, duplicate, ZcDbHandle()), Zcad::eNullHandle);
  delete duplicate;

  // Tables added by a reader become the database's tables.
  auto* blocks = new ZcDbBlockTable;
  ASSERT_EQ(db.addZcDbObjectWithHandle(id, blocks, ZcDbHandle(0x1)), Zcad::eOk);
  auto* model = new ZcDbBlockTableRecord;
  model->setName(L"*Model_Space");
  ASSERT_EQ(blocks->add(model), Zcad::eOk);
  model->close();
  blocks->close();
  EXPECT_EQ(db.blockTableId(), id);
  EXPECT_FALSE(db.modelSpaceId().isNull());
}

TEST(ZcDbDatabaseTest, HandleTextParsesHexadecimal) {
  EXPECT_EQ(ZcDbHandle(L"1F").value(), 0x1Fu);
  EXPECT_EQ(ZcDbHandle(L"00ff").value(), 0xFFu);
  EXPECT_TRUE(ZcDbHandle(L"xyz").isNull());
  EXPECT_TRUE(ZcDbHandle(L"11112222333344445").isNull()) << "more than 64 bits";
  EXPECT_EQ(ZcDbHandle(0xABCDEFu).getIntoAsciiBuffer(), L"ABCDEF");
  EXPECT_EQ(ZcDbHandle().getIntoAsciiBuffer(), L"0");
}

TEST(ZcDbDatabaseTest, HeaderVariablesKeepEveryNameAndRefuseBadValues) {
  ZcDbDatabase db;
  resbuf* angbase = zcutBuildList(50, 0.25, 0);
  ASSERT_EQ(db.setHeaderVar(L"$ANGBASE", angbase), Zcad::eOk);
  zcutRelRb(angbase);
  resbuf* got = db.getHeaderVar(L"angbase");
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->restype, 50);
  EXPECT_DOUBLE_EQ(got->resval.rreal, 0.25);
  zcutRelRb(got);
  EXPECT_EQ(db.getHeaderVar(L"NOSUCHVAR"), nullptr);

  resbuf* scale = zcutBuildList(40, 2.0, 0);
  ASSERT_EQ(db.setHeaderVar(L"CELTSCALE", scale), Zcad::eOk);
  zcutRelRb(scale);
  EXPECT_EQ(db.celtscale(), 2.0);
  resbuf* nan = zcutBuildList(40, std::nan(""), 0);
  EXPECT_EQ(db.setHeaderVar(L"CELTSCALE", nan), Zcad::eInvalidInput);
  EXPECT_EQ(db.setHeaderVar(L"USERR1", nan), Zcad::eInvalidInput);
  zcutRelRb(nan);
  EXPECT_EQ(db.celtscale(), 2.0);
  double far[3] = {1e300, INFINITY, 0};
  resbuf* inf = zcutBuildList(10, far, 0);
  EXPECT_EQ(db.setHeaderVar(L"EXTMIN", inf), Zcad::eInvalidInput);
  zcutRelRb(inf);
  EXPECT_EQ(db.setCeltscale(-1.0), Zcad::eInvalidInput);
  EXPECT_EQ(db.setPdmode(5), Zcad::eInvalidInput);
  EXPECT_EQ(db.setPdmode(35), Zcad::eOk);
  EXPECT_EQ(db.setCelweight(static_cast<ZcDb::LineWeight>(17)), Zcad::eInvalidInput);
}

TEST(ZcDbDatabaseTest, CurrentLayerNamedBeforeItsTableHasItResolvesWhenItAppears) {
  ZcDbDatabase db;
  resbuf* name = zcutBuildList(8, L"Walls", 0);
  ASSERT_EQ(db.setHeaderVar(L"CLAYER", name), Zcad::eOk);
  zcutRelRb(name);
  EXPECT_EQ(stringVar(db, L"CLAYER"), L"0") << "not there yet";
  ZcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
  auto* walls = new ZcDbLayerTableRecord;
  walls->setName(L"Walls");
  ZcDbObjectId wallsId;
  ASSERT_EQ(layers->add(wallsId, walls), Zcad::eOk);
  walls->close();
  layers->close();
  EXPECT_EQ(db.clayer(), wallsId);
  EXPECT_EQ(stringVar(db, L"CLAYER"), L"Walls");
}

TEST(ZcDbDatabaseTest, CurrentSpaceIsALayoutOfThisDatabase) {
  ZcDbDatabase db;
  ZcDbDatabase other;
  EXPECT_EQ(db.setCurrentSpace(db.paperSpaceId()), Zcad::eOk);
  EXPECT_EQ(db.currentSpaceId(), db.paperSpaceId());
  EXPECT_EQ(db.setCurrentSpace(other.modelSpaceId()), Zcad::eWrongDatabase);
  EXPECT_EQ(db.setCurrentSpace(db.layerTableId()), Zcad::eNotThatKindOfClass);
  ZcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(db.getBlockTable(blocks, ZcDb::kForWrite), Zcad::eOk);
  auto* door = new ZcDbBlockTableRecord;
  door->setName(L"Door");
  ZcDbObjectId doorId;
  ASSERT_EQ(blocks->add(doorId, door), Zcad::eOk);
  door->close();
  blocks->close();
  EXPECT_EQ(db.setCurrentSpace(doorId), Zcad::eInvalidInput);
}

TEST(ZcDbDatabaseTest, RegAppRegistersOnceInTheWorkingDatabase) {
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  EXPECT_EQ(zcdbRegApp(L"VT"), RTERROR);
  {
    ZcDbDatabase db;
    zcdbHostApplicationServices()->setWorkingDatabase(&db);
    EXPECT_EQ(zcdbRegApp(L"VT"), RTNORM);
    EXPECT_EQ(zcdbRegApp(L"vt"), RTNORM);
    EXPECT_EQ(zcdbRegApp(L"bad;name"), RTERROR);
    ZcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db.getRegAppTable(apps, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(apps->numEntries(), 2);
    apps->close();
  }
  EXPECT_EQ(zcdbCurDwg(), nullptr) << "a destroyed working database is forgotten";
}

TEST(ZcDbDatabaseTest, ExtentsGrowWithModelSpaceEntitiesAndUpdateExtRecomputes) {
  ZcDbDatabase db;
  appendSegment(db, {-5, 1, 0}, {10, 2, 3});
  EXPECT_EQ(db.extmin().x, -5.0);
  EXPECT_EQ(db.extmax().z, 3.0);
  ZcDbObjectId far = appendSegment(db, {100, 0, 0}, {200, 0, 0});
  EXPECT_EQ(db.extmax().x, 200.0);
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, far, ZcDb::kForWrite), Zcad::eOk);
  obj->erase();
  obj->close();
  EXPECT_EQ(db.extmax().x, 200.0) << "extents only grow until recomputed";
  ASSERT_EQ(db.updateExt(), Zcad::eOk);
  EXPECT_EQ(db.extmax().x, 10.0);
}

}  // namespace
