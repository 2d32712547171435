// Atomic file replacement: temporary file, fsync, rename, fsync of the folder.
#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/WriteAll.h"

namespace vtcad::platform {

std::optional<std::string> replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                                 mode_t newFileMode) {
  std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  // Beside the target, so that the rename never crosses file systems.
  std::string temporary = (folder / (path.filename().string() + ".tmp-XXXXXX")).string();
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return "cannot save " + path.string() + ": " + std::strerror(errno);
  auto fail = [&](const char* what) -> std::optional<std::string> {
    int err = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return "cannot save " + path.string() + ": " + what + ": " + std::strerror(err);
  };
  struct stat old {};
  mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode;
  if (::fchmod(fd, mode) != 0) return fail("setting permissions");
  if (!writeAll(fd, bytes)) return fail("writing");
  if (::fsync(fd) != 0) return fail("flushing to disk");
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(temporary.c_str());
    return "cannot save " + path.string() + ": closing: " + std::strerror(err);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temporary.c_str());
    return "cannot save " + path.string() + ": " + std::strerror(err);
  }
  // The rename is durable only once the folder that records it is flushed.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

}  // namespace vtcad::platform
