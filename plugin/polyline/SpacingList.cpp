#include "polyline/SpacingList.h"

#include <cassert>
#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "frame/Trim.h"

namespace veltrace {

double SpacingTable::cumulative(int k) const {
  assert(k >= 1 && k <= kMaxCopiesPerSide);
  double sum = 0.0;
  for (int i = 0; i < k; ++i) sum += entries[i];
  return sum;
}

namespace {

// The number a piece begins with, 0 when there is none. wcstod also reads "inf" and "nan",
// and overflows to infinity: none of that may become a spacing.
double leadingNumber(const std::wstring& piece) {
  const double value = std::wcstod(piece.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

std::wstring normalised(std::wstring_view text) {
  std::wstring result;
  for (wchar_t c : trimmed(text)) {
    if (c == L' ') continue;
    result.push_back(c == L'\uFF0C' || c == L'/' ? L',' : c);
  }
  return result;
}

}  // namespace

SpacingListReading parseSpacingList(std::wstring_view text, SpacingTable& table) {
  const std::wstring list = trimmed(normalised(text));
  std::vector<std::wstring> pieces;
  if (!list.empty()) {
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = list.find(L',', from);
      pieces.push_back(list.substr(from, comma == std::wstring::npos ? std::wstring::npos : comma - from));
      if (comma == std::wstring::npos || pieces.size() == kMaxCopiesPerSide) break;
      from = comma + 1;
    }
  }
  SpacingListReading reading;
  reading.pieces = static_cast<int>(pieces.size());
  if (pieces.empty()) return reading;
  for (int i = 0; i < kMaxCopiesPerSide; ++i) {
    table.entries[i] = leadingNumber(pieces[std::min<std::size_t>(i, pieces.size() - 1)]);
  }
  for (int i = 1; i < kMaxCopiesPerSide; ++i) {
    if (table.entries[i] < kSmallestSpacing) table.entries[i] = table.entries[i - 1];
  }
  reading.ok = table.entries[0] > kSmallestSpacing;
  return reading;
}

}  // namespace veltrace
