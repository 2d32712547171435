// Demand-load records, written through the host's registry functions (zcreg.h) as a plug-in's
// own code would write them. The layout under
// HKEY_CURRENT_USER\Software\vtcad\Applications\<application name>:
//   LOADER       string  the plug-in file
//   DESCRIPTION  string
//   LOADCTRLS    dword   the load reasons (ZcadAppInfo::LoadReasons bits)
//   Commands\    one string value a command: <global name> = <local name>
//   Groups\      one string value a group:   <group> = <group>
#include "zcad/ZcadAppInfo.h"

#include <optional>
#include <string>

#include "platform/SettingsStore.h"
#include "zcad/platform/zcreg.h"

namespace {

constexpr const wchar_t* kApplicationsKey = L"Software\\vtcad\\Applications\\";
constexpr const wchar_t* kLoaderValue = L"LOADER";
constexpr const wchar_t* kDescriptionValue = L"DESCRIPTION";
constexpr const wchar_t* kLoadControlsValue = L"LOADCTRLS";
constexpr const wchar_t* kCommandsKey = L"Commands";
constexpr const wchar_t* kGroupsKey = L"Groups";

// A registry key held open for one record operation.
class RecordKey {
 public:
  RecordKey() = default;
  RecordKey(const RecordKey&) = delete;
  RecordKey& operator=(const RecordKey&) = delete;
  ~RecordKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// An application name is one key name: a backslash would file the record under another key.
bool validAppName(const ZcString& name) {
  return !name.isEmpty() && name.str().find(L'\\') == std::wstring::npos;
}

std::wstring recordKeyPath(const ZcString& appName, const wchar_t* subkey = nullptr) {
  std::wstring path = kApplicationsKey + appName.str();
  if (subkey) path += std::wstring(L"\\") + subkey;
  return path;
}

bool create(const std::wstring& path, RecordKey& key) {
  return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), /*Reserved=*/0, /*lpClass=*/nullptr,
                         REG_OPTION_NON_VOLATILE, KEY_WRITE, /*lpSecurityAttributes=*/nullptr, key.receive(),
                         /*lpdwDisposition=*/nullptr) == ERROR_SUCCESS;
}

bool setString(HKEY key, const wchar_t* name, const std::wstring& text) {
  auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // the terminator counts
  return RegSetValueExW(key, name, /*Reserved=*/0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool setDword(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS;
}

std::optional<std::wstring> queryString(HKEY key, const wchar_t* name) {
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, /*lpReserved=*/nullptr, &type, /*lpData=*/nullptr, &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (RegQueryValueExW(key, name, /*lpReserved=*/nullptr, &type, reinterpret_cast<LPBYTE>(text.data()),
                       &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::optional<DWORD> queryDword(HKEY key, const wchar_t* name) {
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (RegQueryValueExW(key, name, /*lpReserved=*/nullptr, &type, reinterpret_cast<LPBYTE>(&value), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

void ZcadAppInfo::setAppName(const ZTCHAR* name) { appName_ = name; }
void ZcadAppInfo::setModuleName(const ZTCHAR* name) { moduleName_ = name; }
void ZcadAppInfo::setAppDesc(const ZTCHAR* description) { description_ = description; }
void ZcadAppInfo::setLoadReason(int reasons) { loadReason_ = reasons; }
const ZTCHAR* ZcadAppInfo::appName() const { return appName_; }
const ZTCHAR* ZcadAppInfo::moduleName() const { return moduleName_; }
const ZTCHAR* ZcadAppInfo::appDesc() const { return description_; }
int ZcadAppInfo::loadReason() const { return loadReason_; }

ZcadAppInfo::Status ZcadAppInfo::writeToRegistry() {
  if (!validAppName(appName_)) return kBadArgument;
  // A record that names no file could never load anything.
  if (moduleName_.isEmpty()) return kNoModule;
  RecordKey key;
  if (!create(recordKeyPath(appName_), key)) return kRegistryError;
  bool written = setString(key.get(), kLoaderValue, moduleName_.str()) &&
                 setString(key.get(), kDescriptionValue, description_.str()) &&
                 setDword(key.get(), kLoadControlsValue, static_cast<DWORD>(loadReason_));
  return written ? kNoError : kRegistryError;
}

ZcadAppInfo::Status ZcadAppInfo::writeGroupNameToRegistry(const ZTCHAR* groupName) {
  if (!validAppName(appName_) || !groupName || !*groupName) return kBadArgument;
  RecordKey key;
  if (!create(recordKeyPath(appName_, kGroupsKey), key)) return kRegistryError;
  return setString(key.get(), groupName, groupName) ? kNoError : kRegistryError;
}

ZcadAppInfo::Status ZcadAppInfo::writeCommandNameToRegistry(const ZTCHAR* globalName,
                                                            const ZTCHAR* localName) {
  if (!validAppName(appName_) || !globalName || !*globalName) return kBadArgument;
  // A command without a local name is typed by its global one, as the command stack has it.
  const ZTCHAR* local = (localName && *localName) ? localName : globalName;
  RecordKey key;
  if (!create(recordKeyPath(appName_, kCommandsKey), key)) return kRegistryError;
  return setString(key.get(), globalName, local) ? kNoError : kRegistryError;
}

ZcadAppInfo::Status ZcadAppInfo::readFromRegistry() {
  if (!validAppName(appName_)) return kBadArgument;
  RecordKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, recordKeyPath(appName_).c_str(), /*ulOptions=*/0, KEY_READ,
                    key.receive()) != ERROR_SUCCESS) {
    return kRegistryError;
  }
  std::optional<std::wstring> loader = queryString(key.get(), kLoaderValue);
  if (!loader || loader->empty()) return kNoModule;
  moduleName_ = *loader;
  description_ = queryString(key.get(), kDescriptionValue).value_or(L"");
  loadReason_ = static_cast<int>(queryDword(key.get(), kLoadControlsValue).value_or(0));
  return kNoError;
}

ZcadAppInfo::Status ZcadAppInfo::delFromRegistry() {
  if (!validAppName(appName_)) return kBadArgument;
  // The registry functions cannot delete a key with its subkeys; the store they sit on can.
  auto status = vtcad::platform::settings().deleteKey(L"HKEY_CURRENT_USER\\" + recordKeyPath(appName_));
  return status == vtcad::platform::SettingsStatus::kOk ? kNoError : kRegistryError;
}
