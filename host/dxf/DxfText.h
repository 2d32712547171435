#pragma once
// Text of DXF strings. Files of R2007 and later are UTF-8; older files use the code page
// their $DWGCODEPAGE names (ANSI_936 for Chinese drawings, ANSI_1252, ...), converted with
// iconv. Both may carry \U+XXXX escapes (and old \M+NXXXX multibyte escapes), which decode()
// resolves. Bytes that are not valid in the file's encoding become U+FFFD, never a crash.
#include <string>
#include <string_view>

namespace vtcad::dxf {

class TextDecoder {
 public:
  TextDecoder() = default;  // UTF-8
  // utf8 true for R2007 and later; otherwise dwgCodepage chooses ("" means ANSI_1252).
  TextDecoder(bool utf8, std::string_view dwgCodepage);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Wide text with escapes resolved.
  std::wstring decode(std::string_view bytes) const;
  // The same bytes as UTF-8, escapes kept (for groups written back as they were read).
  std::string toUtf8(std::string_view bytes) const;
  bool isUtf8() const { return utf8_; }

 private:
  // Whether the bytes need the code page's conversion (not UTF-8 already, not plain ASCII).
  bool converts(std::string_view bytes) const;
  bool utf8_ = true;
  void* iconv_ = nullptr;  // iconv_t from the code page to UTF-8
};

// The iconv name of a $DWGCODEPAGE value ("ANSI_936" -> "GB18030", "UTF8" -> "UTF-8");
// empty when unknown.
std::string iconvNameOfCodepage(std::string_view dwgCodepage);
// Converts with iconv; invalid sequences become U+FFFD. Empty `from` means UTF-8 already.
std::string convertToUtf8(std::string_view bytes, std::string_view fromEncoding);

std::wstring utf8ToWide(std::string_view utf8);
// "$NAME" of a header variable's name.
std::string dollarName(std::wstring_view name);
std::string wideToUtf8(std::wstring_view wide);
// Resolves \U+XXXX escapes (and \M+NXXXX with the code page of N) in decoded text.
std::wstring resolveUnicodeEscapes(std::wstring_view text);

}  // namespace vtcad::dxf
