#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"

namespace draw_test {
namespace {

using CircleCommandTest = DrawCommandTest;

std::wstring pointText(double x, double y) {
  return std::to_wstring(static_cast<int>(x)) + L"," + std::to_wstring(static_cast<int>(y));
}

TEST_F(CircleCommandTest, CenterAndRadiusThenTheRadiusIsTheNextDefault) {
  run(L"CIRCLE 5,5,2 3\n");
  {
    Opened<ZcDbCircle> circle(onlyEntity());
    ASSERT_TRUE(circle);
    EXPECT_TRUE(near(circle->center(), {5, 5, 2}));
    EXPECT_DOUBLE_EQ(circle->radius(), 3.0);
    EXPECT_TRUE(circle->normal().isEqualTo(ZcGeVector3d::kZAxis));
  }
  std::string second = run(L"CIRCLE 20,0\n\n");
  EXPECT_NE(second.find("Specify radius of circle or [Diameter] <3.0000>:"), std::string::npos) << second;
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u);
  Opened<ZcDbCircle> repeated(ids[1]);
  ASSERT_TRUE(repeated);
  EXPECT_DOUBLE_EQ(repeated->radius(), 3.0);
}

TEST_F(CircleCommandTest, RadiusByAPointDiameterAndAZeroRadiusRefused) {
  std::string transcript = run(L"CIRCLE 0,0 3,4\nCIRCLE 0,0 D 10\nCIRCLE 0,0 0 2\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 3u) << transcript;
  const double radii[] = {5.0, 5.0, 2.0};
  for (size_t i = 0; i < ids.size(); ++i) {
    Opened<ZcDbCircle> circle(ids[i]);
    ASSERT_TRUE(circle);
    EXPECT_DOUBLE_EQ(circle->radius(), radii[i]);
  }
  EXPECT_NE(transcript.find("Value must be positive and nonzero."), std::string::npos);
}

TEST_F(CircleCommandTest, TwoPointsAreTheEndsOfADiameterAndUTakesTheCircleBack) {
  run(L"CIRCLE 2P 0,0 10,0\n");
  {
    Opened<ZcDbCircle> circle(onlyEntity());
    ASSERT_TRUE(circle);
    EXPECT_TRUE(near(circle->center(), {5, 0, 0}));
    EXPECT_DOUBLE_EQ(circle->radius(), 5.0);
  }
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

TEST_F(CircleCommandTest, ThreePointCirclesPassThroughTheirPointsWithAnUpwardNormal) {
  std::mt19937 random(7);
  // Whole coordinates read back exactly from the script's text.
  std::uniform_int_distribution<int> coordinate(-50, 50);
  for (int round = 0; round < 20; ++round) {
    ZcGePoint3d p[3];
    for (ZcGePoint3d& point : p) point.set(coordinate(random), coordinate(random), 0.0);
    ZcGeVector3d a = p[1] - p[0], b = p[2] - p[0];
    if (std::abs(a.x * b.y - a.y * b.x) < 1.0) continue;  // collinear: another test's case
    freshDrawing();
    run(L"CIRCLE 3P " + pointText(p[0].x, p[0].y) + L" " + pointText(p[1].x, p[1].y) + L" " +
        pointText(p[2].x, p[2].y) + L"\n");
    Opened<ZcDbCircle> circle(onlyEntity());
    ASSERT_TRUE(circle) << transcript_;
    for (const ZcGePoint3d& point : p)
      EXPECT_NEAR(point.distanceTo(circle->center()), circle->radius(), 1e-9);
    EXPECT_TRUE(circle->normal().isEqualTo(ZcGeVector3d::kZAxis));
  }
}

TEST_F(CircleCommandTest, DegeneratePointsDrawNoCircle) {
  std::string transcript = run(L"CIRCLE 3P 0,0 5,5 10,10\nCIRCLE 2P 3,3 3,3\nCIRCLE 3P 1,1 1,1 4,4\n");
  EXPECT_TRUE(entities().empty());
  EXPECT_NE(transcript.find("No circle passes through those points"), std::string::npos);
  EXPECT_NE(transcript.find("The two points coincide"), std::string::npos);
}

TEST_F(CircleCommandTest, TtrTouchesTwoLinesOnTheSideOfThePicks) {
  run(L"LINE 0,0 20,0\n\nLINE 0,0 0,20\n\nCIRCLE T 10,0 0,10 3\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 3u) << transcript_;
  Opened<ZcDbCircle> circle(ids[2]);
  ASSERT_TRUE(circle);
  EXPECT_TRUE(near(circle->center(), {3, 3, 0}));
  EXPECT_DOUBLE_EQ(circle->radius(), 3.0);
}

TEST_F(CircleCommandTest, TtrTouchesALineAndACircle) {
  run(L"LINE -20,0 20,0\n\nCIRCLE 0,7 4\nCIRCLE T 5,0 0,11 2\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 3u) << transcript_;
  Opened<ZcDbCircle> circle(ids[2]);
  ASSERT_TRUE(circle);
  // Above the line at height 2, outside the circle of radius 4 about (0,7).
  EXPECT_NEAR(circle->center().y, 2.0, 1e-9);
  EXPECT_NEAR(circle->center().distanceTo({0, 7, 0}), 6.0, 1e-9);
  EXPECT_GT(circle->center().x, 0.0);  // the pick on the line was right of the circle
}

TEST_F(CircleCommandTest, TtrWithoutASolutionSaysSoAndDrawsNothing) {
  std::string transcript = run(L"LINE 0,0 20,0\n\nLINE 0,10 20,10\n\nCIRCLE T 5,0 5,10 2\n");
  EXPECT_EQ(entities().size(), 2u);
  EXPECT_NE(transcript.find("Circle does not exist"), std::string::npos);
}

TEST_F(CircleCommandTest, TtrAsksAgainWhenThePickMissesOrHitsSomethingElse) {
  std::string transcript = run(L"LINE 0,0 20,0\n\nPOINT 50,50\nCIRCLE T 100,100 50,50 10,0 ^C\n");
  EXPECT_NE(transcript.find("No object found there."), std::string::npos);
  EXPECT_NE(transcript.find("Pick a line, circle or arc"), std::string::npos);
  EXPECT_EQ(entities().size(), 2u);
}

}  // namespace
}  // namespace draw_test
