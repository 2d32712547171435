#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/ge/ZcGe.h"

namespace draw_test {
namespace {

using ArcCommandTest = DrawCommandTest;

constexpr double kDegree = ZcGe::kPi / 180.0;

struct ArcData {
  ZcGePoint3d center;
  double radius = 0.0;
  double startDegrees = 0.0;
  double endDegrees = 0.0;
};

ArcData arcOf(ZcDbObjectId id) {
  Opened<ZcDbArc> arc(id);
  EXPECT_TRUE(arc) << "not an arc";
  if (!arc) return {};
  return {arc->center(), arc->radius(), arc->startAngle() / kDegree, arc->endAngle() / kDegree};
}

// Angles compared as directions (0 and 360 are the same).
::testing::AssertionResult sameDirection(double degrees, double expected) {
  double difference = std::remainder(degrees - expected, 360.0);
  if (std::abs(difference) < 1e-9) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << degrees << " is not " << expected << " degrees";
}

TEST_F(ArcCommandTest, EachWayOfFixingAnArcGivesTheArcItDescribes) {
  struct Case {
    const wchar_t* script;
    ZcGePoint3d center;
    double radius, startDegrees, endDegrees;
  };
  const Case cases[] = {
      {L"ARC 0,0 5,5 10,0\n", {5, 0, 0}, 5, 0, 180},     // three points, clockwise
      {L"ARC 10,0 5,5 0,0\n", {5, 0, 0}, 5, 0, 180},     // the same counter-clockwise
      {L"ARC C 0,0 5,0 0,9\n", {0, 0, 0}, 5, 0, 90},     // center, start, end ray
      {L"ARC 5,0 C 0,0 A 90\n", {0, 0, 0}, 5, 0, 90},    // start, center, angle
      {L"ARC 5,0 C 0,0 A -90\n", {0, 0, 0}, 5, 270, 0},  // clockwise angle
      {L"ARC 5,0 C 0,0 L 5\n", {0, 0, 0}, 5, 0, 60},     // chord of the minor arc
      {L"ARC 5,0 C 0,0 L -5\n", {0, 0, 0}, 5, 0, 300},   // chord of the major arc
      {L"ARC 0,0 E 10,0 R 5\n", {5, 0, 0}, 5, 180, 0},   // start, end, radius
      {L"ARC 0,0 E 6,0 R -5\n", {3, -4, 0}, 5, 126.86989764584402, 53.13010235415598},  // major arc
      {L"ARC 10,0 E 0,10 A 90\n", {0, 0, 0}, 10, 0, 90},                                // start, end, angle
      {L"ARC 0,0 E 10,0 D 90\n", {5, 0, 0}, 5, 0, 180},  // start, end, tangent direction
      {L"ARC 5,0 E 0,5 0,0\n", {0, 0, 0}, 5, 0, 90},     // start, end, center
      {L"ARC 0,0,3 5,5 10,0\n", {5, 0, 3}, 5, 0, 180},   // at the start point's height
  };
  for (const Case& c : cases) {
    freshDrawing();
    run(c.script);
    ArcData arc = arcOf(onlyEntity());
    EXPECT_TRUE(near(arc.center, c.center, 1e-9)) << transcript_;
    EXPECT_NEAR(arc.radius, c.radius, 1e-9) << transcript_;
    EXPECT_TRUE(sameDirection(arc.startDegrees, c.startDegrees)) << transcript_;
    EXPECT_TRUE(sameDirection(arc.endDegrees, c.endDegrees)) << transcript_;
  }
}

TEST_F(ArcCommandTest, ThreePointArcsRunThroughTheirMiddlePoint) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(-40, 40);
  for (int round = 0; round < 20; ++round) {
    ZcGePoint3d p[3];
    for (ZcGePoint3d& point : p) point.set(coordinate(random), coordinate(random), 0.0);
    ZcGeVector3d a = p[1] - p[0], b = p[2] - p[0];
    if (std::abs(a.x * b.y - a.y * b.x) < 1.0) continue;  // collinear: no arc
    freshDrawing();
    std::wstring script = L"ARC";
    for (const ZcGePoint3d& point : p) {
      script += L" " + std::to_wstring(static_cast<int>(point.x)) + L"," +
                std::to_wstring(static_cast<int>(point.y));
    }
    run(script + L"\n");
    Opened<ZcDbArc> arc(onlyEntity());
    ASSERT_TRUE(arc) << transcript_;
    ZcGePoint3d onArc;
    // The closest point of the arc itself (not its circle) is the middle point.
    ASSERT_EQ(arc->getClosestPointTo(p[1], onArc), Zcad::eOk);
    EXPECT_TRUE(near(onArc, p[1], 1e-7)) << transcript_;
    ZcGePoint3d from, to;
    arc->getStartPoint(from);
    arc->getEndPoint(to);
    bool endsMatch =
        (near(from, p[0], 1e-7) && near(to, p[2], 1e-7)) || (near(from, p[2], 1e-7) && near(to, p[0], 1e-7));
    EXPECT_TRUE(endsMatch) << transcript_;
  }
}

TEST_F(ArcCommandTest, InputThatMakesNoArcDrawsNothing) {
  std::string transcript =
      run(L"ARC 0,0 5,5 10,10\n"     // collinear
          L"ARC 0,0 E 0,0 R 5\n"     // start on the end
          L"ARC 0,0 E 20,0 R 5\n"    // chord longer than the diameter
          L"ARC 0,0 E 10,0 D 0\n"    // end straight ahead of the tangent
          L"ARC 5,0 C 0,0 L 11\n");  // chord longer than the diameter
  EXPECT_TRUE(entities().empty());
  size_t messages = 0;
  for (size_t at = transcript.find("Invalid"); at != std::string::npos;
       at = transcript.find("Invalid", at + 1)) {
    ++messages;
  }
  EXPECT_EQ(messages, 5u) << transcript;
}

TEST_F(ArcCommandTest, EnterContinuesTangentiallyFromTheLastLineAndUTakesTheArcBack) {
  run(L"LINE 0,0 10,0\n\nARC\n\n10,10\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript_;
  ArcData arc = arcOf(ids[1]);
  // Heading +X at (10,0), a half turn to the left ends at (10,10).
  EXPECT_TRUE(near(arc.center, {10, 5, 0}));
  EXPECT_NEAR(arc.radius, 5.0, 1e-12);
  EXPECT_TRUE(sameDirection(arc.startDegrees, 270));
  EXPECT_TRUE(sameDirection(arc.endDegrees, 90));
  run(L"U\n");
  EXPECT_EQ(entities().size(), 1u);
}

}  // namespace
}  // namespace draw_test
