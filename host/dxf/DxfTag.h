#pragma once
// One DXF group: a group code and its value. Values are kept as the text of the file (binary
// files' values are turned into the same text), so that an unknown group is written back
// exactly as it was read. Typed access parses on demand.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vtcad::dxf {

std::string_view trimBlanks(std::string_view text);
// Any number text: blanks around it and a plus sign allowed.
std::optional<double> parseDoubleInGeneral(std::string_view text);
std::optional<std::int64_t> parseInt(std::string_view text);

// Reals are most of a drawing file's values: the usual text (nothing around the number) is
// read here, inline; any other goes the general way, which gives the same answer for it.
inline std::optional<double> parseDouble(std::string_view text) {
  if (!text.empty() && text.front() > ' ' && text.front() != '+' && text.back() > ' ') {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(value)) return value;
  }
  return parseDoubleInGeneral(text);
}

struct Tag {
  int code = 0;
  std::uint32_t line = 0;  // line of the group code in an ASCII file; tag index in a binary file
  std::string_view value;  // raw bytes of the value, without the line end

  // Numbers tolerate the blanks DXF writers pad with. nullopt when the text is no number or
  // not finite.
  std::optional<double> toDouble() const { return parseDouble(value); }
  std::optional<std::int64_t> toInt() const;
  // Value without leading and trailing blanks (names and keywords).
  std::string_view trimmed() const;
  bool is(int groupCode, std::string_view text) const { return code == groupCode && trimmed() == text; }
};

}  // namespace vtcad::dxf
