#pragma once
// A Win32-shaped subset of the registry functions, over the host's settings store (a registry
// file per run configuration, see docs/platform.md), so that plug-in code reads as its Windows
// original:
//
//   HKEY key = nullptr;
//   if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brightfold\\Veltrace", 0, KEY_READ, &key) ==
//       ERROR_SUCCESS) { ... RegCloseKey(key); }
//
// Differences from Windows:
// - String data is wchar_t, 4 bytes here: byte counts (cbData, *lpcbData) count 4 bytes a
//   character, the terminator included. A REG_SZ value of "abc" is 16 bytes.
// - HKEY_LOCAL_MACHINE can be read but not written (ERROR_ACCESS_DENIED), as for a user
//   without administrator rights; only HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are there.
// - Every key is non-volatile: options and security attributes are ignored.
// - A write is on disk when the call returns; ERROR_WRITE_FAULT when it could not be written
//   (then nothing changed).
// All functions may be called from any thread.
#include <cstdint>

#include "zcad/platform/zcwintypes.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using LSTATUS = LONG;
using REGSAM = DWORD;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

// Results: the ERROR_ codes of zcwintypes.h.

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Access rights.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// RegCreateKeyExW options and dispositions.
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens hKey\lpSubKey (lpSubKey null or empty: hKey itself). ERROR_FILE_NOT_FOUND when the key
// is not there; *phkResult is then null.
LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
// Opens the key, creating it (and its parents) when it is not there; lpdwDisposition (may be
// null) says which. hKey needs KEY_CREATE_SUB_KEY.
LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                        LPDWORD lpdwDisposition);
// Reads a value (lpValueName null or empty: the default value). lpType (may be null) gets its
// type. With lpData null, *lpcbData gets the size in bytes; with a buffer of *lpcbData bytes,
// the data and its size, or ERROR_MORE_DATA and the size needed when it is too small (the
// buffer is then left as it was). Strings come with their terminator.
LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData);
// Writes a value. REG_SZ and REG_EXPAND_SZ: the text up to its terminator or cbData bytes;
// REG_DWORD: cbData must be 4; REG_MULTI_SZ: cbData bytes of strings each ended by a
// terminator; any other type: cbData bytes.
LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                       DWORD cbData);
LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// Closing HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE does nothing and succeeds.
LSTATUS RegCloseKey(HKEY hKey);
