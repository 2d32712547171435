#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <vector>

#include "outline/RegionLabelling.h"

namespace veltrace {
namespace {

// A picture of member (true) and other pixels, rows from the top.
using Mask = std::vector<std::vector<bool>>;

int label(const Mask& mask, LabelGrid& grid) {
  const int height = static_cast<int>(mask.size());
  const int width = height ? static_cast<int>(mask[0].size()) : 0;
  grid = LabelGrid(width, height);
  return labelRegions(
      grid, [&](int x, int y) { return mask[y][x]; }, [](int, int, int, int) { return true; });
}

// The joining rule written out as links, flooded breadth first; regions numbered by their
// first pixel in row-major order.
std::vector<std::vector<int>> referenceLabels(const Mask& mask, int& regions) {
  const int height = static_cast<int>(mask.size());
  const int width = static_cast<int>(mask[0].size());
  auto member = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height && mask[y][x]; };
  std::vector<std::vector<std::pair<int, int>>> links(static_cast<std::size_t>(width * height));
  auto link = [&](int x, int y, int nx, int ny) {
    links[y * width + x].push_back({nx, ny});
    links[ny * width + nx].push_back({x, y});
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!member(x, y)) continue;
      const bool up = member(x, y - 1);
      const bool left = member(x - 1, y);
      if (up) link(x, y, x, y - 1);
      if (left) link(x, y, x - 1, y);
      if (!up && !left && x > 0 && member(x + 1, y - 1)) link(x, y, x + 1, y - 1);
    }
  }
  std::vector<std::vector<int>> labels(height, std::vector<int>(width, 0));
  regions = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!member(x, y) || labels[y][x]) continue;
      ++regions;
      std::queue<std::pair<int, int>> todo;
      todo.push({x, y});
      labels[y][x] = regions;
      while (!todo.empty()) {
        auto [cx, cy] = todo.front();
        todo.pop();
        for (auto [nx, ny] : links[cy * width + cx]) {
          if (!labels[ny][nx]) {
            labels[ny][nx] = regions;
            todo.push({nx, ny});
          }
        }
      }
    }
  }
  return labels;
}

TEST(RegionLabelling, AgreesWithAFloodFillOfTheSameRuleOnRandomPictures) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    const int width = 1 + static_cast<int>(random() % 40);
    const int height = 1 + static_cast<int>(random() % 40);
    const double density = std::uniform_real_distribution<double>(0.2, 0.9)(random);
    Mask mask(height, std::vector<bool>(width));
    for (auto& row : mask)
      for (std::size_t x = 0; x < row.size(); ++x)
        row[x] = std::uniform_real_distribution<double>()(random) < density;
    LabelGrid grid;
    const int n = label(mask, grid);
    int regions = 0;
    const auto expected = referenceLabels(mask, regions);
    ASSERT_EQ(n, regions + 1) << "round " << round;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) ASSERT_EQ(grid.pixel(x, y), expected[y][x]) << "round " << round;
    for (int column = 0; column < grid.columns(); ++column) {
      ASSERT_EQ(grid.at(column, 0), kBorderLabel);
      ASSERT_EQ(grid.at(column, grid.rows() - 1), kBorderLabel);
    }
  }
}

// Pictures of a few hundred thousand pixels are labelled in two bands at once: the bands'
// seam must join exactly what one pass would, and keep the numbering.
TEST(RegionLabelling, RunByRunGivesTheSameLabelsAsPixelByPixel) {
  std::mt19937 random(9);
  for (int round = 0; round < 412; ++round) {
    const bool large = round >= 400;
    const int width = large ? 500 + static_cast<int>(random() % 300) : 1 + static_cast<int>(random() % 50);
    const int height = large ? 530 + static_cast<int>(random() % 100) : 1 + static_cast<int>(random() % 50);
    const double density = std::uniform_real_distribution<double>(0.1, 0.95)(random);
    Mask mask(height, std::vector<bool>(width));
    for (auto& row : mask)
      for (std::size_t x = 0; x < row.size(); ++x)
        row[x] = std::uniform_real_distribution<double>()(random) < density;
    LabelGrid pixels;
    const int n = label(mask, pixels);
    LabelGrid runs(width, height);
    const int m = labelMemberRuns(runs, [&](int y, std::uint8_t* row) {
      for (int x = 0; x < width; ++x) row[x] = mask[y][x] ? 1 : 0;
    });
    ASSERT_EQ(m, n) << "round " << round;
    for (int row = 0; row < pixels.rows(); ++row)
      for (int column = 0; column < pixels.columns(); ++column)
        ASSERT_EQ(runs.at(column, row), pixels.at(column, row)) << "round " << round;
  }
}

TEST(RegionLabelling, LabelsNeverWrapPastSixteenBits) {
  // Isolated pixels on a 600 × 600 picture: 90 000 regions, more than 16-bit labels hold.
  Mask mask(600, std::vector<bool>(600, false));
  for (int y = 0; y < 600; y += 2)
    for (int x = 0; x < 600; x += 2) mask[y][x] = true;
  LabelGrid grid;
  EXPECT_EQ(label(mask, grid), 90'000 + 1);
  EXPECT_EQ(grid.pixel(598, 598), 90'000);
  EXPECT_EQ(grid.pixel(0, 0), 1);
}

TEST(RegionLabelling, ACombOfSixtyThousandTeethIsOneRegion) {
  // Each tooth starts a label of its own and meets the others only in the bottom row: more
  // merges than a bounded merge pass would make.
  const int teeth = 60'000;
  Mask mask(3, std::vector<bool>(2 * teeth, true));
  for (int x = 1; x < 2 * teeth; x += 2) mask[0][x] = mask[1][x] = false;
  LabelGrid grid;
  EXPECT_EQ(label(mask, grid), 2);
  EXPECT_EQ(grid.pixel(2 * teeth - 2, 0), 1);
}

TEST(RegionLabelling, APictureWithoutDrawnPixelsKeepsRegionOne) {
  Mask mask(5, std::vector<bool>(7, true));
  LabelGrid grid;
  EXPECT_EQ(label(mask, grid), 2);  // label 0 is always counted
  EXPECT_EQ(grid.pixel(6, 4), 1);
  Mask none(4, std::vector<bool>(4, false));
  EXPECT_EQ(label(none, grid), 1);
}

}  // namespace
}  // namespace veltrace
