// PLGXK, PLCLOSE, PLOPEN, PL2OLD and OLDPL2LW on the command line: what each does to every
// selected polyline, and that the conversions keep each polyline's id, arcs and widths.
#include <utility>

#include "commands/HostCommands.h"
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/BatchPolylineEdits.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class BatchPolylineEditsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    // The commands drive the host's PEDIT.
    vtcad::commands::registerHostCommands();
    for (auto [name, body] : {std::pair{L"PLGXK", &plgxkCommand},
                              {L"PLCLOSE", &plcloseCommand},
                              {L"PLOPEN", &plopenCommand},
                              {L"PL2OLD", &pl2oldCommand},
                              {L"OLDPL2LW", &oldpl2lwCommand}}) {
      zcedRegCmds()->addCommand(L"BatchPolylineEditsTest", name, name, 0, body);
    }
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"BatchPolylineEditsTest");
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    FrameTest::TearDown();
  }
  // (0,0) -> (10,0) bulged 0.5 with widths 1..2, -> (10,10), open.
  ZcDbObjectId addLightweight(bool closed = false) {
    auto* polyline = new ZcDbPolyline;
    polyline->addVertexAt(0, ZcGePoint2d(0, 0), 0.5, 1, 2);
    polyline->addVertexAt(1, ZcGePoint2d(10, 0), 0.0, 3, 3);
    polyline->addVertexAt(2, ZcGePoint2d(10, 10));
    polyline->setClosed(closed);
    return addToModelSpace(polyline);
  }
  ZcDbObjectId addOldStyle() {
    ZcGePoint3dArray corners;
    for (auto p : {ZcGePoint3d(0, 20, 0), ZcGePoint3d(5, 20, 0), ZcGePoint3d(5, 26, 0)}) corners.append(p);
    ZcGeDoubleArray bulges;
    for (double b : {0.4, -0.7, 0.0}) bulges.append(b);
    return addToModelSpace(
        new ZcDb2dPolyline(ZcDb::k2dSimplePoly, corners, /*elevation=*/0, /*closed=*/false, 0, 0, &bulges));
  }
};

TEST_F(BatchPolylineEditsTest, WidthCloseAndOpenReachEverySelectedPolyline) {
  const ZcDbObjectId lw = addLightweight(), old = addOldStyle();
  run(L"PLGXK\nALL\n\n2.5\n");
  {
    Opened<ZcDbPolyline> p(lw);
    double width = 0;
    EXPECT_EQ(p->getConstantWidth(width), Zcad::eOk);
    EXPECT_EQ(width, 2.5);
    double bulge = 0;
    p->getBulgeAt(0, bulge);
    EXPECT_EQ(bulge, 0.5) << "the arcs stay";
  }
  // Enter gives width 0.
  run(L"PLGXK\nALL\n\n\n");
  {
    Opened<ZcDbPolyline> p(lw);
    double width = 1;
    EXPECT_EQ(p->getConstantWidth(width), Zcad::eOk);
    EXPECT_EQ(width, 0.0);
  }
  // Closing twice leaves both closed; opening twice leaves both open.
  for (int pass = 0; pass < 2; ++pass) run(L"PLCLOSE\nALL\n\n");
  EXPECT_TRUE(Opened<ZcDbPolyline>(lw)->isClosed());
  EXPECT_TRUE(Opened<ZcDb2dPolyline>(old)->isClosed());
  for (int pass = 0; pass < 2; ++pass) run(L"PLOPEN\nALL\n\n");
  EXPECT_FALSE(Opened<ZcDbPolyline>(lw)->isClosed());
  EXPECT_FALSE(Opened<ZcDb2dPolyline>(old)->isClosed());

  run(L"PLCLOSE\n\n");
  EXPECT_TRUE(said("No polyline selected.\n")) << transcript_;
}

TEST_F(BatchPolylineEditsTest, ConversionsKeepIdsArcsAndWidths) {
  const ZcDbObjectId lw = addLightweight(/*closed=*/true);
  const ZcDbObjectId poly3d = addToModelSpace(new ZcDb3dPolyline);
  run(L"PL2OLD\nALL\n\n");
  EXPECT_TRUE(said("\nProcessed <1 > curve(s) OK.")) << transcript_;
  {
    Opened<ZcDb2dPolyline> old(lw);
    ASSERT_TRUE(old) << "the same id is now an old-style polyline";
    EXPECT_TRUE(old->isClosed());
  }
  // Back again: the 3-D polyline that POLYLINE also selects is not converted.
  run(L"OLDPL2LW\nALL\n\n");
  EXPECT_TRUE(said("\nProcessed <1 > curve(s) OK.")) << transcript_;
  Opened<ZcDbPolyline> back(lw);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->numVerts(), 3u);
  EXPECT_TRUE(back->isClosed());
  double bulge = 0, start = 0, end = 0;
  back->getBulgeAt(0, bulge);
  back->getWidthsAt(0, start, end);
  EXPECT_EQ(bulge, 0.5);
  EXPECT_EQ(start, 1.0);
  EXPECT_EQ(end, 2.0);
  EXPECT_TRUE(Opened<ZcDb3dPolyline>(poly3d));

  run(L"OLDPL2LW\n\n");
  EXPECT_TRUE(said("No Polyline2D selected.\n")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
