#include "dxf/DxfText.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vtcad::dxf {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

int hexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

std::string convertWith(iconv_t cd, std::string_view bytes) {
  std::string out;
  out.resize(bytes.size() * 4 + 16);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  while (inLeft > 0) {
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL (a cut-off sequence): one replacement character for the bad byte.
    if (outLeft < 3) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() + 16);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    std::memcpy(outPtr, "\xEF\xBF\xBD", 3);
    outPtr += 3;
    outLeft -= 3;
    ++in;
    --inLeft;
  }
  out.resize(static_cast<size_t>(outPtr - out.data()));
  return out;
}

}  // namespace

std::string iconvNameOfCodepage(std::string_view page) {
  std::string upper;
  for (char c : page) upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
  struct Entry {
    const char* dxf;
    const char* iconv;
  };
  // GB18030 is a superset of code page 936 and reads every GBK file.
  static constexpr Entry kTable[] = {
      {"ANSI_936", "GB18030"},     {"ANSI_932", "CP932"},
      {"ANSI_949", "CP949"},       {"ANSI_950", "CP950"},
      {"ANSI_1361", "JOHAB"},      {"ANSI_874", "CP874"},
      {"ANSI_1250", "CP1250"},     {"ANSI_1251", "CP1251"},
      {"ANSI_1252", "CP1252"},     {"ANSI_1253", "CP1253"},
      {"ANSI_1254", "CP1254"},     {"ANSI_1255", "CP1255"},
      {"ANSI_1256", "CP1256"},     {"ANSI_1257", "CP1257"},
      {"ANSI_1258", "CP1258"},     {"DOS437", "CP437"},
      {"DOS850", "CP850"},         {"DOS852", "CP852"},
      {"DOS855", "CP855"},         {"DOS857", "CP857"},
      {"DOS860", "CP860"},         {"DOS861", "CP861"},
      {"DOS863", "CP863"},         {"DOS864", "CP864"},
      {"DOS865", "CP865"},         {"DOS869", "CP869"},
      {"DOS932", "CP932"},         {"DOS866", "CP866"},
      {"ISO8859-1", "ISO-8859-1"}, {"ISO8859-2", "ISO-8859-2"},
      {"ISO8859-5", "ISO-8859-5"}, {"ISO8859-7", "ISO-8859-7"},
      {"GB2312", "GB18030"},       {"BIG5", "BIG5"},
      {"UTF8", "UTF-8"},           {"UTF-8", "UTF-8"},
  };
  for (const Entry& entry : kTable) {
    if (upper == entry.dxf) return entry.iconv;
  }
  return {};
}

std::string convertToUtf8(std::string_view bytes, std::string_view fromEncoding) {
  if (fromEncoding.empty()) return std::string(bytes);
  iconv_t cd = iconv_open("UTF-8", std::string(fromEncoding).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
  std::string out = convertWith(cd, bytes);
  iconv_close(cd);
  return out;
}

TextDecoder::TextDecoder(bool utf8, std::string_view dwgCodepage) : utf8_(utf8) {
  if (utf8_) return;
  std::string name = iconvNameOfCodepage(dwgCodepage.empty() ? "ANSI_1252" : dwgCodepage);
  // An unknown code page reads as Windows Latin: the commonest, and it maps nearly every byte.
  if (name.empty()) name = "CP1252";
  if (name == "UTF-8") {
    utf8_ = true;
    return;
  }
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_ = cd;
}

TextDecoder::~TextDecoder() {
  if (iconv_) iconv_close(static_cast<iconv_t>(iconv_));
}

namespace {

bool isAscii(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

bool TextDecoder::converts(std::string_view bytes) const { return !utf8_ && iconv_ && !isAscii(bytes); }

std::string TextDecoder::toUtf8(std::string_view bytes) const {
  if (!converts(bytes)) return std::string(bytes);
  return convertWith(static_cast<iconv_t>(iconv_), bytes);
}

std::wstring TextDecoder::decode(std::string_view bytes) const {
  // Text that needs no conversion (every name of most drawings) is not copied first.
  std::wstring wide = converts(bytes) ? utf8ToWide(toUtf8(bytes)) : utf8ToWide(bytes);
  // One look for both kinds of character that need work: escapes, and NUL.
  if (wide.find_first_of(std::wstring_view(L"\\\0", 2)) == std::wstring::npos) return wide;
  if (wide.find(L'\\') != std::wstring::npos) wide = resolveUnicodeEscapes(wide);
  // A NUL in a value (a damaged ASCII file, or "\U+0000") would end the text wherever it is
  // handed on as a C string: a block's name would become "" while references to it kept the
  // whole name. It is kept in the written form, as the control characters of binary files are
  // ("^@").
  if (wide.find(L'\0') != std::wstring::npos) {
    std::wstring written;
    written.reserve(wide.size() + 8);
    for (wchar_t c : wide) {
      if (c == L'\0') {
        written += L"^@";
      } else {
        written.push_back(c);
      }
    }
    wide = std::move(written);
  }
  return wide;
}

std::wstring utf8ToWide(std::string_view s) {
  std::wstring out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    int extra = (c >= 0xF0 && c <= 0xF4)   ? 3
                : (c >= 0xE0 && c < 0xF0)  ? 2
                : (c >= 0xC2 && c <= 0xDF) ? 1
                                           : -1;
    // A bad lead byte, or a sequence cut off by the end of the text.
    if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::uint32_t cp = c & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((cc & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are invalid.
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    out.push_back(static_cast<wchar_t>(cp));
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string wideToUtf8(std::wstring_view w) {
  std::string out;
  out.reserve(w.size());
  for (wchar_t wc : w) {
    auto cp = static_cast<std::uint32_t>(wc);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::wstring resolveUnicodeEscapes(std::wstring_view text) {
  static constexpr const char* kMifPages[] = {nullptr, "CP932", "CP950", "CP949", "JOHAB", "GB18030"};
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'\\' && i + 6 < text.size() && (text[i + 1] == L'U' || text[i + 1] == L'u') &&
        text[i + 2] == L'+') {
      int v0 = hexValue(text[i + 3]), v1 = hexValue(text[i + 4]), v2 = hexValue(text[i + 5]),
          v3 = hexValue(text[i + 6]);
      if (v0 >= 0 && v1 >= 0 && v2 >= 0 && v3 >= 0) {
        out.push_back(static_cast<wchar_t>((v0 << 12) | (v1 << 8) | (v2 << 4) | v3));
        i += 7;
        continue;
      }
    }
    if (text[i] == L'\\' && i + 7 < text.size() && (text[i + 1] == L'M' || text[i + 1] == L'm') &&
        text[i + 2] == L'+' && text[i + 3] >= L'1' && text[i + 3] <= L'5') {
      int v0 = hexValue(text[i + 4]), v1 = hexValue(text[i + 5]), v2 = hexValue(text[i + 6]),
          v3 = hexValue(text[i + 7]);
      if (v0 >= 0 && v1 >= 0 && v2 >= 0 && v3 >= 0) {
        char bytes[2] = {static_cast<char>((v0 << 4) | v1), static_cast<char>((v2 << 4) | v3)};
        std::wstring decoded =
            utf8ToWide(convertToUtf8(std::string_view(bytes, 2), kMifPages[text[i + 3] - L'0']));
        out += decoded;
        i += 8;
        continue;
      }
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

std::string dollarName(std::wstring_view name) {
  // Appended, not "$" + ...: GCC 12 at -O3 warns falsely about the concatenation.
  std::string out(1, '$');
  out += wideToUtf8(name);
  return out;
}

}  // namespace vtcad::dxf
