#pragma once
// The host's settings store, in place of the Windows registry: one registry file per run
// configuration, <config dir>/registry.reg (RegFileFormat.h). Every change is written to disk
// before the call returns, as a registry write is durable when it returns; a change that cannot
// be written is not made. All members may be called from any thread.
//
// A damaged file is read as far as it can be (RegFileFormat.h says what is skipped) and
// reported once; before the first change is written, the damaged file is kept as
// registry.reg.damaged (or .damaged.2, .damaged.3, ... when that name is taken), so nothing
// in it is lost.
//
// Keys are full paths from a root: L"HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace". An
// empty value name is the key's default value.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegDocument.h"

namespace vtcad::platform {

enum class SettingsStatus {
  kOk,
  kNotFound,         // no such key or value
  kInvalidArgument,  // a key path or value name the file cannot hold, or a value too large
  kWriteFailed,      // the file could not be written (writeError() says why); nothing changed
};

class SettingsStore {
 public:
  static constexpr const char* kFileName = "registry.reg";

  // A store that lives in memory until open() is called.
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Reads <dir>/registry.reg (a missing or empty file is an empty store; the folder is made at
  // the first change). Returns the one warning about a damaged or unreadable file, which also
  // stays available as loadWarning().
  std::optional<std::string> open(const std::filesystem::path& dir);
  // The file, empty while the store lives in memory.
  std::filesystem::path filePath() const;
  std::optional<std::string> loadWarning() const;
  // Where the damaged file was kept, once it was.
  std::filesystem::path keptDamagedFile() const;
  std::string writeError() const;

  bool keyExists(std::wstring_view key) const;
  std::vector<std::wstring> subkeyNames(std::wstring_view key) const;
  std::vector<std::wstring> valueNames(std::wstring_view key) const;
  std::optional<RegValue> value(std::wstring_view key, std::wstring_view name) const;
  // Typed reads: a DWORD only from a dword: value (or hex(4) of four bytes), a string only from
  // a quoted string (or hex(1)). A string "1" is no DWORD.
  std::optional<std::uint32_t> dword(std::wstring_view key, std::wstring_view name) const;
  std::optional<std::wstring> string(std::wstring_view key, std::wstring_view name) const;

  SettingsStatus createKey(std::wstring_view key);
  // The key and every key below it.
  SettingsStatus deleteKey(std::wstring_view key);
  SettingsStatus setDword(std::wstring_view key, std::wstring_view name, std::uint32_t value);
  SettingsStatus setString(std::wstring_view key, std::wstring_view name, std::wstring_view text);
  // Any type as its bytes, written as hex(type) (hex: for REG_BINARY). String types hold
  // UTF-16LE, as in the file.
  SettingsStatus setData(std::wstring_view key, std::wstring_view name, std::uint32_t type,
                         std::span<const std::uint8_t> bytes);
  SettingsStatus deleteValue(std::wstring_view key, std::wstring_view name);

 private:
  SettingsStatus setValue(std::wstring_view key, RegValue value);
  // Writes `next` and makes it the contents; the caller holds the lock.
  SettingsStatus commit(RegDocument next);
  bool keepDamagedFile();

  mutable std::mutex mutex_;
  RegDocument document_;
  std::filesystem::path file_;
  std::optional<std::string> loadWarning_;
  bool damaged_ = false;
  std::filesystem::path keptDamaged_;
  std::string writeError_;
};

// The folder a run configuration keeps its settings in when vtcad is given no --config:
// $XDG_CONFIG_HOME/vtcad, or ~/.config/vtcad.
std::filesystem::path defaultSettingsDir();
// The process-wide store. It lives in memory (nothing is written) until configureSettings.
SettingsStore& settings();
// Opens the process-wide store on <dir>/registry.reg; returns the load warning for the caller
// to show.
std::optional<std::string> configureSettings(const std::filesystem::path& dir);

}  // namespace vtcad::platform
