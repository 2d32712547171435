// Capsule coverage from two tables (band area by angle and distance, disc area by offset),
// combined per run by the largest coverage.
#include "render/HairlineRaster.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vtcad::render {
namespace {

// Band table: the area of the unit pixel square inside a band of the pen's width, by the
// band's slope (the smaller over the larger of its direction's components, in [0, 1]: the
// square's symmetries fold every direction into that range) and by the distance |d| of the
// pixel's centre from the band's middle line.
constexpr int kSlopes = 64;
constexpr int kSteps = 256;         // per pixel of distance
constexpr double kBandReach = 1.5;  // the half width plus half a diagonal stays below this
constexpr int kDistances = static_cast<int>(kBandReach * kSteps) + 2;
// Disc table: the area of the disc (radius: the half width) inside the square, by the disc
// centre's offset from the pixel centre along x and y, each in [0, kDiscReach].
constexpr int kDiscSteps = 32;
constexpr double kDiscReach = 1.5;
constexpr int kDiscCells = static_cast<int>(kDiscReach * kDiscSteps) + 1;
// Columns each area is integrated over (the inner direction is exact).
constexpr int kColumns = 128;
constexpr double kHalfDiagonal = 0.7072;

struct Tables {
  // kSlopes rows of kDistances, in 255ths as cover() rounds them: bytes, so that the table
  // stays in the processor's first-level cache.
  std::vector<std::uint8_t> band255;
  std::vector<float> disc;  // kDiscCells rows of kDiscCells
  double halfWidth = -1.0;
};

// The area of the pixel square (centred at the origin) where c x + s y <= t.
double halfPlaneArea(double c, double s, double t) {
  double area = 0.0;
  for (int i = 0; i < kColumns; ++i) {
    const double x = -0.5 + (i + 0.5) / kColumns;
    const double inside = s < 1e-12 ? (c * x <= t ? 1.0 : 0.0) : (t - c * x) / s + 0.5;
    area += std::clamp(inside, 0.0, 1.0);
  }
  return area / kColumns;
}

double discArea(double ox, double oy, double r) {
  double area = 0.0;
  for (int i = 0; i < kColumns; ++i) {
    const double x = -0.5 + (i + 0.5) / kColumns;
    const double dx = x - ox;
    if (std::fabs(dx) >= r) continue;
    const double half = std::sqrt(r * r - dx * dx);
    area += std::max(0.0, std::min(0.5, oy + half) - std::max(-0.5, oy - half));
  }
  return area / kColumns;
}

const Tables& tablesFor(double halfWidth) {
  // One pen width is rastered (the thin pen): the tables are built for it once.
  static Tables tables;
  if (tables.halfWidth == halfWidth) return tables;
  tables.band255.resize(static_cast<std::size_t>(kSlopes) * kDistances);
  for (int k = 0; k < kSlopes; ++k) {
    const double slope = static_cast<double>(k) / (kSlopes - 1);
    const double norm = std::hypot(1.0, slope);
    const double c = 1.0 / norm, s = slope / norm;
    for (int i = 0; i < kDistances; ++i) {
      const double d = static_cast<double>(i) / kSteps;
      const auto area =
          static_cast<float>(halfPlaneArea(c, s, halfWidth - d) - halfPlaneArea(c, s, -halfWidth - d));
      tables.band255[static_cast<std::size_t>(k) * kDistances + i] =
          static_cast<std::uint8_t>(std::min(area, 1.0f) * 255.0f + 0.5f);
    }
  }
  tables.disc.resize(static_cast<std::size_t>(kDiscCells) * kDiscCells);
  for (int i = 0; i < kDiscCells; ++i) {
    for (int j = 0; j < kDiscCells; ++j)
      tables.disc[static_cast<std::size_t>(i) * kDiscCells + j] = static_cast<float>(
          discArea(static_cast<double>(i) / kDiscSteps, static_cast<double>(j) / kDiscSteps, halfWidth));
  }
  tables.halfWidth = halfWidth;
  return tables;
}

}  // namespace

HairlineRaster::HairlineRaster(unsigned char* pixels, int stride, int width, int height, double halfWidth)
    : pixels_(pixels),
      stride_(stride),
      width_(width),
      height_(height),
      endRow_(height),
      halfWidth_(halfWidth),
      slots_(kSlots) {
  assert(pixels_ && width_ > 0 && height_ > 0 && halfWidth_ > 0.0 && halfWidth_ + kHalfDiagonal < kBandReach);
  tablesFor(halfWidth_);
}

void HairlineRaster::limitRows(int first, int end) {
  assert(0 <= first && first <= end && end <= height_);
  firstRow_ = first;
  endRow_ = end;
}

void HairlineRaster::beginRun(Rgb color) {
  packed_ = (std::uint32_t{color.red} << 16) | (std::uint32_t{color.green} << 8) | color.blue;
  newShape();
}

void HairlineRaster::newShape() {
  inShape_ = 0;
  if (++generation_ == 0) {
    // 65 535 shapes later: the generations start over.
    std::fill(slots_.begin(), slots_.end(), Slot{});
    generation_ = 1;
  }
}

void HairlineRaster::ring(const ZcGePoint2d& center, double radius) {
  const Tables& tables = tablesFor(halfWidth_);
  const double reach = radius + halfWidth_ + kHalfDiagonal;
  const int x0 = std::max(0, static_cast<int>(std::ceil(center.x - reach)));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::floor(center.x + reach)));
  const int y0 = std::max(firstRow_, static_cast<int>(std::ceil(center.y - reach)));
  const int y1 = std::min(endRow_ - 1, static_cast<int>(std::floor(center.y + reach)));
  const double bandLimit = kDistances - 1;
  for (int y = y0; y <= y1; ++y) {
    const double dy = std::fabs(y - center.y);
    for (int x = x0; x <= x1; ++x) {
      const double dx = std::fabs(x - center.x);
      const double d = std::sqrt(dx * dx + dy * dy);
      // The circle near the pixel as a band along its tangent: the band table by the tangent's
      // slope (that of the radius, by the square's symmetries) and the distance to the circle.
      const double t = std::fabs(d - radius) * kSteps;
      if (t >= bandLimit) continue;
      const double longer = std::max(dx, dy);
      const double slope = longer > 1e-9 ? std::min(dx, dy) / longer : 0.0;
      cover(x, y,
            std::uint32_t{tables.band255[static_cast<std::size_t>(slope * (kSlopes - 1) + 0.5) * kDistances +
                                         static_cast<std::size_t>(t + 0.5)]});
    }
  }
}

void HairlineRaster::segment(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  const Tables& tables = tablesFor(halfWidth_);
  const double reach = halfWidth_ + kHalfDiagonal;
  const int x0 = std::max(0, static_cast<int>(std::ceil(std::min(a.x, b.x) - reach)));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::floor(std::max(a.x, b.x) + reach)));
  const int y0 = std::max(firstRow_, static_cast<int>(std::ceil(std::min(a.y, b.y) - reach)));
  const int y1 = std::min(endRow_ - 1, static_cast<int>(std::floor(std::max(a.y, b.y) + reach)));
  if (x0 > x1 || y0 > y1) return;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  // A zero-length segment is a dot: its direction is any.
  const double ux = length > 1e-9 ? dx / length : 1.0, uy = length > 1e-9 ? dy / length : 0.0;
  const double fx = std::fabs(ux), fy = std::fabs(uy);
  const double slope = std::min(fx, fy) / std::max(fx, fy);
  const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(slope * (kSlopes - 1) + 0.5) * kDistances;
  const std::uint8_t* band255 = tables.band255.data() + row;
  const float* disc = tables.disc.data();
  const auto discAt = [disc](double ox, double oy) {
    const double i = std::fabs(ox) * kDiscSteps, j = std::fabs(oy) * kDiscSteps;
    if (i > kDiscCells - 1 || j > kDiscCells - 1) return 0.0f;
    return disc[static_cast<std::size_t>(i + 0.5) * kDiscCells + static_cast<std::size_t>(j + 0.5)];
  };
  const double bandLimit = kDistances - 1;
  const auto pixel = [&](int x, int y) {
    const double px = x - a.x, py = y - a.y;
    const double t = px * ux + py * uy;
    const double d = std::fabs(py * ux - px * uy) * kSteps;
    const bool nearEnd = t < 0.5 || t > length - 0.5;
    if (!nearEnd) {
      // Between the ends: the band's part of the pixel.
      if (d < bandLimit) cover(x, y, std::uint32_t{band255[static_cast<int>(d + 0.5)]});
      return;
    }
    // Near an end: the share of the pixel on the band's side of the end takes the band's
    // coverage, the rest the end disc's (both exact for a pixel square along the band).
    const float along = d < bandLimit ? band255[static_cast<int>(d + 0.5)] * (1.0f / 255.0f) : 0.0f;
    const bool nearA = t < length - t;
    const double share = std::clamp((nearA ? t : length - t) + 0.5, 0.0, 1.0);
    const float round = nearA ? discAt(a.x - x, a.y - y) : discAt(b.x - x, b.y - y);
    cover(x, y, static_cast<float>(along * share + round * (1.0 - share)));
  };
  // Walk along the longer axis; across it only the few pixels the capsule can reach.
  if (fx >= fy) {
    const double across = reach / fx;
    const double rise = length > 1e-9 ? dy / dx : 0.0;
    for (int x = x0; x <= x1; ++x) {
      const double t = std::clamp(x - a.x, std::min(0.0, dx), std::max(0.0, dx));
      const double yc = a.y + t * rise;
      const int lo = std::max(y0, static_cast<int>(std::ceil(yc - across)));
      const int hi = std::min(y1, static_cast<int>(std::floor(yc + across)));
      for (int y = lo; y <= hi; ++y) pixel(x, y);
    }
  } else {
    const double across = reach / fy;
    const double run = dx / dy;
    for (int y = y0; y <= y1; ++y) {
      const double t = std::clamp(y - a.y, std::min(0.0, dy), std::max(0.0, dy));
      const double xc = a.x + t * run;
      const int lo = std::max(x0, static_cast<int>(std::ceil(xc - across)));
      const int hi = std::min(x1, static_cast<int>(std::floor(xc + across)));
      for (int x = lo; x <= hi; ++x) pixel(x, y);
    }
  }
}

}  // namespace vtcad::render
