#include "outline/LabelGrid.h"

#include <algorithm>

namespace veltrace {

LabelGrid::LabelGrid(int width, int height, BorderOnly)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cells_(std::make_unique_for_overwrite<RegionLabel[]>(static_cast<std::size_t>(width_ + 2) *
                                                           static_cast<std::size_t>(height_ + 2))) {
  std::fill_n(rowCells(0), columns(), kBorderLabel);
  std::fill_n(rowCells(rows() - 1), columns(), kBorderLabel);
  for (int row = 1; row < rows() - 1; ++row) {
    at(0, row) = kBorderLabel;
    at(columns() - 1, row) = kBorderLabel;
  }
}

LabelGrid::LabelGrid(int width, int height) : LabelGrid(width, height, BorderOnly{}) {
  for (int row = 1; row < rows() - 1; ++row) std::fill_n(rowCells(row) + 1, width_, kDrawnLabel);
}

LabelGrid LabelGrid::withBorderOnly(int width, int height) { return LabelGrid(width, height, BorderOnly{}); }

}  // namespace veltrace
