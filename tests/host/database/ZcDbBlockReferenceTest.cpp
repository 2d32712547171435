#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

constexpr double kTol = 1e-9;

class ZcDbBlockReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  ZcDbObjectId addBlock(const ZTCHAR* name, const ZcGePoint3d& origin = ZcGePoint3d::kOrigin) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* block = new ZcDbBlockTableRecord();
    block->setName(name);
    block->setOrigin(origin);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Zcad::eOk);
    block->close();
    table->close();
    return id;
  }
  void append(ZcDbObjectId blockId, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(zcdbOpenObject(block, blockId, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(block->appendZcDbEntity(entity), Zcad::eOk);
    entity->close();
    block->close();
  }
  static ZcDbExtents extentsOf(const ZcDbEntity& entity) {
    ZcDbExtents extents;
    EXPECT_EQ(entity.getGeomExtents(extents), Zcad::eOk);
    return extents;
  }
  static void expectBox(const ZcDbExtents& e, const ZcGePoint3d& min, const ZcGePoint3d& max) {
    EXPECT_TRUE(e.minPoint().isEqualTo(min, ZcGeTol(1e-9, 1e-9)))
        << e.minPoint().x << ", " << e.minPoint().y << ", " << e.minPoint().z;
    EXPECT_TRUE(e.maxPoint().isEqualTo(max, ZcGeTol(1e-9, 1e-9)))
        << e.maxPoint().x << ", " << e.maxPoint().y << ", " << e.maxPoint().z;
  }

  ZcDbDatabase db_;
};

TEST_F(ZcDbBlockReferenceTest, ExtentsAreTheTransformedExtentsOfTheBlock) {
  const ZcDbObjectId block = addBlock(L"B", ZcGePoint3d(1, 0, 0));
  append(block, new ZcDbLine(ZcGePoint3d(1, 0, 0), ZcGePoint3d(3, 0, 0)));
  append(block, new ZcDbCircle(ZcGePoint3d(1, 0, 0), ZcGeVector3d::kZAxis, /*radius=*/1.0));

  ZcDbBlockReference ref(ZcGePoint3d(10, 5, 0), block);
  ASSERT_EQ(ref.setScaleFactors(ZcGeScale3d(2.0)), Zcad::eOk);
  ASSERT_EQ(ref.setRotation(ZcGe::kHalfPi), Zcad::eOk);
  // The base point (1, 0) lands on the position; x of the block runs along world y.
  const ZcGeMatrix3d m = ref.blockTransform();
  EXPECT_TRUE((m * ZcGePoint3d(1, 0, 0)).isEqualTo(ZcGePoint3d(10, 5, 0)));
  EXPECT_TRUE((m * ZcGePoint3d(3, 0, 0)).isEqualTo(ZcGePoint3d(10, 9, 0)));
  expectBox(extentsOf(ref), ZcGePoint3d(8, 3, 0), ZcGePoint3d(12, 9, 0));

  // Turned by 45 degrees the circle keeps its tight box (not the box of its rotated box).
  ASSERT_EQ(ref.setRotation(ZcGe::kPi / 4), Zcad::eOk);
  const ZcDbExtents turned = extentsOf(ref);
  EXPECT_NEAR(turned.minPoint().x, 8.0, kTol);
  EXPECT_NEAR(turned.minPoint().y, 3.0, kTol);
}

TEST_F(ZcDbBlockReferenceTest, NestedReferencesComposeTheirTransforms) {
  const ZcDbObjectId inner = addBlock(L"Inner");
  append(inner, new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)));
  const ZcDbObjectId outer = addBlock(L"Outer");
  auto* nested = new ZcDbBlockReference(ZcGePoint3d(5, 0, 0), inner);
  nested->setScaleFactors(ZcGeScale3d(3, 1, 1));
  append(outer, nested);

  ZcDbBlockReference ref(ZcGePoint3d(0, 10, 0), outer);
  expectBox(extentsOf(ref), ZcGePoint3d(5, 10, 0), ZcGePoint3d(8, 10, 0));
}

TEST_F(ZcDbBlockReferenceTest, SelfInsertingBlocksTerminate) {
  const ZcDbObjectId a = addBlock(L"A");
  const ZcDbObjectId b = addBlock(L"B");
  append(a, new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0)));
  append(a, new ZcDbBlockReference(ZcGePoint3d(100, 0, 0), a));  // A inserts itself
  append(a, new ZcDbBlockReference(ZcGePoint3d(0, 0, 0), b));
  append(b, new ZcDbBlockReference(ZcGePoint3d(0, 50, 0), a));  // and B inserts A back

  ZcDbBlockReference ref(ZcGePoint3d::kOrigin, a);
  // A is expanded once: its insertions of itself, directly or through B, add nothing.
  expectBox(extentsOf(ref), ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0));
  // Inserting B expands B, then A once (whose insertions of itself and of B add nothing).
  ZcDbBlockReference viaB(ZcGePoint3d::kOrigin, b);
  expectBox(extentsOf(viaB), ZcGePoint3d(0, 50, 0), ZcGePoint3d(1, 51, 0));
}

TEST_F(ZcDbBlockReferenceTest, EmptyOrMissingBlocksHaveNoExtents) {
  ZcDbExtents e;
  EXPECT_EQ(ZcDbBlockReference(ZcGePoint3d::kOrigin, addBlock(L"Empty")).getGeomExtents(e),
            Zcad::eInvalidExtents);
  EXPECT_EQ(ZcDbBlockReference(ZcGePoint3d::kOrigin, ZcDbObjectId::kNull).getGeomExtents(e),
            Zcad::eInvalidExtents);
}

TEST_F(ZcDbBlockReferenceTest, TransformComposesAndMirrorsBecomeNegativeXScale) {
  const ZcDbObjectId block = addBlock(L"T", ZcGePoint3d(2, 0, 0));
  ZcDbBlockReference ref(ZcGePoint3d(5, 5, 0), block);
  ASSERT_EQ(ref.setRotation(0.3), Zcad::eOk);
  ASSERT_EQ(ref.setScaleFactors(ZcGeScale3d(1.5, 2.0, 1.0)), Zcad::eOk);
  const ZcGeMatrix3d before = ref.blockTransform();

  const ZcGeMatrix3d xform = ZcGeMatrix3d::translation(ZcGeVector3d(1, -2, 0)) *
                             ZcGeMatrix3d::rotation(0.7, ZcGeVector3d::kZAxis, ZcGePoint3d(3, 3, 0)) *
                             ZcGeMatrix3d::scaling(2.0);
  ASSERT_EQ(ref.transformBy(xform), Zcad::eOk);
  EXPECT_TRUE(ref.blockTransform().isEqualTo(xform * before, ZcGeTol(1e-9, 1e-9)));
  EXPECT_NEAR(ref.rotation(), 1.0, kTol);
  EXPECT_TRUE(ref.scaleFactors().isEqualTo(ZcGeScale3d(3.0, 4.0, 2.0), ZcGeTol(1e-9, 1e-9)));

  ZcDbBlockReference plain(ZcGePoint3d(5, 0, 0), block);
  const ZcGeMatrix3d mirror = ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kXAxis));
  const ZcGeMatrix3d plainBefore = plain.blockTransform();
  ASSERT_EQ(plain.transformBy(mirror), Zcad::eOk);
  EXPECT_TRUE(plain.normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_NEAR(plain.scaleFactors().sx, -1.0, kTol);
  EXPECT_NEAR(plain.scaleFactors().sy, 1.0, kTol);
  EXPECT_NEAR(plain.rotation(), 0.0, kTol);
  EXPECT_TRUE(plain.blockTransform().isEqualTo(mirror * plainBefore, ZcGeTol(1e-9, 1e-9)));
}

TEST_F(ZcDbBlockReferenceTest, NonUniformScaleAlongTheBlockAxesIsKeptAndShearIsRefused) {
  ZcDbBlockReference ref(ZcGePoint3d::kOrigin, addBlock(L"S"));
  ASSERT_EQ(ref.transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(2, 3, 1))), Zcad::eOk);
  EXPECT_TRUE(ref.scaleFactors().isEqualTo(ZcGeScale3d(2, 3, 1)));
  ASSERT_EQ(ref.setRotation(ZcGe::kPi / 6), Zcad::eOk);
  EXPECT_EQ(ref.transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(2, 1, 1))), Zcad::eNotApplicable);
  EXPECT_TRUE(ref.scaleFactors().isEqualTo(ZcGeScale3d(2, 3, 1)));
  EXPECT_NEAR(ref.rotation(), ZcGe::kPi / 6, kTol);
}

TEST_F(ZcDbBlockReferenceTest, BadInputIsRefusedAndChangesNothing) {
  ZcDbBlockReference ref(ZcGePoint3d(1, 2, 3), ZcDbObjectId::kNull);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ref.setScaleFactors(ZcGeScale3d(1, 0, 1)), Zcad::eInvalidInput);
  EXPECT_EQ(ref.setScaleFactors(ZcGeScale3d(nan)), Zcad::eInvalidInput);
  EXPECT_EQ(ref.setRotation(nan), Zcad::eInvalidInput);
  EXPECT_EQ(ref.setPosition(ZcGePoint3d(nan, 0, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(ref.setNormal(ZcGeVector3d::kIdentity), Zcad::eInvalidInput);
  EXPECT_EQ(ref.transformBy(ZcGeMatrix3d::scaling(0.0)), Zcad::eInvalidInput);
  EXPECT_TRUE(ref.scaleFactors().isEqualTo(ZcGeScale3d::kIdentity));
  EXPECT_TRUE(ref.position().isEqualTo(ZcGePoint3d(1, 2, 3)));
}

TEST(ZcDbBlockReferenceClassTest, ReadersFindTheClassByItsDrawingNames) {
  EXPECT_EQ(zcrxFindZcRxClass(L"AcDbBlockReference"), ZcDbBlockReference::desc());
  ZcRxObject* created = zcrxCreateObject(L"INSERT");
  EXPECT_NE(ZcDbBlockReference::cast(created), nullptr);
  delete created;
}

TEST_F(ZcDbBlockReferenceTest, FilingRoundTripsEveryField) {
  const ZcDbObjectId block = addBlock(L"F");
  ZcDbBlockReference ref(ZcGePoint3d(1, 2, 3), block);
  ASSERT_EQ(ref.setScaleFactors(ZcGeScale3d(-1, 2, 3)), Zcad::eOk);
  ASSERT_EQ(ref.setRotation(0.25), Zcad::eOk);
  ASSERT_EQ(ref.setNormal(ZcGeVector3d(0, 1, 1)), Zcad::eOk);
  MemoryDwgFiler filer;
  ASSERT_EQ(ref.dwgOutFields(&filer), Zcad::eOk);
  filer.rewind();
  ZcDbBlockReference copy;
  ASSERT_EQ(copy.dwgInFields(&filer), Zcad::eOk);
  EXPECT_EQ(copy.blockTableRecord(), block);
  EXPECT_TRUE(copy.blockTransform().isEqualTo(ref.blockTransform()));
}

}  // namespace
