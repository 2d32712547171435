#include "app/TerminalProgress.h"

#include <unistd.h>

#include <string>

#include "dxf/DxfText.h"
#include "platform/WriteAll.h"

namespace vtcad::app {
namespace {

// A terminal that went away has nothing to show progress on: a failed write is let go.
void writeToTerminal(std::string_view text) { (void)platform::writeAll(STDERR_FILENO, text); }

}  // namespace

void TerminalProgress::show(std::wstring_view label, int percent) {
  // Carriage return, the text, then erase to the end of the line (a longer earlier label).
  // Appended piece by piece: GCC 12 at -O3 sees a false overlap (-Wrestrict) in operator+.
  std::string line = "\r";
  line.append(dxf::wideToUtf8(label)).append("  ").append(std::to_string(percent)).append("%\x1b[K");
  writeToTerminal(line);
}

void TerminalProgress::clear() { writeToTerminal("\r\x1b[K"); }

}  // namespace vtcad::app
