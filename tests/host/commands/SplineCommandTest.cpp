#include <gtest/gtest.h>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbSpline.h"

namespace draw_test {
namespace {

using SplineCommandTest = DrawCommandTest;

std::vector<ZcGePoint3d> fitPoints(const ZcDbSpline& spline) {
  std::vector<ZcGePoint3d> points(spline.numFitPoints());
  for (int i = 0; i < spline.numFitPoints(); ++i) spline.getFitPointAt(i, points[i]);
  return points;
}

TEST_F(SplineCommandTest, TheSplinePassesThroughEveryFitPoint) {
  run(L"SPLINE 0,0 5,5 10,0,2 15,5\n\n");
  Opened<ZcDbSpline> spline(onlyEntity());
  ASSERT_TRUE(spline);
  EXPECT_EQ(spline->type(), ZcDb::kFitPoints);
  EXPECT_EQ(spline->degree(), 3);
  std::vector<ZcGePoint3d> points = fitPoints(*spline);
  ASSERT_EQ(points.size(), 4u);
  for (const ZcGePoint3d& point : points) {
    ZcGePoint3d onCurve;
    ASSERT_EQ(spline->getClosestPointTo(point, onCurve), Zcad::eOk);
    EXPECT_TRUE(near(onCurve, point, 1e-7));
  }
  EXPECT_TRUE(near(points[2], {10, 0, 2}));
}

TEST_F(SplineCommandTest, StartAndEndTangentsSetTheDirectionsAtTheEnds) {
  run(L"SPLINE 0,0 T 0,10 10,0 20,0 T 20,-10\n");
  Opened<ZcDbSpline> spline(onlyEntity());
  ASSERT_TRUE(spline);
  double start = 0.0, end = 0.0;
  spline->getStartParam(start);
  spline->getEndParam(end);
  ZcGeVector3d atStart, atEnd;
  ASSERT_EQ(spline->getFirstDeriv(start, atStart), Zcad::eOk);
  ASSERT_EQ(spline->getFirstDeriv(end, atEnd), Zcad::eOk);
  EXPECT_TRUE(atStart.isCodirectionalTo(ZcGeVector3d::kYAxis));
  EXPECT_TRUE(atEnd.isCodirectionalTo(-ZcGeVector3d::kYAxis));
}

TEST_F(SplineCommandTest, CloseMakesAClosedSmoothSpline) {
  std::string transcript = run(L"SPLINE 0,0 10,0 10,10 0,10 C\n");
  EXPECT_NE(transcript.find("[end Tangency/Fit tolerance/Undo/Close]"), std::string::npos);
  Opened<ZcDbSpline> spline(onlyEntity());
  ASSERT_TRUE(spline);
  EXPECT_TRUE(spline->isClosed());
  EXPECT_TRUE(spline->isPeriodic());
}

TEST_F(SplineCommandTest, UndoFitToleranceAndRepeatedPoints) {
  std::string transcript = run(L"SPLINE 0,0 F 0.5 10,0 10,0 U 5,5 10,0\n\n");
  EXPECT_NE(transcript.find("last point again"), std::string::npos);
  Opened<ZcDbSpline> spline(onlyEntity());
  ASSERT_TRUE(spline);
  EXPECT_DOUBLE_EQ(spline->fitTolerance(), 0.5);
  std::vector<ZcGePoint3d> points = fitPoints(*spline);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(near(points[1], {5, 5, 0}));
}

TEST_F(SplineCommandTest, OnePointOrACancelDrawsNothing) {
  std::string transcript = run(L"SPLINE 0,0\n\nSPLINE 0,0 10,0 20,5 ^C\n");
  EXPECT_NE(transcript.find("nothing was drawn"), std::string::npos);
  EXPECT_TRUE(entities().empty());
}

TEST_F(SplineCommandTest, UTakesTheSplineBackAndFitPointsSurviveSavingAsDxf) {
  run(L"SPLINE 0,0 5,5 10,0\n\n");
  std::unique_ptr<ZcDbDatabase> reloaded = savedAndReloaded();
  ASSERT_TRUE(reloaded);
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(*reloaded);
  ASSERT_EQ(ids.size(), 1u);
  Opened<ZcDbSpline> spline(ids[0]);
  ASSERT_TRUE(spline);
  std::vector<ZcGePoint3d> points = fitPoints(*spline);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_TRUE(near(points[1], {5, 5, 0}));
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

}  // namespace
}  // namespace draw_test
