#pragma once
// The loaded program and libraries, shaped as the Win32 module functions plug-in code calls to
// find its own file:
//
//   HMODULE self = nullptr;
//   GetModuleHandleExW(
//       GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
//       reinterpret_cast<LPCWSTR>(&someFunctionOfThePlugIn), &self);
//   wchar_t path[MAX_PATH];
//   GetModuleFileNameW(self, path, MAX_PATH);
//
// A module handle is the address the program or library is loaded at. Paths are the file names
// the dynamic linker loaded (UTF-8 on disk) in wide characters.
#include "zcad/platform/zcwintypes.h"

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

// GetModuleHandleExW's flags. Reference counts are never changed here (there is no FreeLibrary
// to balance them), so UNCHANGED_REFCOUNT and PIN make no difference.
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_PIN = 0x1;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT = 0x2;
inline constexpr DWORD GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS = 0x4;

// The module named by moduleNameOrAddress into *module: with FROM_ADDRESS, the program or
// library that holds that address (code or data); otherwise a loaded library by its full path or
// its file name ("libvtcadhost.so"), or the program itself when null. FALSE, and *module null,
// when there is none or the flags are unknown.
BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleNameOrAddress, HMODULE* module);

// The full path of a loaded module (null: the program itself) into fileName, `size` characters.
// Returns the length without the terminator; when the path does not fit, writes its first
// size - 1 characters and a terminator and returns `size`. 0 when the module is not loaded, or
// the buffer is null or empty.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
