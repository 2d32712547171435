#pragma once
// Replacing a small file so that a crash or power cut at any moment leaves either the old
// contents or the new ones, never a mixture or an empty file.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vtcad::platform {

// Writes `bytes` to a temporary file beside `path`, flushes it, renames it over `path` and
// flushes the folder, so the new contents are on disk when this returns. An existing file keeps
// its permissions; a new one gets `newFileMode`. On failure nothing is left behind and `path`
// is as it was; the answer says why ("cannot save /x/y: ...").
std::optional<std::string> replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                                 mode_t newFileMode);

}  // namespace vtcad::platform
