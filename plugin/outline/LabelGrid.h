#pragma once
// The label grid of a picture of W × H pixels: (H + 2) rows of (W + 2) cells, cell (row y + 1,
// column x + 1) for pixel (x, y), row 0 at the top. The outer ring is a border that never
// carries a label, so neighbour probes need no bounds tests.
//
// Labels are 32 bits: a noisy picture may hold far more than 65 535 regions, and a label that
// wrapped would join regions that do not touch.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace veltrace {

using RegionLabel = std::int32_t;

// Label 0 is a drawn pixel (not background); regions are 1, 2, ...
inline constexpr RegionLabel kDrawnLabel = 0;
inline constexpr RegionLabel kBorderLabel = -1;

// A cell position: column and row in grid coordinates (pixel position + 1).
struct GridPoint {
  int column = 0;
  int row = 0;
  bool operator==(const GridPoint&) const = default;
};

class LabelGrid {
 public:
  LabelGrid() = default;
  // Border cells kBorderLabel, inner cells 0. Sizes below zero count as zero.
  LabelGrid(int width, int height);
  // The same with the inner cells left unset, for a labelling that writes every one of them.
  static LabelGrid withBorderOnly(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int columns() const { return width_ + 2; }
  int rows() const { return height_ + 2; }

  RegionLabel at(int column, int row) const { return cells_[index(column, row)]; }
  RegionLabel& at(int column, int row) { return cells_[index(column, row)]; }
  // The label of pixel (x, y).
  RegionLabel pixel(int x, int y) const { return at(x + 1, y + 1); }
  bool contains(int column, int row) const {
    return column >= 0 && row >= 0 && column < columns() && row < rows();
  }

  RegionLabel* rowCells(int row) { return cells_.get() + static_cast<std::size_t>(row) * columns(); }
  const RegionLabel* rowCells(int row) const {
    return cells_.get() + static_cast<std::size_t>(row) * columns();
  }

 private:
  std::size_t index(int column, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns()) +
           static_cast<std::size_t>(column);
  }

  struct BorderOnly {};
  LabelGrid(int width, int height, BorderOnly);

  int width_ = 0;
  int height_ = 0;
  // Not a vector: a vector would write every cell once more before the labelling does.
  std::unique_ptr<RegionLabel[]> cells_;
};

}  // namespace veltrace
