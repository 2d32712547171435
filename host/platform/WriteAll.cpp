#include "platform/WriteAll.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace vtcad::platform {

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace vtcad::platform
