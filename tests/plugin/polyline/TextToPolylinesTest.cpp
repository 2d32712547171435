// txt2PL on the command line through the host's MIRROR, ZOOM, WMFOUT, WMFIN and ERASE: the
// texts are gone from the saved drawing, their outlines lie inside each text's box with the
// text's orientation, and MIRRTEXT is what it was.
#include <algorithm>

#include "commands/HostCommands.h"
#include "dxf/DxfFile.h"
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/TextToPolylines.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/zced.h"

namespace veltrace::testing {
namespace {

class TextToPolylinesTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    vtcad::commands::registerHostCommands();
    zcedRegCmds()->addCommand(L"TextToPolylinesTest", L"txt2PL", L"txt2PL", 0, &txt2plCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"TextToPolylinesTest");
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    FrameTest::TearDown();
  }
  static int mirrtext() {
    resbuf value{};
    EXPECT_EQ(zcedGetVar(L"MIRRTEXT", &value), RTNORM);
    return value.resval.rint;
  }
};

// A point in the text's own frame: along the baseline from the box's bottom-left corner, and
// up from it, in text heights.
ZcGePoint2d inTextFrame(const ZcGePoint3dArray& box, const ZcGePoint3d& p) {
  const ZcGeVector3d along = box[3] - box[2], up = box[0] - box[2];
  const ZcGeVector3d d = p - box[2];
  return {d.dotProduct(along) / along.lengthSqrd(), d.dotProduct(up) / up.lengthSqrd()};
}

TEST_F(TextToPolylinesTest, TextsBecomeOutlinesWhereTheirGlyphsWere) {
  ZcGePoint3dArray boxes[2];
  const wchar_t* strings[2] = {L"Veltrace 文字", L"FJ7"};
  const double rotations[2] = {0.0, 0.6};
  for (int i = 0; i < 2; ++i) {
    auto* text = new ZcDbText(ZcGePoint3d(40 + 150 * i, 60 + 90 * i, 0), strings[i], ZcDbObjectId::kNull,
                              12.0, rotations[i]);
    ASSERT_EQ(text->getBoundingPoints(boxes[i]), Zcad::eOk);
    addToModelSpace(text);
  }
  resbuf zero{};
  zero.restype = RTSHORT;
  zero.resval.rint = 0;
  zcedSetVar(L"MIRRTEXT", &zero);
  run(L"txt2PL\nALL\n\n");
  EXPECT_EQ(mirrtext(), 0) << "MIRRTEXT is back";

  vtcad::dxf::LoadResult saved = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
  ASSERT_TRUE(saved.ok()) << saved.refusal;
  Opened<ZcDbBlockTableRecord> space(saved.database->modelSpaceId());
  std::vector<ZcDbObjectId> live;
  for (ZcDbObjectId id : space->entityIds()) {
    if (!id.isErased()) live.push_back(id);
  }
  ASSERT_EQ(live.size(), 1u) << "the texts are gone; one block of outlines\n" << transcript_;
  Opened<ZcDbBlockReference> reference(live[0]);
  ASSERT_TRUE(reference);
  const ZcGeMatrix3d toWorld = reference->blockTransform();
  Opened<ZcDbBlockTableRecord> block(reference->blockTableRecord());
  // Every outline point lies in one text's box (its own frame, so rotation and mirroring
  // count); together they reach close to each box's sides.
  struct Reach {
    double left = 1, right = 0, bottom = 1, top = 0;
  } reach[2];
  std::size_t points = 0;
  for (ZcDbObjectId id : block->entityIds()) {
    Opened<ZcDbPolyline> outline(id);
    ASSERT_TRUE(outline);
    EXPECT_TRUE(outline->isClosed());
    for (unsigned int v = 0; v < outline->numVerts(); ++v) {
      ZcGePoint3d p;
      outline->getPointAt(v, p);
      p.transformBy(toWorld);
      ++points;
      bool inside = false;
      for (int i = 0; i < 2 && !inside; ++i) {
        const ZcGePoint2d f = inTextFrame(boxes[i], p);
        const double margin = 0.01;
        if (f.x < -margin || f.x > 1 + margin || f.y < -margin || f.y > 1 + margin) continue;
        inside = true;
        reach[i] = {std::min(reach[i].left, f.x), std::max(reach[i].right, f.x),
                    std::min(reach[i].bottom, f.y), std::max(reach[i].top, f.y)};
      }
      ASSERT_TRUE(inside) << "(" << p.x << ", " << p.y << ") is in no text's box";
    }
  }
  EXPECT_GT(points, 100u);
  // Along the baseline the first and last glyphs' side bearings stay uncovered (for three
  // characters up to a tenth of the box).
  for (const Reach& r : reach) {
    EXPECT_LT(r.left, 0.1);
    EXPECT_GT(r.right, 0.9);
    EXPECT_LT(r.bottom, 0.05);
    EXPECT_GT(r.top, 0.9);
  }
  // "F" is not its mirror image: its bar is at the top left of its cell. Mirrored outlines
  // would have no point near the box's top-left corner.
  bool topLeft = false;
  for (ZcDbObjectId id : block->entityIds()) {
    Opened<ZcDbPolyline> outline(id);
    for (unsigned int v = 0; v < outline->numVerts(); ++v) {
      ZcGePoint3d p;
      outline->getPointAt(v, p);
      const ZcGePoint2d f = inTextFrame(boxes[1], p.transformBy(toWorld));
      topLeft = topLeft || (f.x < 0.1 && f.y > 0.9);
    }
  }
  EXPECT_TRUE(topLeft) << "the outlines keep the text's orientation";
}

TEST_F(TextToPolylinesTest, AMultilineTextBecomesOutlinesWithItsOrientation) {
  auto* mtext = new ZcDbMText;
  mtext->setLocation(ZcGePoint3d(30, 120, 0));
  mtext->setTextHeight(10.0);
  mtext->setContents(L"FJ7\\PF 文");
  ZcGePoint3dArray box;
  ASSERT_EQ(mtext->getBoundingPoints(box), Zcad::eOk);
  addToModelSpace(mtext);
  run(L"txt2PL\nALL\n\n");
  EXPECT_FALSE(said("left as they are")) << transcript_;

  Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
  std::vector<ZcDbObjectId> live;
  for (ZcDbObjectId id : space->entityIds()) {
    if (!id.isErased()) live.push_back(id);
  }
  ASSERT_EQ(live.size(), 1u) << "the multiline text is gone; one block of outlines\n" << transcript_;
  Opened<ZcDbBlockReference> reference(live[0]);
  ASSERT_TRUE(reference);
  const ZcGeMatrix3d toWorld = reference->blockTransform();
  Opened<ZcDbBlockTableRecord> block(reference->blockTableRecord());
  bool topLeft = false;
  std::size_t points = 0;
  for (ZcDbObjectId id : block->entityIds()) {
    Opened<ZcDbPolyline> outline(id);
    ASSERT_TRUE(outline);
    for (unsigned int v = 0; v < outline->numVerts(); ++v) {
      ZcGePoint3d p;
      outline->getPointAt(v, p);
      const ZcGePoint2d f = inTextFrame(box, p.transformBy(toWorld));
      ++points;
      EXPECT_TRUE(f.x > -0.01 && f.x < 1.01 && f.y > -0.01 && f.y < 1.01) << f.x << ", " << f.y;
      topLeft = topLeft || (f.x < 0.1 && f.y > 0.9);
    }
  }
  EXPECT_GT(points, 50u);
  EXPECT_TRUE(topLeft) << "the first line's \"F\" is not mirrored";
}

TEST_F(TextToPolylinesTest, NothingSelectedChangesNothing) {
  auto* line = new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0));
  addToModelSpace(line);
  run(L"txt2PL\nALL\n\n");
  EXPECT_TRUE(said("No selected.")) << transcript_;
  Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
  EXPECT_EQ(space->entityIds().size(), 1u);
}

}  // namespace
}  // namespace veltrace::testing
