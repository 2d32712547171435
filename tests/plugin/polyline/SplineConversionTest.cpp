// s2p and p2s on the command line: which curves are converted and counted, the division count's
// clamps, the vertex mode's fit points, and that a source whose conversion is not placed stays.
#include <utility>
#include <vector>

#include "plugin/frame/FrameTestSupport.h"
#include "polyline/SplineConversion.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class SplineConversionTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    for (auto [name, body] : {std::pair{L"s2p", &s2pCommand}, {L"p2s", &p2sCommand}}) {
      zcedRegCmds()->addCommand(L"SplineConversionTest", name, name, 0, body);
    }
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"SplineConversionTest");
    FrameTest::TearDown();
  }
  std::vector<ZcDbObjectId> live() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) {
      if (!id.isErased()) ids.push_back(id);
    }
    return ids;
  }
};

ZcGePoint3dArray points(std::initializer_list<ZcGePoint3d> list) {
  ZcGePoint3dArray array;
  for (const ZcGePoint3d& p : list) array.append(p);
  return array;
}

TEST_F(SplineConversionTest, SplinesBecomePolylinesAndCirclesAreLeftAlone) {
  const ZcDbObjectId circle =
      addToModelSpace(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, 2.0));
  run(L"s2p\nALL\n\n\n");
  EXPECT_TRUE(said("\nProcessed <0 > curve(s) OK.")) << transcript_;
  EXPECT_FALSE(circle.isErased());

  const ZcDbObjectId spline =
      addToModelSpace(new ZcDbSpline(points({{0, 0, 0}, {5, 4, 0}, {10, 0, 0}, {15, 3, 0}})));
  run(L"s2p\nALL\n\n20\n");
  EXPECT_TRUE(said("\nProcessed <1 > curve(s) OK.")) << transcript_;
  EXPECT_TRUE(spline.isErased());
  const std::vector<ZcDbObjectId> left = live();
  ASSERT_EQ(left.size(), 2u);
  Opened<ZcDbPolyline> polyline(left.back());
  ASSERT_TRUE(polyline);
  EXPECT_GT(polyline->numVerts(), 4u);
  ZcGePoint3d end;
  polyline->getEndPoint(end);
  EXPECT_TRUE(closeTo(end, ZcGePoint3d(15, 3, 0), 1e-9));
}

TEST_F(SplineConversionTest, CurvesBecomeSplinesOverTheSameShape) {
  const ZcDbObjectId line = addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0)));
  auto* square = new ZcDbPolyline;
  for (unsigned i = 0; i < 4; ++i)
    square->addVertexAt(i, ZcGePoint2d(20 + 5.0 * (i == 1 || i == 2), 5.0 * (i >= 2)));
  square->setClosed(true);
  const ZcDbObjectId polyline = addToModelSpace(square);
  // Vertex mode; the curves' own spline forms are taken, so the shapes stay exactly.
  run(L"p2s\nALL\n\nN\n");
  EXPECT_TRUE(said("\nProcessed <2 > curve(s) OK.")) << transcript_;
  EXPECT_TRUE(line.isErased());
  EXPECT_TRUE(polyline.isErased());
  const std::vector<ZcDbObjectId> splines = live();
  ASSERT_EQ(splines.size(), 2u);
  for (ZcDbObjectId id : splines) {
    Opened<ZcDbSpline> spline(id);
    ASSERT_TRUE(spline);
    double length = 0, end = 0;
    spline->getEndParam(end);
    spline->getDistAtParam(end, length);
    EXPECT_NEAR(length, spline->isClosed() ? 20.0 : 10.0, 1e-9);
  }
  // The division count is clamped to 12..256; Enter keeps 36.
  for (const wchar_t* answer : {L"5", L"1000", L""}) {
    addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0)));
    run(std::wstring(L"p2s\nL\n\nY\n") + answer + L"\n");
  }
  EXPECT_TRUE(said("\nProcessed <1 > curve(s) OK.")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
