// QXTY on the command line: projections are added beside their sources, counted, and nothing is
// said when no curve could be projected.
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/ProjectToXy.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class ProjectToXyTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    zcedRegCmds()->addCommand(L"ProjectToXyTest", L"QXTY", L"QXTY", 0, &qxtyCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"ProjectToXyTest");
    FrameTest::TearDown();
  }
  int entityCount() const {
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    return static_cast<int>(space->entityIds().size());
  }
};

TEST_F(ProjectToXyTest, ProjectionsAreAddedAndSourcesStay) {
  ZcGePoint3dArray corners;
  for (auto p : {ZcGePoint3d(0, 0, 4), ZcGePoint3d(10, 0, -2), ZcGePoint3d(10, 8, 6)}) corners.append(p);
  const ZcDbObjectId path = addToModelSpace(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, corners));
  addToModelSpace(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 2.0));  // already in XY
  run(L"QXTY\nALL\n\n");
  EXPECT_TRUE(said("\n< 2 > new curves added.")) << transcript_;
  EXPECT_EQ(entityCount(), 4);
  Opened<ZcDb3dPolyline> source(path);
  ZcGePoint3d start;
  source->getStartPoint(start);
  EXPECT_EQ(start.z, 4.0) << "the source stays";
}

TEST_F(ProjectToXyTest, NothingProjectableSaysNothing) {
  addToModelSpace(new ZcDbLine(ZcGePoint3d(1, 1, 0), ZcGePoint3d(1, 1, 9)));  // a point from above
  run(L"QXTY\nALL\n\n");
  EXPECT_FALSE(said("new curves added")) << transcript_;
  EXPECT_EQ(entityCount(), 1);
}

}  // namespace
}  // namespace veltrace::testing
