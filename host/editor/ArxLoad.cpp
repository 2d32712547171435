// The plug-in functions of zced.h: which plug-in is running, and loading or unloading one
// from code as APPLOAD and APPUNLOAD do.
#include <string>

#include "editor/DynamicLinker.h"
#include "editor/PluginFile.h"
#include "editor/Session.h"
#include "platform/TextEncoding.h"
#include "zcad/zced.h"

const ZTCHAR* zcedGetAppName() {
  // Valid until the running plug-in changes, as the callers (an entry point, a command that
  // reads its own folder) use it at once.
  const std::wstring& running = vtcad::editor::Session::instance().currentAppPath;
  if (!running.empty()) return running.c_str();
  // Read once; kept past exit for the static destructors of plug-ins still loaded.
  static const std::wstring* program =
      new std::wstring(vtcad::platform::wideFromPath(vtcad::editor::hostProgramPath()));
  return program->c_str();
}

int zcedArxLoad(const ZTCHAR* path) {
  return vtcad::editor::DynamicLinker::instance().loadModule(path, /*printIt=*/true) ? RTNORM : RTERROR;
}

int zcedArxUnload(const ZTCHAR* appName) {
  return vtcad::editor::DynamicLinker::instance().unloadModule(appName, /*printIt=*/true) ? RTNORM : RTERROR;
}
