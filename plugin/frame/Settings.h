#pragma once
// The plug-in's settings and counters: values directly under one key of the current user in
// the host's settings store. Nothing here reports an error: reads fall back to 0 or the empty
// text, writes answer false and callers go on.
#include <string>

#include "zcad/platform/zcreg.h"

namespace veltrace {

// Every value of the plug-in lives directly under this key (no subkeys).
inline constexpr const wchar_t* kSettingsKey = L"Software\\Brightfold\\Veltrace";

// The number stored, when the value exists and is a DWORD of at most 4 bytes; else 0 (a
// missing key or value, or another type: a string "1" reads as 0).
int readRegDword(HKEY root, const wchar_t* subKey, const wchar_t* valueName);
// Creates the key when needed and stores `value` as a DWORD. False when that fails.
bool writeRegDword(HKEY root, const wchar_t* subKey, const wchar_t* valueName, int value);
// A string value of at most 4095 characters; the empty text for a missing key or value, a
// value of another type, or a longer one. Each call answers its own copy (safe from any
// thread).
std::wstring readRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName);

// The same, under the plug-in's own key of the current user.
int readSetting(const wchar_t* valueName);
bool writeSetting(const wchar_t* valueName, int value);
std::wstring readStringSetting(const wchar_t* valueName);

// The folder of the plug-in's own files, ending in a folder separator: the "Location"
// setting, else the folder of the plug-in file as the host names it (zcedGetAppName), else
// the folder of this library as the system loaded it; white space trimmed at both ends. A
// folder that already ends in "/" or a backslash (a Windows-style D:\Tools\ from a shared
// settings file) is kept as it is; any other gets "/". A blank "Location" counts as missing.
// The empty text when no folder can be found.
std::wstring programFolder();

}  // namespace veltrace
