// PEDIT through the command line and through zcedCommand as the plug-in drives it.
#include <cmath>
#include <numbers>

#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace edit_test {
namespace {

class PeditCommandTest : public EditCommandTest {
 protected:
  double constantWidth(ZcDbObjectId id) {
    Opened<ZcDbPolyline> polyline(id);
    double width = -1.0;
    if (!polyline || polyline->getConstantWidth(width) != Zcad::eOk) return -1.0;
    return width;
  }
  double lengthOf(ZcDbObjectId id) {
    Opened<ZcDbCurve> curve(id);
    double end = 0.0, length = 0.0;
    EXPECT_EQ(curve->getEndParam(end), Zcad::eOk);
    EXPECT_EQ(curve->getDistAtParam(end, length), Zcad::eOk);
    return length;
  }
};

TEST_F(PeditCommandTest, WidthAndCloseOnOnePolylineAreOneUndoStep) {
  const ZcDbObjectId id = addPolyline({{0, 0}, {10, 0}, {10, 5}});
  run(L"PEDIT " + pick(id) + L"\nW\n2\nC\n\n");
  EXPECT_DOUBLE_EQ(constantWidth(id), 2.0) << transcript_;
  {
    Opened<ZcDbPolyline> polyline(id);
    EXPECT_TRUE(polyline->isClosed());
  }
  EXPECT_TRUE(said("Enter an option [Open/")) << "a closed polyline is offered Open";

  run(L"U\n");
  EXPECT_DOUBLE_EQ(constantWidth(id), 0.0);
  Opened<ZcDbPolyline> polyline(id);
  EXPECT_FALSE(polyline->isClosed());
}

TEST_F(PeditCommandTest, LineOrArcIsTurnedIntoAPolylineWhenTheUserAgrees) {
  const ZcDbObjectId line = addLine({1, 2, 0}, {4, 6, 0});
  run(L"PEDIT " + pick(line) + L"\nN\n");
  EXPECT_EQ(line.objectClass(), ZcDbLine::desc()) << "No keeps the line";

  run(L"PEDIT " + pick(line) + L"\n\nX\n");
  EXPECT_TRUE(said("Object selected is not a polyline"));
  ASSERT_EQ(line.objectClass(), ZcDbPolyline::desc()) << "the polyline took the line's id";
  EXPECT_NEAR(lengthOf(line), 5.0, 1e-12);

  // A quarter arc: the polyline's one segment has the arc's bulge, ends and length.
  const ZcDbObjectId arc =
      add(new ZcDbArc({0, 0, 0}, /*radius=*/3, /*startAngle=*/0, /*endAngle=*/std::numbers::pi / 2));
  run(L"PEDIT " + pick(arc) + L"\nY\n\n");
  ASSERT_EQ(arc.objectClass(), ZcDbPolyline::desc()) << transcript_;
  EXPECT_NEAR(lengthOf(arc), 1.5 * std::numbers::pi, 1e-9);
  Opened<ZcDbPolyline> polyline(arc);
  ZcGePoint3d start, end;
  ASSERT_EQ(polyline->getStartPoint(start), Zcad::eOk);
  ASSERT_EQ(polyline->getEndPoint(end), Zcad::eOk);
  EXPECT_TRUE(near(start, {3, 0, 0}, 1e-12));
  EXPECT_TRUE(near(end, {0, 3, 0}, 1e-12));
  double bulge = 0.0;
  ASSERT_EQ(polyline->getBulgeAt(0, bulge), Zcad::eOk);
  EXPECT_NEAR(bulge, std::tan(std::numbers::pi / 8), 1e-12);
}

TEST_F(PeditCommandTest, MultipleWidthFromCommandArgumentsAsThePluginSendsThem) {
  const ZcDbObjectId first = addPolyline({{0, 0}, {10, 0}});
  const ZcDbObjectId second = addPolyline({{0, 5}, {10, 5}, {10, 9}}, /*closed=*/true);
  const ZcDbObjectId other = addPolyline({{0, 20}, {10, 20}});
  zds_name set{}, name{};
  ASSERT_EQ(zcdbGetZdsName(name, first), Zcad::eOk);
  ASSERT_EQ(zcedSSAdd(name, /*sname=*/nullptr, set), RTNORM);
  ASSERT_EQ(zcdbGetZdsName(name, second), Zcad::eOk);
  ASSERT_EQ(zcedSSAdd(name, set, set), RTNORM);

  EXPECT_EQ(zcedCommand(RTSTR, L"_PEDIT", RTSTR, L"_M", RTPICKS, set, RTSTR, L"", RTSTR, L"_W", RTREAL, 2.0,
                        RTSTR, L"", RTNONE),
            RTNORM)
      << transcript_;
  zcedSSFree(set);
  EXPECT_DOUBLE_EQ(constantWidth(first), 2.0) << transcript_;
  EXPECT_DOUBLE_EQ(constantWidth(second), 2.0);
  EXPECT_DOUBLE_EQ(constantWidth(other), 0.0);
}

TEST_F(PeditCommandTest, MultipleTurnsSelectedLinesIntoPolylinesAndLeavesOtherKinds) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {5, 0, 0});
  const ZcDbObjectId polyline = addPolyline({{0, 2}, {5, 2}});
  const ZcDbObjectId circle = addCircle({20, 20, 0}, /*radius=*/1);
  run(L"PEDIT M " + pick(line) + L" " + pick(polyline) + L" " + pick(circle) + L" \nY\nW\n0.5\n\n");
  EXPECT_DOUBLE_EQ(constantWidth(line), 0.5) << transcript_;
  EXPECT_DOUBLE_EQ(constantWidth(polyline), 0.5);
  EXPECT_EQ(circle.objectClass()->name(), std::wstring(L"AcDbCircle"));
}

TEST_F(PeditCommandTest, FitAndSplineMakeA2dPolylineThroughOrAlongTheFrameAndDecurveStraightens) {
  const std::vector<ZcGePoint2d> frame{{0, 0}, {10, 0}, {10, 10}, {20, 10}};
  const ZcDbObjectId id = addPolyline(frame);

  run(L"PEDIT " + pick(id) + L"\nF\n\n");
  ASSERT_EQ(id.objectClass(), ZcDb2dPolyline::desc()) << "the fitted curve keeps the id";
  {
    Opened<ZcDb2dPolyline> fitted(id);
    EXPECT_EQ(fitted->polyType(), ZcDb::k2dFitCurvePoly);
    // A curve fit passes through every frame vertex.
    for (const ZcGePoint2d& vertex : frame) {
      ZcGePoint3d onCurve;
      ASSERT_EQ(fitted->getClosestPointTo({vertex.x, vertex.y, 0}, onCurve), Zcad::eOk);
      EXPECT_TRUE(near(onCurve, {vertex.x, vertex.y, 0}, 1e-9));
    }
  }

  run(L"PEDIT " + pick(id) + L"\nS\n\n");
  {
    Opened<ZcDb2dPolyline> splined(id);
    EXPECT_EQ(splined->polyType(), ZcDb::k2dCubicSplinePoly);
    // An open B-spline starts and ends at the frame's ends and cuts the inner corners.
    ZcGePoint3d start, end, nearCorner;
    ASSERT_EQ(splined->getStartPoint(start), Zcad::eOk);
    ASSERT_EQ(splined->getEndPoint(end), Zcad::eOk);
    EXPECT_TRUE(near(start, {0, 0, 0}, 1e-9));
    EXPECT_TRUE(near(end, {20, 10, 0}, 1e-9));
    ASSERT_EQ(splined->getClosestPointTo({10, 0, 0}, nearCorner), Zcad::eOk);
    EXPECT_GT(nearCorner.distanceTo({10, 0, 0}), 0.1);
  }

  run(L"PEDIT " + pick(id) + L"\nD\n\n");
  EXPECT_NEAR(lengthOf(id), 30.0, 1e-9) << "straight again along the frame";

  run(L"U\nU\nU\n");
  ASSERT_EQ(id.objectClass(), ZcDbPolyline::desc()) << "undo gives the lightweight polyline back";
  EXPECT_NEAR(lengthOf(id), 30.0, 1e-9);
}

TEST_F(PeditCommandTest, ThreeDPolylinesRefuseWidthAndTakeClose) {
  ZcGePoint3dArray points;
  points.append({0, 0, 0});
  points.append({5, 0, 3});
  points.append({5, 5, 6});
  const ZcDbObjectId id = add(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points));
  const std::string said = run(L"PEDIT " + pick(id) + L"\nW\n1\nC\nX\n");
  EXPECT_NE(said.find("1 polyline could not take that option."), std::string::npos) << said;
  Opened<ZcDb3dPolyline> polyline(id);
  EXPECT_TRUE(polyline->isClosed());
}

}  // namespace
}  // namespace edit_test
