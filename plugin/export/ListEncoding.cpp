#include "export/ListEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace veltrace {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool isAscii(wchar_t c) { return c >= 0 && c < 0x80; }

}  // namespace

ListEncoder::ListEncoder() : converter_(iconv_open("GB18030", "WCHAR_T")) {}

ListEncoder::~ListEncoder() {
  if (static_cast<iconv_t>(converter_) != kNoConverter) iconv_close(static_cast<iconv_t>(converter_));
}

void ListEncoder::append(std::wstring_view text, std::string& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    // Runs of ASCII (almost all of a list) are copied; only the rest goes through iconv.
    std::size_t end = i;
    if (isAscii(text[i])) {
      while (end < text.size() && isAscii(text[end]) && text[end] != L'\n') ++end;
      for (std::size_t k = i; k < end; ++k) out.push_back(static_cast<char>(text[k]));
      if (end < text.size() && text[end] == L'\n') {
        out += "\r\n";
        ++end;
      }
    } else {
      while (end < text.size() && !isAscii(text[end])) ++end;
      appendConverted(text.substr(i, end - i), out);
    }
    i = end;
  }
}

void ListEncoder::appendConverted(std::wstring_view text, std::string& out) {
  const auto converter = static_cast<iconv_t>(converter_);
  if (converter == kNoConverter) {
    out.append(text.size(), '?');
    return;
  }
  // iconv takes a non-const input pointer but does not write through it.
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(wchar_t);
  char chunk[256];
  while (inLeft > 0) {
    char* next = chunk;
    std::size_t room = sizeof(chunk);
    const std::size_t result = iconv(converter, &in, &inLeft, &next, &room);
    out.append(chunk, static_cast<std::size_t>(next - chunk));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL: this character has no GB18030 form; it is replaced and passed over.
    out.push_back('?');
    in += sizeof(wchar_t);
    inLeft -= inLeft < sizeof(wchar_t) ? inLeft : sizeof(wchar_t);
  }
  // Back to the initial state (GB18030 has no shift states; this is cheap insurance).
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace veltrace
