// linkLine00 and linkLine90 on the command line: a two-point spline whose ends leave and
// arrive in the direction the points give, in the saved drawing.
#include "dxf/DxfFile.h"
#include "linkline/LinkLineCommands.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class LinkLineCommandsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    zcedRegCmds()->addCommand(L"LinkLineCommandsTest", L"linkLine00", L"linkLine00", 0, &linkLine00Command);
    zcedRegCmds()->addCommand(L"LinkLineCommandsTest", L"linkLine90", L"linkLine90", 0, &linkLine90Command);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"LinkLineCommandsTest");
    FrameTest::TearDown();
  }
  // The direction the saved connector number `index` leaves and arrives in.
  std::pair<ZcGeVector3d, ZcGeVector3d> savedTangents(std::size_t index) {
    vtcad::dxf::LoadResult saved = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    EXPECT_TRUE(saved.ok());
    Opened<ZcDbBlockTableRecord> space(saved.database->modelSpaceId());
    EXPECT_GT(space->entityIds().size(), index);
    Opened<ZcDbSpline> spline(space->entityIds()[index]);
    EXPECT_TRUE(spline);
    EXPECT_EQ(spline->numFitPoints(), 2);
    ZcGeVector3d s, e;
    double start = 0, end = 0;
    spline->getStartParam(start);
    spline->getEndParam(end);
    spline->getFirstDeriv(start, s);
    spline->getFirstDeriv(end, e);
    return {s.normal(), e.normal()};
  }
};

TEST_F(LinkLineCommandsTest, EndsFollowThePointsOrder) {
  run(L"linkLine00\n0,0\n10,5\nlinkLine00\n10,5\n0,0\nlinkLine90\n0,10\n5,0\n");
  auto [s0, e0] = savedTangents(0);
  EXPECT_TRUE(s0.isEqualTo(ZcGeVector3d(1, 0, 0)) && e0.isEqualTo(ZcGeVector3d(1, 0, 0)));
  auto [s1, e1] = savedTangents(1);
  EXPECT_TRUE(s1.isEqualTo(ZcGeVector3d(-1, 0, 0)) && e1.isEqualTo(ZcGeVector3d(-1, 0, 0)));
  auto [s2, e2] = savedTangents(2);
  EXPECT_TRUE(s2.isEqualTo(ZcGeVector3d(0, -1, 0)) && e2.isEqualTo(ZcGeVector3d(0, -1, 0)));
}

TEST_F(LinkLineCommandsTest, ACancelledPointDrawsNothing) {
  run(L"linkLine00\n0,0\n");
  Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
  EXPECT_TRUE(space->entityIds().empty());
}

}  // namespace
}  // namespace veltrace::testing
