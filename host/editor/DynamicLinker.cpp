#include "editor/DynamicLinker.h"

#include <dlfcn.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <optional>
#include <system_error>

#include "database/ZcRxClassDictionary.h"
#include "editor/CommandStack.h"
#include "editor/PluginFile.h"
#include "editor/Session.h"
#include "platform/TextEncoding.h"
#include "zcad/db/ZcDbDatabase.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcRxDynamicLinker, ZcRxObject, L"AcRxDynamicLinker", nullptr, nullptr)

namespace vtcad::editor {

namespace {

namespace fs = std::filesystem;

using EntryPoint = ZcRx::AppRetCode (*)(ZcRx::AppMsgCode, void*);
using ApiVersion = int (*)();

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) {
    return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
  });
}

std::wstring takeDlError() {
  const char* error = dlerror();
  return error ? vtcad::platform::decodeUtf8(error).text : std::wstring(L"unknown error");
}

// The loaded file that holds `address` (the system's record of it), or nullptr for an address
// in no file.
const void* fileHolding(const void* address) {
  Dl_info info{};
  void* file = nullptr;
  if (!address || dladdr1(address, &info, &file, RTLD_DL_LINKMAP) == 0) return nullptr;
  return file;
}

// A function the file itself exports. dlsym also searches the libraries the file uses, so a
// library that merely links a plug-in would otherwise pass for one, and the host would later
// sweep the wrong file's commands.
template <typename Function>
Function exported(void* handle, const void* file, const char* name) {
  void* address = dlsym(handle, name);
  return fileHolding(address) == file ? reinterpret_cast<Function>(address) : nullptr;
}

}  // namespace

struct DynamicLinker::Module {
  std::wstring path;
  std::wstring appName;
  void* handle = nullptr;  // from dlopen; also the application id its entry point receives
  EntryPoint entry = nullptr;
  const void* file = nullptr;  // the system's record of the loaded file (its link map)
  mutable bool locked = true;
  mutable bool mdiAware = false;
  bool busy = false;  // its entry point is running

  bool contains(const void* address) const { return fileHolding(address) == file; }
};

DynamicLinker& DynamicLinker::instance() {
  // Never destroyed: plug-ins still loaded at exit may reach the linker from their own static
  // destructors, which run after this file's.
  static DynamicLinker* linker = new DynamicLinker;
  return *linker;
}

DynamicLinker::DynamicLinker() = default;
DynamicLinker::~DynamicLinker() = default;

DynamicLinker::Module* DynamicLinker::findByAppId(const void* appId) const {
  if (!appId) return nullptr;
  for (const auto& module : modules_) {
    if (module->handle == appId) return module.get();
  }
  return nullptr;
}

DynamicLinker::Module* DynamicLinker::findByPath(std::wstring_view path) const {
  for (const auto& module : modules_) {
    if (module->path == path) return module.get();
  }
  // Another spelling of a loaded file (a link to it, "..").
  std::error_code error;
  const fs::path wanted = vtcad::platform::pathFromWide(path);
  for (const auto& module : modules_) {
    if (fs::equivalent(wanted, vtcad::platform::pathFromWide(module->path), error)) return module.get();
  }
  return nullptr;
}

DynamicLinker::Module* DynamicLinker::findByName(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  if (name.find(L'/') != std::wstring_view::npos) {
    std::error_code error;
    fs::path absolute = fs::absolute(vtcad::platform::pathFromWide(name), error).lexically_normal();
    return error ? nullptr : findByPath(vtcad::platform::wideFromPath(absolute));
  }
  for (const auto& module : modules_) {
    std::wstring_view file = std::wstring_view(module->path).substr(module->path.find_last_of(L'/') + 1);
    if (equalNoCase(module->appName, name) || equalNoCase(file, name)) return module.get();
  }
  return nullptr;
}

bool DynamicLinker::send(Module& module, int msg) {
  Session& session = Session::instance();
  std::wstring previous = session.currentAppPath;
  session.currentAppPath = module.path;
  module.busy = true;
  ZcRx::AppRetCode answer = ZcRx::kRetError;
  try {
    answer = module.entry(static_cast<ZcRx::AppMsgCode>(msg), module.handle);
  } catch (...) {
    // An exception that escapes a plug-in must not end the host: it counts as a failure.
    answer = ZcRx::kRetError;
  }
  module.busy = false;
  session.currentAppPath = previous;
  return answer == ZcRx::kRetOK;
}

void DynamicLinker::close(Module& module) {
  // While the file is still mapped, dladdr can tell which functions are its own.
  CommandStack::instance().removeCommandsIn(
      [&](ZcRxFunctionPtr function) { return module.contains(reinterpret_cast<const void*>(function)); });
  for (ZcRxClass* cls : vtcad::db::registeredClasses()) {
    ZcRxClass::PseudoConstructor creator = cls->pseudoConstructor();
    if (creator && module.contains(reinterpret_cast<const void*>(creator))) deleteZcRxClass(cls);
  }
  dlclose(module.handle);
  std::erase_if(modules_, [&](const auto& held) { return held.get() == &module; });
}

LoadResult DynamicLinker::load(std::wstring_view fileName) {
  LoadResult result;
  result.path = fileName;
  std::optional<fs::path> found = findPluginFile(fileName);
  if (!found) {
    result.reason = L"no such file";
    return result;
  }
  result.path = vtcad::platform::wideFromPath(*found);
  if (findByPath(result.path)) {
    result.outcome = LoadResult::Outcome::kAlreadyLoaded;
    return result;
  }
  std::wstring appName = appNameOfFile(result.path);
  for (const auto& module : modules_) {
    // Two applications of one name could not be told apart when unloading.
    if (equalNoCase(module->appName, appName)) {
      result.reason =
          L"an application named \"" + module->appName + L"\" is already loaded from " + module->path;
      return result;
    }
  }

  dlerror();  // a stale error must not be reported for this file
  // RTLD_NOW: a missing symbol shows now, as a load failure, not later as a crash inside a
  // command. RTLD_LOCAL: plug-ins do not see each other's symbols.
  void* handle = dlopen(found->c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    result.reason = takeDlError();
    return result;
  }
  if (findByAppId(handle)) {
    // The same file under a name findByPath could not match (a hard link): dlopen only
    // counted one more reference, which goes again.
    dlclose(handle);
    result.outcome = LoadResult::Outcome::kAlreadyLoaded;
    return result;
  }

  auto refuse = [&](std::wstring reason) {
    dlclose(handle);
    result.reason = std::move(reason);
    return result;
  };
  void* file = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &file) != 0 || !file) {
    return refuse(L"the system does not say where it is mapped");
  }
  auto apiVersion = exported<ApiVersion>(handle, file, "zcrxGetApiVersion");
  auto entry = exported<EntryPoint>(handle, file, "zcrxEntryPoint");
  if (!apiVersion) return refuse(L"it exports no zcrxGetApiVersion (not a plug-in)");
  if (!entry) return refuse(L"it exports no zcrxEntryPoint (not a plug-in)");
  int version = 0;
  try {
    version = apiVersion();
  } catch (...) {
    return refuse(L"its zcrxGetApiVersion failed");
  }
  if (version != ZCRX_API_VERSION) {
    return refuse(L"it was built for interface version " + std::to_wstring(version) +
                  L", this host has version " + std::to_wstring(ZCRX_API_VERSION));
  }

  auto owned = std::make_unique<Module>();
  Module& module = *owned;
  module.path = result.path;
  module.appName = std::move(appName);
  module.handle = handle;
  module.entry = entry;
  module.file = file;
  // Listed before its init runs: the entry point unlocks itself by its application id.
  modules_.push_back(std::move(owned));
  if (!send(module, ZcRx::kInitAppMsg)) {
    // No kUnloadAppMsg after a failed init; what the init left behind is swept by close.
    close(module);
    result.reason = L"its initialization failed";
    return result;
  }
  // A failure for one drawing leaves the application loaded.
  if (zcdbCurDwg()) send(module, ZcRx::kLoadDwgMsg);
  result.outcome = LoadResult::Outcome::kLoaded;
  return result;
}

UnloadResult DynamicLinker::unload(std::wstring_view name) {
  UnloadResult result;
  result.appName = name;
  Module* module = findByName(name);
  if (!module) return result;
  result.appName = module->appName;
  if (module->busy) {
    result.outcome = UnloadResult::Outcome::kBusy;
  } else if (module->locked) {
    result.outcome = UnloadResult::Outcome::kLocked;
  } else if (!send(*module, ZcRx::kUnloadAppMsg)) {
    result.outcome = UnloadResult::Outcome::kRefused;
  } else {
    close(*module);
    result.outcome = UnloadResult::Outcome::kUnloaded;
  }
  return result;
}

void DynamicLinker::unloadAll() {
  for (;;) {
    auto last =
        std::find_if(modules_.rbegin(), modules_.rend(), [](const auto& module) { return !module->busy; });
    if (last == modules_.rend()) return;
    Module& module = **last;
    // The host is ending: a locked application or one that refuses goes all the same.
    send(module, ZcRx::kUnloadAppMsg);
    close(module);
  }
}

std::wstring DynamicLinker::message(const LoadResult& result) {
  switch (result.outcome) {
    case LoadResult::Outcome::kLoaded:
      return result.path + L" successfully loaded.";
    case LoadResult::Outcome::kAlreadyLoaded:
      return result.path + L" is already loaded.";
    case LoadResult::Outcome::kFailed:
      break;
  }
  return L"Cannot load " + result.path + L": " + result.reason + L".";
}

std::wstring DynamicLinker::message(const UnloadResult& result) {
  const std::wstring quoted = L"Application \"" + result.appName + L"\"";
  switch (result.outcome) {
    case UnloadResult::Outcome::kUnloaded:
      return result.appName + L" successfully unloaded.";
    case UnloadResult::Outcome::kNotLoaded:
      return quoted + L" is not loaded.";
    case UnloadResult::Outcome::kLocked:
      return quoted + L" is locked and cannot be unloaded.";
    case UnloadResult::Outcome::kBusy:
      return quoted + L" is being loaded or unloaded and cannot be unloaded now.";
    case UnloadResult::Outcome::kRefused:
      return quoted + L" refused to be unloaded.";
  }
  return quoted + L" is not loaded.";
}

std::wstring DynamicLinker::pathOfCode(const void* address) const {
  for (const auto& module : modules_) {
    if (module->contains(address)) return module->path;
  }
  return {};
}

bool DynamicLinker::loadModule(const ZTCHAR* fileName, bool printIt, bool /*asCmd*/) {
  LoadResult result = load(fileName ? fileName : L"");
  if (printIt) Session::instance().print(L"\n" + message(result));
  return result.succeeded();
}

bool DynamicLinker::unloadModule(const ZTCHAR* fileName, bool printIt) {
  UnloadResult result = unload(fileName ? fileName : L"");
  if (printIt) Session::instance().print(L"\n" + message(result));
  return result.succeeded();
}

bool DynamicLinker::unlockApplication(void* appId) const {
  Module* module = findByAppId(appId);
  if (module) module->locked = false;
  return module != nullptr;
}

bool DynamicLinker::lockApplication(void* appId) const {
  Module* module = findByAppId(appId);
  if (module) module->locked = true;
  return module != nullptr;
}

bool DynamicLinker::isApplicationLocked(const ZTCHAR* appName) const {
  const Module* module = findByName(appName ? appName : L"");
  return module && module->locked;
}

bool DynamicLinker::registerAppMDIAware(void* appId) const {
  Module* module = findByAppId(appId);
  if (module) module->mdiAware = true;
  return module != nullptr;
}

bool DynamicLinker::registerAppNotMDIAware(void* appId) const {
  Module* module = findByAppId(appId);
  if (module) module->mdiAware = false;
  return module != nullptr;
}

ZcArray<ZcString> DynamicLinker::loadedModules() const {
  ZcArray<ZcString> paths;
  for (const auto& module : modules_) paths.append(ZcString(module->path));
  return paths;
}

}  // namespace vtcad::editor

ZcRxDynamicLinker* zcrxDynamicLinker() { return &vtcad::editor::DynamicLinker::instance(); }
