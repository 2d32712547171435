#pragma once
// Plug-in files: how a name typed at APPLOAD becomes a file, and the application name a file
// goes by (the name APPUNLOAD and demand-load records use).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vtcad::editor {

// The application name of a plug-in file: the file name without its folder, without ".so"
// and any version after it (".so.1.2"), or else without its last extension (".zrx"), and
// without a "lib" prefix: "/opt/x/libveltrace.so" -> "veltrace". Degenerate names keep what
// would otherwise vanish: "lib.so" -> "lib", ".so" -> ".so".
std::wstring appNameOfFile(std::wstring_view path);

// The plug-in file a typed name stands for, as an absolute path without "." and ".."
// (symbolic links are kept, so the name the user chose stays). Tried in order:
//   the name as typed; for a file name without an extension also NAME.so and, when no folder
//   was typed, libNAME.so.
// A name without a folder is looked for in the working folder, then in the host program's
// folder. Only regular files count. Nothing when none exists.
std::optional<std::filesystem::path> findPluginFile(std::wstring_view typed);

// The host program's own file (from /proc/self/exe); empty when the system does not say.
std::filesystem::path hostProgramPath();

}  // namespace vtcad::editor
