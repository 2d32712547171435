#include "image/ColorRegions.h"

#include <cstdlib>

#include "outline/RegionLabelling.h"

namespace veltrace {

namespace {

struct Channels {
  int red;
  int green;
  int blue;
};

// The picture's colours read once into a plain array: the labelling asks up to three times per
// pixel, and a depth test per read would cost more than the comparison.
class ColourPlane {
 public:
  explicit ColourPlane(const CImage& picture) : width_(picture.GetWidth()) {
    const int height = picture.GetHeight();
    colours_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height));
    const int bpp = picture.GetBPP();
    for (int y = 0; y < height; ++y) {
      Channels* row = colours_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
      if (bpp == 24 || bpp == 32) {
        const auto* p = static_cast<const BYTE*>(picture.GetPixelAddress(0, y));
        const int bytes = bpp / 8;
        for (int x = 0; x < width_; ++x, p += bytes) row[x] = Channels{p[2], p[1], p[0]};
      } else {
        for (int x = 0; x < width_; ++x) {
          const COLORREF c = picture.GetPixel(x, y);
          row[x] = Channels{GetRValue(c), GetGValue(c), GetBValue(c)};
        }
      }
    }
  }
  const Channels& at(int x, int y) const {
    return colours_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                    static_cast<std::size_t>(x)];
  }

 private:
  int width_;
  std::vector<Channels> colours_;
};

bool similar(const Channels& a, const Channels& b, int tolerance) {
  return std::abs(a.red - b.red) < tolerance && std::abs(a.green - b.green) < tolerance &&
         std::abs(a.blue - b.blue) < tolerance;
}

Channels channelsOf(const CImage& picture, PixelPoint p) {
  const COLORREF c = picture.GetPixel(p.x, p.y);
  return Channels{GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace

bool colorsSimilar(const CImage& picture, PixelPoint a, PixelPoint b, int tolerance) {
  return similar(channelsOf(picture, a), channelsOf(picture, b), tolerance);
}

int makeColorRegion(const CImage& picture, LabelGrid& grid, int tolerance) {
  if (picture.IsNull()) {
    grid = LabelGrid(0, 0);
    return 1;
  }
  const int width = picture.GetWidth();
  const int height = picture.GetHeight();
  grid = LabelGrid::withBorderOnly(width, height);
  const ColourPlane colours(picture);
  return labelRegions(
      grid, [&](int x, int y) { return x > 0 && y > 0 && x + 1 < width && y + 1 < height; },
      [&](int x, int y, int nx, int ny) { return similar(colours.at(x, y), colours.at(nx, ny), tolerance); });
}

std::vector<PixelPoint> findRegionOutline(RegionLabel label, const LabelGrid& grid) {
  return traceRegionOutline(label, grid);
}

}  // namespace veltrace

namespace veltrace {

std::vector<PixelPoint> findRegionOutline(RegionLabel label, const LabelGrid& grid, GridPoint firstCell) {
  return traceRegionOutlineFrom(label, grid, firstCell);
}

}  // namespace veltrace
