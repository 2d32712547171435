#pragma once
// One DXF group: a group code and its value. Values are kept as the text of the file (binary
// files' values are turned into the same text), so that an unknown group is written back
// exactly as it was read. Typed access parses on demand.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vtcad::dxf {

struct Tag {
  int code = 0;
  std::uint32_t line = 0;  // line of the group code in an ASCII file; tag index in a binary file
  std::string_view value;  // raw bytes of the value, without the line end

  // Numbers tolerate the blanks DXF writers pad with. nullopt when the text is no number or
  // not finite.
  std::optional<double> toDouble() const;
  std::optional<std::int64_t> toInt() const;
  // Value without leading and trailing blanks (names and keywords).
  std::string_view trimmed() const;
  bool is(int groupCode, std::string_view text) const { return code == groupCode && trimmed() == text; }
};

std::string_view trimBlanks(std::string_view text);
std::optional<double> parseDouble(std::string_view text);
std::optional<std::int64_t> parseInt(std::string_view text);

}  // namespace vtcad::dxf
