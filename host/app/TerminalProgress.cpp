#include "app/TerminalProgress.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "dxf/DxfText.h"

namespace vtcad::app {
namespace {

void writeAll(const std::string& text) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a terminal that went away: nothing to show progress on
    data += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace

void TerminalProgress::show(std::wstring_view label, int percent) {
  // Carriage return, the text, then erase to the end of the line (a longer earlier label).
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict) in operator+.
  std::string line = "\r";
  line.append(dxf::wideToUtf8(label)).append("  ").append(std::to_string(percent)).append("%\x1b[K");
  writeAll(line);
}

void TerminalProgress::clear() { writeAll("\r\x1b[K"); }

}  // namespace vtcad::app
