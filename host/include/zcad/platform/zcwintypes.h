#pragma once
// The Win32 scalar types the host's platform services are declared with, so that plug-in code
// written for Windows reads as it did there. Sizes are those of Windows (DWORD and LONG are 32
// bits); wide characters are the host's wchar_t, 4 bytes on Linux.
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using WCHAR = wchar_t;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using HWND = void*;
// Integers as wide as a pointer (a context value, a handle's number).
using DWORD_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
