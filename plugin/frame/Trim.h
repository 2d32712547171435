#pragma once
// Text from settings and from files beside the plug-in, without the white space around it.
#include <cwctype>
#include <string>
#include <string_view>

namespace veltrace {

// `text` without leading and trailing white space (iswspace).
inline std::wstring trimmed(std::wstring_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && std::iswspace(text[first])) ++first;
  while (last > first && std::iswspace(text[last - 1])) --last;
  return std::wstring(text.substr(first, last - first));
}

}  // namespace veltrace
