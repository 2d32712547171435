#include "image/PictureAdjustments.h"

#include <algorithm>
#include <cmath>

namespace veltrace {

namespace {

// Calls change(colour) for every pixel of the rectangle [x0, x1) × [y0, y1), writing the
// answer back.
template <typename Change>
void forEachPixel(CImage& picture, int x0, int y0, int x1, int y1, Change&& change) {
  const int bpp = picture.GetBPP();
  if (bpp == 24 || bpp == 32) {
    const int bytes = bpp / 8;
    for (int y = y0; y < y1; ++y) {
      auto* p = static_cast<BYTE*>(picture.GetPixelAddress(x0, y));
      for (int x = x0; x < x1; ++x, p += bytes) {
        const Colour c = change(Colour{p[2], p[1], p[0]});
        p[0] = static_cast<BYTE>(c.blue);
        p[1] = static_cast<BYTE>(c.green);
        p[2] = static_cast<BYTE>(c.red);
      }
    }
  } else if (bpp == 8) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const COLORREF old = picture.GetPixel(x, y);
        const Colour c = change(Colour{GetRValue(old), GetGValue(old), GetBValue(old)});
        picture.SetPixel(
            x, y, RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue)));
      }
    }
  }
}

template <typename Change>
void forEveryPixel(CImage& picture, Change&& change) {
  forEachPixel(picture, 0, 0, picture.GetWidth(), picture.GetHeight(), change);
}

int clampChannel(double value) { return static_cast<int>(std::clamp(std::trunc(value), 0.0, 255.0)); }

// A table per pass: 256 entries instead of a multiplication per channel.
struct ChannelTable {
  int value[256];
};

template <typename F>
ChannelTable tableOf(F&& f) {
  ChannelTable table{};
  for (int c = 0; c < 256; ++c) table.value[c] = clampChannel(f(static_cast<double>(c)));
  return table;
}

void applyTable(CImage& picture, const ChannelTable& table) {
  forEveryPixel(picture, [&table](Colour c) {
    return Colour{table.value[c.red], table.value[c.green], table.value[c.blue]};
  });
}

int roundHalfUp(double z) { return static_cast<int>(std::trunc(z + 0.5)); }

}  // namespace

void applyContrast(CImage& picture, int v) {
  const double f = v < 50 ? v + 0.5 : 1.5 * v / 50;
  applyTable(picture, tableOf([f](double c) { return (c - 128) * f + 128; }));
}

void applyBrightness(CImage& picture, int v) {
  const double g = v < 50 ? v / 100.0 : v / 50.0;
  applyTable(picture, tableOf([g](double c) { return c * g; }));
}

void applyThreshold(CImage& picture, int t) {
  const int limit = 3 * std::clamp(t, 5, 250);
  forEveryPixel(picture, [limit](Colour c) {
    return c.red + c.green + c.blue >= limit ? Colour{0, 0, 0} : Colour{255, 255, 255};
  });
}

Colour quantizeColor(int red, int green, int blue, int q) {
  q = std::max(q, 1);
  const int high = std::max({red, green, blue});
  const int low = std::min({red, green, blue});
  const double value = high / 255.0;
  const double saturation = high == 0 ? 0.0 : 1.0 - static_cast<double>(low) / high;
  double hue = 0.0;
  if (high != low) {
    const double range = high - low;
    if (high == red) {
      hue = 60.0 * (green - blue) / range;
      if (hue < 0) hue += 360.0;
    } else if (high == green) {
      hue = 60.0 * (blue - red) / range + 120.0;
    } else {
      hue = 60.0 * (red - green) / range + 240.0;
    }
  }
  const int a = 100 / q;
  const int v = static_cast<int>((a - 12) / 1.4 + 23);
  const int e = 360 / q;
  // Degenerate case: q above 100 (or 360) gives a step of 0; such a step leaves the value as it is.
  const double v2 = v > 0 ? roundHalfUp(100 * value / v) * v / 100.0 : value;
  const double s2 = a > 0 ? roundHalfUp(100 * saturation / a) * a / 100.0 : saturation;
  auto channel = [](double x) { return std::clamp(static_cast<int>(x * 255), 0, 255); };
  if (s2 == 0.0) {
    const int grey = channel(v2);
    return Colour{grey, grey, grey};
  }
  double h2 = e > 0 ? roundHalfUp(hue / e) * e : hue;
  if (h2 >= 360.0) h2 = 0.0;
  const double x = h2 / 60.0;
  const int k = static_cast<int>(std::floor(x));
  const double f = x - k;
  const double p = v2 * (1 - s2);
  const double qq = v2 * (1 - f * s2);
  const double t = v2 * (1 - (1 - f) * s2);
  double r = v2, g = t, b = p;
  switch (k) {
    case 1:
      r = qq, g = v2, b = p;
      break;
    case 2:
      r = p, g = v2, b = t;
      break;
    case 3:
      r = p, g = qq, b = v2;
      break;
    case 4:
      r = t, g = p, b = v2;
      break;
    case 5:
      r = v2, g = p, b = qq;
      break;
    default:
      break;
  }
  return Colour{channel(r), channel(g), channel(b)};
}

void applyColorGradient(CImage& picture, int q) {
  const int width = picture.GetWidth();
  const int height = picture.GetHeight();
  if (width < 3 || height < 3) return;
  forEachPixel(picture, 1, 1, width - 1, height - 1,
               [q](Colour c) { return quantizeColor(c.red, c.green, c.blue, q); });
}

}  // namespace veltrace
