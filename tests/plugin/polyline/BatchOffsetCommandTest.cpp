// PLOFFSET end to end through the command line: copies on both sides and one, the count's
// clamps, one spacing or a list, the current layer and colour, and the turning of clockwise
// polylines (their offsets come from the host's polyline offsets).
#include <algorithm>
#include <vector>

#include "plugin/frame/FrameTestSupport.h"
#include "polyline/BatchOffsetCommand.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class BatchOffsetCommandTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    zcedRegCmds()->addCommand(L"BatchOffsetCommandTest", L"PLOFFSET", L"PLOFFSET", 0, &ploffsetCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"BatchOffsetCommandTest");
    FrameTest::TearDown();
  }
  std::vector<ZcDbObjectId> modelSpace() const {
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  // The radii of the circles in model space, sorted.
  std::vector<double> circleRadii() const {
    std::vector<double> radii;
    for (ZcDbObjectId id : modelSpace()) {
      Opened<ZcDbEntity> entity(id);
      if (const auto* circle = ZcDbCircle::cast(entity.get())) radii.push_back(circle->radius());
    }
    std::sort(radii.begin(), radii.end());
    return radii;
  }
  ZcDbObjectId circle(double radius) {
    return addToModelSpace(new ZcDbCircle(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis, radius));
  }
};

void expectRadii(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << i;
}

TEST_F(BatchOffsetCommandTest, BothSidesThreeCopiesAtFiveOnTheCurrentLayerAndColour) {
  const ZcDbObjectId source = circle(20);
  const ZcDbObjectId line = addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 100, 0), ZcGePoint3d(10, 100, 0)));
  ZcCmColor red;
  red.setColorIndex(1);
  db_->setCecolor(red);
  run(L"PLOFFSET\n" + pick(source) + L" " + pick(line) + L"\n\nD\n3\n5\n");
  ASSERT_TRUE(said("Please select Curves >")) << transcript_;
  expectRadii(circleRadii(), {5, 10, 15, 20, 25, 30, 35});
  std::vector<double> lineYs;
  for (ZcDbObjectId id : modelSpace()) {
    if (id == source || id == line) continue;
    Opened<ZcDbEntity> copy(id);
    EXPECT_EQ(copy->colorIndex(), 1);
    EXPECT_EQ(copy->layerId(), db_->clayer());
    if (const auto* moved = ZcDbLine::cast(copy.get())) lineYs.push_back(moved->startPoint().y);
  }
  std::sort(lineYs.begin(), lineYs.end());
  const std::vector<double> expectedYs{85, 90, 95, 105, 110, 115};
  ASSERT_EQ(lineYs.size(), expectedYs.size());
  for (size_t i = 0; i < expectedYs.size(); ++i) EXPECT_NEAR(lineYs[i], expectedYs[i], 1e-12);
}

TEST_F(BatchOffsetCommandTest, CopiesPerSideAreClampedAndOneCopyOffersNoList) {
  circle(50);
  run(L"PLOFFSET\nALL\n\nOutside\n20\n1\n");
  EXPECT_EQ(circleRadii().size(), 11u);  // ten copies and the source
  EXPECT_TRUE(said("Offset distance[Multiple(M)]:"));

  transcript_.clear();
  run(L"PLOFFSET\nALL\n\nI\n0\n\n2\n");
  EXPECT_FALSE(said("Multiple")) << transcript_;
  EXPECT_TRUE(said("Offset distance:"));
  // Inside each of the eleven by 2: one copy each (the smallest, 50, gives 48).
  EXPECT_EQ(circleRadii().size(), 22u);
}

TEST_F(BatchOffsetCommandTest, AListOfSpacingsPutsCopiesAtTheRunningSums) {
  circle(1);
  // An empty answer is no list: the error, and the question again.
  run(L"PLOFFSET\nALL\n\nO\n5\nM\n \n9,2,1\n");
  EXPECT_TRUE(said("Input parameter error.")) << transcript_;
  expectRadii(circleRadii(), {1, 10, 12, 13, 14, 15});
}

TEST_F(BatchOffsetCommandTest, MoreThanTenValuesUseTheFirstTenAndAZeroFirstSpacingGivesNoFirstCopy) {
  const ZcDbObjectId source = circle(1);
  run(L"PLOFFSET\n" + pick(source) + L"\n\nO\n10\nM\n1,1,1,1,1,1,1,1,1,1,50\n");
  expectRadii(circleRadii(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});

  // 0,2: the first copy would lie on the source (the host makes nothing at 0), then 2, 4.
  const ZcDbObjectId second = circle(100);
  run(L"PLOFFSET\n" + pick(second) + L"\n\nI\n3\nM\n0,2\n");
  std::vector<double> radii = circleRadii();
  radii.erase(radii.begin(), radii.begin() + 11);
  expectRadii(radii, {96, 98, 100});
}

TEST_F(BatchOffsetCommandTest, ASplineGetsASplineCopyAndNothingSelectedIsSaid) {
  ZcGePoint3dArray fit;
  for (const ZcGePoint3d& p : {ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 3, 0), ZcGePoint3d(20, 0, 0)})
    fit.append(p);
  addToModelSpace(new ZcDbSpline(fit));
  run(L"PLOFFSET\nALL\n\n\n\n0.5\n");
  int splines = 0;
  for (ZcDbObjectId id : modelSpace()) {
    Opened<ZcDbEntity> entity(id);
    if (ZcDbSpline::cast(entity.get())) ++splines;
  }
  EXPECT_EQ(splines, 3);

  transcript_.clear();
  run(L"PLOFFSET\n\n");
  EXPECT_TRUE(said("No Curves selected.")) << transcript_;
}

// Vertices (0,0), (0,10), (10,10), (10,0) run clockwise; reversed, they run counter-clockwise.
ZcDbPolyline* square(bool clockwise) {
  auto* polyline = new ZcDbPolyline;
  const double xs[] = {0, 0, 10, 10}, ys[] = {0, 10, 10, 0};
  for (unsigned int i = 0; i < 4; ++i) {
    const unsigned int k = clockwise ? i : 3 - i;
    polyline->addVertexAt(i, ZcGePoint2d(xs[k], ys[k]));
  }
  polyline->setClosed(true);
  return polyline;
}

TEST_F(BatchOffsetCommandTest, AClockwisePolylineIsTurnedCounterClockwiseAndACounterClockwiseOneStays) {
  const ZcDbObjectId clockwise = addToModelSpace(square(/*clockwise=*/true));
  const ZcDbObjectId counter = addToModelSpace(square(/*clockwise=*/false));
  run(L"PLOFFSET\n" + pick(clockwise) + L" " + pick(counter) + L"\n\nD\n1\n1\n");
  for (ZcDbObjectId id : {clockwise, counter}) {
    Opened<ZcDbPolyline> polyline(id);
    ZcGePoint2d first, second;
    polyline->getPointAt(0, first);
    polyline->getPointAt(1, second);
    // Counter-clockwise about the centre (5, 5): the cross product of the first two
    // vertices seen from it is positive.
    EXPECT_GT((first.x - 5) * (second.y - 5) - (first.y - 5) * (second.x - 5), 0.0);
  }
  Opened<ZcDbPolyline> stayed(counter);
  ZcGePoint2d first;
  stayed->getPointAt(0, first);
  EXPECT_EQ(first, ZcGePoint2d(10, 0));
}

}  // namespace
}  // namespace veltrace::testing
