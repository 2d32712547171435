#include "frame/Utf8.h"

namespace veltrace {

std::wstring decodeUtf8(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  auto byteAt = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  while (i < n) {
    const unsigned char lead = byteAt(i);
    int extra = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
      text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
      text.push_back(L'\uFFFD');
      ++i;
      continue;
    }
    std::size_t k = 1;
    for (; k <= static_cast<std::size_t>(extra) && i + k < n && (byteAt(i + k) & 0xC0) == 0x80; ++k) {
      code = (code << 6) | (byteAt(i + k) & 0x3F);
    }
    if (k != static_cast<std::size_t>(extra) + 1) {
      // Truncated sequence: one replacement, then go on at the byte that broke it.
      text.push_back(L'\uFFFD');
      i += k;
      continue;
    }
    // Overlong forms, surrogates and values beyond Unicode are malformed too.
    const bool valid = code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    text.push_back(valid ? static_cast<wchar_t>(code) : L'\uFFFD');
    i += k;
  }
  return text;
}

std::string encodeUtf8(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    auto code = static_cast<char32_t>(c);
    // Surrogates and values beyond Unicode have no UTF-8 form.
    if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
    if (code < 0x80) {
      bytes.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (code >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | (code >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | (code >> 18)));
      bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return bytes;
}

}  // namespace veltrace
