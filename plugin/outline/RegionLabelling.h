#pragma once
// Connected regions of a picture in one labelling pass and one renumbering pass, with a
// union-find over the provisional labels: the cost is linear in the pixels whatever the
// regions look like (a merge pass that rewrote labels in place would cost a scan of the grid
// per merge, and a noisy picture has hundreds of thousands of merges).
//
// Which pixels belong together: a member pixel is joined to its left neighbour and to the one
// above when `joins` says so; to its upper-right neighbour only when it is joined to neither
// the pixel above nor the one on its left (and it is not in the leftmost column). That is the
// host's long-standing rule for view pictures, kept so the regions of a drawing are the ones
// its users know: a diagonal gap of one pixel closes only where nothing else joins.
//
// Numbering: non-members keep label 0; regions are 1, 2, ... in row-major order of their first
// pixel, so label 1 is the region of the first member pixel from the top left (in a view
// picture, the open space around the drawing). The answer n is the number of labels in use,
// label 0 always counted: regions are 1 ... n - 1.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "outline/LabelGrid.h"
#include "outline/SideBySide.h"

namespace veltrace {

namespace detail {

// Union-find over provisional labels 1 ... count; a class's root is its smallest label.
class LabelClasses {
 public:
  // Keeps its entries in `storage` (emptied first), so that a caller may reuse the memory.
  explicit LabelClasses(std::vector<RegionLabel>& storage) : parent_(storage) {
    parent_.clear();
    parent_.push_back(0);
  }
  // Goes on with the entries `storage` holds from an earlier LabelClasses.
  struct KeepEntries {};
  LabelClasses(std::vector<RegionLabel>& storage, KeepEntries) : parent_(storage) {
    if (parent_.empty()) parent_.push_back(0);
  }
  LabelClasses(const LabelClasses&) = delete;
  LabelClasses& operator=(const LabelClasses&) = delete;
  // The provisional labels in use: 1 ... count().
  RegionLabel count() const { return static_cast<RegionLabel>(parent_.size() - 1); }
  // Takes in the labels of another union-find as count() + 1 ..., with their classes.
  void append(const std::vector<RegionLabel>& other) {
    const RegionLabel offset = count();
    for (std::size_t label = 1; label < other.size(); ++label) parent_.push_back(other[label] + offset);
  }
  RegionLabel fresh() {
    const auto label = static_cast<RegionLabel>(parent_.size());
    parent_.push_back(label);
    return label;
  }
  RegionLabel find(RegionLabel label) {
    while (parent_[label] != label) {
      parent_[label] = parent_[parent_[label]];  // path halving
      label = parent_[label];
    }
    return label;
  }
  // Joins the classes of two roots; the answer is the root of the joined class.
  RegionLabel uniteRoots(RegionLabel a, RegionLabel b) {
    if (a < b) {
      parent_[b] = a;
      return a;
    }
    parent_[a] = b;
    return b;
  }
  void join(RegionLabel a, RegionLabel b) {
    a = find(a);
    b = find(b);
    if (a != b) uniteRoots(a, b);
  }
  // Replaces every entry by the final number of its class (1, 2, ... by smallest label) and
  // answers how many classes there are. A parent is always smaller than its child, so one
  // increasing sweep resolves every chain.
  int renumber() {
    RegionLabel next = 0;
    for (std::size_t label = 1; label < parent_.size(); ++label) {
      parent_[label] = parent_[label] == static_cast<RegionLabel>(label) ? ++next : parent_[parent_[label]];
    }
    return next;
  }
  RegionLabel finalOf(RegionLabel provisional) const { return parent_[provisional]; }

 private:
  std::vector<RegionLabel>& parent_;
};

struct MemberRun {
  int start;
  int end;  // one past the last member
  RegionLabel label;
};

// The runs of a band of rows, labelled on their own: labels 1, 2, ... of the band's union-find.
struct BandRuns {
  std::vector<std::uint8_t> mask;
  std::vector<std::uint64_t> words;
  std::vector<MemberRun> runs;
  std::vector<std::size_t> rowStart;  // runs of the band's row i: rowStart[i] ... rowStart[i + 1]
  std::vector<RegionLabel> classes;
};

// The working memory of a run labelling, kept from picture to picture of a thread: the runs of
// a noisy view picture take megabytes, and memory that is new each time costs the system's
// zeroing of its pages on every picture. The second band is worked on by a helper thread, but
// its memory belongs to the calling thread, so that it too is kept.
struct RunScratch {
  BandRuns bands[2];
};

inline RunScratch& runScratch() {
  static thread_local RunScratch scratch;
  return scratch;
}

// Bit i of the answer is byte i of `bytes`, each byte 0 or 1: the multiplication moves byte
// i's low bit to bit 56 + i, and no two partial products meet there.
inline std::uint64_t packEightMaskBytes(const std::uint8_t* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return (word * 0x0102040810204080ULL) >> 56;
}

// The column one past the last one a run reaches in the row above: a one-pixel run not in the
// leftmost column, with nothing above it, reaches the pixel up and to the right; a longer run
// covers that pixel's column itself.
inline int reachAbove(int start, int end) { return (start > 0 && end == start + 1) ? start + 2 : end; }

// Rows y0 ... y1 - 1 as runs, each run labelled from the runs of the row above it within the
// band (the band's first row is labelled as if nothing were above it).
template <typename RowMask>
void labelBandRuns(int width, int y0, int y1, RowMask& rowMask, BandRuns& band) {
  std::vector<std::uint8_t>& mask = band.mask;
  std::vector<std::uint64_t>& words = band.words;
  std::vector<MemberRun>& runs = band.runs;
  std::vector<std::size_t>& rowStart = band.rowStart;
  mask.assign(static_cast<std::size_t>(width), 0);
  words.assign((static_cast<std::size_t>(width) + 63) / 64, 0);
  runs.clear();
  rowStart.assign(static_cast<std::size_t>(y1 - y0) + 1, 0);
  LabelClasses classes(band.classes);
  for (int y = y0; y < y1; ++y) {
    const auto row = static_cast<std::size_t>(y - y0);
    rowMask(y, mask.data());
    rowStart[row] = runs.size();
    // The runs of the row above, walked alongside.
    std::size_t above = row > 0 ? rowStart[row - 1] : 0;
    const std::size_t aboveEnd = row > 0 ? rowStart[row] : 0;
    // The row as bits, 64 pixels a word, so runs are found from word to word without a test
    // per pixel: a run starts where a bit is set and the one before is not, and ends where a
    // bit is clear and the one before is set.
    for (std::size_t w = 0; w < words.size(); ++w) {
      std::uint64_t bits = 0;
      const std::size_t first = w * 64;
      const std::size_t last = std::min(first + 64, static_cast<std::size_t>(width));
      if (last - first == 64) {
        for (std::size_t k = 0; k < 8; ++k) bits |= packEightMaskBytes(&mask[first + 8 * k]) << (8 * k);
      } else {
        for (std::size_t i = first; i < last; ++i) bits |= static_cast<std::uint64_t>(mask[i]) << (i - first);
      }
      words[w] = bits;
    }
    auto addRun = [&](int start, int end) {
      const int reach = reachAbove(start, end);
      while (above < aboveEnd && runs[above].end <= start) ++above;
      // The run takes the label of the first run above it that it touches; every further one
      // joins that label's class, found once (a noisy picture joins most runs to two or
      // three above them).
      std::size_t a = above;
      RegionLabel label;
      if (a < aboveEnd && runs[a].start < reach) {
        label = runs[a].label;
        bool isRoot = false;
        for (++a; a < aboveEnd && runs[a].start < reach; ++a) {
          const RegionLabel other = runs[a].label;
          if (other == label) continue;
          if (!isRoot) {
            label = classes.find(label);
            isRoot = true;
          }
          label = classes.uniteRoots(label, classes.find(other));
        }
      } else {
        label = classes.fresh();
      }
      runs.push_back({start, end, label});
    };
    std::uint64_t carry = 0;  // the last bit of the word before
    int open = -1;            // the start of a run that goes on into the next word
    for (std::size_t w = 0; w < words.size(); ++w) {
      const std::uint64_t bits = words[w];
      const std::uint64_t before = (bits << 1) | carry;
      carry = bits >> 63;
      std::uint64_t starts = bits & ~before;
      std::uint64_t ends = ~bits & before;
      const int base = static_cast<int>(w * 64);
      if (open >= 0 && ends) {
        addRun(open, base + std::countr_zero(ends));
        ends &= ends - 1;
        open = -1;
      }
      while (starts) {
        const int start = base + std::countr_zero(starts);
        starts &= starts - 1;
        if (!ends) {
          open = start;
          break;
        }
        addRun(start, base + std::countr_zero(ends));
        ends &= ends - 1;
      }
    }
    if (open >= 0) addRun(open, width);
  }
  rowStart[static_cast<std::size_t>(y1 - y0)] = runs.size();
}

// Writes the final labels of a band's rows into the grid; the band's labels are `offset` above
// its own numbering in `classes`.
inline void writeBandCells(LabelGrid& grid, const BandRuns& band, int y0, int y1, RegionLabel offset,
                           const LabelClasses& classes) {
  const int width = grid.width();
  constexpr int kWide = 8;
  for (int y = y0; y < y1; ++y) {
    const auto row = static_cast<std::size_t>(y - y0);
    RegionLabel* cells = grid.rowCells(y + 1) + 1;
    // The drawn pixels at once, then the runs over them. A noisy row has runs and gaps of a
    // few pixels, where loops of a few stores each mispredict their ends: a run is written
    // in blocks of eight labels, the last reaching past its end, then eight drawn cells from
    // its end (which the next run, written after, overwrites where it begins).
    // Near the row's end the stores would reach the next row's border: there, cell by cell.
    std::fill(cells, cells + width, kDrawnLabel);
    for (std::size_t r = band.rowStart[row]; r < band.rowStart[row + 1]; ++r) {
      const MemberRun& run = band.runs[r];
      const RegionLabel label = classes.finalOf(run.label + offset);
      if (run.end + kWide <= width) {
        for (int x = run.start; x < run.end; x += kWide) {
          for (int k = 0; k < kWide; ++k) cells[x + k] = label;
        }
        for (int k = 0; k < kWide; ++k) cells[run.end + k] = kDrawnLabel;
      } else {
        for (int x = run.start; x < run.end; ++x) cells[x] = label;
      }
    }
  }
}

// Where a picture is split into two bands labelled side by side, or 0 for one band: a small
// picture costs less than starting a thread.
inline int bandSplit(int width, int height) {
  constexpr long long kPixelsWorthATwoBands = 1LL << 18;
  if (height < 16 || static_cast<long long>(width) * height < kPixelsWorthATwoBands) return 0;
  if (std::thread::hardware_concurrency() < 2) return 0;
  return height / 2;
}

}  // namespace detail

// `member(x, y)`: the pixel takes part. `joins(x, y, nx, ny)`: member pixel (x, y) belongs with
// its member neighbour (nx, ny). The grid must have the picture's size; its inner cells are
// overwritten.
template <typename Member, typename Joins>
int labelRegions(LabelGrid& grid, Member&& member, Joins&& joins) {
  const int width = grid.width();
  const int height = grid.height();
  std::vector<RegionLabel> classStorage;
  detail::LabelClasses classes(classStorage);
  for (int y = 0; y < height; ++y) {
    RegionLabel* cells = grid.rowCells(y + 1) + 1;
    const RegionLabel* above = grid.rowCells(y) + 1;
    for (int x = 0; x < width; ++x) {
      if (!member(x, y)) {
        cells[x] = kDrawnLabel;
        continue;
      }
      const bool up = y > 0 && above[x] > 0 && joins(x, y, x, y - 1);
      const bool left = x > 0 && cells[x - 1] > 0 && joins(x, y, x - 1, y);
      RegionLabel label;
      if (up) {
        label = above[x];
        if (left && cells[x - 1] != label) classes.join(label, cells[x - 1]);
      } else if (left) {
        label = cells[x - 1];
      } else if (x > 0 && y > 0 && above[x + 1] > 0 && joins(x, y, x + 1, y - 1)) {
        // above[x + 1] of the last column is the border: never a label.
        label = above[x + 1];
      } else {
        label = classes.fresh();
      }
      cells[x] = label;
    }
  }
  const int regions = classes.renumber();
  for (int y = 0; y < height; ++y) {
    RegionLabel* cells = grid.rowCells(y + 1) + 1;
    for (int x = 0; x < width; ++x) {
      if (cells[x] > 0) cells[x] = classes.finalOf(cells[x]);
    }
  }
  return regions + 1;
}

// The same regions as labelRegions with every member joined to every member neighbour, found
// run by run: `rowMask(y, mask)` fills mask[0 .. W) with 1 for the members of row y and 0 for
// the others. A run of members is one region whatever lies around it, so the union-find sees
// one entry per run instead of one per pixel, and every inner cell is written once, with its
// final label (the grid may come from LabelGrid::withBorderOnly). A large picture is labelled
// in two bands of rows at once, so `rowMask` is called from two threads for different rows: it
// must not write to anything shared but the mask it is given.
template <typename RowMask>
int labelMemberRuns(LabelGrid& grid, RowMask&& rowMask) {
  const int width = grid.width();
  const int height = grid.height();
  detail::RunScratch& scratch = detail::runScratch();
  detail::BandRuns& top = scratch.bands[0];
  detail::BandRuns& bottom = scratch.bands[1];
  const int split = detail::bandSplit(width, height);
  if (split == 0) {
    detail::labelBandRuns(width, 0, height, rowMask, top);
    detail::LabelClasses classes(top.classes, detail::LabelClasses::KeepEntries{});
    const int regions = classes.renumber();
    detail::writeBandCells(grid, top, 0, height, 0, classes);
    return regions + 1;
  }
  // Two bands side by side, then the bottom band's labels follow the top band's: every
  // provisional label of the top is smaller than every one of the bottom, as a single pass
  // from the top would have made them, so the numbering by smallest label is the same.
  runSideBySide([&] { detail::labelBandRuns(width, 0, split, rowMask, top); },
                [&] { detail::labelBandRuns(width, split, height, rowMask, bottom); });
  detail::LabelClasses classes(top.classes, detail::LabelClasses::KeepEntries{});
  const RegionLabel offset = classes.count();
  classes.append(bottom.classes);
  // The seam: the bottom band's first row against the top band's last, by the rule within a
  // band.
  std::size_t above = top.rowStart[static_cast<std::size_t>(split - 1)];
  const std::size_t aboveEnd = top.rowStart[static_cast<std::size_t>(split)];
  for (std::size_t r = 0; r < bottom.rowStart[1]; ++r) {
    const detail::MemberRun& run = bottom.runs[r];
    const int reach = detail::reachAbove(run.start, run.end);
    while (above < aboveEnd && top.runs[above].end <= run.start) ++above;
    for (std::size_t a = above; a < aboveEnd && top.runs[a].start < reach; ++a)
      classes.join(run.label + offset, top.runs[a].label);
  }
  const int regions = classes.renumber();
  runSideBySide([&] { detail::writeBandCells(grid, top, 0, split, 0, classes); },
                [&] { detail::writeBandCells(grid, bottom, split, height, offset, classes); });
  return regions + 1;
}

}  // namespace veltrace
