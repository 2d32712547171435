// Stretching: area averaging keeps the mean colour, nearest-pixel stretching copies pixels.
#include <gtest/gtest.h>

#include <random>

#include "platform/ImageStretch.h"
#include "zcad/platform/zcimage.h"

using namespace vtcad::platform;

namespace {

void fillRandom(CImage& image, std::mt19937& random) {
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      image.SetPixel(
          x, y, RGB(static_cast<BYTE>(random()), static_cast<BYTE>(random()), static_cast<BYTE>(random())));
    }
  }
}

double meanRed(const CImage& image) {
  double sum = 0;
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) sum += GetRValue(image.GetPixel(x, y));
  }
  return sum / (image.GetWidth() * image.GetHeight());
}

}  // namespace

TEST(ImageStretch, AveragingKeepsTheMeanColourAtAnyScale) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::uniform_int_distribution<int> side(1, 40);
    CImage source, target;
    ASSERT_TRUE(source.Create(side(random), side(random), round % 2 ? 24 : 32));
    ASSERT_TRUE(target.Create(side(random), side(random), 24));
    fillRandom(source, random);
    ASSERT_TRUE(source.StretchBlt(target, 0, 0, target.GetWidth(), target.GetHeight(), HALFTONE));
    // Each target pixel is rounded to a whole value: the means differ by at most half a step.
    EXPECT_NEAR(meanRed(target), meanRed(source), 0.5 + 1e-9)
        << source.GetWidth() << "x" << source.GetHeight() << " -> " << target.GetWidth() << "x"
        << target.GetHeight();
  }
}

TEST(ImageStretch, NearestPixelEnlargesByWholeFactorsIntoBlocksAndClipsToTheTarget) {
  std::mt19937 random(11);
  CImage source, target;
  ASSERT_TRUE(source.Create(5, 4, 24));
  ASSERT_TRUE(target.Create(12, 10, 24));
  fillRandom(source, random);
  // 15 × 12 at (-3, 2): three times larger, its left column and bottom rows outside the target.
  ASSERT_TRUE(source.StretchBlt(target, -3, 2, 15, 12, COLORONCOLOR));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 12; ++x) {
      COLORREF want = y < 2 ? 0 : source.GetPixel((x + 3) / 3, (y - 2) / 3);
      EXPECT_EQ(target.GetPixel(x, y), want) << x << "," << y;
    }
  }
  EXPECT_FALSE(source.StretchBlt(target, 0, 0, 0, 5));
  CImage empty;
  EXPECT_FALSE(empty.StretchBlt(target, 0, 0, 5, 5));
}

TEST(ImageStretch, AnIndexedTargetTakesTheNearestColourOfItsTable) {
  CImage source, target;
  ASSERT_TRUE(source.Create(2, 1, 24));
  source.SetPixel(0, 0, RGB(250, 250, 250));
  source.SetPixel(1, 0, RGB(10, 10, 10));
  ASSERT_TRUE(target.Create(4, 1, 1));  // black and white
  ASSERT_TRUE(source.StretchBlt(target, 0, 0, 4, 1, HALFTONE));
  EXPECT_EQ(target.GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(target.GetPixel(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(target.GetPixel(2, 0), RGB(0, 0, 0));
}
