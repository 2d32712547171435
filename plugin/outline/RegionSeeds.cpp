#include "outline/RegionSeeds.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace veltrace {

namespace {

struct RegionTally {
  std::int64_t columnSum = 0;  // 64 bits: a 100-megapixel region overflows 32
  std::int64_t rowSum = 0;
  std::int64_t cells = 0;
  // The longest run of the region along a row.
  int runRow = 0;
  int runStart = 0;
  int runLength = 0;
};

std::vector<RegionTally> tally(int n, const LabelGrid& grid) {
  std::vector<RegionTally> tallies(static_cast<std::size_t>(std::max(n, 1)));
  for (int row = 1; row < grid.rows() - 1; ++row) {
    const RegionLabel* cells = grid.rowCells(row);
    int column = 1;
    while (column < grid.columns() - 1) {
      const RegionLabel label = cells[column];
      int end = column + 1;
      while (cells[end] == label) ++end;  // the border ends every run
      if (label > 0 && label < n) {
        RegionTally& t = tallies[static_cast<std::size_t>(label)];
        const std::int64_t length = end - column;
        t.cells += length;
        t.rowSum += length * row;
        t.columnSum += length * (column + end - 1) / 2;  // sum of column .. end - 1
        if (length > t.runLength) {
          t.runRow = row;
          t.runStart = column;
          t.runLength = static_cast<int>(length);
        }
      }
      column = end;
    }
  }
  return tallies;
}

// The middle of the first run of at least two cells of `label` from `from` (not included) in
// direction (dc, dr), or nothing when the scan reaches the grid's edge without one.
std::optional<GridPoint> runAlong(const LabelGrid& grid, GridPoint from, int dc, int dr, RegionLabel label) {
  GridPoint p{from.column + dc, from.row + dr};
  while (grid.contains(p.column, p.row)) {
    if (grid.at(p.column, p.row) != label) {
      p = {p.column + dc, p.row + dr};
      continue;
    }
    const GridPoint start = p;
    int length = 0;
    while (grid.contains(p.column, p.row) && grid.at(p.column, p.row) == label) {
      ++length;
      p = {p.column + dc, p.row + dr};
    }
    // A single cell is a sliver between two lines: a point there sits on the lines' pixels.
    if (length >= 2) return GridPoint{start.column + dc * (length / 2), start.row + dr * (length / 2)};
  }
  return std::nullopt;
}

}  // namespace

std::vector<GridPoint> regionSeeds(int n, const LabelGrid& grid) {
  std::vector<GridPoint> seeds;
  if (n < 2) return seeds;
  const std::vector<RegionTally> tallies = tally(n, grid);
  seeds.reserve(static_cast<std::size_t>(n - 1));
  for (RegionLabel label = 1; label < n; ++label) {
    const RegionTally& t = tallies[static_cast<std::size_t>(label)];
    GridPoint seed{};
    if (t.cells > 0) {
      seed = {static_cast<int>(t.columnSum / t.cells), static_cast<int>(t.rowSum / t.cells)};
    }
    if (t.cells > 0 && grid.at(seed.column, seed.row) != label) {
      constexpr int kDirections[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      std::optional<GridPoint> moved;
      for (const auto& d : kDirections) {
        moved = runAlong(grid, seed, d[0], d[1], label);
        if (moved) break;
      }
      seed = moved.value_or(GridPoint{t.runStart + (t.runLength - 1) / 2, t.runRow});
    }
    seed.column = std::clamp(seed.column, 0, grid.columns() - 1);
    seed.row = std::clamp(seed.row, 0, grid.rows() - 1);
    seeds.push_back(seed);
  }
  return seeds;
}

}  // namespace veltrace
