// Windows command-line splitting.
#include "platform/CommandLine.h"

namespace vtcad::platform {

std::vector<std::wstring> splitCommandLine(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  std::wstring current;
  bool inArgument = false;  // an argument has started, even if it is still empty ("")
  bool quoted = false;
  size_t i = 0;
  while (i < line.size()) {
    wchar_t c = line[i];
    if (c == L'\\') {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == L'\\') {
        ++backslashes;
        ++i;
      }
      inArgument = true;
      if (i < line.size() && line[i] == L'"') {
        current.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          current.push_back(L'"');
          ++i;
        }
        // With an even count the quote is handled as a quote on the next turn.
      } else {
        current.append(backslashes, L'\\');
      }
      continue;
    }
    if (c == L'"') {
      inArgument = true;
      if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
        current.push_back(L'"');
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    if ((c == L' ' || c == L'\t') && !quoted) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    current.push_back(c);
    inArgument = true;
    ++i;
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

}  // namespace vtcad::platform
