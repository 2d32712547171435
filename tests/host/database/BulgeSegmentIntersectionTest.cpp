#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "database/BulgeSegmentIntersection.h"

namespace vtcad::db {
namespace {

constexpr double kTol = 1e-9;

double gap(const ZcGePoint2d& a, const ZcGePoint2d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

TEST(BulgeSegmentIntersection, CrossingTangentAndMissingSegments) {
  // Two diagonals of a square cross in its centre.
  SegmentIntersection x = intersectSegments({{0, 0}, {2, 2}, 0.0}, {{0, 2}, {2, 0}, 0.0}, kTol);
  ASSERT_EQ(x.relation, SegmentRelation::kCrossing);
  ASSERT_EQ(x.count, 1);
  EXPECT_NEAR(x.hits[0].point.x, 1.0, 1e-15);
  EXPECT_NEAR(x.hits[0].tFirst, 0.5, 1e-15);
  EXPECT_NEAR(x.hits[0].tSecond, 0.5, 1e-15);

  // A half circle (bulge 1, from (1,0) to (-1,0) counter-clockwise) touched by y = 1 once.
  const BulgeSegment upper({1, 0}, {-1, 0}, 1.0);
  SegmentIntersection t = intersectSegments({{-2, 1}, {2, 1}, 0.0}, upper, kTol);
  ASSERT_EQ(t.count, 1);
  EXPECT_NEAR(t.hits[0].point.x, 0.0, 1e-12);
  EXPECT_NEAR(t.hits[0].tSecond, 0.5, 1e-9);

  // The lower half circle is not met by y = 0.5; the upper twice, ordered along the line.
  EXPECT_EQ(intersectSegments({{-2, 0.5}, {2, 0.5}, 0.0}, {{-1, 0}, {1, 0}, 1.0}, kTol).count, 0);
  SegmentIntersection s = intersectSegments({{2, 0.5}, {-2, 0.5}, 0.0}, upper, kTol);
  ASSERT_EQ(s.count, 2);
  EXPECT_GT(s.hits[0].point.x, 0.0);
  EXPECT_LT(s.hits[0].tFirst, s.hits[1].tFirst);

  // Extended: a short segment's carrier reaches the other.
  const BulgeSegment shortOne({0, 0}, {1, 0}, 0.0), vertical({5, -1}, {5, 1}, 0.0);
  EXPECT_EQ(intersectSegments(shortOne, vertical, kTol).count, 0);
  SegmentIntersection e = intersectSegments(shortOne, vertical, kTol, SegmentExtent::kCarrier);
  ASSERT_EQ(e.count, 1);
  EXPECT_NEAR(e.hits[0].tFirst, 5.0, 1e-12);
}

TEST(BulgeSegmentIntersection, SharedVertexComesBackExactly) {
  const ZcGePoint2d shared{0.1, 0.7};
  SegmentIntersection x = intersectSegments({{-3.3, 1.9}, shared, 0.3}, {shared, {4.1, -2.2}, -0.2}, kTol);
  ASSERT_EQ(x.count, 1);
  EXPECT_EQ(x.hits[0].point.x, shared.x);
  EXPECT_EQ(x.hits[0].point.y, shared.y);
  EXPECT_EQ(x.hits[0].tFirst, 1.0);
  EXPECT_EQ(x.hits[0].tSecond, 0.0);
}

TEST(BulgeSegmentIntersection, OverlapsReportTheirEnds) {
  SegmentIntersection line = intersectSegments({{0, 0}, {4, 0}, 0.0}, {{6, 0}, {1, 0}, 0.0}, kTol);
  ASSERT_EQ(line.relation, SegmentRelation::kOverlapping);
  ASSERT_EQ(line.count, 2);
  EXPECT_EQ(line.hits[0].point.x, 1.0);
  EXPECT_EQ(line.hits[1].point.x, 4.0);
  EXPECT_NEAR(line.hits[1].tSecond, 0.4, 1e-15);

  // End to end on one line: one touching point.
  SegmentIntersection touch = intersectSegments({{0, 0}, {4, 0}, 0.0}, {{4, 0}, {9, 0}, 0.0}, kTol);
  EXPECT_EQ(touch.relation, SegmentRelation::kCrossing);
  EXPECT_EQ(touch.count, 1);

  // Two 270-degree arcs of the unit circle, half a turn apart, share two pieces.
  const double b270 = std::tan(1.5 * std::numbers::pi / 4.0);
  const BulgeSegment a({1, 0}, {0, -1}, b270), b({-1, 0}, {0, 1}, b270);
  SegmentIntersection arcs = intersectSegments(a, b, kTol);
  ASSERT_EQ(arcs.relation, SegmentRelation::kOverlapping);
  ASSERT_EQ(arcs.count, 4);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(gap(arcs.hits[i].point, {0, 0}), 1.0, 1e-12);
  EXPECT_LE(arcs.hits[0].tFirst, arcs.hits[2].tFirst);

  // A quarter apart, they share one piece and touch where the one ends and the other starts:
  // the touching point is a piece of one point.
  SegmentIntersection touching = intersectSegments(a, {{0, 1}, {1, 0}, b270}, kTol);
  ASSERT_EQ(touching.count, 4);
  EXPECT_EQ(touching.hits[0].point.x, 1.0);
  EXPECT_EQ(touching.hits[1].point.x, 1.0);
  EXPECT_NEAR(touching.hits[2].point.y, 1.0, 1e-12);

  // An arc against the full circle of another arc: the arc itself.
  SegmentIntersection whole =
      intersectSegments(a, {{-1, 0}, {1, 0}, 1.0}, kTol, SegmentExtent::kBounded, SegmentExtent::kCarrier);
  ASSERT_EQ(whole.count, 2);
  EXPECT_EQ(whole.hits[0].tFirst, 0.0);
  EXPECT_EQ(whole.hits[1].tFirst, 1.0);
}

TEST(BulgeSegmentIntersection, EveryHitLiesOnBothSegments) {
  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> coordinate(-100.0, 100.0), bulge(-3.0, 3.0);
  std::bernoulli_distribution straight(0.4);
  int hits = 0;
  for (int i = 0; i < 20000; ++i) {
    auto make = [&] {
      return BulgeSegment({coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)},
                          straight(random) ? 0.0 : bulge(random));
    };
    const BulgeSegment p = make(), q = make();
    SegmentIntersection x = intersectSegments(p, q, 1e-9 * 200.0);
    ASSERT_NE(x.relation, SegmentRelation::kOverlapping);
    for (int k = 0; k < x.count; ++k) {
      ++hits;
      ASSERT_GE(x.hits[k].tFirst, 0.0);
      ASSERT_LE(x.hits[k].tFirst, 1.0);
      EXPECT_LT(gap(p.pointAt(x.hits[k].tFirst), x.hits[k].point), 1e-7);
      EXPECT_LT(gap(q.pointAt(x.hits[k].tSecond), x.hits[k].point), 1e-7);
    }
    // Symmetry: the same points with the operands swapped.
    SegmentIntersection y = intersectSegments(q, p, 1e-9 * 200.0);
    ASSERT_EQ(x.count, y.count);
  }
  EXPECT_GT(hits, 1000);
}

}  // namespace
}  // namespace vtcad::db
