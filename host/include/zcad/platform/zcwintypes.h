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

// System error codes, as Windows numbers them (registry calls return them, GetLastError of
// zcimage.h keeps them). Plain LONG, as Windows' own definitions, so they compare with both
// LSTATUS and DWORD results.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;  // no such file, key or value
inline constexpr LONG ERROR_ACCESS_DENIED = 5;   // the handle lacks the right, or a read-only root
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr LONG ERROR_INVALID_DATA = 13;  // a file's content is damaged or of no known kind
inline constexpr LONG ERROR_WRITE_FAULT = 29;   // the settings file could not be written
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;  // the buffer is too small; *lpcbData has the size

// COM-style results (SUCCEEDED/FAILED test the sign).
using HRESULT = LONG;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }
