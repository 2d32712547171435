// INOFFSET and makeOutline end to end: a picture of the view made by the host, its regions,
// the host's boundary search at each region's seed, and what is left in the drawing.
#include <algorithm>
#include <cmath>
#include <vector>

#include "commands/HostCommands.h"
#include "outline/OutlineCommands.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class OutlineCommandsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    // The commands drive the host's PNGOUT, BOUNDARY, ZOOM and ERASE.
    vtcad::commands::registerHostCommands();
    zcedRegCmds()->addCommand(L"OutlineCommandsTest", L"INOFFSET", L"INOFFSET", 0, &inoffsetCommand);
    zcedRegCmds()->addCommand(L"OutlineCommandsTest", L"makeOutline", L"makeOutline", 0, &makeOutlineCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"OutlineCommandsTest");
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    FrameTest::TearDown();
  }
  ZcDbObjectId square(double left, double bottom, double size) {
    auto* p = new ZcDbPolyline();
    const double xs[4] = {left, left + size, left + size, left};
    const double ys[4] = {bottom, bottom, bottom + size, bottom + size};
    for (unsigned int i = 0; i < 4; ++i) p->addVertexAt(i, ZcGePoint2d(xs[i], ys[i]));
    p->setClosed(true);
    return addToModelSpace(p);
  }
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  // The areas of the closed polylines other than `sources`, sorted.
  std::vector<double> newAreas(const std::vector<ZcDbObjectId>& sources) const {
    std::vector<double> areas;
    for (ZcDbObjectId id : modelSpace()) {
      if (std::find(sources.begin(), sources.end(), id) != sources.end()) continue;
      Opened<ZcDbEntity> entity(id);
      if (const auto* p = ZcDbPolyline::cast(entity.get())) {
        double area = 0;
        p->getArea(area);
        areas.push_back(std::abs(area));
      }
    }
    std::sort(areas.begin(), areas.end());
    return areas;
  }
};

void expectAreas(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-6 * expected[i]) << i;
}

TEST_F(OutlineCommandsTest, InoffsetOffsetsEveryEnclosedAreaInwardAndErasesTheBoundaries) {
  // Nested squares: the ring between them and the inner square are the enclosed areas.
  const ZcDbObjectId outer = square(50, 20, 200);
  const ZcDbObjectId inner = square(100, 70, 100);
  run(L"INOFFSET\nALL\n\n1\n5\n");
  ASSERT_TRUE(said("Pleas Select all entities for InnerOffset:")) << transcript_;
  // The ring: inside the outer square (190²) and outside the inner one (110²); the inner
  // square: inside it (90²). The boundaries themselves are gone.
  expectAreas(newAreas({outer, inner}), {90.0 * 90.0, 110.0 * 110.0, 190.0 * 190.0});
}

TEST_F(OutlineCommandsTest, InoffsetTakesAListOfSpacingsForSeveralCopies) {
  const ZcDbObjectId room = square(50, 20, 200);
  run(L"INOFFSET\nALL\n\n2\nM\n5,3\n");
  ASSERT_TRUE(said("Offset Distance[Multi dist(M)]:")) << transcript_;
  expectAreas(newAreas({room}), {184.0 * 184.0, 190.0 * 190.0});
}

TEST_F(OutlineCommandsTest, InoffsetOnAnOpenPolylineFindsNoAreaAndAsksNothing) {
  auto* p = new ZcDbPolyline();
  p->addVertexAt(0, ZcGePoint2d(50, 50));
  p->addVertexAt(1, ZcGePoint2d(200, 80));
  p->addVertexAt(2, ZcGePoint2d(120, 200));
  const ZcDbObjectId open = addToModelSpace(p);
  run(L"INOFFSET\nALL\n\n");
  EXPECT_FALSE(said("Offset times")) << transcript_;
  EXPECT_EQ(modelSpace(), std::vector<ZcDbObjectId>{open});
}

TEST_F(OutlineCommandsTest, MakeOutlineKeepsTheLargerOfTwoSeparateSquaresRedAndWide) {
  const ZcDbObjectId a = square(50, 50, 100);
  const ZcDbObjectId b = square(200, 50, 60);
  // Not selected: hidden while the command works (else its larger area would win), shown after.
  const ZcDbObjectId circle =
      addToModelSpace(new ZcDbCircle(ZcGePoint3d(330, 200, 0), ZcGeVector3d::kZAxis, 60));
  resbuf before{};
  zcedGetVar(L"VIEWCTR", &before);
  run(L"makeOutline\n" + pick(a) + L" " + pick(b) + L"\n\n");
  ASSERT_TRUE(said("Pleas Select all entities for outline:")) << transcript_;
  expectAreas(newAreas({a, b}), {100.0 * 100.0});
  for (ZcDbObjectId id : modelSpace()) {
    if (id == a || id == b || id == circle) continue;
    Opened<ZcDbPolyline> outline(id);
    if (!outline.get()) continue;  // erased: the frame's boundary, the smaller square's
    EXPECT_EQ(outline->colorIndex(), 1);
    double width = 0;
    outline->getConstantWidth(width);
    EXPECT_NEAR(width, 100.0 / 100.0, 1e-12);  // a hundredth of the selection's height
  }
  Opened<ZcDbEntity> shown(circle);
  EXPECT_EQ(shown->visibility(), ZcDb::kVisible);
  // The group fitted in the view with room on every side: no zoom.
  resbuf after{};
  zcedGetVar(L"VIEWCTR", &after);
  EXPECT_EQ(after.resval.rpoint[0], before.resval.rpoint[0]);
  EXPECT_EQ(after.resval.rpoint[1], before.resval.rpoint[1]);
}

TEST_F(OutlineCommandsTest, MakeOutlineOffersARoughOutlineOfALargeGroupTracedFromThePicture) {
  // A mesh of 1 002 crossing lines over 50 .. 250: one connected figure in the picture.
  std::vector<ZcDbObjectId> mesh;
  for (int i = 0; i <= 500; ++i) {
    const double t = 50.0 + 200.0 * i / 500.0;
    mesh.push_back(addToModelSpace(new ZcDbLine(ZcGePoint3d(50, t, 0), ZcGePoint3d(250, t, 0))));
    mesh.push_back(addToModelSpace(new ZcDbLine(ZcGePoint3d(t, 50, 0), ZcGePoint3d(t, 250, 0))));
  }
  run(L"makeOutline\nALL\n\nY\n");
  ASSERT_TRUE(said("rough outline")) << transcript_;
  std::vector<ZcDbObjectId> outlines;
  for (ZcDbObjectId id : modelSpace()) {
    Opened<ZcDbPolyline> p(id);
    if (p.get()) outlines.push_back(id);
  }
  ASSERT_EQ(outlines.size(), 1u);
  Opened<ZcDbPolyline> rough(outlines.front());
  EXPECT_EQ(rough->colorIndex(), 1);
  EXPECT_TRUE(rough->isClosed());
  ZcDbExtents box;
  ASSERT_EQ(rough->getGeomExtents(box), Zcad::eOk);
  // Traced from pixels (about 0.3 units each here) and drawn a hundredth of the view wide.
  EXPECT_NEAR(box.minPoint().x, 50, 5);
  EXPECT_NEAR(box.maxPoint().x, 250, 5);
  EXPECT_NEAR(box.minPoint().y, 50, 5);
  EXPECT_NEAR(box.maxPoint().y, 250, 5);
}

TEST_F(OutlineCommandsTest, MakeOutlineZoomsToAGroupOutsideTheView) {
  const ZcDbObjectId a = square(1000, 1000, 400);
  run(L"makeOutline\nALL\n\n");
  expectAreas(newAreas({a}), {400.0 * 400.0});
  resbuf centre{};
  zcedGetVar(L"VIEWCTR", &centre);
  EXPECT_NEAR(centre.resval.rpoint[0], 1200, 1e-6);
  EXPECT_NEAR(centre.resval.rpoint[1], 1200, 1e-6);
}

}  // namespace
}  // namespace veltrace::testing
