#include "editor/InputParsing.h"

#include <cmath>
#include <cwctype>
#include <numbers>
#include <string>

namespace vtcad::editor {

std::optional<double> parseReal(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 64) return std::nullopt;
  // Only the characters of a decimal number: wcstod would also take "inf", "nan" and hex.
  for (wchar_t c : text) {
    if (!(std::iswdigit(static_cast<wint_t>(c)) || c == L'.' || c == L'-' || c == L'+' || c == L'e' ||
          c == L'E')) {
      return std::nullopt;
    }
  }
  std::wstring copy(text);
  wchar_t* end = nullptr;
  double value = std::wcstod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

ParsedInteger parseInteger(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size()) return {};
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!std::iswdigit(static_cast<wint_t>(text[i]))) return {};
    value = value * 10 + (text[i] - L'0');
    if (value > 1000000) value = 1000000;  // far out of range already; keeps the sum small
  }
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return ParsedInteger{IntegerParse::kOutOfRange, 0};
  return ParsedInteger{IntegerParse::kOk, static_cast<int>(value)};
}

std::optional<ZcGePoint3d> parsePoint(std::wstring_view text, const ZcGePoint3d& last) {
  bool relative = false;
  if (!text.empty() && text.front() == L'@') {
    relative = true;
    text.remove_prefix(1);
    if (text.empty()) return last;
  }
  ZcGePoint3d base = relative ? last : ZcGePoint3d(0.0, 0.0, 0.0);
  size_t angleMark = text.find(L'<');
  if (angleMark != std::wstring_view::npos) {
    auto distance = parseReal(text.substr(0, angleMark));
    auto degrees = parseReal(text.substr(angleMark + 1));
    if (!distance || !degrees) return std::nullopt;
    double a = *degrees * std::numbers::pi / 180.0;
    return ZcGePoint3d(base.x + *distance * std::cos(a), base.y + *distance * std::sin(a), base.z);
  }
  double c[3] = {0.0, 0.0, 0.0};
  int count = 0;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(L',', start);
    std::wstring_view part =
        text.substr(start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start);
    if (count == 3) return std::nullopt;
    auto value = parseReal(part);
    if (!value) return std::nullopt;
    c[count++] = *value;
    if (comma == std::wstring_view::npos) break;
    start = comma + 1;
  }
  if (count < 2) return std::nullopt;
  ZcGePoint3d point(base.x + c[0], base.y + c[1], count == 3 ? base.z + c[2] : base.z);
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) return std::nullopt;
  return point;
}

std::optional<std::wstring_view> handleReference(std::wstring_view text) {
  if (text.size() < 2 || text.front() != L'#' || text.size() > 17) return std::nullopt;
  text.remove_prefix(1);
  for (wchar_t c : text) {
    if (!std::iswxdigit(static_cast<wint_t>(c))) return std::nullopt;
  }
  return text;
}

}  // namespace vtcad::editor
