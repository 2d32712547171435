#include <gtest/gtest.h>

#include <cmath>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGe.h"

namespace draw_test {
namespace {

using PlineCommandTest = DrawCommandTest;

struct VertexData {
  ZcGePoint2d point;
  double bulge = 0.0;
  double startWidth = 0.0;
  double endWidth = 0.0;
};

std::vector<VertexData> vertices(const ZcDbPolyline& polyline) {
  std::vector<VertexData> out(polyline.numVerts());
  for (unsigned int i = 0; i < polyline.numVerts(); ++i) {
    polyline.getPointAt(i, out[i].point);
    polyline.getBulgeAt(i, out[i].bulge);
    polyline.getWidthsAt(i, out[i].startWidth, out[i].endWidth);
  }
  return out;
}

// The polyline's direction just before and just after vertex `index` are the same: the arc
// that starts there continues the segment before it.
::testing::AssertionResult smoothAt(const ZcDbPolyline& polyline, unsigned int index) {
  ZcGeVector3d before, after;
  double param = index;
  if (polyline.getFirstDeriv(param - 1e-9, before) != Zcad::eOk ||
      polyline.getFirstDeriv(param + 1e-9, after) != Zcad::eOk) {
    return ::testing::AssertionFailure() << "no derivative at vertex " << index;
  }
  if (before.normal().isEqualTo(after.normal(), ZcGeTol(1e-6, 1e-6))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the direction turns at vertex " << index;
}

TEST_F(PlineCommandTest, StraightSegmentsAndCloseMakeOneClosedPolyline) {
  std::string transcript = run(L"PLINE 0,0 10,0 10,5 0,5 C\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_EQ(polyline->numVerts(), 4u);
  EXPECT_TRUE(polyline->isClosed());
  EXPECT_TRUE(polyline->isOnlyLines());
  double area = 0.0;
  ASSERT_EQ(polyline->getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 50.0, 1e-9);
  EXPECT_NE(transcript.find("Current line-width is 0.0000"), std::string::npos);
}

TEST_F(PlineCommandTest, ArcModeContinuesTangentiallyAndLineModeComesBack) {
  run(L"PLINE 0,0 10,0 A 10,10 10,20 L 20,20\n\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  std::vector<VertexData> v = vertices(*polyline);
  ASSERT_EQ(v.size(), 5u);
  // Heading +X, the arc to (10,10) is a half turn to the left; the next one turns back.
  EXPECT_NEAR(v[1].bulge, 1.0, 1e-12);
  EXPECT_NEAR(v[2].bulge, -1.0, 1e-12);
  EXPECT_EQ(v[3].bulge, 0.0);
  for (unsigned int i = 1; i <= 3; ++i) EXPECT_TRUE(smoothAt(*polyline, i));
}

TEST_F(PlineCommandTest, EveryArcOptionFixesTheArcItNames) {
  struct Case {
    const wchar_t* script;
    ZcGePoint2d end;
    double sweepDegrees;
  };
  const Case cases[] = {
      {L"PLINE 0,0 A CE 5,0 A 180\n\n", {10, 0}, 180},                 // center and included angle
      {L"PLINE 0,0 A CE 5,0 L 5\n\n", {2.5, -4.330127018922193}, 60},  // center and chord
      {L"PLINE 0,0 A CE 5,0 5,-5\n\n", {5, -5}, 90},                   // center and endpoint
      {L"PLINE 0,0 A A 90 10,0\n\n", {10, 0}, 90},                     // angle and endpoint
      {L"PLINE 0,0 A A -90 10,0\n\n", {10, 0}, -90},                   // clockwise
      {L"PLINE 0,0 A A 90 CE 0,5\n\n", {5, 5}, 90},                    // angle and center
      {L"PLINE 0,0 A A 180 R 5 90\n\n", {0, 10}, 180},                 // angle, radius, chord direction
      {L"PLINE 0,0 A R 5 10,0\n\n", {10, 0}, 180},                     // radius and endpoint
      {L"PLINE 0,0 A S 5,5 10,0\n\n", {10, 0}, -180},                  // second point
      {L"PLINE 0,0 A D 90 10,0\n\n", {10, 0}, -180},                   // start direction
  };
  for (const Case& c : cases) {
    freshDrawing();
    run(c.script);
    Opened<ZcDbPolyline> polyline(onlyEntity());
    ASSERT_TRUE(polyline) << transcript_;
    std::vector<VertexData> v = vertices(*polyline);
    ASSERT_EQ(v.size(), 2u) << transcript_;
    EXPECT_TRUE(near(v[1].point, c.end, 1e-9)) << transcript_;
    EXPECT_NEAR(4.0 * std::atan(v[0].bulge) * 180.0 / ZcGe::kPi, c.sweepDegrees, 1e-9) << transcript_;
  }
}

TEST_F(PlineCommandTest, CloseInArcModeClosesWithATangentArc) {
  run(L"PLINE 0,0 10,0 10,10 A CL\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_TRUE(polyline->isClosed());
  ASSERT_EQ(polyline->numVerts(), 3u);
  EXPECT_TRUE(smoothAt(*polyline, 2));
  double bulge = 0.0;
  polyline->getBulgeAt(2, bulge);
  EXPECT_NEAR(bulge, std::tan(3.0 * ZcGe::kPi / 8.0), 1e-12);  // 270 degrees round to the start
}

TEST_F(PlineCommandTest, AnArcEndingBehindItsTangentIsRefusedAndTheCommandGoesOn) {
  std::string transcript = run(L"PLINE 0,0 10,0 A 5,0 10,10\n\n");
  EXPECT_NE(transcript.find("Invalid"), std::string::npos);
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_EQ(polyline->numVerts(), 3u);
}

TEST_F(PlineCommandTest, WidthTapersTheNextSegmentAndTheRestKeepTheEndingWidth) {
  run(L"PLINE 0,0 W 1 3 10,0 20,0 H 0.25\n\n30,0\n\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  std::vector<VertexData> v = vertices(*polyline);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_DOUBLE_EQ(v[0].startWidth, 1.0);
  EXPECT_DOUBLE_EQ(v[0].endWidth, 3.0);
  EXPECT_DOUBLE_EQ(v[1].startWidth, 3.0);
  EXPECT_DOUBLE_EQ(v[1].endWidth, 3.0);
  // Half-widths: Enter at the ending half-width takes the starting one.
  EXPECT_DOUBLE_EQ(v[2].startWidth, 0.5);
  EXPECT_DOUBLE_EQ(v[2].endWidth, 0.5);
  // The next polyline starts with the width this one ended with.
  std::string next = run(L"PLINE 0,0 1,1\n\n");
  EXPECT_NE(next.find("Current line-width is 0.5000"), std::string::npos) << next;
}

TEST_F(PlineCommandTest, LengthContinuesTheLastSegmentAlsoAfterAnArc) {
  run(L"PLINE 0,0 10,0 L 5 A 15,10 L L 5\n\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  std::vector<VertexData> v = vertices(*polyline);
  ASSERT_EQ(v.size(), 5u);
  EXPECT_TRUE(near(v[2].point, {15, 0}));
  // The half-turn arc from (15,0) to (15,10) ends heading -X.
  EXPECT_TRUE(near(v[4].point, {10, 10}));
  EXPECT_TRUE(smoothAt(*polyline, 3));
}

TEST_F(PlineCommandTest, UndoRemovesTheLastSegment) {
  std::string transcript = run(L"PLINE 0,0 U 10,0 A 20,0 U U 0,5\n\n");
  EXPECT_NE(transcript.find("All segments already undone."), std::string::npos);
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  std::vector<VertexData> v = vertices(*polyline);
  ASSERT_EQ(v.size(), 2u);
  // Still in arc mode after the undo: the arc to (0,5) leaves along +X.
  EXPECT_TRUE(near(v[1].point, {0, 5}));
  EXPECT_NEAR(v[0].bulge, 1.0, 1e-12);
}

TEST_F(PlineCommandTest, AStartPointAloneDrawsNothing) {
  std::string transcript = run(L"PLINE 5,5\n\n");
  EXPECT_TRUE(entities().empty());
  EXPECT_NE(transcript.find("nothing was drawn"), std::string::npos);
}

TEST_F(PlineCommandTest, ThePolylineLiesAtTheHeightOfItsStartPoint) {
  run(L"PLINE 0,0,4 10,0,9 10,10\n\n");
  Opened<ZcDbPolyline> polyline(onlyEntity());
  ASSERT_TRUE(polyline);
  EXPECT_DOUBLE_EQ(polyline->elevation(), 4.0);
  ZcGePoint3d end;
  polyline->getEndPoint(end);
  EXPECT_TRUE(near(end, {10, 10, 4}));
}

TEST_F(PlineCommandTest, BulgesAndWidthsSurviveSavingAsDxfAndUTakesThePolylineBack) {
  run(L"PLINE 0,0 W 0 2 10,0 A 10,10 CL\n");
  std::unique_ptr<ZcDbDatabase> reloaded = savedAndReloaded();
  ASSERT_TRUE(reloaded);
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(*reloaded);
  ASSERT_EQ(ids.size(), 1u);
  {
    Opened<ZcDbPolyline> polyline(ids[0]);
    Opened<ZcDbPolyline> original(onlyEntity());
    ASSERT_TRUE(polyline && original);
    std::vector<VertexData> before = vertices(*original), after = vertices(*polyline);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(polyline->isClosed());
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_TRUE(near(after[i].point, before[i].point, 1e-9));
      EXPECT_NEAR(after[i].bulge, before[i].bulge, 1e-9);
      EXPECT_NEAR(after[i].startWidth, before[i].startWidth, 1e-9);
      EXPECT_NEAR(after[i].endWidth, before[i].endWidth, 1e-9);
    }
  }
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

}  // namespace
}  // namespace draw_test
