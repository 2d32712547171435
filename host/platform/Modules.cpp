// The module functions of zcmodule.h over the dynamic linker: dladdr finds the object that holds
// an address, dl_iterate_phdr lists the loaded objects with their names. A handle is an object's
// load address (dladdr's dli_fbase), which both agree on: the start of its first loaded segment.
#include <dlfcn.h>
#include <link.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "zcad/platform/zcmodule.h"

namespace vtcad::platform {

namespace {

namespace fs = std::filesystem;

struct LoadedModule {
  std::uintptr_t base = 0;
  fs::path path;
};

fs::path programPath() {
  std::error_code error;
  fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : path;
}

int addModule(dl_phdr_info* info, size_t /*size*/, void* data) {
  auto* modules = static_cast<std::vector<LoadedModule>*>(data);
  bool isProgram = modules->empty();  // the program always comes first
  // The program has no name here (/proc/self/exe tells its file); the kernel's vDSO has one but
  // no file, so it is no module.
  if (!isProgram && (!info->dlpi_name || info->dlpi_name[0] == '\0')) return 0;
  bool anySegment = false;
  ElfW(Addr) lowest = 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD) continue;
    if (!anySegment || segment.p_vaddr < lowest) lowest = segment.p_vaddr;
    anySegment = true;
  }
  if (!anySegment) return 0;
  auto pageSize = static_cast<ElfW(Addr)>(::sysconf(_SC_PAGESIZE));
  LoadedModule module;
  module.base = info->dlpi_addr + (lowest & ~(pageSize - 1));
  if (!isProgram && module.base == ::getauxval(AT_SYSINFO_EHDR)) return 0;
  if (isProgram) {
    module.path = programPath();
  } else {
    // A library opened by a relative name keeps that name; the current folder makes it whole
    // unless the program has changed folders since.
    std::error_code error;
    module.path = fs::absolute(fs::path(info->dlpi_name), error);
    if (error) module.path = info->dlpi_name;
  }
  modules->push_back(std::move(module));
  return 0;
}

std::vector<LoadedModule> loadedModules() {
  std::vector<LoadedModule> modules;
  dl_iterate_phdr(&addModule, &modules);
  return modules;
}

}  // namespace

}  // namespace vtcad::platform

using namespace vtcad::platform;

BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleNameOrAddress, HMODULE* module) {
  if (!module) return 0;
  *module = nullptr;
  constexpr DWORD kKnownFlags = GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT |
                                GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
  if ((flags & ~kKnownFlags) != 0) return 0;
  if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
    // dladdr only compares the address with the loaded objects' ranges; nothing is read there.
    Dl_info info{};
    if (!moduleNameOrAddress || ::dladdr(reinterpret_cast<const void*>(moduleNameOrAddress), &info) == 0 ||
        !info.dli_fbase)
      return 0;
    *module = static_cast<HMODULE>(info.dli_fbase);
    return 1;
  }
  std::vector<LoadedModule> modules = loadedModules();
  if (modules.empty()) return 0;
  if (!moduleNameOrAddress) {
    *module = reinterpret_cast<HMODULE>(modules.front().base);
    return 1;
  }
  fs::path wanted = pathFromWide(moduleNameOrAddress);
  if (wanted.empty()) return 0;
  for (const LoadedModule& loaded : modules) {
    bool matches = wanted.has_parent_path() ? loaded.path == wanted : loaded.path.filename() == wanted;
    if (matches) {
      *module = reinterpret_cast<HMODULE>(loaded.base);
      return 1;
    }
  }
  return 0;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  if (!fileName || size == 0) return 0;
  fs::path path;
  if (!module) {
    path = programPath();
  } else {
    for (const LoadedModule& loaded : loadedModules()) {
      if (loaded.base == reinterpret_cast<std::uintptr_t>(module)) path = loaded.path;
    }
  }
  if (path.empty()) return 0;
  std::wstring wide = wideFromPath(path);
  if (wide.size() < size) {
    std::memcpy(fileName, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    return static_cast<DWORD>(wide.size());
  }
  std::memcpy(fileName, wide.data(), (size - 1) * sizeof(wchar_t));
  fileName[size - 1] = L'\0';
  return size;
}
