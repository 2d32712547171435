// Sketches painted by the renderer: strokes and texts land where they are drawn.
#include <gtest/gtest.h>

#include "zcad/ui/ZcUiSketch.h"

namespace {

int brightPixels(const CImage& picture, int x0, int y0, int x1, int y1) {
  int bright = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) bright += GetGValue(picture.GetPixel(x, y)) > 128 ? 1 : 0;
  }
  return bright;
}

TEST(Sketch, StrokesAndTextsLandWhereTheyAreDrawn) {
  ZcUiSketch sketch;
  sketch.width = 200;
  sketch.height = 100;
  sketch.strokes.push_back({{{10, 10}, {190, 10}}, RGB(255, 255, 255), 2.0});
  sketch.texts.push_back({L"More", {100, 80}, 20, RGB(0, 255, 0)});
  CImage picture;
  ASSERT_TRUE(zcuiPaintSketch(sketch, picture));
  EXPECT_EQ(picture.GetWidth(), 200);
  EXPECT_EQ(picture.GetHeight(), 100);
  EXPECT_GT(brightPixels(picture, 10, 8, 190, 13), 300) << "the line";
  EXPECT_GT(brightPixels(picture, 60, 55, 140, 82), 40) << "the text above its baseline";
  EXPECT_EQ(brightPixels(picture, 0, 20, 200, 50), 0) << "the black between";
}

TEST(Sketch, ASizeBeyondThePictureBudgetIsRefused) {
  ZcUiSketch sketch;
  sketch.width = 200000;
  sketch.height = 200000;
  CImage picture;
  EXPECT_FALSE(zcuiPaintSketch(sketch, picture));
  EXPECT_TRUE(picture.IsNull());
  sketch.width = 0;
  EXPECT_FALSE(zcuiPaintSketch(sketch, picture));
}

}  // namespace
