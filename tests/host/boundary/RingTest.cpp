// Ring: exact areas and windings of bulge loops.
#include <gtest/gtest.h>

#include <cmath>

#include "boundary/Ring.h"

namespace vtcad::boundary {
namespace {

constexpr double kPi = 3.14159265358979323846;

Ring square(double size) { return Ring{{{{0, 0}, 0}, {{size, 0}, 0}, {{size, size}, 0}, {{0, size}, 0}}}; }

// A circle of radius r about the origin as two half-circle bulges.
Ring circle(double r) { return Ring{{{{r, 0}, 1.0}, {{-r, 0}, 1.0}}}; }

TEST(RingTest, SquareAreaAndWinding) {
  const Ring ring = square(2.0);
  EXPECT_DOUBLE_EQ(ring.signedArea(), 4.0);
  EXPECT_EQ(ring.winding({1, 1}), 1);
  EXPECT_EQ(ring.winding({3, 1}), 0);
  EXPECT_EQ(ring.winding({1, -0.5}), 0);
}

TEST(RingTest, ReversedRunsTheOtherWayWithTheSameArcs) {
  const Ring ring = Ring{{{{0, 0}, 0.0}, {{2, 0}, 0.5}, {{2, 2}, 0.0}, {{0, 2}, -0.3}}};
  const Ring back = ring.reversed();
  EXPECT_NEAR(back.signedArea(), -ring.signedArea(), 1e-12);
  EXPECT_EQ(back.winding({1, 1}), -1);
  EXPECT_EQ(back.reversed().vertices.size(), ring.vertices.size());
  for (size_t i = 0; i < ring.vertices.size(); ++i) {
    EXPECT_EQ(back.reversed().vertices[i].point, ring.vertices[i].point);
    EXPECT_EQ(back.reversed().vertices[i].bulge, ring.vertices[i].bulge);
  }
}

TEST(RingTest, CircleOfTwoBulgesIsExact) {
  const Ring ring = circle(3.0);
  EXPECT_NEAR(ring.signedArea(), kPi * 9.0, 1e-12 * kPi * 9.0);
  // Inside the circle but outside the chord polygon (which has no area at all).
  EXPECT_EQ(ring.winding({0.0, 2.9}), 1);
  EXPECT_EQ(ring.winding({0.0, -2.9}), 1);
  EXPECT_EQ(ring.winding({2.2, 2.2}), 0);
}

TEST(RingTest, ArcBulgingInwardsTakesItsSegmentAway) {
  // The square's right side bows in by a half circle of radius 1 (clockwise, bulge -1).
  const Ring ring = Ring{{{{0, 0}, 0}, {{2, 0}, -1.0}, {{2, 2}, 0}, {{0, 2}, 0}}};
  EXPECT_NEAR(ring.signedArea(), 4.0 - kPi / 2.0, 1e-12);
  EXPECT_EQ(ring.winding({1.5, 1.0}), 0) << "in the bite the arc takes";
  EXPECT_EQ(ring.winding({0.5, 1.0}), 1);
}

TEST(RingTest, SmallRingFarFromTheOriginKeepsTheDigitsOfItsArea) {
  // Shoelace products of absolute coordinates (about 1e10 here) lost the area's last digits.
  const double x = 100000.1, y = 100000.3;
  const Ring ring{{{{x, y}, 0}, {{x + 0.4, y}, 0}, {{x + 0.4, y + 0.4}, 0}, {{x, y + 0.4}, 0}}};
  EXPECT_NEAR(ring.signedArea(), 0.16, 1e-10) << "the sides themselves round at about 1e-11";
}

TEST(RingTest, CentreOfACircleOnTheChordOfItsHalvesIsInside) {
  // The centre lies on the chord both half circles share: neither chord crossing nor a
  // strict side test counted it, and a circle's own centre was outside it.
  EXPECT_EQ(circle(2.5).winding({0, 0}), 1);
  EXPECT_EQ(circle(2.5).reversed().winding({0, 0}), -1);
  EXPECT_EQ(circle(2.5).winding({-1.0, 0}), 1);
  EXPECT_EQ(circle(2.5).winding({3.0, 0}), 0);
}

}  // namespace
}  // namespace vtcad::boundary
