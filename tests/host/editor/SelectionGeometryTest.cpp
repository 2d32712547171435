#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "editor/SelectionGeometry.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::editor {
namespace {

EntityOutline outlineOf(std::vector<ZcGePoint2d> points, bool closed = false) {
  EntityOutline outline;
  outline.status = OutlineStatus::kComplete;
  outline.parts.push_back({std::move(points), closed});
  return outline;
}

// A circle as a closed polygon of `n` vertices.
EntityOutline circle(const ZcGePoint2d& center, double radius, int n = 64) {
  std::vector<ZcGePoint2d> points;
  for (int i = 0; i < n; ++i) {
    const double a = ZcGe::kTwoPi * i / n;
    points.emplace_back(center.x + radius * std::cos(a), center.y + radius * std::sin(a));
  }
  return outlineOf(points, /*closed=*/true);
}

const ZcGePoint2d kMin(0, 0), kMax(10, 10);

TEST(SelectionGeometryTest, CrossingWindowLooksAtTheGeometryNotItsBox) {
  // The diagonal's box covers the window's corner region, the line itself passes beside it.
  const EntityOutline diagonal = outlineOf({{-5, 5}, {5, 15}});
  EXPECT_FALSE(crossesWindow(diagonal, ZcGePoint2d(2, 2), ZcGePoint2d(4, 4)));
  EXPECT_TRUE(crossesWindow(diagonal, ZcGePoint2d(-1, 8), ZcGePoint2d(1, 12)));
  // A segment crossing the window with both ends outside.
  EXPECT_TRUE(crossesWindow(outlineOf({{-5, 5}, {15, 5}}), kMin, kMax));
}

TEST(SelectionGeometryTest, WindowNeedsEverythingInsideAndCountsItsEdge) {
  EXPECT_TRUE(insideWindow(outlineOf({{1, 1}, {9, 9}}), kMin, kMax));
  EXPECT_TRUE(insideWindow(outlineOf({{0, 0}, {10, 0}}), kMin, kMax)) << "lying on the edge";
  EXPECT_FALSE(insideWindow(outlineOf({{1, 1}, {9, 9}, {11, 5}}), kMin, kMax));
  EXPECT_TRUE(crossesWindow(outlineOf({{10, 5}, {20, 5}}), kMin, kMax)) << "touching from outside";
  EXPECT_TRUE(insideWindow(outlineOf({{1, 1}, {9, 9}}), kMax, kMin)) << "corners in any order";
  // Parts count together: one part outside spoils the window.
  EntityOutline twoParts = outlineOf({{1, 1}, {2, 2}});
  twoParts.parts.push_back({{{12, 12}}, false});
  EXPECT_FALSE(insideWindow(twoParts, kMin, kMax));
  EXPECT_TRUE(crossesWindow(twoParts, kMin, kMax));
}

TEST(SelectionGeometryTest, AnOutlineAroundTheWindowIsNotCrossingIt) {
  EXPECT_FALSE(crossesWindow(circle({5, 5}, 20.0), kMin, kMax));
  EXPECT_FALSE(insideWindow(circle({5, 5}, 20.0), kMin, kMax));
  EXPECT_TRUE(crossesWindow(circle({5, 5}, 6.0), kMin, kMax)) << "cuts the corners";
  EXPECT_TRUE(insideWindow(circle({5, 5}, 4.0), kMin, kMax));
}

TEST(SelectionGeometryTest, FilledAreasAreDrawnInside) {
  // A filled square with a hole (the second loop of the same fill region).
  EntityOutline filled = outlineOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, /*closed=*/true);
  filled.parts[0].fillRegion = 1;
  filled.parts.push_back({{{4, 4}, {6, 4}, {6, 6}, {4, 6}}, /*closed=*/true, /*fillRegion=*/1});
  EXPECT_TRUE(crossesWindow(filled, ZcGePoint2d(1, 1), ZcGePoint2d(2, 2)));
  EXPECT_FALSE(crossesWindow(filled, ZcGePoint2d(4.5, 4.5), ZcGePoint2d(5.5, 5.5))) << "in the hole";
  EXPECT_TRUE(crossesPolygon(filled, {{1, 1}, {2, 1}, {1, 2}}));
  EXPECT_EQ(distanceTo(filled, ZcGePoint2d(2, 3)), 0.0);
  EXPECT_DOUBLE_EQ(distanceTo(filled, ZcGePoint2d(5, 5.5)), 0.5);
  EXPECT_FALSE(insideWindow(filled, ZcGePoint2d(1, 1), ZcGePoint2d(2, 2)));
  // Different regions do not cancel each other: two overlapping texts stay filled.
  filled.parts[1].fillRegion = 2;
  EXPECT_TRUE(crossesWindow(filled, ZcGePoint2d(4.5, 4.5), ZcGePoint2d(5.5, 5.5)));
}

TEST(SelectionGeometryTest, PointsAreInsideWhereTheyAre) {
  const EntityOutline point = outlineOf({{3, 3}});
  EXPECT_TRUE(insideWindow(point, kMin, kMax));
  EXPECT_TRUE(crossesWindow(point, kMin, kMax));
  EXPECT_FALSE(crossesWindow(point, ZcGePoint2d(4, 4), ZcGePoint2d(5, 5)));
  EXPECT_DOUBLE_EQ(distanceTo(point, ZcGePoint2d(6, 7)), 5.0);
}

TEST(SelectionGeometryTest, WindowsWithoutAreaOrFiniteCornersTakeNothingButFlatCrossings) {
  const EntityOutline point = outlineOf({{3, 3}});
  const double nan = std::nan("");
  // A flat crossing window is a segment: it takes what lies on it, a window takes nothing.
  EXPECT_TRUE(crossesWindow(point, ZcGePoint2d(0, 3), ZcGePoint2d(10, 3)));
  EXPECT_FALSE(crossesWindow(point, ZcGePoint2d(0, 4), ZcGePoint2d(10, 4)));
  EXPECT_FALSE(insideWindow(point, ZcGePoint2d(0, 3), ZcGePoint2d(10, 3)));
  EXPECT_FALSE(insideWindow(point, ZcGePoint2d(3, 3), ZcGePoint2d(3, 3)));
  EXPECT_FALSE(crossesWindow(point, ZcGePoint2d(nan, 0), kMax));
  EXPECT_FALSE(insideWindow(point, kMin, ZcGePoint2d(std::numeric_limits<double>::infinity(), 10)));
  EXPECT_FALSE(insideWindow(EntityOutline{}, kMin, kMax)) << "an empty outline is inside nothing";
}

// An L-shaped (concave) polygon: the square 0..10 without its top-right quarter.
const std::vector<ZcGePoint2d> kEll = {{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}};

TEST(SelectionGeometryTest, PolygonWindowNeedsEverySegmentInside) {
  EXPECT_TRUE(insidePolygon(outlineOf({{1, 1}, {9, 1}, {1, 9}}), kEll));
  // Both ends inside, the segment cuts across the missing quarter.
  const EntityOutline shortcut = outlineOf({{9, 4}, {4, 9}});
  EXPECT_FALSE(insidePolygon(shortcut, kEll));
  EXPECT_TRUE(crossesPolygon(shortcut, kEll));
  // Along the polygon's own edges and through its reflex corner.
  EXPECT_TRUE(insidePolygon(outlineOf({{10, 0}, {10, 5}, {5, 5}, {5, 10}}), kEll));
  EXPECT_TRUE(insidePolygon(outlineOf({{0, 10}, {5, 5}, {10, 0}}), kEll)) << "touching the reflex corner";
}

TEST(SelectionGeometryTest, CrossingPolygonTakesWhatTouchesIt) {
  EXPECT_TRUE(crossesPolygon(outlineOf({{5, 5}, {20, 20}}), kEll))
      << "touching the reflex corner from outside";
  EXPECT_FALSE(crossesPolygon(outlineOf({{6, 9}, {9, 6}}), kEll)) << "in the missing quarter";
  EXPECT_FALSE(crossesPolygon(circle({5, 5}, 30.0), kEll)) << "around the polygon";
  EXPECT_TRUE(crossesPolygon(outlineOf({{-1, 2}, {11, 2}}), kEll)) << "through it, ends outside";
}

TEST(SelectionGeometryTest, SelfIntersectingPolygonsUseEvenOdd) {
  // A bow tie: two triangles meeting at (5, 5).
  const std::vector<ZcGePoint2d> bowTie = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
  EXPECT_TRUE(insidePolygon(outlineOf({{1, 4}, {1, 6}}), bowTie)) << "left lobe";
  EXPECT_TRUE(insidePolygon(outlineOf({{9, 4}, {9, 6}}), bowTie)) << "right lobe";
  EXPECT_FALSE(crossesPolygon(outlineOf({{5, 1}, {5, 2}}), bowTie)) << "the gap below the crossing";
  EXPECT_FALSE(insidePolygon(outlineOf({{1, 5}, {9, 6}}), bowTie)) << "from lobe to lobe beside the waist";
}

TEST(SelectionGeometryTest, DegeneratePolygonsTakeNothing) {
  const EntityOutline point = outlineOf({{1, 1}});
  const std::vector<std::vector<ZcGePoint2d>> polygons = {
      {},
      {{0, 0}, {5, 5}},
      {{0, 0}, {5, 5}, {0, 0}},
      {{0, 0}, {0, 0}, {5, 5}, {5, 5}},
      {{0, 0}, {2, 2}, {5, 5}},
      {{0, 0}, {10, 0}, {std::nan(""), 10}},
  };
  const PolygonShape expected[] = {PolygonShape::kTooFewPoints, PolygonShape::kTooFewPoints,
                                   PolygonShape::kTooFewPoints, PolygonShape::kTooFewPoints,
                                   PolygonShape::kNoArea,       PolygonShape::kNonFinite};
  for (size_t i = 0; i < polygons.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(checkSelectionPolygon(polygons[i]), expected[i]);
    EXPECT_FALSE(insidePolygon(point, polygons[i]));
    EXPECT_FALSE(crossesPolygon(outlineOf({{-100, -100}, {100, 100}}), polygons[i]));
  }
  // A closing point repeating the first is not a fourth point.
  EXPECT_EQ(checkSelectionPolygon({{0, 0}, {4, 0}, {0, 4}, {0, 0}}), PolygonShape::kUsable);
}

TEST(SelectionGeometryTest, DistanceIsToTheNearestSegment) {
  const EntityOutline square = outlineOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, /*closed=*/true);
  EXPECT_DOUBLE_EQ(distanceTo(square, ZcGePoint2d(-3, 5)), 3.0) << "the closing segment counts";
  EXPECT_DOUBLE_EQ(distanceTo(square, ZcGePoint2d(5, 4)), 4.0) << "the inside is not drawn";
  EXPECT_DOUBLE_EQ(distanceTo(square, ZcGePoint2d(13, 14)), 5.0) << "past an end, to the vertex";
  EXPECT_DOUBLE_EQ(distanceTo(outlineOf({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), ZcGePoint2d(-3, 5)),
                   std::sqrt(34.0))
      << "open: the last vertex does not join the first";
  EXPECT_EQ(distanceTo(EntityOutline{}, ZcGePoint2d(0, 0)), std::numeric_limits<double>::infinity());
  EXPECT_EQ(distanceTo(square, ZcGePoint2d(std::nan(""), 0)), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace vtcad::editor
