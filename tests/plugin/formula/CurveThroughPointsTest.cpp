// The shared curve builder: a line for straight points, else a spline in the colour asked or,
// in polyline mode, a polyline in the drawing's colour; nothing for what is not a curve.
#include <limits>

#include "formula/CurveThroughPoints.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace veltrace::testing {
namespace {

class FormulaCurveBuilderTest : public FrameTest {
 protected:
  void TearDown() override {
    curveOutputAsSpline = true;
    FrameTest::TearDown();
  }
  static ZcCmColor aci(int index) {
    ZcCmColor colour;
    colour.setColorIndex(static_cast<Zdesk::UInt16>(index));
    return colour;
  }
  static std::optional<ZcDbObjectId> build(const PointList& points, bool closed = false,
                                           const ZcGeVector3d& start = ZcGeVector3d(),
                                           const ZcGeVector3d& end = ZcGeVector3d()) {
    return buildCurveThroughPoints(points, aci(3), closed, start, end);
  }
  int entityCount() const { return Opened<ZcDbBlockTableRecord>(db_->modelSpaceId())->entityCount(); }
  // The id's entity as a line from `from` to `to` in green.
  static ::testing::AssertionResult isGreenLine(std::optional<ZcDbObjectId> id, const ZcGePoint3d& from,
                                                const ZcGePoint3d& to) {
    if (!id) return ::testing::AssertionFailure() << "nothing made";
    Opened<ZcDbLine> line(*id);
    if (!line) return ::testing::AssertionFailure() << "not a line";
    if (line->colorIndex() != 3) return ::testing::AssertionFailure() << "colour " << line->colorIndex();
    if (!closeTo(line->startPoint(), from) || !closeTo(line->endPoint(), to)) {
      return ::testing::AssertionFailure() << "ends elsewhere";
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(FormulaCurveBuilderTest, WhatIsNoCurveMakesNothing) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(build({}));
  EXPECT_FALSE(build({{1, 2, 3}}));
  EXPECT_FALSE(build({{1, 2, 3}, {1, 2, 3}}));  // one point, twice
  EXPECT_FALSE(build({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}}, /*closed=*/true));
  EXPECT_FALSE(build({{0, 0, 0}, {1, 1, 0}, {2, inf, 0}}));
  curveOutputAsSpline = false;
  EXPECT_FALSE(build({{0, 0, 0}, {1, 1, 0}, {2, 0, std::numeric_limits<double>::quiet_NaN()}}));
  EXPECT_EQ(entityCount(), 0);
}

TEST_F(FormulaCurveBuilderTest, StraightPointsMakeALineFromTheFirstToTheLast) {
  EXPECT_TRUE(isGreenLine(build({{0, 0, 0}, {-3, 4, 0}}), {0, 0, 0}, {-3, 4, 0}));
  // In any direction, closed or not, in either output mode.
  EXPECT_TRUE(isGreenLine(build({{1, 1, 1}, {2, 3, 4}, {3, 5, 7}, {5, 9, 13}}, /*closed=*/true), {1, 1, 1},
                          {5, 9, 13}));
  curveOutputAsSpline = false;
  EXPECT_TRUE(isGreenLine(build({{0, 0, 0}, {0, -1, 0}, {0, -2, 0}}), {0, 0, 0}, {0, -2, 0}));
  // A second point on the first gives no direction; the run is still straight.
  EXPECT_TRUE(
      isGreenLine(build({{0, 0, 0}, {0, 0, 0}, {1, 1, 0}, {0, 0, 0}, {2, 2, 0}}), {0, 0, 0}, {2, 2, 0}));
  // Within the angle tolerance.
  EXPECT_TRUE(isGreenLine(build({{0, 0, 0}, {10, 0.005, 0}, {20, 0, 0}}), {0, 0, 0}, {20, 0, 0}));
}

TEST_F(FormulaCurveBuilderTest, PointsOffTheSegmentFromFirstToLastAreNotALine) {
  const std::vector<PointList> bent{
      {{0, 0, 0}, {10, 0.02, 0}, {20, 0, 0}},
      // Mirrored about the first point's horizontal: the same angle to the X axis, not a line.
      {{0, 0, 0}, {1, 1, 0}, {2, -2, 0}, {3, 3, 0}},
      // On one line, but going out and back: a line to the last point would cut it short.
      {{0, 0, 0}, {4, 0, 0}, {2, 0, 0}},
      // On both sides of the first point.
      {{0, 0, 0}, {-1, 0, 0}, {2, 0, 0}},
      // Back to the start.
      {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0}},
  };
  for (const PointList& points : bent) {
    const std::optional<ZcDbObjectId> id = build(points);
    ASSERT_TRUE(id);
    EXPECT_FALSE(Opened<ZcDbLine>(*id)) << points[1].x << " " << points[1].y;
    EXPECT_TRUE(Opened<ZcDbSpline>(*id));
  }
}

TEST_F(FormulaCurveBuilderTest, OpenSplineThroughTheFitPointsTakesTangentsOnlyInPairs) {
  const PointList points{{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {4, 4, 2}};
  const ZcGeVector3d up(0, 1, 0);
  for (const ZcGeVector3d& end : {ZcGeVector3d(), ZcGeVector3d(1, 0, 0)}) {
    const std::optional<ZcDbObjectId> id = build(points, /*closed=*/false, up, end);
    ASSERT_TRUE(id);
    Opened<ZcDbSpline> spline(*id);
    ASSERT_TRUE(spline);
    EXPECT_EQ(spline->colorIndex(), 3);
    EXPECT_EQ(spline->degree(), 3);
    EXPECT_FALSE(spline->isClosed());
    ZcGePoint3dArray fit;
    int degree = 0;
    double tolerance = -1;
    bool tangents = false;
    ZcGeVector3d start, finish;
    ASSERT_EQ(spline->getFitData(fit, degree, tolerance, tangents, start, finish), Zcad::eOk);
    ASSERT_EQ(fit.length(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(closeTo(fit[i], points[i]));
    EXPECT_EQ(tolerance, 0.0);
    EXPECT_EQ(tangents, !end.isZeroLength());
  }
}

TEST_F(FormulaCurveBuilderTest, ClosedSplineIsPeriodicThroughEveryPoint) {
  const PointList square{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
  PointList closedAlready = square;
  closedAlready.push_back(square.front());
  for (const PointList& points : {square, closedAlready}) {
    const std::optional<ZcDbObjectId> id = build(points, /*closed=*/true);
    ASSERT_TRUE(id);
    Opened<ZcDbSpline> spline(*id);
    ASSERT_TRUE(spline);
    EXPECT_TRUE(spline->isClosed());
    EXPECT_TRUE(spline->isPeriodic());
    EXPECT_EQ(spline->numFitPoints(), 5);  // the first repeated once at the end
    for (const ZcGePoint3d& p : square) {
      ZcGePoint3d on;
      ASSERT_EQ(spline->getClosestPointTo(p, on), Zcad::eOk);
      EXPECT_TRUE(closeTo(on, p, 1e-7));
    }
  }
}

TEST_F(FormulaCurveBuilderTest, PolylineModeKeepsTheDrawingsColour) {
  ASSERT_EQ(db_->setCecolor(aci(5)), Zcad::eOk);
  curveOutputAsSpline = false;
  const std::optional<ZcDbObjectId> flat = build({{0, 0, 2}, {1, 1, 2}, {2, 0, 2}}, /*closed=*/true);
  ASSERT_TRUE(flat);
  Opened<ZcDbPolyline> polyline(*flat);
  ASSERT_TRUE(polyline);
  EXPECT_TRUE(polyline->isClosed());
  EXPECT_EQ(polyline->elevation(), 2.0);
  EXPECT_EQ(polyline->colorIndex(), 5);
  const std::optional<ZcDbObjectId> rising = build({{0, 0, 0}, {1, 1, 1}, {2, 0, 3}}, /*closed=*/true);
  ASSERT_TRUE(rising);
  Opened<ZcDb3dPolyline> spatial(*rising);
  ASSERT_TRUE(spatial);
  EXPECT_FALSE(spatial->isClosed());
  EXPECT_EQ(spatial->colorIndex(), 5);
}

TEST_F(FormulaCurveBuilderTest, ColourIndexesPickPaletteLayerOrTheCurrentColour) {
  ASSERT_EQ(db_->setCecolor(aci(42)), Zcad::eOk);
  EXPECT_EQ(colourForIndex(1), aci(1));
  EXPECT_EQ(colourForIndex(255), aci(255));
  EXPECT_TRUE(colourForIndex(0).isByLayer());
  EXPECT_TRUE(colourForIndex(256).isByLayer());
  EXPECT_EQ(colourForIndex(-1), aci(42));
  EXPECT_EQ(colourForIndex(257), aci(42));
}

}  // namespace
}  // namespace veltrace::testing
