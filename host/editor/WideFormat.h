#pragma once
// printf-style formatting with the conventions of the host the plug-ins were written for:
// in a wide format, %s and %c take wide strings and characters, %S and %C narrow ones.
#include <cstdarg>
#include <string>

namespace vtcad::editor {

// The format rewritten for this platform's wide printf (%s -> %ls, %S -> %s, ...).
std::wstring hostWideFormat(const wchar_t* format);
// Formats like vswprintf into a string of any length; a format that cannot be applied gives
// the format text itself rather than nothing.
std::wstring formatWide(const wchar_t* format, va_list args);

}  // namespace vtcad::editor
