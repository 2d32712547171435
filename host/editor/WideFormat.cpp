#include "editor/WideFormat.h"

#include <cwchar>
#include <vector>

namespace vtcad::editor {

std::wstring hostWideFormat(const wchar_t* format) {
  std::wstring out;
  if (!format) return out;
  for (const wchar_t* p = format; *p; ++p) {
    out.push_back(*p);
    if (*p != L'%') continue;
    ++p;
    if (*p == L'%') {
      out.push_back(L'%');
      continue;
    }
    // Flags, width, precision (with * for arguments), then the length and conversion.
    while (*p && std::wcschr(L"-+ #0'123456789.*", *p)) out.push_back(*p++);
    bool hasLength = false;
    while (*p && std::wcschr(L"hlLqjzt", *p)) {
      hasLength = true;
      out.push_back(*p++);
    }
    if (!*p) break;
    wchar_t conversion = *p;
    if (!hasLength && (conversion == L's' || conversion == L'c')) {
      out.push_back(L'l');
      out.push_back(conversion);
    } else if (!hasLength && (conversion == L'S' || conversion == L'C')) {
      out.push_back(static_cast<wchar_t>(conversion == L'S' ? L's' : L'c'));
    } else {
      out.push_back(conversion);
    }
  }
  return out;
}

std::wstring formatWide(const wchar_t* format, va_list args) {
  if (!format) return {};
  std::wstring hostFormat = hostWideFormat(format);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(buffer.data(), buffer.size(), hostFormat.c_str(), copy);
    va_end(copy);
    if (n >= 0) return std::wstring(buffer.data(), static_cast<size_t>(n));
    // vswprintf answers -1 both for a short buffer and for a bad format; past a megabyte of
    // text it is the format.
    if (buffer.size() >= (1u << 20)) return format;
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace vtcad::editor
