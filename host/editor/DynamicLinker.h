#pragma once
// The dynamic linker: brings plug-in files into the host process and takes them out again.
//
// Loading opens the file with dlopen, checks that it exports zcrxGetApiVersion (answering
// ZCRX_API_VERSION) and zcrxEntryPoint, and sends the entry point kInitAppMsg and then
// kLoadDwgMsg for the open drawing. An application is locked until its entry point unlocks
// it; a locked one is not unloaded. Unloading sends kUnloadAppMsg, then takes out what the
// plug-in's code left behind (commands whose functions and runtime classes whose creators lie
// in the file) before the file is closed, so nothing the host keeps points into unmapped code.
//
// Like the command line, the linker belongs to the host's command thread.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zcad/rx/ZcRxDynamicLinker.h"

namespace vtcad::editor {

struct LoadResult {
  enum class Outcome {
    kLoaded,
    kAlreadyLoaded,  // the same file is loaded: nothing happens, and that counts as success
    kFailed,
  };
  Outcome outcome = Outcome::kFailed;
  // The file as found (absolute), or as given when no file was found.
  std::wstring path;
  // Why it failed, for "Cannot load <path>: <reason>".
  std::wstring reason;

  bool succeeded() const { return outcome != Outcome::kFailed; }
};

struct UnloadResult {
  enum class Outcome {
    kUnloaded,
    kNotLoaded,
    kLocked,
    kBusy,     // its entry point is running (it is being loaded or unloaded)
    kRefused,  // its entry point answered kUnloadAppMsg with an error
  };
  Outcome outcome = Outcome::kNotLoaded;
  // The application's name when one was found, else the name as given.
  std::wstring appName;

  bool succeeded() const { return outcome == Outcome::kUnloaded; }
};

class DynamicLinker final : public ZcRxDynamicLinker {
 public:
  static DynamicLinker& instance();

  LoadResult load(std::wstring_view fileName);
  // `name`: the application name (without regard to case), the file name, or the path.
  UnloadResult unload(std::wstring_view name);
  // The host's end: every application, locked ones too, the last loaded first.
  void unloadAll();

  // The message a result prints on the command line.
  static std::wstring message(const LoadResult& result);
  static std::wstring message(const UnloadResult& result);

  // The path of the loaded plug-in whose code holds `address`; empty for the host's own code
  // and for addresses in no file.
  std::wstring pathOfCode(const void* address) const;

  // ZcRxDynamicLinker. `asCmd` makes no difference here: both ways print the same.
  bool loadModule(const ZTCHAR* fileName, bool printIt, bool asCmd = false) override;
  bool unloadModule(const ZTCHAR* fileName, bool printIt) override;
  bool unlockApplication(void* appId) const override;
  bool lockApplication(void* appId) const override;
  bool isApplicationLocked(const ZTCHAR* appName) const override;
  bool registerAppMDIAware(void* appId) const override;
  bool registerAppNotMDIAware(void* appId) const override;
  ZcArray<ZcString> loadedModules() const override;

  DynamicLinker(const DynamicLinker&) = delete;
  DynamicLinker& operator=(const DynamicLinker&) = delete;

 private:
  DynamicLinker();
  ~DynamicLinker() override;
  struct Module;
  Module* findByAppId(const void* appId) const;
  Module* findByName(std::wstring_view name) const;
  Module* findByPath(std::wstring_view path) const;
  // Sends one message to a module's entry point with the module as the running application.
  bool send(Module& module, int msg);
  void close(Module& module);
  // Modules in load order; the entry point may load or unload others while it runs, so they
  // are held by pointer and looked up again after each call.
  std::vector<std::unique_ptr<Module>> modules_;
};

}  // namespace vtcad::editor
