#include "outline/LabelGrid.h"

#include <algorithm>

namespace veltrace {

LabelGrid::LabelGrid(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cells_(static_cast<std::size_t>(width_ + 2) * static_cast<std::size_t>(height_ + 2), kDrawnLabel) {
  std::fill_n(rowCells(0), columns(), kBorderLabel);
  std::fill_n(rowCells(rows() - 1), columns(), kBorderLabel);
  for (int row = 1; row < rows() - 1; ++row) {
    at(0, row) = kBorderLabel;
    at(columns() - 1, row) = kBorderLabel;
  }
}

}  // namespace veltrace
