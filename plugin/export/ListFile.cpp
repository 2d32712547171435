#include "export/ListFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "frame/Utf8.h"
#include "zcad/platform/zcshell.h"

namespace veltrace {

namespace {

namespace fs = std::filesystem;

constexpr std::wstring_view kChosenEnding = L".xls";
constexpr std::wstring_view kWrittenEnding = L".html";
// Names tried for the temporary file before giving up (each is free but for a rare clash).
constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kLongestTemporaryBase = 200;

std::string systemError(int error) { return std::strerror(error); }

// A name beside `target` that no file has yet, the file made empty and open for writing; the
// leading dot keeps it out of sight in file browsers while it is written.
std::FILE* makeTemporary(const fs::path& target, std::string& name, std::string& error) {
  std::random_device seed;
  std::mt19937_64 numbers(seed());
  // A long name is cut so that dot and suffix still fit a file name (255 bytes).
  std::string base = target.filename().string();
  if (base.size() > kLongestTemporaryBase) base.resize(kLongestTemporaryBase);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof(suffix), ".%012llx.tmp",
                  static_cast<unsigned long long>(numbers() & 0xFFFFFFFFFFFFull));
    const fs::path candidate = target.parent_path() / ("." + base + suffix);
    // "x": made only when no file has this name (never someone else's file, never a link).
    std::FILE* stream = std::fopen(candidate.c_str(), "wbx");
    if (stream) {
      name = candidate.string();
      return stream;
    }
    if (errno != EEXIST) {
      error = systemError(errno);
      return nullptr;
    }
  }
  error = "no free name for a temporary file";
  return nullptr;
}

// The companion program counts when this system can run it: a regular file with execute
// permission holding a native program or a script. A Windows program copied along with the
// plug-in's files would otherwise be "opened" as a document, and the list never shown.
bool isRunnableProgram(const std::wstring& path) {
  std::error_code ec;
  const fs::path file(encodeUtf8(path));
  const fs::file_status status = fs::status(file, ec);
  if (ec || !fs::is_regular_file(status)) return false;
  constexpr fs::perms kAnyExecute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  if ((status.permissions() & kAnyExecute) == fs::perms::none) return false;
  std::ifstream stream(file, std::ios::binary);
  char magic[4] = {};
  stream.read(magic, sizeof(magic));
  const std::string_view start(magic, static_cast<std::size_t>(stream.gcount()));
  return start.starts_with(
             "\x7f"
             "ELF") ||
         start.starts_with("#!");
}

bool started(HINSTANCE result) { return reinterpret_cast<std::intptr_t>(result) > 32; }

}  // namespace

std::wstring listFileName(std::wstring_view chosen) {
  // Only the file's own name is rewritten: a folder such as "/data/a.xls.d/" is where the user
  // chose to write, and stays so.
  const std::size_t slash = chosen.rfind(L'/');
  std::size_t from = slash == std::wstring_view::npos ? 0 : slash + 1;
  std::wstring name(chosen.substr(0, from));
  name.reserve(chosen.size() + 1);
  for (std::size_t at = chosen.find(kChosenEnding, from); at != std::wstring_view::npos;
       at = chosen.find(kChosenEnding, from)) {
    name.append(chosen.substr(from, at - from));
    name.append(kWrittenEnding);
    from = at + kChosenEnding.size();
  }
  name.append(chosen.substr(from));
  return name;
}

ListFile::~ListFile() { discard(); }

bool ListFile::create(const std::wstring& path) {
  discard();
  error_.clear();
  fs::path target(encodeUtf8(path));
  std::error_code ec;
  // A link is written through: the file it names gets the list, the link stays a link.
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) {
    error_ = "it is a folder";
    return false;
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    error_ = "it is not a regular file";
    return false;
  }
  // A read-only file is not replaced behind its owner's back, as it could not be overwritten.
  if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    error_ = "the file is read-only";
    return false;
  }
  stream_ = makeTemporary(target, temporary_, error_);
  if (!stream_) return false;
  target_ = target.string();
  // The new file keeps the rights the old one had.
  if (fs::exists(status)) fs::permissions(temporary_, status.permissions(), fs::perm_options::replace, ec);
  return true;
}

void ListFile::write(std::string_view bytes) {
  if (!stream_ || !error_.empty()) return;
  // Cells arrive a line at a time; they are gathered so that the stream is called per block.
  pending_.append(bytes);
  if (pending_.size() >= kBlockBytes) flushPending();
}

void ListFile::flushPending() {
  if (stream_ && error_.empty() && !pending_.empty() &&
      std::fwrite(pending_.data(), 1, pending_.size(), stream_) != pending_.size()) {
    fail(systemError(errno));
  }
  pending_.clear();
}

bool ListFile::commit() {
  if (!stream_) {
    if (error_.empty()) error_ = "the file was not created";
    return false;
  }
  flushPending();
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) fail(systemError(errno));
  const int closed = std::fclose(stream_);
  stream_ = nullptr;
  if (closed != 0) fail(systemError(errno));
  if (error_.empty()) {
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    if (ec) fail(ec.message());
  }
  if (!error_.empty()) {
    discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ListFile::fail(const std::string& what) {
  if (error_.empty()) error_ = what.empty() ? std::string("write error") : what;
}

void ListFile::discard() {
  pending_.clear();
  if (stream_) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    std::error_code ignored;
    fs::remove(temporary_, ignored);
    temporary_.clear();
  }
}

std::wstring quotedArgument(std::wstring_view argument) {
  // Backslashes count only before a quote: there they are doubled, and the quote escaped.
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote they are doubled too.
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

void openListFile(const std::wstring& path) {
  const std::wstring folder = programFolder();
  const std::wstring companion = folder + kListOpener;
  if (!folder.empty() && isRunnableProgram(companion)) {
    const std::wstring parameters = quotedArgument(path);
    if (started(ShellExecuteW(/*hwnd=*/nullptr, /*verb=*/nullptr, companion.c_str(), parameters.c_str(),
                              /*dir=*/nullptr, SW_SHOWNORMAL))) {
      printfBilingual({L"\n列表已输出为<%s>, 马上会自动打开。",
                       L"\nThe list has been output as <%s>, and will be automatically opened soon."},
                      path.c_str());
      return;
    }
    // A companion that would not start: the file is still shown the ordinary way.
  }
  ShellExecuteW(/*hwnd=*/nullptr, L"open", path.c_str(), /*params=*/nullptr, /*dir=*/nullptr, SW_SHOWNORMAL);
}

}  // namespace veltrace
