// Area-averaging and nearest-pixel stretching.
#include "platform/ImageStretch.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vtcad::platform {
namespace {

// What one target column (or row) takes from the source: a run of source pixels, each with the
// share of the target pixel it covers (the shares add up to 1).
struct Footprint {
  int first = 0;
  std::vector<double> weights;
};

// Target pixel t of `length` covers [t, t + 1) · sourceLength / length of the source.
Footprint footprint(int t, int length, int sourceLength) {
  double scale = static_cast<double>(sourceLength) / length;
  double from = t * scale;
  double to = (t + 1) * scale;
  Footprint f;
  f.first = std::min(static_cast<int>(std::floor(from)), sourceLength - 1);
  int last = std::min(static_cast<int>(std::ceil(to)) - 1, sourceLength - 1);
  last = std::max(last, f.first);
  for (int s = f.first; s <= last; ++s) {
    double covered = std::min<double>(to, s + 1) - std::max<double>(from, s);
    f.weights.push_back(std::max(covered, 0.0) / scale);
  }
  return f;
}

void store(ImagePixels& target, int tx, int ty, RGBQUAD c) {
  if (target.indexed()) {
    target.setIndex(tx, ty, nearestColorIndex(target.palette, c));
    return;
  }
  std::uint8_t* p = target.row(ty) + static_cast<std::size_t>(tx) * static_cast<std::size_t>(target.bpp / 8);
  p[0] = c.rgbBlue;
  p[1] = c.rgbGreen;
  p[2] = c.rgbRed;
  if (target.bpp == 32 && target.alpha) p[3] = c.rgbReserved;
}

}  // namespace

int nearestColorIndex(const std::vector<RGBQUAD>& table, RGBQUAD color) {
  assert(!table.empty());
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < table.size(); ++i) {
    long db = long{table[i].rgbBlue} - color.rgbBlue;
    long dg = long{table[i].rgbGreen} - color.rgbGreen;
    long dr = long{table[i].rgbRed} - color.rgbRed;
    long distance = db * db + dg * dg + dr * dr;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  return best;
}

void stretchPixels(const ImagePixels& source, ImagePixels& target, int x, int y, int width, int height,
                   StretchMode mode) {
  assert(width > 0 && height > 0 && !source.bits.empty() && !target.bits.empty());
  // The part of the rectangle inside the target, in rectangle coordinates.
  int fromX = std::max(0, -x);
  int fromY = std::max(0, -y);
  int toX = static_cast<int>(std::min<long long>(width, static_cast<long long>(target.width) - x));
  int toY = static_cast<int>(std::min<long long>(height, static_cast<long long>(target.height) - y));
  if (fromX >= toX || fromY >= toY) return;
  if (mode == StretchMode::kNearest || target.indexed()) {
    for (int ty = fromY; ty < toY; ++ty) {
      auto sy = static_cast<int>((static_cast<long long>(ty) * 2 + 1) * source.height / (2LL * height));
      for (int tx = fromX; tx < toX; ++tx) {
        auto sx = static_cast<int>((static_cast<long long>(tx) * 2 + 1) * source.width / (2LL * width));
        store(target, x + tx, y + ty, source.colorAt(sx, sy));
      }
    }
    return;
  }
  std::vector<Footprint> columns;
  columns.reserve(static_cast<std::size_t>(toX - fromX));
  for (int tx = fromX; tx < toX; ++tx) columns.push_back(footprint(tx, width, source.width));
  for (int ty = fromY; ty < toY; ++ty) {
    Footprint rows = footprint(ty, height, source.height);
    for (int tx = fromX; tx < toX; ++tx) {
      const Footprint& cols = columns[static_cast<std::size_t>(tx - fromX)];
      double sum[4] = {0, 0, 0, 0};
      for (std::size_t j = 0; j < rows.weights.size(); ++j) {
        int sy = rows.first + static_cast<int>(j);
        for (std::size_t i = 0; i < cols.weights.size(); ++i) {
          double w = rows.weights[j] * cols.weights[i];
          RGBQUAD c = source.colorAt(cols.first + static_cast<int>(i), sy);
          sum[0] += w * c.rgbBlue;
          sum[1] += w * c.rgbGreen;
          sum[2] += w * c.rgbRed;
          sum[3] += w * c.rgbReserved;
        }
      }
      auto channel = [](double v) { return static_cast<BYTE>(std::clamp(std::lround(v), 0L, 255L)); };
      store(target, x + tx, y + ty,
            RGBQUAD{channel(sum[0]), channel(sum[1]), channel(sum[2]), channel(sum[3])});
    }
  }
}

}  // namespace vtcad::platform
