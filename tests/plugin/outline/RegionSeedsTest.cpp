#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "outline/RegionLabelling.h"
#include "outline/RegionSeeds.h"

namespace veltrace {
namespace {

using Mask = std::vector<std::vector<bool>>;  // true: background

int label(const Mask& mask, LabelGrid& grid) {
  grid = LabelGrid(static_cast<int>(mask[0].size()), static_cast<int>(mask.size()));
  return labelRegions(
      grid, [&](int x, int y) { return mask[y][x]; }, [](int, int, int, int) { return true; });
}

// A background of `width` × `height` with the outlines of squares (left, top, size) drawn.
Mask squares(int width, int height, std::initializer_list<std::array<int, 3>> outlines) {
  Mask mask(height, std::vector<bool>(width, true));
  for (const auto& [left, top, size] : outlines) {
    for (int i = 0; i < size; ++i) {
      mask[top][left + i] = mask[top + size - 1][left + i] = false;
      mask[top + i][left] = mask[top + i][left + size - 1] = false;
    }
  }
  return mask;
}

TEST(RegionSeeds, ASquareInTheMiddleHasItsSeedAtItsCentre) {
  LabelGrid grid;
  const int n = label(squares(41, 41, {{10, 10, 21}}), grid);
  ASSERT_EQ(n, 3);
  const auto seeds = regionSeeds(n, grid);
  ASSERT_EQ(seeds.size(), 2u);
  EXPECT_EQ(grid.at(seeds[0].column, seeds[0].row), 1);  // the open space, first
  EXPECT_EQ(seeds[1], (GridPoint{21, 21}));              // pixel (20, 20), the square's centre
}

TEST(RegionSeeds, ARingWhoseCentreFallsInItsHoleGetsTheMiddleOfItsNearerSide) {
  // Nested squares: the region between them has its centre of mass inside the inner square.
  LabelGrid grid;
  const int n = label(squares(61, 61, {{5, 5, 51}, {20, 20, 21}}), grid);
  ASSERT_EQ(n, 4);
  const auto seeds = regionSeeds(n, grid);
  const RegionLabel ring = grid.pixel(10, 30);
  const GridPoint seed = seeds[static_cast<std::size_t>(ring - 1)];
  EXPECT_EQ(grid.at(seed.column, seed.row), ring);
  // Along the centre's row to the right: the ring's cells are pixels 41 ... 54.
  EXPECT_EQ(seed.row, 31);
  EXPECT_EQ(seed.column, 42 + 14 / 2);
}

TEST(RegionSeeds, EverySeedLiesInItsOwnRegionOnRandomPictures) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const int width = 2 + static_cast<int>(random() % 60);
    const int height = 2 + static_cast<int>(random() % 60);
    Mask mask(height, std::vector<bool>(width));
    const double density = std::uniform_real_distribution<double>(0.3, 0.8)(random);
    for (auto& row : mask)
      for (std::size_t x = 0; x < row.size(); ++x)
        row[x] = std::uniform_real_distribution<double>()(random) < density;
    LabelGrid grid;
    const int n = label(mask, grid);
    const auto seeds = regionSeeds(n, grid);
    ASSERT_EQ(static_cast<int>(seeds.size()), std::max(n - 1, 0));
    for (int region = 1; region < n; ++region) {
      const GridPoint seed = seeds[static_cast<std::size_t>(region - 1)];
      ASSERT_EQ(grid.at(seed.column, seed.row), region) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace veltrace
