// findBoundary over many random drawings: the region it answers is checked against the
// region worked out another way (a flood fill over the grid the rectangles make), and a
// region of circles against which circles hold its points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "boundary/BoundaryFinder.h"

namespace vtcad::boundary {
namespace {

struct Rect {
  int x0, y0, x1, y1;
};

// The drawing of the grid's rectangles: whole numbers, or placed by x -> offset + scale x.
struct Placement {
  double offset = 0.0;
  double scale = 1.0;
  ZcGePoint2d at(double x, double y) const { return {offset + scale * x, offset + scale * y}; }
};

void addRect(std::vector<PlanEdge>& edges, const Rect& r, const Placement& place = {}) {
  const ZcGePoint2d a = place.at(r.x0, r.y0), b = place.at(r.x1, r.y0), c = place.at(r.x1, r.y1),
                    d = place.at(r.x0, r.y1);
  edges.push_back({a, b, 0.0});
  edges.push_back({b, c, 0.0});
  edges.push_back({c, d, 0.0});
  edges.push_back({d, a, 0.0});
}

// The area of the region around `p` among the rectangles' sides, by a flood fill over the
// cells of the grid their coordinates make; -1 when the region is unbounded.
double floodArea(const std::vector<Rect>& rects, const ZcGePoint2d& p) {
  std::vector<int> xs, ys;
  for (const Rect& r : rects) {
    xs.insert(xs.end(), {r.x0, r.x1});
    ys.insert(ys.end(), {r.y0, r.y1});
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  const int nx = static_cast<int>(xs.size()) - 1, ny = static_cast<int>(ys.size()) - 1;
  if (p.x < xs.front() || p.x > xs.back() || p.y < ys.front() || p.y > ys.back()) return -1.0;
  const int ci = static_cast<int>(std::upper_bound(xs.begin(), xs.end(), p.x) - xs.begin()) - 1;
  const int cj = static_cast<int>(std::upper_bound(ys.begin(), ys.end(), p.y) - ys.begin()) - 1;
  // A wall on the line x = xs[i] beside cell row j, or on y = ys[j] beside column i.
  const auto verticalWall = [&](int i, int j) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) {
      return (r.x0 == xs[static_cast<size_t>(i)] || r.x1 == xs[static_cast<size_t>(i)]) &&
             r.y0 <= ys[static_cast<size_t>(j)] && r.y1 >= ys[static_cast<size_t>(j + 1)];
    });
  };
  const auto horizontalWall = [&](int i, int j) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) {
      return (r.y0 == ys[static_cast<size_t>(j)] || r.y1 == ys[static_cast<size_t>(j)]) &&
             r.x0 <= xs[static_cast<size_t>(i)] && r.x1 >= xs[static_cast<size_t>(i + 1)];
    });
  };
  std::set<std::pair<int, int>> seen{{ci, cj}};
  std::vector<std::pair<int, int>> todo{{ci, cj}};
  double area = 0.0;
  while (!todo.empty()) {
    const auto [i, j] = todo.back();
    todo.pop_back();
    area += double(xs[static_cast<size_t>(i + 1)] - xs[static_cast<size_t>(i)]) *
            (ys[static_cast<size_t>(j + 1)] - ys[static_cast<size_t>(j)]);
    const struct {
      int di, dj;
      bool open;
    } moves[4] = {{-1, 0, !verticalWall(i, j)},
                  {1, 0, !verticalWall(i + 1, j)},
                  {0, -1, !horizontalWall(i, j)},
                  {0, 1, !horizontalWall(i, j + 1)}};
    for (const auto& move : moves) {
      if (!move.open) continue;
      const int ni = i + move.di, nj = j + move.dj;
      if (ni < 0 || nj < 0 || ni >= nx || nj >= ny) return -1.0;  // out of the grid: unbounded
      if (seen.insert({ni, nj}).second) todo.push_back({ni, nj});
    }
  }
  return area;
}

class RandomRectangles : public ::testing::TestWithParam<Placement> {};

// Far from the origin and at a small scale, the coordinates are no longer whole numbers and
// the tolerance has rounding to absorb.
INSTANTIATE_TEST_SUITE_P(Placements, RandomRectangles,
                         ::testing::Values(Placement{}, Placement{.offset = 1e5, .scale = 0.1},
                                           Placement{.offset = -3.3e3, .scale = 1e-3}));

TEST_P(RandomRectangles, GiveTheFloodFilledRegion) {
  const Placement place = GetParam();
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> coordinate(0, 12), count(1, 7), offset(-1, 13);
  int found = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<Rect> rects;
    std::vector<PlanEdge> edges;
    for (int k = count(random); k > 0; --k) {
      int x0 = coordinate(random), x1 = coordinate(random), y0 = coordinate(random), y1 = coordinate(random);
      if (x0 == x1) ++x1;
      if (y0 == y1) ++y1;
      rects.push_back({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)});
      addRect(edges, rects.back(), place);
    }
    const Arrangement arrangement(edges);
    for (int pick = 0; pick < 5; ++pick) {
      // Never on a side: the sides lie on whole numbers.
      const ZcGePoint2d grid(offset(random) + 0.37, offset(random) + 0.61);
      const double expected = floodArea(rects, grid) * place.scale * place.scale;
      const ZcGePoint2d p = place.at(grid.x, grid.y);
      const BoundaryResult result = findBoundary(arrangement, p, IslandMode::kDetect);
      SCOPED_TRACE(::testing::Message() << "trial " << trial << " at " << p.x << "," << p.y);
      if (expected < 0.0) {
        EXPECT_EQ(result.status, BoundaryResult::Status::kNotEnclosed);
        continue;
      }
      ASSERT_EQ(result.status, BoundaryResult::Status::kFound);
      ++found;
      EXPECT_TRUE(result.rings[0].contains(p));
      double area = result.rings[0].signedArea();
      for (size_t i = 1; i < result.rings.size(); ++i) {
        EXPECT_FALSE(result.rings[i].contains(p)) << "the pick is not inside an island";
        EXPECT_GT(result.rings[i].signedArea(), 0.0) << "islands run counter-clockwise too";
        area -= result.rings[i].signedArea();
      }
      EXPECT_NEAR(area, expected, 1e-9 * std::max(1.0, expected));
      // Without islands, only the outer ring.
      EXPECT_EQ(findBoundary(arrangement, p, IslandMode::kIgnore).rings.size(), 1u);
    }
  }
  EXPECT_GT(found, 200) << "the picks should mostly land in regions";
}

TEST(BoundaryFinderTest, RandomCirclesRegionHoldsOnlyPointsWithThePicksCircles) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> place(0.0, 10.0), size(0.5, 4.0);
  constexpr double kPi = 3.14159265358979323846;
  for (int trial = 0; trial < 200; ++trial) {
    struct Circle {
      double x, y, r;
    };
    std::vector<Circle> circles;
    std::vector<PlanEdge> edges;
    for (int k = 0; k < 5; ++k) {
      const Circle c{place(random), place(random), size(random)};
      circles.push_back(c);
      edges.push_back({{c.x + c.r, c.y}, {c.x - c.r, c.y}, 1.0});
      edges.push_back({{c.x - c.r, c.y}, {c.x + c.r, c.y}, 1.0});
    }
    // Which circles hold a point: the region's points all share the pick's answer.
    const auto signature = [&](const ZcGePoint2d& q) {
      std::vector<bool> in;
      for (const Circle& c : circles) in.push_back(std::hypot(q.x - c.x, q.y - c.y) < c.r);
      return in;
    };
    const Arrangement arrangement(edges);
    const ZcGePoint2d p(place(random), place(random));
    const BoundaryResult result = findBoundary(arrangement, p, IslandMode::kDetect);
    const std::vector<bool> atPick = signature(p);
    const bool inSome = std::find(atPick.begin(), atPick.end(), true) != atPick.end();
    SCOPED_TRACE(::testing::Message() << "trial " << trial);
    ASSERT_EQ(result.status == BoundaryResult::Status::kFound, inSome);
    if (!inSome) continue;
    const auto inRegion = [&](const ZcGePoint2d& q) {
      if (!result.rings[0].contains(q)) return false;
      for (size_t i = 1; i < result.rings.size(); ++i)
        if (result.rings[i].contains(q)) return false;
      return true;
    };
    EXPECT_TRUE(inRegion(p));
    double area = result.rings[0].signedArea();
    for (size_t i = 1; i < result.rings.size(); ++i) area -= result.rings[i].signedArea();
    EXPECT_GT(area, 0.0);
    double smallest = 1e300;
    for (size_t k = 0; k < circles.size(); ++k)
      if (atPick[k]) smallest = std::min(smallest, kPi * circles[k].r * circles[k].r);
    EXPECT_LE(area, smallest * (1 + 1e-12)) << "the region lies in every circle around the pick";
    for (int sample = 0; sample < 200; ++sample) {
      const ZcGePoint2d q(place(random) * 1.4 - 2.0, place(random) * 1.4 - 2.0);
      if (inRegion(q)) {
        EXPECT_EQ(signature(q), atPick) << "at " << q.x << "," << q.y;
      }
    }
  }
}

TEST(BoundaryFinderTest, FloorPlanRoomsWithDoorSwingsEachGetTheirOwnArea) {
  // 4 x 4 rooms of 5 x 4; each inner wall below a room has a door from x + 1 to x + 2, its
  // leaf standing into the room above and its quarter-circle swing closing the gap (every
  // third door a straight line instead). The room below takes in the swing's quarter disc,
  // the room above loses it.
  constexpr int kRooms = 4;
  constexpr double kPi = 3.14159265358979323846, w = 5.0, h = 4.0;
  std::vector<PlanEdge> edges;
  const auto door = [](int i, int j) { return j > 0 && j < kRooms && (i + j) % 3 != 0; };
  for (int i = 0; i <= kRooms; ++i)
    for (int j = 0; j < kRooms; ++j) edges.push_back({{i * w, j * h}, {i * w, (j + 1) * h}, 0.0});
  for (int j = 0; j <= kRooms; ++j) {
    for (int i = 0; i < kRooms; ++i) {
      const double x = i * w, y = j * h;
      if (j == 0 || j == kRooms) {
        edges.push_back({{x, y}, {x + w, y}, 0.0});
        continue;
      }
      edges.push_back({{x, y}, {x + 1, y}, 0.0});
      edges.push_back({{x + 2, y}, {x + w, y}, 0.0});
      if (!door(i, j)) {
        edges.push_back({{x + 1, y}, {x + 2, y}, 0.0});
      } else {
        edges.push_back({{x + 1, y}, {x + 1, y + 1}, 0.0});
        edges.push_back({{x + 2, y}, {x + 1, y + 1}, std::tan(kPi / 8.0)});  // the swing, counter-clockwise
      }
    }
  }
  const Arrangement arrangement(edges);
  EXPECT_EQ(arrangement.faces().size(), static_cast<size_t>(kRooms * kRooms));
  for (int i = 0; i < kRooms; ++i) {
    for (int j = 0; j < kRooms; ++j) {
      double expected = w * h;
      if (door(i, j + 1)) expected += kPi / 4.0;
      if (door(i, j)) expected -= kPi / 4.0;
      const BoundaryResult room = findBoundary(arrangement, {i * w + 2.5, j * h + 2.0}, IslandMode::kDetect);
      ASSERT_EQ(room.status, BoundaryResult::Status::kFound) << i << "," << j;
      ASSERT_EQ(room.rings.size(), 1u);
      EXPECT_NEAR(room.rings[0].signedArea(), expected, 1e-9) << i << "," << j;
    }
  }
}

TEST(BoundaryFinderTest, PointInAnIslandsOwnRegionGetsThatRegion) {
  std::vector<PlanEdge> edges;
  addRect(edges, {0, 0, 10, 10});
  addRect(edges, {2, 2, 4, 4});
  addRect(edges, {6, 6, 8, 8});
  const BoundaryResult outer = findBoundary(edges, {1, 1}, IslandMode::kDetect);
  ASSERT_EQ(outer.rings.size(), 3u);
  EXPECT_NEAR(outer.rings[0].signedArea(), 100.0, 1e-9);
  const BoundaryResult island = findBoundary(edges, {3, 3}, IslandMode::kDetect);
  ASSERT_EQ(island.rings.size(), 1u);
  EXPECT_NEAR(island.rings[0].signedArea(), 4.0, 1e-9);
}

}  // namespace
}  // namespace vtcad::boundary
