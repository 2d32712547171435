#pragma once
// HairlineRaster: thin strokes (Canvas::kThinWidth wide, round caps and joins) written straight
// into an image surface's pixels, for pictures of many small entities where Cairo's general
// stroker costs ten times the drawing's own work.
//
// Each segment is a capsule (a band of half the pen's width around it, a disc at each end).
// A pixel's coverage is the area of the band inside the pixel's square (looked up by the
// band's slope and the pixel centre's distance), or at an end the disc's (looked up by the
// centre's offset from the end point), the areas Cairo's antialiasing measures. Within one
// shape a pixel takes the largest coverage any segment gives it, not their sum: segments
// overlap at every joint, and Cairo strokes what is gathered under one pen as one shape.
// Raising a pixel's coverage from a to b blends the colour in by (b - a) / (1 - a), which is
// exactly blending the union once. A shape is what one pen draws between flushes, cut
// after about a thousand pixels: the coverages are kept in a small table that stays in the
// processor's cache (the picture's pixels are touched once each). Where pieces of
// different cuts cross (far apart in drawing order) they blend one over the other, as
// separate strokes do.
//
// Only opaque 32-bit image surfaces (RGB24, or ARGB32 whose pixels are opaque) without a
// transformation qualify; Canvas keeps Cairo paths for every other surface (SVG, PDF).
#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/ColorTable.h"
#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::render {

namespace detail {
// 2^24 / (255 - had), rounded, for the coverages had = 0 ... 254 a pixel can rise from: the
// blend of a rise in 256ths is a multiplication and a shift (a division per pixel was a tenth
// of the pixel's cost); 255 never rises.
struct RiseShares {
  std::uint32_t share[256];
};
constexpr RiseShares makeRiseShares() {
  RiseShares table{};
  for (int had = 0; had < 255; ++had)
    table.share[had] = ((std::uint32_t{1} << 24) + static_cast<std::uint32_t>(255 - had) / 2) /
                       static_cast<std::uint32_t>(255 - had);
  return table;
}
inline constexpr RiseShares kRiseShares = makeRiseShares();
}  // namespace detail

class HairlineRaster {
 public:
  // `pixels` are rows of `stride` bytes of 32-bit xRGB, `width` x `height` of them.
  HairlineRaster(unsigned char* pixels, int stride, int width, int height, double halfWidth);

  // Writes only the rows first ... end - 1 from now on (all of them at first): rasters of
  // separate bands of one picture can work side by side on the same strokes.
  void limitRows(int first, int end);

  // A new pen colour.
  void beginRun(Rgb color);
  // A new shape: coverages of earlier shapes no longer combine with what follows (a fill or
  // another pen came between).
  void newShape();
  // A capsule from a to b (pixel centres on whole numbers). a == b is a dot.
  void segment(const ZcGePoint2d& a, const ZcGePoint2d& b);
  // Asks for the picture's memory a segment or ring will write, ahead of writing it: entities
  // of a drawing come in no order of place, and a row of a stroke is seldom in the processor's
  // cache when its first pixel is blended. A cache line of each row it covers (the first few
  // rows of a long one).
  void prefetchSegment(const ZcGePoint2d& a, const ZcGePoint2d& b) const {
    const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const double slope = bottom - top > 1e-9 ? (b.x - a.x) / (b.y - a.y) : 0.0;
    prefetchRows(top - 1.5, bottom + 1.5, [&](double y) { return a.x + (y - a.y) * slope; });
  }
  void prefetchRing(const ZcGePoint2d& center, double radius) const {
    prefetchRows(center.y - radius - 1.5, center.y + radius + 1.5, [&](double) { return center.x; });
  }
  // A whole circle of `radius` pixels around `center`, for small circles  // A whole circle of `radius`
  // pixels around `center`, for small circles: each pixel of its box covered as the band along the circle's
  // tangent there covers it, one lookup per pixel instead of a capsule per chord.
  void ring(const ZcGePoint2d& center, double radius);

 private:
  // What the current shape gave the pixels it covered so far: a small open-addressing table
  // (a shape covers a few hundred pixels; one that covers more starts over, losing only the
  // merging where its pieces before and after meet). Slots of older shapes are told apart by
  // their generation, so a new shape costs nothing.
  struct Slot {
    std::uint32_t pixel = 0;
    std::uint16_t generation = 0;
    std::uint8_t coverage = 0;
  };
  static constexpr std::size_t kSlots = 2048;
  static constexpr std::size_t kMostInShape = kSlots / 2;

  // Raises the coverage of pixel (x, y) in this shape to `coverage` (0..1).
  void cover(int x, int y, float coverage) {
    cover(x, y, static_cast<std::uint32_t>(std::min(coverage, 1.0f) * 255.0f + 0.5f));
  }
  // The same with the coverage in 255ths.
  void cover(int x, int y, std::uint32_t wanted) {
    if (wanted == 0) return;
    const auto key =
        static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(width_) + static_cast<std::uint32_t>(x);
    std::size_t at = (key * 2654435761u) & (kSlots - 1);
    while (slots_[at].generation == generation_ && slots_[at].pixel != key) at = (at + 1) & (kSlots - 1);
    Slot& slot = slots_[at];
    std::uint32_t had = 0;
    if (slot.generation == generation_) {
      had = slot.coverage;
      if (wanted <= had) return;
    } else {
      if (++inShape_ > kMostInShape) {
        newShape();
        return cover(x, y, wanted);
      }
      slot.generation = generation_;
      slot.pixel = key;
    }
    slot.coverage = static_cast<std::uint8_t>(wanted);
    // Blending the rise from `had` to `wanted` over what the pixel shows now is blending the
    // union once over what it showed before the shape. In 256ths, red and blue together.
    const std::uint32_t a =
        std::min<std::uint32_t>(256, ((wanted - had) * detail::kRiseShares.share[had] + (1u << 15)) >> 16);
    const std::uint32_t keep = 256 - a;
    auto* pixel = reinterpret_cast<std::uint32_t*>(pixels_ + static_cast<std::ptrdiff_t>(y) * stride_) + x;
    const std::uint32_t old = *pixel;
    const std::uint32_t redBlue =
        (((old & 0xFF00FFu) * keep + (packed_ & 0xFF00FFu) * a + 0x800080u) >> 8) & 0xFF00FFu;
    const std::uint32_t green =
        (((old & 0x00FF00u) * keep + (packed_ & 0x00FF00u) * a + 0x008000u) >> 8) & 0x00FF00u;
    *pixel = 0xFF000000u | redBlue | green;
  }

  template <typename XAt>
  void prefetchRows(double top, double bottom, XAt xAt) const {
    constexpr int kMostRows = 12;
    // Written so that NaN gives no rows.
    if (!(top <= bottom)) return;
    const int first =
        static_cast<int>(std::clamp(top, static_cast<double>(firstRow_), static_cast<double>(endRow_)));
    const int last = static_cast<int>(std::clamp(bottom, firstRow_ - 1.0, endRow_ - 1.0));
    for (int y = first; y <= last && y < first + kMostRows; ++y) {
      const double x = xAt(y);
      const int column = static_cast<int>(x >= 0.0 ? std::min(x, width_ - 1.0) : 0.0);
      __builtin_prefetch(pixels_ + static_cast<std::ptrdiff_t>(y) * stride_ + 4 * column, /*rw=*/1);
    }
  }

  unsigned char* pixels_;
  int stride_;
  int width_;
  int height_;
  int firstRow_ = 0;
  int endRow_;
  double halfWidth_;
  std::uint32_t packed_ = 0;  // the pen's colour as 0x00RRGGBB
  std::vector<Slot> slots_;
  std::uint16_t generation_ = 1;
  std::size_t inShape_ = 0;
};

}  // namespace vtcad::render
