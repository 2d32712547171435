#include "dxf/DxfTag.h"

#include <charconv>
#include <cmath>

namespace vtcad::dxf {

std::string_view trimBlanks(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  size_t end = text.size();
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return text.substr(begin, end - begin);
}

std::optional<double> parseDoubleInGeneral(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int64_t> parseInt(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc() && end == text.data() + text.size()) return value;
  // Some writers put a real where an integer belongs ("1.0"): take it when it is integral.
  if (auto real = parseDouble(text); real && std::trunc(*real) == *real && std::fabs(*real) < 9.2e18) {
    return static_cast<std::int64_t>(*real);
  }
  return std::nullopt;
}

std::optional<std::int64_t> Tag::toInt() const { return parseInt(value); }
std::string_view Tag::trimmed() const { return trimBlanks(value); }

}  // namespace vtcad::dxf
