#include "StepBitmaps.h"

#include <climits>

#include "zcad/platform/zcimage.h"

namespace vtcad::tracer {

namespace {
constexpr int kWordBits = static_cast<int>(sizeof(potrace_word) * CHAR_BIT);
}

StepBitmap::StepBitmap(int width, int height) {
  bitmap_.w = width;
  bitmap_.h = height;
  bitmap_.dy = (width + kWordBits - 1) / kWordBits;
  words_.assign(static_cast<std::size_t>(bitmap_.dy) * static_cast<std::size_t>(height), 0);
  bitmap_.map = words_.data();
}

void StepBitmap::set(int x, int row) {
  potrace_word& word = words_[static_cast<std::size_t>(row) * static_cast<std::size_t>(bitmap_.dy) +
                              static_cast<std::size_t>(x / kWordBits)];
  word |= potrace_word{1} << (kWordBits - 1 - x % kWordBits);
}

int greyStep(int red, int green, int blue, int steps) {
  // 0 ... 255 * 1000.
  const int luminance = 299 * red + 587 * green + 114 * blue;
  const int step = luminance * steps / (256 * 1000);
  return step < steps ? step : steps - 1;
}

GreySteps greySteps(const CImage& picture, int steps) {
  GreySteps grey;
  grey.width = picture.GetWidth();
  grey.height = picture.GetHeight();
  grey.steps.resize(static_cast<std::size_t>(grey.width) * static_cast<std::size_t>(grey.height));
  const int bpp = picture.GetBPP();
  const bool alpha = picture.HasAlphaChannel();
  for (int y = 0; y < grey.height; ++y) {
    for (int x = 0; x < grey.width; ++x) {
      int red = 0;
      int green = 0;
      int blue = 0;
      if (bpp == 24 || bpp == 32) {
        const auto* bytes = static_cast<const BYTE*>(picture.GetPixelAddress(x, y));
        blue = bytes[0];
        green = bytes[1];
        red = bytes[2];
        if (alpha) {
          const int a = bytes[3];
          red = (red * a + 255 * (255 - a)) / 255;
          green = (green * a + 255 * (255 - a)) / 255;
          blue = (blue * a + 255 * (255 - a)) / 255;
        }
      } else {
        const COLORREF colour = picture.GetPixel(x, y);
        red = GetRValue(colour);
        green = GetGValue(colour);
        blue = GetBValue(colour);
      }
      grey.steps[static_cast<std::size_t>(y) * static_cast<std::size_t>(grey.width) +
                 static_cast<std::size_t>(x)] = static_cast<unsigned char>(greyStep(red, green, blue, steps));
    }
  }
  return grey;
}

StepBitmap stepBitmap(const GreySteps& grey, int k) {
  StepBitmap bitmap(grey.width, grey.height);
  for (int y = 0; y < grey.height; ++y) {
    const unsigned char* row =
        grey.steps.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(grey.width);
    for (int x = 0; x < grey.width; ++x) {
      if (row[x] <= k) bitmap.set(x, grey.height - 1 - y);
    }
  }
  return bitmap;
}

}  // namespace vtcad::tracer
