#include "editor/PluginFile.h"

#include <system_error>
#include <vector>

#include "platform/TextEncoding.h"

namespace vtcad::editor {

namespace {

namespace fs = std::filesystem;

bool isRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace

std::wstring appNameOfFile(std::wstring_view path) {
  std::wstring_view file = path.substr(path.find_last_of(L'/') + 1);  // npos + 1 is 0: no folder
  std::wstring_view name = file;
  // ".so" ends the name only where a version or nothing follows: "my.solver.so" is "my.solver".
  size_t so = 0;
  bool foundSo = false;
  while ((so = file.find(L".so", so)) != std::wstring_view::npos) {
    size_t after = so + 3;
    if (after == file.size() || file[after] == L'.') {
      foundSo = true;
      break;
    }
    ++so;
  }
  if (foundSo) {
    name = file.substr(0, so);
  } else if (size_t dot = file.find_last_of(L'.'); dot != std::wstring_view::npos && dot > 0) {
    name = file.substr(0, dot);
  }
  if (name.size() > 3 && name.starts_with(L"lib")) name.remove_prefix(3);
  return std::wstring(name.empty() ? file : name);
}

std::optional<fs::path> findPluginFile(std::wstring_view typed) {
  if (typed.empty()) return std::nullopt;
  const fs::path asTyped = vtcad::platform::pathFromWide(typed);
  const bool hasFolder = typed.find(L'/') != std::wstring_view::npos;

  std::vector<fs::path> names{asTyped};
  if (!asTyped.has_extension()) {
    fs::path withSo = asTyped;
    withSo += ".so";
    names.push_back(withSo);
    if (!hasFolder) names.push_back(fs::path("lib" + asTyped.native() + ".so"));
  }

  std::vector<fs::path> folders;
  std::error_code error;
  if (asTyped.is_absolute()) {
    folders.emplace_back();  // the name is the whole path
  } else {
    folders.push_back(fs::current_path(error));
    if (!hasFolder) {
      fs::path program = hostProgramPath();
      if (!program.empty()) folders.push_back(program.parent_path());
    }
  }

  for (const fs::path& folder : folders) {
    for (const fs::path& name : names) {
      fs::path candidate = folder.empty() ? name : folder / name;
      if (isRegularFile(candidate)) return candidate.lexically_normal();
    }
  }
  return std::nullopt;
}

fs::path hostProgramPath() {
  std::error_code error;
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program;
}

}  // namespace vtcad::editor
