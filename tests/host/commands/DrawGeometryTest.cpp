#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "commands/DrawGeometry.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::commands::draw {
namespace {

constexpr double kTolerance = 1e-9;

class Random {
 public:
  explicit Random(unsigned seed) : engine_(seed) {}
  double real(double from, double to) { return std::uniform_real_distribution<double>(from, to)(engine_); }
  ZcGePoint2d point() { return {real(-100, 100), real(-100, 100)}; }

 private:
  std::mt19937 engine_;
};

double angleBetween(const ZcGeVector2d& a, const ZcGeVector2d& b) {
  return std::abs(std::atan2(a.x * b.y - a.y * b.x, a.dotProduct(b)));
}

// The circle arc of a segment starts and ends at the segment's ends (the other way round when
// it turns clockwise) and sweeps what the bulge says.
::testing::AssertionResult arcMatches(const ArcSegment& segment) {
  CcwArc arc = ccwArcOf(segment);
  ZcGePoint2d from = arc.center + unitAt(arc.startAngle) * arc.radius;
  ZcGePoint2d to = arc.center + unitAt(arc.endAngle) * arc.radius;
  const ZcGePoint2d& expectedFrom = segment.bulge > 0 ? segment.start : segment.end;
  const ZcGePoint2d& expectedTo = segment.bulge > 0 ? segment.end : segment.start;
  double scale = 1.0 + arc.radius;
  if (from.distanceTo(expectedFrom) > kTolerance * scale || to.distanceTo(expectedTo) > kTolerance * scale) {
    return ::testing::AssertionFailure() << "the arc's ends are not the segment's";
  }
  double sweep = std::fmod(arc.endAngle - arc.startAngle + 2 * ZcGe::kTwoPi, ZcGe::kTwoPi);
  if (std::abs(sweep - std::abs(sweepOfBulge(segment.bulge))) > 1e-9) {
    return ::testing::AssertionFailure() << "sweep " << sweep << " for bulge " << segment.bulge;
  }
  return ::testing::AssertionSuccess();
}

TEST(DrawGeometryTest, ArcsOfBulgesEndWhereTheirSegmentsEnd) {
  Random random(1);
  for (int i = 0; i < 200; ++i) {
    ArcSegment segment{random.point(), random.point(), random.real(-20, 20)};
    if (std::abs(segment.bulge) < 1e-3) continue;
    EXPECT_TRUE(arcMatches(segment)) << i;
  }
}

TEST(DrawGeometryTest, AnArcFromADirectionLeavesAlongIt) {
  Random random(2);
  for (int i = 0; i < 200; ++i) {
    ZcGePoint2d start = random.point(), end = random.point();
    ZcGeVector2d tangent = unitAt(random.real(-ZcGe::kPi, ZcGe::kPi));
    std::optional<ArcSegment> arc = arcStartEndDirection(start, tangent, end);
    ASSERT_TRUE(arc);
    EXPECT_LT(angleBetween(startTangentOf(*arc), tangent), 1e-9) << i;
    EXPECT_TRUE(arc->end.isEqualTo(end));
  }
  // An end straight ahead is a straight segment; straight behind (a full turn) or on the
  // start point is no arc.
  EXPECT_EQ(arcStartEndDirection({0, 0}, {1, 0}, {5, 0})->bulge, 0.0);
  EXPECT_FALSE(arcStartEndDirection({0, 0}, {1, 0}, {-5, 0}));
  EXPECT_FALSE(arcStartEndDirection({0, 0}, {1, 0}, {0, 0}));
}

TEST(DrawGeometryTest, ThreePointArcsHoldTheirMiddlePoint) {
  Random random(3);
  for (int i = 0; i < 200; ++i) {
    ZcGePoint2d a = random.point(), m = random.point(), b = random.point();
    std::optional<ArcSegment> arc = arcThreePoints(a, m, b);
    ASSERT_TRUE(arc);
    CcwArc circle = ccwArcOf(*arc);
    EXPECT_NEAR(circle.center.distanceTo(m), circle.radius, 1e-7 * (1 + circle.radius)) << i;
    // The middle point lies inside the sweep, measured from the arc's counter-clockwise start.
    double sweep = std::fmod(circle.endAngle - circle.startAngle + 2 * ZcGe::kTwoPi, ZcGe::kTwoPi);
    double at =
        std::fmod(directionAngle(m - circle.center) - circle.startAngle + 2 * ZcGe::kTwoPi, ZcGe::kTwoPi);
    EXPECT_LE(at, sweep + 1e-9) << i;
  }
  EXPECT_FALSE(arcThreePoints({0, 0}, {1, 1}, {2, 2}));
  EXPECT_FALSE(arcThreePoints({0, 0}, {0, 0}, {2, 2}));
  EXPECT_FALSE(arcThreePoints({0, 0}, {3, 1}, {0, 0}));
}

TEST(DrawGeometryTest, CenterConstructionsKeepTheRadiusAndTheChordOrAngleAsked) {
  Random random(4);
  for (int i = 0; i < 200; ++i) {
    ZcGePoint2d start = random.point(), center = random.point();
    double radius = start.distanceTo(center);
    double chord = random.real(-2 * radius, 2 * radius);
    std::optional<ArcSegment> byChord = arcStartCenterChord(start, center, chord);
    ASSERT_TRUE(byChord) << i;
    EXPECT_NEAR(byChord->end.distanceTo(center), radius, 1e-9 * radius);
    EXPECT_NEAR(byChord->start.distanceTo(byChord->end), std::abs(chord), 1e-9 * radius);
    // Positive chords take the minor arc, negative ones the major arc; both counter-clockwise.
    double sweep = sweepOfBulge(byChord->bulge);
    EXPECT_GT(sweep, 0.0);
    if (chord > 0) {
      EXPECT_LE(sweep, ZcGe::kPi + 1e-9) << i;
    } else {
      EXPECT_GE(sweep, ZcGe::kPi - 1e-9) << i;
    }

    double angle = random.real(-6, 6);
    std::optional<ArcSegment> byAngle = arcStartCenterAngle(start, center, angle);
    ASSERT_TRUE(byAngle);
    EXPECT_NEAR(sweepOfBulge(byAngle->bulge), angle, 1e-9);
    EXPECT_TRUE(ccwArcOf(*byAngle).center.isEqualTo(center, ZcGeTol(1e-7, 1e-7)));
  }
  EXPECT_FALSE(arcStartCenterChord({0, 0}, {5, 0}, 10.5));
  EXPECT_FALSE(arcStartCenterAngle({0, 0}, {5, 0}, 0.0));
  EXPECT_FALSE(arcStartCenterAngle({0, 0}, {5, 0}, ZcGe::kTwoPi));
  EXPECT_FALSE(arcStartCenterEnd({0, 0}, {5, 0}, {-3, 0}));  // the end ray is the start's own
}

TEST(DrawGeometryTest, RadiusConstructionsGiveThatRadius) {
  Random random(5);
  for (int i = 0; i < 200; ++i) {
    ZcGePoint2d start = random.point(), end = random.point();
    double half = start.distanceTo(end) / 2.0;
    double radius = random.real(half, 3 * half) * (i % 2 ? -1 : 1);
    std::optional<ArcSegment> arc = arcStartEndRadius(start, end, radius);
    ASSERT_TRUE(arc) << i;
    EXPECT_NEAR(ccwArcOf(*arc).radius, std::abs(radius), 1e-7 * std::abs(radius));
    double sweep = sweepOfBulge(arc->bulge);
    if (radius > 0) {
      EXPECT_LE(sweep, ZcGe::kPi + 1e-9) << i;
    } else {
      EXPECT_GE(sweep, ZcGe::kPi - 1e-9) << i;
    }
  }
  EXPECT_FALSE(arcStartEndRadius({0, 0}, {10, 0}, 4.9));
}

// How far a circle of `radius` about `center` is from touching the object: 0 when it touches
// a line, or a circle from outside, from inside, or around it.
double missBy(const TangentObject& object, const ZcGePoint2d& center, double radius) {
  if (object.kind == TangentObject::Kind::kCircle) {
    double d = center.distanceTo(object.circle.center), r = object.circle.radius;
    return std::min(std::abs(d - (r + radius)), std::abs(d - std::abs(r - radius)));
  }
  ZcGeVector2d along = object.lineTo - object.lineFrom;
  ZcGeVector2d to = center - object.lineFrom;
  return std::abs(std::abs(along.x * to.y - along.y * to.x) / along.length() - radius);
}

// Distance from a point to the object itself.
double distanceTo(const TangentObject& object, const ZcGePoint2d& point) {
  if (object.kind == TangentObject::Kind::kCircle) {
    return std::abs(point.distanceTo(object.circle.center) - object.circle.radius);
  }
  return missBy(object, point, 0.0);
}

TangentObject randomObject(Random& random) {
  TangentObject object;
  if (random.real(0, 1) < 0.5) {
    object.kind = TangentObject::Kind::kLine;
    object.lineFrom = random.point();
    object.lineTo = random.point();
  } else {
    object.kind = TangentObject::Kind::kCircle;
    object.circle = {random.point(), random.real(1, 60)};
  }
  object.pick = random.point();
  return object;
}

TEST(DrawGeometryTest, TtrCirclesTouchBothObjectsWhereverTheyAre) {
  Random random(6);
  int found = 0;
  for (int i = 0; i < 300; ++i) {
    TangentObject first = randomObject(random), second = randomObject(random);
    double radius = random.real(1, 40);
    for (const Circle2d& circle : circlesTangentToBoth(first, second, radius)) {
      ++found;
      EXPECT_LT(missBy(first, circle.center, radius), 1e-7) << i;
      EXPECT_LT(missBy(second, circle.center, radius), 1e-7) << i;
      // The touching point lies on both the object and the circle.
      ZcGePoint2d touch = touchingPoint(second, circle.center, radius);
      EXPECT_NEAR(touch.distanceTo(circle.center), radius, 1e-7) << i;
      EXPECT_LT(distanceTo(second, touch), 1e-7) << i;
    }
  }
  EXPECT_GT(found, 300);  // most random pairs have solutions: the check above was exercised
}

TEST(DrawGeometryTest, BetweenParallelLinesOnlyAFittingRadiusWorksAndTheCircleSitsAtThePicks) {
  TangentObject below{TangentObject::Kind::kLine, {0, 0}, {10, 0}, {}, {4, 0}};
  TangentObject above{TangentObject::Kind::kLine, {0, 10}, {10, 10}, {}, {8, 10}};
  EXPECT_FALSE(circleTangentToBoth(below, above, 2.0));
  std::optional<Circle2d> circle = circleTangentToBoth(below, above, 5.0);
  ASSERT_TRUE(circle);
  EXPECT_NEAR(circle->center.y, 5.0, 1e-12);
  EXPECT_NEAR(circle->center.x, 6.0, 1e-12);  // between the picks
}

}  // namespace
}  // namespace vtcad::commands::draw
