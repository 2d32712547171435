#pragma once
// The text of a list file as it goes to disk. The document declares charset=gb2312, so its
// bytes are GB18030 (the superset every reader of "gb2312" pages decodes), and every line ends
// in CR LF as the text-mode files of the system the lists come from.
#include <string>
#include <string_view>

namespace veltrace {

// Encodes wide text for a list file. One converter per document: it is not to be shared
// between threads.
class ListEncoder {
 public:
  ListEncoder();
  ~ListEncoder();
  ListEncoder(const ListEncoder&) = delete;
  ListEncoder& operator=(const ListEncoder&) = delete;

  // Appends `text` to `out`: "\n" becomes CR LF, ASCII stays as it is, everything else becomes
  // its GB18030 bytes. A character with no encoding (an unpaired surrogate, a value beyond
  // U+10FFFF) is written as "?", so a damaged name never costs the list.
  void append(std::wstring_view text, std::string& out);
  std::string encode(std::wstring_view text) {
    std::string out;
    append(text, out);
    return out;
  }

 private:
  void appendConverted(std::wstring_view text, std::string& out);

  void* converter_;  // an iconv_t; (iconv_t)-1 when the system has no GB18030 converter
};

}  // namespace veltrace
