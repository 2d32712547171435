// UTF-8 and UTF-16LE to and from wide strings, strict on input, always valid on output.
#include "platform/TextEncoding.h"

namespace vtcad::platform {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool isEncodable(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

DecodedText decodeUtf8(std::string_view bytes) {
  DecodedText out;
  out.text.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      out.text.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2, c = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3, c = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4, c = b0 & 0x07, minimum = 0x10000;
    }
    size_t taken = 1;
    bool valid = length != 0;
    while (valid && taken < length) {
      if (i + taken >= bytes.size()) {
        valid = false;
        break;
      }
      auto b = static_cast<unsigned char>(bytes[i + taken]);
      if ((b & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
      ++taken;
    }
    if (valid && (c < minimum || !isEncodable(c))) valid = false;
    if (valid) {
      out.text.push_back(static_cast<wchar_t>(c));
    } else {
      // One replacement for the lead byte and the continuation bytes that followed it: the
      // next lead byte starts afresh, so one bad byte never swallows good text after it.
      out.invalidAt.push_back(out.text.size());
      out.text.push_back(kReplacement);
    }
    i += taken;
  }
  return out;
}

DecodedText decodeUtf16Le(std::string_view bytes) {
  DecodedText out;
  out.text.reserve(bytes.size() / 2);
  auto unit = [&](size_t at) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  size_t i = 0;
  while (i + 1 < bytes.size()) {
    char16_t u = unit(i);
    i += 2;
    if (u < 0xD800 || u > 0xDFFF) {
      out.text.push_back(static_cast<wchar_t>(u));
      continue;
    }
    if (u <= 0xDBFF && i + 1 < bytes.size()) {
      char16_t low = unit(i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        i += 2;
        out.text.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
        continue;
      }
    }
    out.invalidAt.push_back(out.text.size());
    out.text.push_back(kReplacement);
  }
  if (i < bytes.size()) {
    out.invalidAt.push_back(out.text.size());
    out.text.push_back(kReplacement);
  }
  return out;
}

std::string encodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    auto c = static_cast<char32_t>(w);
    if (!isEncodable(c)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::vector<std::uint8_t> encodeUtf16Le(std::wstring_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  auto put = [&](char32_t u) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
  };
  for (wchar_t w : text) {
    auto c = static_cast<char32_t>(w);
    if (!isEncodable(c)) c = kReplacement;
    if (c < 0x10000) {
      put(c);
    } else {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    }
  }
  return out;
}

std::filesystem::path pathFromWide(std::wstring_view text) { return std::filesystem::path(encodeUtf8(text)); }

std::wstring wideFromPath(const std::filesystem::path& path) { return decodeUtf8(path.native()).text; }

}  // namespace vtcad::platform
