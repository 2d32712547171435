#include "outline/RegionOutline.h"

#include <algorithm>
#include <cstdint>

namespace veltrace {

namespace {

// Right, down-right, down, down-left, left, up-left, up, up-right.
constexpr int kStep[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};

}  // namespace

std::vector<PixelPoint> traceRegionOutline(RegionLabel label, const LabelGrid& grid) {
  const int width = grid.width();
  const int height = grid.height();
  GridPoint start{-1, -1};
  for (int row = 1; row <= height && start.row < 0; ++row) {
    const RegionLabel* cells = grid.rowCells(row);
    for (int column = 1; column <= width; ++column) {
      if (cells[column] == label) {
        start = {column, row};
        break;
      }
    }
  }
  return traceRegionOutlineFrom(label, grid, start);
}

std::vector<GridPoint> firstCellsOfLabels(const LabelGrid& grid, int count) {
  std::vector<GridPoint> first(static_cast<std::size_t>(std::max(count, 0)), GridPoint{-1, -1});
  int missing = count;
  for (int row = 1; row <= grid.height() && missing > 0; ++row) {
    const RegionLabel* cells = grid.rowCells(row);
    for (int column = 1; column <= grid.width(); ++column) {
      const RegionLabel label = cells[column];
      if (label < count && first[label].row < 0) {
        first[label] = {column, row};
        --missing;
      }
    }
  }
  return first;
}

std::vector<PixelPoint> traceRegionOutlineFrom(RegionLabel label, const LabelGrid& grid, GridPoint start) {
  std::vector<PixelPoint> contour;
  const int width = grid.width();
  const int height = grid.height();
  if (start.row < 0) return contour;

  auto listed = [&](GridPoint p) {
    if (p.column >= 2 && p.column <= width - 1 && p.row >= 2 && p.row <= height - 1) {
      contour.push_back({p.column - 1, p.row - 1});
    }
  };
  listed(start);
  const std::int64_t probeLimit = (static_cast<std::int64_t>(width) + height) * 20;
  GridPoint at = start;
  int direction = 0;
  int missesInARow = 0;
  for (std::int64_t probes = 0; probes < probeLimit; ++probes) {
    const GridPoint next{at.column + kStep[direction][0], at.row + kStep[direction][1]};
    if (next == start) break;
    if (grid.contains(next.column, next.row) && grid.at(next.column, next.row) == label) {
      at = next;
      listed(at);
      direction = (direction + 6) % 8;
      missesInARow = 0;
    } else {
      direction = (direction + 1) % 8;
      // An isolated cell: every neighbour probed, none to go to.
      if (++missesInARow == 8) break;
    }
  }
  return contour;
}

}  // namespace veltrace
