#include <gtest/gtest.h>

#include "outline/BackgroundRegions.h"
#include "outline/RegionSeeds.h"

namespace veltrace {
namespace {

// A black picture with a white square outline and a faint grey line through it.
void draw(CImage& picture) {
  for (int x = 0; x < 41; ++x) picture.SetPixel(x, 20, RGB(30, 30, 30));
  for (int i = 10; i <= 30; ++i) {
    picture.SetPixel(i, 10, RGB(255, 255, 255));
    picture.SetPixel(i, 30, RGB(255, 255, 255));
    picture.SetPixel(10, i, RGB(255, 255, 255));
    picture.SetPixel(30, i, RGB(255, 255, 255));
  }
}

TEST(BackgroundRegions, FaintLinesAreBackgroundAtEveryDepth) {
  for (int depth : {8, 24, 32}) {
    CImage picture;
    ASSERT_TRUE(picture.Create(41, 41, depth)) << depth;
    draw(picture);
    LabelGrid grid;
    // The grey line is within 32 of black: it splits nothing. Outside and inside the square.
    const int n = labelBackgroundRegions(Rgb{0, 0, 0}, picture, grid);
    EXPECT_EQ(n, 3) << depth;
    EXPECT_EQ(grid.pixel(0, 0), 1);
    EXPECT_EQ(grid.pixel(10, 10), kDrawnLabel);
    EXPECT_EQ(grid.pixel(20, 20), 2);
    EXPECT_EQ(regionSeeds(n, grid).back(), (GridPoint{21, 21})) << depth;
  }
}

}  // namespace
}  // namespace veltrace
