#pragma once
// The spacings of a batch offset: entry k (k = 1..10, index k - 1) is the spacing between copy
// k - 1 and copy k, copy 0 being the source, so copy k lies at entry 1 + ... + entry k.
#include <array>
#include <string_view>

namespace veltrace {

inline constexpr int kMaxCopiesPerSide = 10;
// Spacings at or below this are no spacing: a later entry takes the one before it.
inline constexpr double kSmallestSpacing = 0.0001;

struct SpacingTable {
  // -1 until the prompts set them.
  std::array<double, kMaxCopiesPerSide> entries{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

  // Distance of copy `k` (1..10) from the source.
  double cumulative(int k) const;
};

struct SpacingListReading {
  int pieces = 0;  // how many pieces were read (at most 10)
  // At least one piece read and the first spacing above kSmallestSpacing.
  bool ok = false;
};

// A list typed by the user, such as "9,2,1": separated by commas (full-width commas "，" and
// slashes too), spaces ignored, at most 10 pieces used. Each piece gives the number it begins
// with (0 when it begins with none, and for a number too large to hold); missing entries
// repeat the last piece, and from entry 2 on an entry below kSmallestSpacing repeats the one
// before it. Entry 1 is kept as read ("0,2" puts the first copy on the source). With no
// piece, `table` is left as it was.
SpacingListReading parseSpacingList(std::wstring_view text, SpacingTable& table);

}  // namespace veltrace
