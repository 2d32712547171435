// Entity colours and the 256-entry index palette.
//
// The palette: 1..7 are the named colours (red, yellow, green, cyan, blue, magenta, white),
// 8 and 9 greys, 10..249 are 24 hues 15 degrees apart with ten shades each (five
// brightnesses 100/80/60/50/30 %, each at full and at half saturation), 250..255 a grey
// ramp. Index 0 (ByBlock) answers black.
#include "zcad/db/ZcCmColor.h"

#include <array>
#include <cmath>

namespace {

Zdesk::UInt32 rgb(int r, int g, int b) {
  return (static_cast<Zdesk::UInt32>(r) << 16) | (static_cast<Zdesk::UInt32>(g) << 8) |
         static_cast<Zdesk::UInt32>(b);
}

// HSV to RGB with truncation, which is how the classic palette's numbers come out
// (half of 255 is 127, not 128).
Zdesk::UInt32 hsv(double hueDegrees, double saturation, double value) {
  double v = 255.0 * value;
  double lo = v * (1.0 - saturation);
  double h = std::fmod(hueDegrees, 360.0) / 60.0;
  int sector = static_cast<int>(h);
  double f = h - sector;
  double rising = lo + (v - lo) * f;
  double falling = v - (v - lo) * f;
  double r = 0, g = 0, b = 0;
  switch (sector) {
    case 0:
      r = v, g = rising, b = lo;
      break;
    case 1:
      r = falling, g = v, b = lo;
      break;
    case 2:
      r = lo, g = v, b = rising;
      break;
    case 3:
      r = lo, g = falling, b = v;
      break;
    case 4:
      r = rising, g = lo, b = v;
      break;
    default:
      r = v, g = lo, b = falling;
      break;
  }
  return rgb(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
}

std::array<Zdesk::UInt32, 256> buildPalette() {
  std::array<Zdesk::UInt32, 256> p{};
  p[0] = rgb(0, 0, 0);
  p[1] = rgb(255, 0, 0);
  p[2] = rgb(255, 255, 0);
  p[3] = rgb(0, 255, 0);
  p[4] = rgb(0, 255, 255);
  p[5] = rgb(0, 0, 255);
  p[6] = rgb(255, 0, 255);
  p[7] = rgb(255, 255, 255);
  p[8] = rgb(128, 128, 128);
  p[9] = rgb(192, 192, 192);
  static constexpr double kBrightness[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
  for (int hue = 0; hue < 24; ++hue) {
    for (int shade = 0; shade < 5; ++shade) {
      int index = 10 + hue * 10 + shade * 2;
      p[index] = hsv(hue * 15.0, 1.0, kBrightness[shade]);
      p[index + 1] = hsv(hue * 15.0, 0.5, kBrightness[shade]);
    }
  }
  static constexpr int kGreys[6] = {51, 91, 132, 173, 214, 255};
  for (int i = 0; i < 6; ++i) p[250 + i] = rgb(kGreys[i], kGreys[i], kGreys[i]);
  return p;
}

const std::array<Zdesk::UInt32, 256>& palette() {
  static const std::array<Zdesk::UInt32, 256> p = buildPalette();
  return p;
}

// The palette index (1..255) nearest to a true colour; an exact match wins, then the
// lowest index among equally near ones.
Zdesk::UInt16 nearestIndex(Zdesk::UInt32 value) {
  int r = (value >> 16) & 0xFF, g = (value >> 8) & 0xFF, b = value & 0xFF;
  int best = 7;
  long bestDistance = -1;
  for (int i = 1; i < 256; ++i) {
    Zdesk::UInt32 c = palette()[static_cast<size_t>(i)];
    long dr = r - static_cast<int>((c >> 16) & 0xFF), dg = g - static_cast<int>((c >> 8) & 0xFF),
         db = b - static_cast<int>(c & 0xFF);
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
      if (d == 0) break;
    }
  }
  return static_cast<Zdesk::UInt16>(best);
}

}  // namespace

Zdesk::UInt32 zcdbPaletteRgb(int colorIndex) {
  if (colorIndex < 0 || colorIndex > 255) return 0;
  return palette()[static_cast<size_t>(colorIndex)];
}

bool ZcCmColor::setColorIndex(Zdesk::UInt16 index) {
  if (index == 0) {
    setByBlock();
  } else if (index == 256) {
    setByLayer();
  } else if (index <= 255) {
    method_ = ZcCmEntityColor::kByACI;
    index_ = index;
  } else {
    return false;
  }
  rgb_ = 0;
  return true;
}

Zdesk::UInt16 ZcCmColor::colorIndex() const {
  switch (method_) {
    case ZcCmEntityColor::kByLayer:
      return 256;
    case ZcCmEntityColor::kByBlock:
      return 0;
    case ZcCmEntityColor::kByACI:
      return index_;
    case ZcCmEntityColor::kByColor:
      return nearestIndex(rgb_);
    case ZcCmEntityColor::kForeground:
      return 7;
    default:
      return 257;  // "none", as drawing files write it
  }
}

void ZcCmColor::setRGB(Zdesk::UInt8 red, Zdesk::UInt8 green, Zdesk::UInt8 blue) {
  method_ = ZcCmEntityColor::kByColor;
  rgb_ = rgb(red, green, blue);
  // The index of a true colour is kept so that equal colours compare equal.
  index_ = 0;
}

Zdesk::UInt32 ZcCmColor::trueColorValue() const {
  switch (method_) {
    case ZcCmEntityColor::kByColor:
      return rgb_;
    case ZcCmEntityColor::kByACI:
      return zcdbPaletteRgb(index_);
    case ZcCmEntityColor::kForeground:
      return zcdbPaletteRgb(7);
    default:
      return 0;
  }
}

Zdesk::UInt8 ZcCmColor::red() const { return static_cast<Zdesk::UInt8>((trueColorValue() >> 16) & 0xFF); }
Zdesk::UInt8 ZcCmColor::green() const { return static_cast<Zdesk::UInt8>((trueColorValue() >> 8) & 0xFF); }
Zdesk::UInt8 ZcCmColor::blue() const { return static_cast<Zdesk::UInt8>(trueColorValue() & 0xFF); }
