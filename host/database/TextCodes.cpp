#include "database/TextCodes.h"

#include <cwctype>

namespace vtcad::db {

bool consumePercentCode(std::wstring_view text, size_t& pos, char32_t& drawn) {
  if (pos + 2 >= text.size() || text[pos] != L'%' || text[pos + 1] != L'%') return false;
  const wchar_t code = text[pos + 2];
  switch (std::towlower(static_cast<wint_t>(code))) {
    case L'c':
      drawn = U'\u00D8';
      break;
    case L'd':
      drawn = U'\u00B0';
      break;
    case L'p':
      drawn = U'\u00B1';
      break;
    case L'%':
      drawn = U'%';
      break;
    case L'u':
    case L'o':
    case L'k':
      drawn = 0;
      break;
    default:
      if (std::iswdigit(static_cast<wint_t>(code))) {
        char32_t value = 0;
        size_t end = pos + 2;
        while (end < text.size() && end < pos + 5 && std::iswdigit(static_cast<wint_t>(text[end]))) {
          value = value * 10 + static_cast<char32_t>(text[end] - L'0');
          ++end;
        }
        drawn = value;
        pos = end;
        return true;
      }
      drawn = static_cast<char32_t>(code);
      break;
  }
  pos += 3;
  return true;
}

std::u32string decodeTextCodes(std::wstring_view text) {
  std::u32string drawn;
  drawn.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t ch = 0;
    if (consumePercentCode(text, pos, ch)) {
      if (ch != 0) drawn.push_back(ch);
      continue;
    }
    drawn.push_back(static_cast<char32_t>(text[pos]));
    ++pos;
  }
  return drawn;
}

}  // namespace vtcad::db
