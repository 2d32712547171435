// Drawing files on disk: reading a whole file, and saving without risk to the file that is
// there.
#include "dxf/DxfFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "dxf/DxfDocumentReader.h"
#include "dxf/DxfDocumentWriter.h"
#include "platform/WriteAll.h"
#include "zcad/db/ZcDbDatabase.h"

namespace vtcad::dxf {

LoadResult readDxf(std::string_view data, Recovery recovery, const Progress& progress) {
  return readDocument(data, recovery, progress);
}

LoadResult loadDxfFile(const std::filesystem::path& path, Recovery recovery, const Progress& progress) {
  LoadResult result;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    result.refusal = "cannot open " + path.string() + ": it is a folder";
    return result;
  }
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.refusal = "cannot open " + path.string() + ": " + std::strerror(errno);
    return result;
  }
  std::string data;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.refusal = "cannot read " + path.string() + ": " + std::strerror(errno);
      ::close(fd);
      return result;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return readDocument(data, recovery, progress);
}

std::string writeDxf(ZcDbDatabase& db) { return DocumentWriter(db).write(); }

SaveResult saveDxfFile(ZcDbDatabase& db, const std::filesystem::path& path, const Progress& progress) {
  SaveResult result;
  std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    result.message = "cannot save to " + path.string() + ": it is a folder";
    return result;
  }
  // The temporary file sits beside the target so that the final rename cannot cross file
  // systems: the target is either the old drawing or the new one, never half of one.
  std::string pattern = (folder / (path.filename().string() + ".tmp-XXXXXX")).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    result.message = "cannot save to " + path.string() + ": " + std::strerror(errno);
    return result;
  }
  auto fail = [&](const char* what) {
    int err = errno;
    ::close(fd);
    ::unlink(pattern.c_str());
    result.message = "cannot save to " + path.string() + ": " + what + ": " + std::strerror(err);
    return result;
  };
  // A drawing file is the user's: readable by others as their umask allows, like any file
  // the user writes, not private as mkstemp makes it.
  mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat old {};
  mode_t mode = (::stat(path.c_str(), &old) == 0) ? (old.st_mode & 07777) : (0666 & ~mask);
  if (::fchmod(fd, mode) != 0) return fail("setting permissions");
  // Written in pieces as it is made: a drawing of millions of entities is never held whole
  // as text.
  DocumentWriter writer(db);
  const double total = static_cast<double>(db.approxNumObjects());
  bool cancelled = false;
  // The disk is set to work every few megabytes rather than all at once at the fsync: the
  // writing out then overlaps the making of the text (a large save's fsync waits for a few
  // milliseconds instead of tens). Only a hint; the fsync is what makes the file durable.
  constexpr off_t kWriteOutEvery = off_t{8} << 20;
  off_t writtenTo = 0, writtenOutTo = 0;
  const bool written = writer.writeTo([&](std::string_view piece) {
    if (!platform::writeAll(fd, piece)) return false;
    writtenTo += static_cast<off_t>(piece.size());
#ifdef SYNC_FILE_RANGE_WRITE
    if (writtenTo - writtenOutTo >= kWriteOutEvery) {
      ::sync_file_range(fd, writtenOutTo, writtenTo - writtenOutTo, SYNC_FILE_RANGE_WRITE);
      writtenOutTo = writtenTo;
    }
#endif
    cancelled = progress && !progress(static_cast<double>(writer.objectsWritten()), total);
    return !cancelled;
  });
  if (cancelled) {
    ::close(fd);
    ::unlink(pattern.c_str());
    result.message = kCancelledRefusal;
    return result;
  }
  if (!written) return fail("writing");
  if (::fsync(fd) != 0) return fail("flushing to disk");
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(pattern.c_str());
    result.message = "cannot save to " + path.string() + ": closing: " + std::strerror(err);
    return result;
  }
  if (std::filesystem::exists(path, ec)) {
    // The previous drawing stays as name.bak (a hard link, so the target never goes
    // missing in between).
    std::filesystem::path backup = path;
    backup += ".bak";
    ::unlink(backup.c_str());
    if (::link(path.c_str(), backup.c_str()) != 0) {
      std::filesystem::copy_file(path, backup, std::filesystem::copy_options::overwrite_existing, ec);
    }
  }
  if (::rename(pattern.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(pattern.c_str());
    result.message = "cannot save to " + path.string() + ": " + std::strerror(err);
    return result;
  }
  // The rename itself is made durable by flushing the folder.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  result.ok = true;
  return result;
}

std::string formatLoadMessage(const LoadMessage& message) {
  if (message.line == 0) return message.text;
  return "line " + std::to_string(message.line) + ": " + message.text;
}

}  // namespace vtcad::dxf
