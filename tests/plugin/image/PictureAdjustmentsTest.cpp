// The picture passes of the hole net and the vectorizer, on their documented points and over
// many random colours.
#include <random>

#include "image/PictureAdjustments.h"
#include "plugin/image/ImageTestSupport.h"

namespace veltrace::testing {
namespace {

COLORREF adjusted(COLORREF colour, const std::function<void(CImage&)>& pass) {
  CImage picture = drawnPicture(1, 1, [colour](int, int) { return colour; });
  pass(picture);
  return picture.GetPixel(0, 0);
}

TEST(PictureAdjustmentsTest, ContrastAndBrightnessFactorsOfTheSliderPositions) {
  // Position 49: (c - 128) · 49.5 + 128; 50: · 1.5; 100: · 3.
  EXPECT_EQ(adjusted(RGB(129, 127, 128), [](CImage& p) { applyContrast(p, 49); }), RGB(177, 78, 128));
  EXPECT_EQ(adjusted(RGB(138, 118, 128), [](CImage& p) { applyContrast(p, 50); }), RGB(143, 113, 128));
  EXPECT_EQ(adjusted(RGB(138, 118, 0), [](CImage& p) { applyContrast(p, 100); }), RGB(158, 98, 0));
  // Brightness 49 scales by 0.49, 50 leaves the picture alone, 100 doubles (clamped).
  EXPECT_EQ(adjusted(RGB(100, 200, 0), [](CImage& p) { applyBrightness(p, 49); }), RGB(49, 98, 0));
  EXPECT_EQ(adjusted(RGB(100, 200, 7), [](CImage& p) { applyBrightness(p, 50); }), RGB(100, 200, 7));
  EXPECT_EQ(adjusted(RGB(100, 200, 7), [](CImage& p) { applyBrightness(p, 100); }), RGB(200, 255, 14));
}

TEST(PictureAdjustmentsTest, ThresholdIsLimitedToFiveAndTwoHundredFifty) {
  EXPECT_EQ(adjusted(RGB(5, 5, 5), [](CImage& p) { applyThreshold(p, 1); }), RGB(0, 0, 0));
  EXPECT_EQ(adjusted(RGB(4, 5, 5), [](CImage& p) { applyThreshold(p, 1); }), RGB(255, 255, 255));
  EXPECT_EQ(adjusted(RGB(250, 250, 250), [](CImage& p) { applyThreshold(p, 254); }), RGB(0, 0, 0));
  EXPECT_EQ(adjusted(RGB(250, 250, 249), [](CImage& p) { applyThreshold(p, 254); }), RGB(255, 255, 255));
}

TEST(PictureAdjustmentsTest, EightBitPicturesGoThroughTheirColours) {
  CImage grey;
  ASSERT_TRUE(grey.Create(2, 1, 8));  // a grey ramp table
  grey.SetPixel(0, 0, RGB(200, 200, 200));
  applyThreshold(grey, 128);
  EXPECT_EQ(grey.GetPixel(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(grey.GetPixel(1, 0), RGB(255, 255, 255));
}

// One hue step (q = 1): every colour comes out red or grey, with values in steps of 0.85.
TEST(PictureAdjustmentsTest, OneGradientStepLeavesOnlyRedOrGrey) {
  std::mt19937 random(18);
  std::uniform_int_distribution<int> channel(0, 255);
  for (int i = 0; i < 2000; ++i) {
    const int r = channel(random), g = channel(random), b = channel(random);
    const Colour c = quantizeColor(r, g, b, 1);
    const bool grey = c.red == c.green && c.green == c.blue;
    const bool red = c.green == c.blue && c.red >= c.green;
    EXPECT_TRUE(grey || red) << r << " " << g << " " << b;
    EXPECT_TRUE(c.red == 0 || c.red == 216 || c.red == 255) << r << " " << g << " " << b << " -> " << c.red;
  }
}

TEST(PictureAdjustmentsTest, GradientLeavesTheOuterRingAlone) {
  CImage picture = drawnPicture(4, 4, [](int, int) { return RGB(30, 200, 90); });
  applyColorGradient(picture, 3);
  EXPECT_EQ(picture.GetPixel(0, 0), RGB(30, 200, 90));
  EXPECT_EQ(picture.GetPixel(3, 2), RGB(30, 200, 90));
  const Colour inner = quantizeColor(30, 200, 90, 3);
  EXPECT_EQ(picture.GetPixel(1, 1),
            RGB(static_cast<BYTE>(inner.red), static_cast<BYTE>(inner.green), static_cast<BYTE>(inner.blue)));
  // Three steps: a = 33, v = 37, e = 120; the value may exceed 1 before it is limited.
  EXPECT_EQ(quantizeColor(255, 255, 255, 3), (Colour{255, 255, 255}));
}

}  // namespace
}  // namespace veltrace::testing
