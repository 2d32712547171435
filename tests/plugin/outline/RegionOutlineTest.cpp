#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "outline/RegionLabelling.h"
#include "outline/RegionOutline.h"

namespace veltrace {
namespace {

TEST(RegionOutline, AFilledRectangleIsFollowedClockwiseAlongItsBorder) {
  // Drawn pixels (label 0) fill columns 3 ... 6, rows 2 ... 4 of a 10 × 8 picture.
  LabelGrid grid(10, 8);
  labelRegions(
      grid, [](int x, int y) { return !(x >= 3 && x <= 6 && y >= 2 && y <= 4); },
      [](int, int, int, int) { return true; });
  const auto contour = traceRegionOutline(kDrawnLabel, grid);
  const std::vector<PixelPoint> expected = {{3, 2}, {4, 2}, {5, 2}, {6, 2}, {6, 3},
                                            {6, 4}, {5, 4}, {4, 4}, {3, 4}, {3, 3}};
  EXPECT_EQ(contour, expected);
}

TEST(RegionOutline, ContoursOfRandomBlobsStayOnTheBorderOfTheirRegion) {
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    const int width = 32 + static_cast<int>(random() % 40);
    const int height = 32 + static_cast<int>(random() % 40);
    // A blob: pixels within a wobbly radius of the middle are drawn, clear of the outer ring
    // (whose cells are followed but not listed).
    const double radius =
        std::min(width, height) * std::uniform_real_distribution<double>(0.15, 0.35)(random);
    const double wobble = std::uniform_real_distribution<double>(0.0, 0.25)(random);
    LabelGrid grid(width, height);
    labelRegions(
        grid,
        [&](int x, int y) {
          const double dx = x - width / 2.0, dy = y - height / 2.0;
          const double r = radius * (1.0 + wobble * std::sin(5.0 * std::atan2(dy, dx)));
          return dx * dx + dy * dy > r * r;
        },
        [](int, int, int, int) { return true; });
    const auto contour = traceRegionOutline(kDrawnLabel, grid);
    ASSERT_FALSE(contour.empty()) << "round " << round;
    for (std::size_t i = 0; i < contour.size(); ++i) {
      const PixelPoint p = contour[i];
      ASSERT_EQ(grid.pixel(p.x, p.y), kDrawnLabel);
      bool touchesOutside = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) touchesOutside |= grid.pixel(p.x + dx, p.y + dy) != kDrawnLabel;
      ASSERT_TRUE(touchesOutside) << "round " << round;
      if (i > 0) {
        ASSERT_LE(std::abs(p.x - contour[i - 1].x), 1);
        ASSERT_LE(std::abs(p.y - contour[i - 1].y), 1);
      }
    }
  }
}

TEST(RegionOutline, AnIsolatedPixelEndsAtOnce) {
  LabelGrid grid(9, 9);
  labelRegions(
      grid, [](int x, int y) { return !(x == 4 && y == 4); }, [](int, int, int, int) { return true; });
  EXPECT_EQ(traceRegionOutline(kDrawnLabel, grid), (std::vector<PixelPoint>{{4, 4}}));
  EXPECT_TRUE(traceRegionOutline(/*label=*/7, grid).empty());
}

// Tracing every region of a labelled noise picture from the first cells found in one pass gives
// the outlines that a scan per region gives.
TEST(RegionOutline, TracedFromTheFirstCellsOfOnePassAsFromAScanPerRegion) {
  std::mt19937 random(11);
  for (int round = 0; round < 50; ++round) {
    const int width = 8 + static_cast<int>(random() % 40);
    const int height = 8 + static_cast<int>(random() % 40);
    std::vector<int> colour(static_cast<std::size_t>(width * height));
    for (int& c : colour) c = static_cast<int>(random() % 3);
    LabelGrid grid(width, height);
    const int count = labelRegions(
        grid, [](int, int) { return true; },
        [&](int x, int y, int nx, int ny) { return colour[y * width + x] == colour[ny * width + nx]; });
    const std::vector<GridPoint> first = firstCellsOfLabels(grid, count + 1);
    EXPECT_EQ(first[static_cast<std::size_t>(count)], (GridPoint{-1, -1}));
    for (int label = 0; label < count; ++label) {
      EXPECT_EQ(traceRegionOutlineFrom(static_cast<RegionLabel>(label), grid,
                                       first[static_cast<std::size_t>(label)]),
                traceRegionOutline(static_cast<RegionLabel>(label), grid))
          << round << " " << label;
    }
  }
}

}  // namespace
}  // namespace veltrace
