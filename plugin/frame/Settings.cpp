#include "frame/Settings.h"

#include <cstddef>
#include <iterator>

#include "frame/Trim.h"
#include "zcad/platform/zcmodule.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

// The longest string value read, without its terminator.
constexpr DWORD kMaxStringChars = 4095;

// Closes the key on every path out.
class OpenKey {
 public:
  OpenKey(HKEY root, const wchar_t* subKey, REGSAM access) {
    if (RegOpenKeyExW(root, subKey, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The folder part of a path, its last '/' included; empty when the path has none.
std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The file this code was loaded from: the plug-in library, or the program it is linked into.
std::wstring ownLibraryPath() {
  HMODULE module = nullptr;
  // Any address inside this library names it; the reference count is left alone, so nothing
  // has to be released afterwards.
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&ownLibraryPath), &module)) {
    return std::wstring();
  }
  wchar_t path[4096] = {};
  const DWORD length = GetModuleFileNameW(module, path, static_cast<DWORD>(std::size(path)));
  // A full buffer means the name was cut: better no folder than a wrong one.
  if (length == 0 || length >= std::size(path)) return std::wstring();
  return std::wstring(path, length);
}

}  // namespace

int readRegDword(HKEY root, const wchar_t* subKey, const wchar_t* valueName) {
  OpenKey key(root, subKey, KEY_QUERY_VALUE);
  if (!key.get()) return 0;
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof(value);
  // A value longer than a DWORD answers ERROR_MORE_DATA and so reads as 0.
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
      ERROR_SUCCESS) {
    return 0;
  }
  if (type != REG_DWORD || size > sizeof(value)) return 0;
  return static_cast<int>(value);
}

bool writeRegDword(HKEY root, const wchar_t* subKey, const wchar_t* valueName, int value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subKey, 0, /*lpClass=*/nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                      /*lpSecurityAttributes=*/nullptr, &key, /*lpdwDisposition=*/nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD data = static_cast<DWORD>(value);
  const LSTATUS status =
      RegSetValueExW(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::wstring readRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName) {
  OpenKey key(root, subKey, KEY_QUERY_VALUE);
  if (!key.get()) return std::wstring();
  // Sizes count sizeof(wchar_t) bytes a character, the terminator included, on every system.
  wchar_t buffer[kMaxStringChars + 1] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof(buffer);
  // A longer value answers ERROR_MORE_DATA and reads as the empty text.
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  if (type != REG_SZ) return std::wstring();
  // Stored data need not end in a terminator; the text ends at the first one within the data.
  const std::size_t chars = size / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < chars && buffer[length] != L'\0') ++length;
  return std::wstring(buffer, length);
}

int readSetting(const wchar_t* valueName) { return readRegDword(HKEY_CURRENT_USER, kSettingsKey, valueName); }

bool writeSetting(const wchar_t* valueName, int value) {
  return writeRegDword(HKEY_CURRENT_USER, kSettingsKey, valueName, value);
}

std::wstring readStringSetting(const wchar_t* valueName) {
  return readRegString(HKEY_CURRENT_USER, kSettingsKey, valueName);
}

std::wstring programFolder() {
  std::wstring folder = trimmed(readStringSetting(L"Location"));
  if (folder.empty()) {
    const wchar_t* appName = zcedGetAppName();
    folder = trimmed(folderOf(appName ? appName : L""));
  }
  if (folder.empty()) folder = trimmed(folderOf(ownLibraryPath()));
  // A folder given with either separator at its end (a Windows-style "D:\Tools\") is kept as
  // it is; any other gets "/".
  if (!folder.empty() && folder.back() != L'/' && folder.back() != L'\\') folder += L'/';
  return folder;
}

}  // namespace veltrace
