// CHBJ on the command line: every loop of the selected hatches comes back as red entities in
// the saved drawing — polyline loops with their bulges, lines, arcs (clockwise ones as the
// same points), full circles, elliptical arcs and splines.
#include <cmath>
#include <numbers>
#include <random>

#include "dxf/DxfFile.h"
#include "plugin/frame/FrameTestSupport.h"
#include "polyline/HatchBoundary.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

class HatchBoundaryTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    zcedRegCmds()->addCommand(L"HatchBoundaryTest", L"CHBJ", L"CHBJ", 0, &chbjCommand);
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"HatchBoundaryTest");
    FrameTest::TearDown();
  }
  // The entities of model space after a save and reload, the hatches left out.
  std::vector<ZcDbObjectId> savedBoundaries() {
    saved_ = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    EXPECT_TRUE(saved_.ok()) << saved_.refusal;
    std::vector<ZcDbObjectId> ids;
    Opened<ZcDbBlockTableRecord> space(saved_.database->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) {
      Opened<ZcDbEntity> entity(id);
      if (entity && !ZcDbHatch::cast(entity.get())) ids.push_back(id);
    }
    return ids;
  }
  vtcad::dxf::LoadResult saved_;
};

// A point of a hatch edge at fraction `f` of its sweep, from the edge's own definition.
ZcGePoint2d edgePoint(const ZcDbHatchEdge& e, double f) {
  const double a = e.startAngle() + f * (e.endAngle() - e.startAngle());
  const double s = e.isCounterClockwise() ? 1.0 : -1.0;
  if (e.type() == ZcDbHatchEdge::kCirArc) {
    return {e.center().x + e.radius() * std::cos(a), e.center().y + s * e.radius() * std::sin(a)};
  }
  const ZcGeVector2d major = e.majorAxis(),
                     minor(-major.y * e.minorMajorRatio(), major.x * e.minorMajorRatio());
  return {e.center().x + std::cos(a) * major.x + s * std::sin(a) * minor.x,
          e.center().y + std::cos(a) * major.y + s * std::sin(a) * minor.y};
}

// Whether the curve passes within 1e-6 of `p`.
bool passesThrough(const ZcDbCurve& curve, const ZcGePoint2d& p) {
  ZcGePoint3d closest;
  if (curve.getClosestPointTo(ZcGePoint3d(p.x, p.y, 0), closest) != Zcad::eOk) return false;
  return closest.distanceTo(ZcGePoint3d(p.x, p.y, 0)) < 1e-6;
}

TEST_F(HatchBoundaryTest, ArcEdgesOfEitherDirectionComeBackAsTheSamePoints) {
  std::mt19937 random(10);
  std::uniform_real_distribution<double> angle(0.0, 2 * std::numbers::pi), sweep(0.1, 6.0), ratio(0.2, 1.0);
  std::vector<ZcDbHatchEdge> edges;
  auto* hatch = new ZcDbHatch;
  for (int i = 0; i < 40; ++i) {
    const double start = angle(random), end = start + sweep(random);
    const bool ccw = i % 2 == 0;
    ZcDbHatchEdge edge = i < 20 ? ZcDbHatchEdge::circularArc(ZcGePoint2d(i, 2 * i), 3 + i, start, end, ccw)
                                : ZcDbHatchEdge::ellipticalArc(ZcGePoint2d(i, -i), ZcGeVector2d(4, 1 + i),
                                                               ratio(random), start, end, ccw);
    ZcDbHatchEdgeArray one;
    one.append(edge);
    // One loop per edge: the test is about the edges, not about closed chains.
    ASSERT_EQ(hatch->appendLoop(ZcDbHatch::kDefault, one), Zcad::eOk);
    edges.push_back(edge);
  }
  addToModelSpace(hatch);
  run(L"CHBJ\nALL\n\n");
  const std::vector<ZcDbObjectId> made = savedBoundaries();
  ASSERT_EQ(made.size(), edges.size()) << transcript_;
  for (std::size_t i = 0; i < made.size(); ++i) {
    Opened<ZcDbCurve> curve(made[i]);
    ASSERT_TRUE(curve);
    EXPECT_EQ(curve->colorIndex(), 1) << "red";
    EXPECT_TRUE(i < 20 ? ZcDbArc::cast(curve.get()) != nullptr : ZcDbEllipse::cast(curve.get()) != nullptr);
    for (double f : {0.0, 0.25, 0.5, 0.75, 1.0}) {
      EXPECT_TRUE(passesThrough(*curve, edgePoint(edges[i], f))) << "edge " << i << " at " << f;
    }
    // Its ends are the edge's ends (in either order): nothing more of the circle is drawn.
    ZcGePoint3d s, e;
    curve->getStartPoint(s);
    curve->getEndPoint(e);
    const ZcGePoint2d a = edgePoint(edges[i], 0.0), b = edgePoint(edges[i], 1.0);
    const auto at = [](const ZcGePoint3d& p, const ZcGePoint2d& q) {
      return std::hypot(p.x - q.x, p.y - q.y) < 1e-6;
    };
    EXPECT_TRUE((at(s, a) && at(e, b)) || (at(s, b) && at(e, a))) << "edge " << i;
  }
}

TEST_F(HatchBoundaryTest, PolylineLoopsCirclesLinesAndSplinesAreRebuilt) {
  auto* hatch = new ZcDbHatch;
  ZcGePoint2dArray corners;
  ZcGeDoubleArray bulges;
  for (auto [x, y, b] :
       {std::tuple{0.0, 0.0, 0.0}, {100.0, 0.0, 0.5}, {100.0, 60.0, 0.0}, {0.0, 60.0, -0.3}}) {
    corners.append(ZcGePoint2d(x, y));
    bulges.append(b);
  }
  ASSERT_EQ(hatch->appendLoop(ZcDbHatch::kExternal | ZcDbHatch::kPolyline, corners, bulges), Zcad::eOk);
  ZcDbHatchEdgeArray island;  // a circle
  island.append(ZcDbHatchEdge::circularArc(ZcGePoint2d(30, 30), 10, 0, 2 * std::numbers::pi));
  ASSERT_EQ(hatch->appendLoop(ZcDbHatch::kDefault, island), Zcad::eOk);
  ZcDbHatchEdgeArray mixed;  // a line and a spline through fit points back to its start
  ZcGePoint2dArray fit;
  for (auto [x, y] : {std::pair{70.0, 20.0}, {80.0, 35.0}, {60.0, 40.0}}) fit.append(ZcGePoint2d(x, y));
  mixed.append(ZcDbHatchEdge::line(ZcGePoint2d(60, 40), ZcGePoint2d(70, 20)));
  mixed.append(
      ZcDbHatchEdge::spline(3, false, false, ZcGeDoubleArray(), ZcGePoint2dArray(), ZcGeDoubleArray(), fit));
  ASSERT_EQ(hatch->appendLoop(ZcDbHatch::kDefault, mixed), Zcad::eOk);
  addToModelSpace(hatch);
  run(L"CHBJ\nALL\n\n");
  const std::vector<ZcDbObjectId> made = savedBoundaries();
  ASSERT_EQ(made.size(), 4u) << transcript_;
  {
    Opened<ZcDbPolyline> outer(made[0]);
    ASSERT_TRUE(outer);
    ASSERT_EQ(outer->numVerts(), 4u);
    EXPECT_TRUE(outer->isClosed()) << "the closing segment is the hatch's too";
    for (unsigned int v = 0; v < 4; ++v) {
      double bulge = 0;
      outer->getBulgeAt(v, bulge);
      EXPECT_EQ(bulge, bulges[v]);
    }
    EXPECT_EQ(outer->colorIndex(), 1);
  }
  {
    Opened<ZcDbCircle> circle(made[1]);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->radius(), 10);
    EXPECT_TRUE(circle->center().isEqualTo(ZcGePoint3d(30, 30, 0)));
  }
  {
    Opened<ZcDbLine> line(made[2]);
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->endPoint().isEqualTo(ZcGePoint3d(70, 20, 0)));
  }
  {
    Opened<ZcDbSpline> spline(made[3]);
    ASSERT_TRUE(spline);
    EXPECT_EQ(spline->numFitPoints(), 3);
    EXPECT_EQ(spline->colorIndex(), 1);
  }
}

TEST_F(HatchBoundaryTest, NoHatchSelectedIsSaid) {
  addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0)));
  run(L"CHBJ\nALL\n\n");
  EXPECT_TRUE(said("No hatch entities selected!")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
