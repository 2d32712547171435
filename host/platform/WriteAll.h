#pragma once
// Writing a whole buffer to a file descriptor: write(2) may take less than it was given, and a
// signal may interrupt it before it took anything.
#include <string_view>

namespace vtcad::platform {

// False on an error (errno says which); interrupted writes are retried.
bool writeAll(int fd, std::string_view data);

}  // namespace vtcad::platform
