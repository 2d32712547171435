// The Win32-shaped registry functions of zcreg.h over the settings store. Handles are numbers
// looked up in a table, so a stale or made-up handle is an error, never a stray pointer.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/HandleTable.h"
#include "platform/RegFileFormat.h"
#include "platform/SettingsStore.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcreg.h"

namespace vtcad::platform {

namespace {

constexpr std::wstring_view kCurrentUser = L"HKEY_CURRENT_USER";
constexpr std::wstring_view kLocalMachine = L"HKEY_LOCAL_MACHINE";

struct OpenKey {
  std::wstring path;
  REGSAM access = 0;
};

HandleTable<HKEY, OpenKey>& handles() {
  static HandleTable<HKEY, OpenKey> table(/*first=*/0x1000);
  return table;
}

// The predefined roots, or a key opened before.
std::optional<OpenKey> findKey(HKEY handle) {
  if (handle == HKEY_CURRENT_USER) return OpenKey{std::wstring(kCurrentUser), KEY_ALL_ACCESS};
  if (handle == HKEY_LOCAL_MACHINE) return OpenKey{std::wstring(kLocalMachine), KEY_READ};
  return handles().find(handle);
}

// base\sub; empty parts of `sub` are skipped, so "Software\\" is "Software".
std::wstring subkeyPath(const std::wstring& base, LPCWSTR sub) {
  std::wstring path = base;
  if (!sub) return path;
  std::wstring_view rest(sub);
  while (!rest.empty()) {
    size_t end = rest.find(L'\\');
    std::wstring_view part = rest.substr(0, end);
    if (!part.empty()) {
      path += L'\\';
      path += part;
    }
    if (end == std::wstring_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return path;
}

// Under HKEY_LOCAL_MACHINE nothing is written, as for a user without administrator rights.
bool writable(const OpenKey& key) {
  return RegDocument::sameName(key.path.substr(0, kCurrentUser.size()), kCurrentUser);
}

bool keyExists(const std::wstring& path) {
  // A root is always there, even with nothing under it.
  return path.find(L'\\') == std::wstring::npos || settings().keyExists(path);
}

LSTATUS toStatus(SettingsStatus status) {
  switch (status) {
    case SettingsStatus::kOk:
      return ERROR_SUCCESS;
    case SettingsStatus::kNotFound:
      return ERROR_FILE_NOT_FOUND;
    case SettingsStatus::kInvalidArgument:
      return ERROR_INVALID_PARAMETER;
    case SettingsStatus::kWriteFailed:
      return ERROR_WRITE_FAULT;
  }
  return ERROR_INVALID_PARAMETER;
}

std::vector<BYTE> wideBytes(std::wstring_view text) {
  std::vector<BYTE> bytes(text.size() * sizeof(wchar_t));
  if (!bytes.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
  return bytes;
}

// The value as the caller gets it: strings as wchar_t with their terminator.
std::pair<DWORD, std::vector<BYTE>> valueData(const RegValue& value) {
  switch (value.kind) {
    case RegValue::Kind::kString:
      return {REG_SZ, wideBytes(std::wstring_view(value.text.c_str(), value.text.size() + 1))};
    case RegValue::Kind::kDword: {
      std::vector<BYTE> bytes(sizeof value.dword);
      std::memcpy(bytes.data(), &value.dword, sizeof value.dword);
      return {REG_DWORD, std::move(bytes)};
    }
    case RegValue::Kind::kRaw:
      break;
  }
  std::optional<RegRawData> raw = decodeRegRawData(value.raw);
  // Degenerate case: the store keeps only hex data it could read, so this is not expected.
  if (!raw) return {REG_NONE, {}};
  if (raw->type != REG_SZ && raw->type != REG_EXPAND_SZ && raw->type != REG_MULTI_SZ) {
    return {raw->type, std::move(raw->bytes)};
  }
  std::wstring text =
      decodeUtf16Le(std::string_view(reinterpret_cast<const char*>(raw->bytes.data()), raw->bytes.size()))
          .text;
  if (raw->type != REG_MULTI_SZ && (text.empty() || text.back() != L'\0')) text.push_back(L'\0');
  return {raw->type, wideBytes(text)};
}

// The characters of string data, which need not be aligned for wchar_t.
std::wstring wideText(const BYTE* data, DWORD size) {
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  return text;
}

}  // namespace

}  // namespace vtcad::platform

using namespace vtcad::platform;

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::optional<OpenKey> base = findKey(hKey);
  if (!base) return ERROR_INVALID_HANDLE;
  std::wstring path = subkeyPath(base->path, lpSubKey);
  if (!keyExists(path)) return ERROR_FILE_NOT_FOUND;
  *phkResult = handles().add(OpenKey{std::move(path), samDesired});
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*Reserved*/, LPWSTR /*lpClass*/,
                        DWORD /*dwOptions*/, REGSAM samDesired,
                        LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::optional<OpenKey> base = findKey(hKey);
  if (!base) return ERROR_INVALID_HANDLE;
  if ((base->access & KEY_CREATE_SUB_KEY) == 0 || !writable(*base)) return ERROR_ACCESS_DENIED;
  std::wstring path = subkeyPath(base->path, lpSubKey);
  bool existed = keyExists(path);
  if (!existed) {
    if (LSTATUS status = toStatus(settings().createKey(path)); status != ERROR_SUCCESS) return status;
  }
  if (lpdwDisposition) *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *phkResult = handles().add(OpenKey{std::move(path), samDesired});
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD /*lpReserved*/, LPDWORD lpType,
                         LPBYTE lpData, LPDWORD lpcbData) {
  std::optional<OpenKey> key = findKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  std::optional<RegValue> value = settings().value(key->path, lpValueName ? lpValueName : L"");
  if (!value) return ERROR_FILE_NOT_FOUND;
  auto [type, bytes] = valueData(*value);
  if (lpType) *lpType = type;
  if (!lpcbData) return ERROR_SUCCESS;
  auto needed = static_cast<DWORD>(bytes.size());
  if (lpData && *lpcbData < needed) {
    *lpcbData = needed;
    return ERROR_MORE_DATA;
  }
  if (lpData && needed > 0) std::memcpy(lpData, bytes.data(), needed);
  *lpcbData = needed;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                       DWORD cbData) {
  std::optional<OpenKey> key = findKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_SET_VALUE) == 0 || !writable(*key)) return ERROR_ACCESS_DENIED;
  if (!lpData && cbData > 0) return ERROR_INVALID_PARAMETER;
  std::wstring_view name = lpValueName ? lpValueName : L"";
  SettingsStore& store = settings();
  switch (dwType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring text = wideText(lpData, cbData);
      text.resize(std::min(text.size(), text.find(L'\0')));
      if (dwType == REG_SZ) return toStatus(store.setString(key->path, name, text));
      std::vector<std::uint8_t> bytes = encodeUtf16Le(text);
      bytes.insert(bytes.end(), {0, 0});
      return toStatus(store.setData(key->path, name, dwType, bytes));
    }
    case REG_MULTI_SZ:
      return toStatus(store.setData(key->path, name, dwType, encodeUtf16Le(wideText(lpData, cbData))));
    case REG_DWORD: {
      if (cbData != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
      DWORD number = 0;
      std::memcpy(&number, lpData, sizeof number);
      return toStatus(store.setDword(key->path, name, number));
    }
    default:
      return toStatus(store.setData(key->path, name, dwType, std::span<const BYTE>(lpData, cbData)));
  }
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  std::optional<OpenKey> key = findKey(hKey);
  if (!key) return ERROR_INVALID_HANDLE;
  if ((key->access & KEY_SET_VALUE) == 0 || !writable(*key)) return ERROR_ACCESS_DENIED;
  return toStatus(settings().deleteValue(key->path, lpValueName ? lpValueName : L""));
}

LSTATUS RegCloseKey(HKEY hKey) {
  if (hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  return handles().remove(hKey).has_value() ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
