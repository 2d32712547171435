#pragma once
// Splitting a command line into arguments, as plug-in code written for Windows builds them.
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::platform {

// The arguments of `line` by the rules of Windows' CommandLineToArgvW (for arguments after
// the program name):
// - blanks (space, tab) separate arguments; "..." groups blanks into one;
// - inside quotes, "" is one literal quote and the quotes go on;
// - 2n backslashes before a quote are n backslashes, and the quote opens or closes;
//   2n+1 backslashes before a quote are n backslashes and a literal quote;
// - backslashes anywhere else are themselves (so Linux paths need no care).
// "" alone is an empty argument. Nothing else is special: no '$', ';', '~', '*' or '\''.
std::vector<std::wstring> splitCommandLine(std::wstring_view line);

}  // namespace vtcad::platform
