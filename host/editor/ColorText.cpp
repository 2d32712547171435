// Colours as text: the forms CECOLOR answers and takes.
#include "editor/ColorText.h"

#include <cwctype>

namespace vtcad::editor {
namespace {

std::wstring_view trimmed(std::wstring_view text) {
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  return text;
}

bool equalsIgnoringCase(std::wstring_view text, std::wstring_view upper) {
  if (text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<wchar_t>(std::towupper(text[i])) != upper[i]) return false;
  }
  return true;
}

// A whole number 0..max written with decimal digits only (no sign, no exponent); nothing for
// an empty text or too many digits.
std::optional<int> smallNumber(std::wstring_view text, int max) {
  text = trimmed(text);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value > max) return std::nullopt;
  return value;
}

}  // namespace

std::wstring colorText(const ZcCmColor& color) {
  if (color.isByLayer()) return L"BYLAYER";
  if (color.isByBlock()) return L"BYBLOCK";
  if (color.isByColor()) {
    return L"RGB:" + std::to_wstring(color.red()) + L"," + std::to_wstring(color.green()) + L"," +
           std::to_wstring(color.blue());
  }
  return std::to_wstring(color.colorIndex());
}

std::optional<ZcCmColor> parseColorText(std::wstring_view text) {
  text = trimmed(text);
  ZcCmColor color;
  if (equalsIgnoringCase(text, L"BYLAYER")) {
    color.setByLayer();
    return color;
  }
  if (equalsIgnoringCase(text, L"BYBLOCK")) {
    color.setByBlock();
    return color;
  }
  if (text.size() > 4 && equalsIgnoringCase(text.substr(0, 4), L"RGB:")) {
    std::wstring_view rest = text.substr(4);
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      size_t comma = rest.find(L',');
      // Exactly three parts: the last one has no comma after it.
      if ((i < 2) == (comma == std::wstring_view::npos)) return std::nullopt;
      std::optional<int> part = smallNumber(rest.substr(0, comma), /*max=*/255);
      if (!part) return std::nullopt;
      parts[i] = *part;
      rest = i < 2 ? rest.substr(comma + 1) : std::wstring_view();
    }
    color.setRGB(static_cast<Zdesk::UInt8>(parts[0]), static_cast<Zdesk::UInt8>(parts[1]),
                 static_cast<Zdesk::UInt8>(parts[2]));
    return color;
  }
  std::optional<int> index = smallNumber(text, /*max=*/255);
  if (!index || *index == 0) return std::nullopt;
  color.setColorIndex(static_cast<Zdesk::UInt16>(*index));
  return color;
}

}  // namespace vtcad::editor
