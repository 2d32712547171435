// The settings store: a registry file read once, written whole after every change.
#include "platform/SettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/RegFileFormat.h"
#include "platform/TextEncoding.h"

namespace vtcad::platform {

namespace {

// Settings are the user's own, as a registry hive is: not readable by other users.
constexpr mode_t kNewFileMode = 0600;
constexpr int kMaxKeptDamagedFiles = 99;

// The whole file, or the reason it cannot be read; a missing file is nullopt with no reason.
std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string& reason) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) reason = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    reason = "it is not a regular file";
  } else if (static_cast<std::uintmax_t>(info.st_size) > kMaxRegFileBytes) {
    reason = "it is larger than 64 MiB";
  } else {
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    // The file may change size while it is read; what was there is what is read.
    while (done < bytes.size()) {
      ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        reason = std::strerror(errno);
        break;
      }
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    bytes.resize(done);
  }
  ::close(fd);
  if (!reason.empty()) return std::nullopt;
  return bytes;
}

std::wstring utf16Text(const std::vector<std::uint8_t>& bytes) {
  std::wstring text =
      decodeUtf16Le(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())).text;
  return text.substr(0, text.find(L'\0'));
}

}  // namespace

std::optional<std::string> SettingsStore::open(const std::filesystem::path& dir) {
  std::lock_guard lock(mutex_);
  file_ = dir / kFileName;
  document_ = RegDocument();
  loadWarning_.reset();
  damaged_ = false;
  keptDamaged_.clear();
  writeError_.clear();
  std::string reason;
  std::optional<std::string> bytes = readWholeFile(file_, reason);
  std::string problem;
  if (!reason.empty()) {
    problem = "cannot be read (" + reason + "); no settings were read";
  } else if (bytes) {
    RegFileReadResult read = readRegFile(*bytes);
    document_ = std::move(read.document);
    if (read.damage) {
      problem = "line " + std::to_string(read.damage->line) + ": " + read.damage->problem;
      if (read.damage->damagedLines > 1) {
        problem += " (" + std::to_string(read.damage->damagedLines) + " damaged entries in all)";
      }
      // Damage on the first line is damage to the whole file.
      problem += read.damage->line == 1 ? "; no settings were read" : "; the other lines were read";
    }
  }
  if (!problem.empty()) {
    damaged_ = true;
    loadWarning_ = "settings file " + file_.string() + ", " + problem + ". It will be kept as " +
                   file_.filename().string() + ".damaged before settings are next saved.";
  }
  return loadWarning_;
}

std::filesystem::path SettingsStore::filePath() const {
  std::lock_guard lock(mutex_);
  return file_;
}

std::optional<std::string> SettingsStore::loadWarning() const {
  std::lock_guard lock(mutex_);
  return loadWarning_;
}

std::filesystem::path SettingsStore::keptDamagedFile() const {
  std::lock_guard lock(mutex_);
  return keptDamaged_;
}

std::string SettingsStore::writeError() const {
  std::lock_guard lock(mutex_);
  return writeError_;
}

bool SettingsStore::keyExists(std::wstring_view key) const {
  std::lock_guard lock(mutex_);
  return document_.hasKey(key);
}

std::vector<std::wstring> SettingsStore::subkeyNames(std::wstring_view key) const {
  std::lock_guard lock(mutex_);
  return document_.subkeyNames(key);
}

std::vector<std::wstring> SettingsStore::valueNames(std::wstring_view key) const {
  std::lock_guard lock(mutex_);
  return document_.valueNames(key);
}

std::optional<RegValue> SettingsStore::value(std::wstring_view key, std::wstring_view name) const {
  std::lock_guard lock(mutex_);
  const RegValue* found = document_.findValue(key, name);
  if (!found) return std::nullopt;
  return *found;
}

std::optional<std::uint32_t> SettingsStore::dword(std::wstring_view key, std::wstring_view name) const {
  std::optional<RegValue> found = value(key, name);
  if (!found) return std::nullopt;
  if (found->kind == RegValue::Kind::kDword) return found->dword;
  if (found->kind == RegValue::Kind::kRaw) {
    std::optional<RegRawData> data = decodeRegRawData(found->raw);
    if (data && data->type == kRegDword && data->bytes.size() == 4) {
      return static_cast<std::uint32_t>(data->bytes[0] | (data->bytes[1] << 8) | (data->bytes[2] << 16) |
                                        (static_cast<std::uint32_t>(data->bytes[3]) << 24));
    }
  }
  return std::nullopt;
}

std::optional<std::wstring> SettingsStore::string(std::wstring_view key, std::wstring_view name) const {
  std::optional<RegValue> found = value(key, name);
  if (!found) return std::nullopt;
  if (found->kind == RegValue::Kind::kString) return found->text;
  if (found->kind == RegValue::Kind::kRaw) {
    std::optional<RegRawData> data = decodeRegRawData(found->raw);
    if (data && data->type == kRegSz) return utf16Text(data->bytes);
  }
  return std::nullopt;
}

SettingsStatus SettingsStore::createKey(std::wstring_view key) {
  if (!RegDocument::isValidKeyPath(key) || !fitsRegFile(key)) return SettingsStatus::kInvalidArgument;
  std::lock_guard lock(mutex_);
  if (document_.hasKey(key)) return SettingsStatus::kOk;
  RegDocument next = document_;
  next.addKey(key);
  return commit(std::move(next));
}

SettingsStatus SettingsStore::deleteKey(std::wstring_view key) {
  // A root alone is every setting under it: not something one call should remove.
  if (!RegDocument::isValidKeyPath(key) || key.find(L'\\') == std::wstring_view::npos) {
    return SettingsStatus::kInvalidArgument;
  }
  std::lock_guard lock(mutex_);
  if (!document_.hasKey(key)) return SettingsStatus::kNotFound;
  RegDocument next = document_;
  next.removeKeyTree(key);
  return commit(std::move(next));
}

SettingsStatus SettingsStore::setDword(std::wstring_view key, std::wstring_view name, std::uint32_t value) {
  RegValue entry;
  entry.name = std::wstring(name);
  entry.kind = RegValue::Kind::kDword;
  entry.dword = value;
  return setValue(key, std::move(entry));
}

SettingsStatus SettingsStore::setString(std::wstring_view key, std::wstring_view name,
                                        std::wstring_view text) {
  return setValue(key, makeStringValue(std::wstring(name), text));
}

SettingsStatus SettingsStore::setData(std::wstring_view key, std::wstring_view name, std::uint32_t type,
                                      std::span<const std::uint8_t> bytes) {
  RegValue entry;
  entry.name = std::wstring(name);
  entry.kind = RegValue::Kind::kRaw;
  entry.raw = encodeRegRawData(type, bytes);
  return setValue(key, std::move(entry));
}

SettingsStatus SettingsStore::deleteValue(std::wstring_view key, std::wstring_view name) {
  std::lock_guard lock(mutex_);
  if (!document_.findValue(key, name)) return SettingsStatus::kNotFound;
  RegDocument next = document_;
  next.removeValue(key, name);
  return commit(std::move(next));
}

SettingsStatus SettingsStore::setValue(std::wstring_view key, RegValue value) {
  if (!RegDocument::isValidKeyPath(key) || !fitsRegFile(key) || !RegDocument::isValidValueName(value.name) ||
      !fitsRegFile(value)) {
    return SettingsStatus::kInvalidArgument;
  }
  std::lock_guard lock(mutex_);
  const RegValue* old = document_.findValue(key, value.name);
  // Writing what is there already changes nothing on disk either.
  if (old && old->kind == value.kind && old->text == value.text && old->dword == value.dword &&
      old->raw == value.raw) {
    return SettingsStatus::kOk;
  }
  RegDocument next = document_;
  next.setValue(key, std::move(value));
  return commit(std::move(next));
}

SettingsStatus SettingsStore::commit(RegDocument next) {
  if (file_.empty()) {
    document_ = std::move(next);
    return SettingsStatus::kOk;
  }
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  if (ec) {
    writeError_ = "cannot make the folder " + file_.parent_path().string() + ": " + ec.message();
    return SettingsStatus::kWriteFailed;
  }
  if (damaged_ && !keepDamagedFile()) return SettingsStatus::kWriteFailed;
  if (std::optional<std::string> error = replaceFileAtomically(file_, writeRegFile(next), kNewFileMode)) {
    writeError_ = *error;
    return SettingsStatus::kWriteFailed;
  }
  document_ = std::move(next);
  return SettingsStatus::kOk;
}

bool SettingsStore::keepDamagedFile() {
  struct stat info {};
  if (::lstat(file_.c_str(), &info) != 0 && errno == ENOENT) {
    // Removed since it was read: nothing left to keep.
    damaged_ = false;
    return true;
  }
  for (int n = 1; n <= kMaxKeptDamagedFiles; ++n) {
    std::filesystem::path kept = file_;
    kept += n == 1 ? std::string(".damaged") : ".damaged." + std::to_string(n);
    // A hard link keeps the damaged file without a moment in which registry.reg is missing; a
    // file system without links gets a rename, which never replaces an earlier kept file.
    int status = ::link(file_.c_str(), kept.c_str());
    if (status != 0 && errno != EEXIST) {
      status = ::renameat2(AT_FDCWD, file_.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE);
    }
    if (status == 0) {
      keptDamaged_ = kept;
      damaged_ = false;
      return true;
    }
    if (errno != EEXIST) {
      writeError_ = "cannot keep the damaged settings file as " + kept.string() + ": " + std::strerror(errno);
      return false;
    }
  }
  writeError_ = "cannot keep the damaged settings file: " + std::to_string(kMaxKeptDamagedFiles) +
                " earlier damaged files are in the way";
  return false;
}

std::filesystem::path defaultSettingsDir() {
  // The XDG base directory rules ignore a relative $XDG_CONFIG_HOME.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "vtcad";
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::filesystem::path(home) / ".config" / "vtcad";
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir) {
    return std::filesystem::path(found->pw_dir) / ".config" / "vtcad";
  }
  // Degenerate case, no home at all: the current folder.
  return std::filesystem::path(".config") / "vtcad";
}

SettingsStore& settings() {
  static SettingsStore store;
  return store;
}

std::optional<std::string> configureSettings(const std::filesystem::path& dir) {
  return settings().open(dir);
}

}  // namespace vtcad::platform
