// Arrangement: faces, islands and the cases where curves meet awkwardly.
#include <gtest/gtest.h>

#include <cmath>

#include "boundary/Arrangement.h"

namespace vtcad::boundary {
namespace {

constexpr double kPi = 3.14159265358979323846;

void addRectangle(std::vector<PlanEdge>& edges, double x0, double y0, double x1, double y1) {
  edges.push_back({{x0, y0}, {x1, y0}, 0.0});
  edges.push_back({{x1, y0}, {x1, y1}, 0.0});
  edges.push_back({{x1, y1}, {x0, y1}, 0.0});
  edges.push_back({{x0, y1}, {x0, y0}, 0.0});
}

void addCircle(std::vector<PlanEdge>& edges, double cx, double cy, double r) {
  edges.push_back({{cx + r, cy}, {cx - r, cy}, 1.0});
  edges.push_back({{cx - r, cy}, {cx + r, cy}, 1.0});
}

TEST(ArrangementTest, CircleIsOneFaceOfItsArea) {
  std::vector<PlanEdge> edges;
  addCircle(edges, 3, 4, 2.5);
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 1u);
  EXPECT_NEAR(arrangement.faces()[0].area, kPi * 6.25, 1e-12 * kPi * 6.25);
  EXPECT_EQ(arrangement.faceAt({3, 4}), 0);
  EXPECT_EQ(arrangement.outlines().size(), 1u);
}

TEST(ArrangementTest, CrossingLinesSplitTheSquare) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  edges.push_back({{-1, 5}, {11, 5}, 0.0});  // sticks out at both ends: the stubs bound nothing
  edges.push_back({{5, 5}, {5, 12}, 0.0});
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 3u);
  const long lower = arrangement.faceAt({5, 2});
  ASSERT_GE(lower, 0);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(lower)].area, 50.0, 1e-9);
  EXPECT_EQ(arrangement.faces()[static_cast<size_t>(lower)].ring.vertices.size(), 4u)
      << "the pieces of one wall join again";
  const long upperLeft = arrangement.faceAt({2, 8});
  ASSERT_GE(upperLeft, 0);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(upperLeft)].area, 25.0, 1e-9);
  EXPECT_EQ(arrangement.faceAt({5, 11}), -1);
}

TEST(ArrangementTest, IslandsGoToTheSmallestFaceAroundThem) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  addRectangle(edges, 2, 2, 8, 8);
  addCircle(edges, 5, 5, 1);
  const Arrangement arrangement(edges);
  const long outer = arrangement.faceAt({1, 1});
  const long middle = arrangement.faceAt({3, 3});
  const long inner = arrangement.faceAt({5, 5});
  ASSERT_GE(outer, 0);
  ASSERT_GE(middle, 0);
  ASSERT_GE(inner, 0);
  EXPECT_NE(outer, middle);
  EXPECT_EQ(arrangement.faces()[static_cast<size_t>(outer)].islands.size(), 1u);
  EXPECT_EQ(arrangement.faces()[static_cast<size_t>(middle)].islands.size(), 1u);
  EXPECT_TRUE(arrangement.faces()[static_cast<size_t>(inner)].islands.empty());
  const size_t island = arrangement.faces()[static_cast<size_t>(outer)].islands[0];
  EXPECT_NEAR(arrangement.outlines()[island].signedArea(), 36.0, 1e-9)
      << "counter-clockwise, the middle square";
}

TEST(ArrangementTest, LinesDrawnTwiceAndOverlappingCountOnce) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  edges.push_back({{2, 0}, {12, 0}, 0.0});  // overlaps the bottom side, runs past it
  edges.push_back({{10, 10}, {10, 0}, 0.0});
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 1u);
  EXPECT_NEAR(arrangement.faces()[0].area, 100.0, 1e-9);
}

TEST(ArrangementTest, EndStoppingWithinTheToleranceOfAWallJoinsIt) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  edges.push_back({{5, 0}, {5, 10 - 1e-11}, 0.0});
  const Arrangement arrangement(edges);
  EXPECT_EQ(arrangement.faces().size(), 2u);
}

TEST(ArrangementTest, EndStoppingShortOfAWallLeavesItDangling) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  edges.push_back({{5, 0}, {5, 9.99}, 0.0});
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 1u);
  EXPECT_EQ(arrangement.faces()[0].ring.vertices.size(), 4u);
}

TEST(ArrangementTest, LineTouchingACircleKeepsTheCircleWhole) {
  std::vector<PlanEdge> edges;
  addCircle(edges, 0, 0, 1);
  edges.push_back({{-2, 1}, {2, 1}, 0.0});  // tangent at the top
  edges.push_back({{-2, 1}, {-2, -3}, 0.0});
  edges.push_back({{-2, -3}, {2, -3}, 0.0});
  edges.push_back({{2, -3}, {2, 1}, 0.0});
  const Arrangement arrangement(edges);
  const long disc = arrangement.faceAt({0, 0});
  const long around = arrangement.faceAt({1.5, -2});
  ASSERT_GE(disc, 0);
  ASSERT_GE(around, 0);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(disc)].area, kPi, 1e-9);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(around)].area, 16.0 - kPi, 1e-9);
}

TEST(ArrangementTest, CircleTouchingAnotherFromInsideLeavesACrescent) {
  // At the touching point both circles leave in the same direction: only their curvatures
  // tell which lies inside.
  std::vector<PlanEdge> edges;
  addCircle(edges, 0, 0, 2);
  addCircle(edges, 1, 0, 1);
  const Arrangement arrangement(edges);
  const long small = arrangement.faceAt({1, 0});
  const long crescent = arrangement.faceAt({-1, 0});
  ASSERT_GE(small, 0);
  ASSERT_GE(crescent, 0);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(small)].area, kPi, 1e-9);
  EXPECT_NEAR(arrangement.faces()[static_cast<size_t>(crescent)].area, 3.0 * kPi, 1e-9);
  EXPECT_TRUE(arrangement.faces()[static_cast<size_t>(crescent)].islands.empty()) << "one group: no island";
}

TEST(ArrangementTest, CirclesTouchingFromOutsideAreTwoFacesOfOneGroup) {
  std::vector<PlanEdge> edges;
  addCircle(edges, 0, 0, 1);
  addCircle(edges, 3, 0, 2);
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 2u);
  EXPECT_EQ(arrangement.outlines().size(), 1u);
  EXPECT_NEAR(arrangement.outlines()[0].signedArea(), 5.0 * kPi, 1e-9);
}

TEST(ArrangementTest, SelfCrossingBowTieHasTwoFaces) {
  std::vector<PlanEdge> edges{
      {{0, 0}, {2, 2}, 0}, {{2, 2}, {2, 0}, 0}, {{2, 0}, {0, 2}, 0}, {{0, 2}, {0, 0}, 0}};
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 2u);
  EXPECT_NEAR(arrangement.faces()[0].area, 1.0, 1e-12);
  EXPECT_NEAR(arrangement.faces()[1].area, 1.0, 1e-12);
}

TEST(ArrangementTest, NothingClosedHasNoFaces) {
  std::vector<PlanEdge> edges{{{0, 0}, {2, 2}, 0}, {{2, 2}, {4, 0}, 0}, {{1, 1}, {1, 5}, 0.3}};
  const Arrangement arrangement(edges);
  EXPECT_TRUE(arrangement.faces().empty());
  EXPECT_TRUE(arrangement.outlines().empty());
  EXPECT_EQ(arrangement.faceAt({2, 1}), -1);
}

TEST(ArrangementTest, EdgeWithANonFiniteNumberIsLeftOutAndSpoilsNothing) {
  std::vector<PlanEdge> edges;
  addRectangle(edges, 0, 0, 10, 10);
  edges.push_back({{5, 0}, {std::nan(""), 10}, 0.0});
  edges.push_back({{0, 5}, {10, 5}, HUGE_VAL});
  const Arrangement arrangement(edges);
  ASSERT_EQ(arrangement.faces().size(), 1u);
  EXPECT_NEAR(arrangement.faces()[0].area, 100.0, 1e-9);
}

}  // namespace
}  // namespace vtcad::boundary
