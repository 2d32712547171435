#include "outline/BackgroundRegions.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "outline/RegionLabelling.h"

namespace veltrace {

namespace {

// |c - b| <= t without a branch: c - b + t lies in 0 ... 2t.
inline std::uint8_t within(int c, int b, int t) {
  return static_cast<unsigned>(c - b + t) <= static_cast<unsigned>(2 * t);
}

// One row of a 24- or 32-bit picture: mask[x] is 1 where every channel of pixel x is within
// its tolerance of the background's. A function of plain arguments, so that the compiler knows
// no byte it stores moves a pointer or a bound it reads: then both loops are vector code.
void maskRow(const BYTE* pixels, const BYTE* background, const BYTE* tolerances, BYTE* near, int width,
             std::size_t bytes, std::uint8_t* mask) {
  const std::size_t rowBytes = bytes * static_cast<std::size_t>(width);
  for (std::size_t i = 0; i < rowBytes; ++i) {
    const BYTE c = pixels[i], q = background[i];
    const BYTE difference = c > q ? static_cast<BYTE>(c - q) : static_cast<BYTE>(q - c);
    near[i] = difference <= tolerances[i] ? 1 : 0;
  }
  if (bytes == 3) {
    for (int x = 0; x < width; ++x) mask[x] = near[3 * x] & near[3 * x + 1] & near[3 * x + 2];
  } else {
    for (int x = 0; x < width; ++x) mask[x] = near[4 * x] & near[4 * x + 1] & near[4 * x + 2];
  }
}

}  // namespace

int labelBackgroundRegions(Rgb background, const CImage& picture, LabelGrid& grid, int tolerance) {
  if (picture.IsNull()) {
    grid = LabelGrid(0, 0);
    return 1;
  }
  const int width = picture.GetWidth();
  const int height = picture.GetHeight();
  // Every inner cell is written by the labelling: a grid of the right size is reused as it is
  // (a new one would cost the system's zeroing of its pages on every picture).
  if (grid.width() != width || grid.height() != height) grid = LabelGrid::withBorderOnly(width, height);
  const int depth = picture.GetBPP();
  if (depth == 24 || depth == 32) {
    const auto* bits = static_cast<const BYTE*>(picture.GetBits());
    const long long pitch = picture.GetPitch();
    const std::size_t bytes = static_cast<std::size_t>(depth / 8);
    const std::size_t rowBytes = bytes * static_cast<std::size_t>(width);
    // One row of the background's bytes (blue, green, red, and alpha that always matches), so the
    // test runs over the row's bytes in memory order, which the compiler turns into vector code;
    // a test per pixel would read three bytes apart.
    std::vector<BYTE> backgroundRow(rowBytes), tolerances(rowBytes);
    const int clamped = std::clamp(tolerance, 0, 255);
    for (std::size_t i = 0; i < rowBytes; ++i) {
      const std::size_t channel = i % bytes;
      backgroundRow[i] = channel == 0 ? background.blue : channel == 1 ? background.green : background.red;
      tolerances[i] = static_cast<BYTE>(channel == 3 ? 255 : clamped);
    }
    return labelMemberRuns(grid, [&](int y, std::uint8_t* mask) {
      // Rows are masked on two threads at once: each has its own row of channel tests.
      static thread_local std::vector<BYTE> near;
      near.resize(rowBytes);
      maskRow(bits + y * pitch, backgroundRow.data(), tolerances.data(), near.data(), width, bytes, mask);
    });
  }
  return labelMemberRuns(grid, [&](int y, std::uint8_t* mask) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = picture.GetPixel(x, y);
      mask[x] = within(GetRValue(c), background.red, tolerance) &
                within(GetGValue(c), background.green, tolerance) &
                within(GetBValue(c), background.blue, tolerance);
    }
  });
}

}  // namespace veltrace
