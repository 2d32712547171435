// What is kept of a traced drawing's block: no frame, no clutter, the rest by block.
#include "image/TracedBlockPruning.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

class TracedBlockPruningTest : public FrameTest {
 protected:
  static ZcDbPolyline* polygon(std::initializer_list<ZcGePoint2d> points) {
    auto* p = new ZcDbPolyline();
    unsigned i = 0;
    for (const ZcGePoint2d& point : points) p->addVertexAt(i++, point);
    p->setClosed(true);
    p->setColorIndex(3);
    return p;
  }
  ZcDbObjectId referenceTo(ZcDbObjectId block) {
    return addToModelSpace(new ZcDbBlockReference(ZcGePoint3d(0, 0, 0), block));
  }
};

TEST_F(TracedBlockPruningTest, TheFrameAndSmallPolylinesGoTheRestIsDrawnByBlock) {
  const ZcDbObjectId block = addBlock(L"TRACED");
  const ZcDbObjectId frame = add(block, polygon({{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
  const ZcDbObjectId speck = add(block, polygon({{5, 5}, {6, 5}, {6, 6}}));
  const ZcDbObjectId shape = add(block, polygon({{10, 10},
                                                 {40, 10},
                                                 {45, 20},
                                                 {40, 30},
                                                 {10, 30},
                                                 {5, 25},
                                                 {5, 15},
                                                 {8, 12},
                                                 {9, 11},
                                                 {9.5, 10.5}}));
  const PruneCount count = pruneTracedBlock(referenceTo(block), /*clutter=*/10);
  EXPECT_EQ(count.erased, 2);
  EXPECT_EQ(count.kept, 1);
  EXPECT_FALSE(Opened<ZcDbEntity>(frame));
  EXPECT_FALSE(Opened<ZcDbEntity>(speck));
  Opened<ZcDbEntity> kept(shape);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->colorIndex(), 0);
}

TEST_F(TracedBlockPruningTest, ADrawingOfOneRectangleKeepsIt) {
  const ZcDbObjectId block = addBlock(L"TRACED");
  const ZcDbObjectId only = add(block, polygon({{0, 0}, {100, 0}, {100, 50}, {0, 50}}));
  EXPECT_EQ(pruneTracedBlock(referenceTo(block), /*clutter=*/2).kept, 1);
  EXPECT_TRUE(Opened<ZcDbEntity>(only));
  // Anything but a block reference is left alone.
  EXPECT_EQ(pruneTracedBlock(only, 2).erased, 0);
}

}  // namespace
}  // namespace veltrace::testing
