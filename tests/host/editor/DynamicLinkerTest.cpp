// Loading and unloading the test plug-ins (tests/plugins): what the host gains from a plug-in
// while it is loaded, what it must lose again when it goes, and the files it must refuse.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "PluginTestSupport.h"
#include "editor/DynamicLinker.h"
#include "editor/PluginFile.h"
#include "platform/SettingsStore.h"
#include "platform/TextEncoding.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/rx/ZcRxClass.h"
#include "zcad/zced.h"

namespace vtcad::editor::testing {
namespace {

namespace fs = std::filesystem;

using LoadOutcome = LoadResult::Outcome;
using UnloadOutcome = UnloadResult::Outcome;

const std::wstring kPlugin = L"" VTCAD_TEST_PLUGIN;
const std::wstring kLockedPlugin = L"" VTCAD_TEST_PLUGIN_LOCKED;
const std::wstring kOldApiPlugin = L"" VTCAD_TEST_PLUGIN_OLD_API;
const std::wstring kUntidyPlugin = L"" VTCAD_TEST_PLUGIN_UNTIDY;
const std::wstring kFailingPlugin = L"" VTCAD_TEST_PLUGIN_FAILING;
const std::wstring kHostLibrary = L"" VTCAD_HOST_LIBRARY;

std::string narrow(const std::wstring& text) { return platform::encodeUtf8(text); }

bool hasTestCommands() {
  return CommandStack::instance().lookupGlobalCmd(L"TESTHELLO") != nullptr ||
         CommandStack::instance().lookupLocalCmd(L"TLINE") != nullptr;
}

bool hasTestClass() { return zcrxFindZcRxClass(L"VtTestThing") != nullptr; }

using DynamicLinkerTest = PluginTest;

TEST_F(DynamicLinkerTest, PluginComesAndGoesTwiceWithAFreshInitEachTime) {
  DynamicLinker& linker = DynamicLinker::instance();
  // Each round unloads by another of the names an application answers to.
  const std::vector<std::wstring> unloadNames = {L"VTCAD_TEST_PLUGIN", kPlugin};
  for (const std::wstring& unloadName : unloadNames) {
    SCOPED_TRACE(narrow(unloadName));
    transcript_.clear();
    LoadResult loaded = linker.load(kPlugin);
    ASSERT_EQ(loaded.outcome, LoadOutcome::kLoaded) << narrow(loaded.reason);
    EXPECT_EQ(loaded.path, kPlugin);
    EXPECT_TRUE(said("vtcad test plug-in loaded from " + narrow(kPlugin) + "."));
    EXPECT_FALSE(linker.isApplicationLocked(L"vtcad_test_plugin"));
    ZcArray<ZcString> modules = linker.loadedModules();
    ASSERT_EQ(modules.length(), 1);
    EXPECT_EQ(modules[0].str(), kPlugin);

    // Another spelling of the same file is the same application.
    fs::path roundabout =
        fs::path(narrow(kPlugin)).parent_path() / "." / fs::path(narrow(kPlugin)).filename();
    EXPECT_EQ(linker.load(platform::wideFromPath(roundabout)).outcome, LoadOutcome::kAlreadyLoaded);
    EXPECT_EQ(linker.loadedModules().length(), 1);

    run(L"HELLO\n_TESTLINE\n");
    EXPECT_TRUE(said("Hello from the test plug-in."));
    zds_name last{};
    ZcDbObjectId lineId;
    ASSERT_EQ(zcdbEntLast(last), RTNORM);
    ASSERT_EQ(zcdbGetObjectId(lineId, last), Zcad::eOk);
    ZcDbLine* line = nullptr;
    ASSERT_EQ(zcdbOpenObject(line, lineId, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(line->endPoint(), ZcGePoint3d(10, 5, 0));
    line->close();

    ZcRxClass* thing = zcrxFindZcRxClass(L"VtTestThing");
    ASSERT_NE(thing, nullptr);
    EXPECT_TRUE(thing->canCreate());

    UnloadResult unloaded = linker.unload(unloadName);
    EXPECT_EQ(unloaded.outcome, UnloadOutcome::kUnloaded);
    EXPECT_EQ(unloaded.appName, L"vtcad_test_plugin");
    EXPECT_FALSE(hasTestCommands());
    EXPECT_FALSE(hasTestClass());
    EXPECT_EQ(linker.loadedModules().length(), 0);
    transcript_.clear();
    run(L"HELLO\n");
    EXPECT_FALSE(said("Hello from the test plug-in.")) << transcript_;
  }
}

TEST_F(DynamicLinkerTest, EntryPointRunsAsThePluginAndTheHostIsItselfOtherwise) {
  ASSERT_TRUE(DynamicLinker::instance().load(kPlugin).succeeded());
  // The plug-in wrote zcedGetAppName() of its init into its demand-load record.
  EXPECT_EQ(
      platform::settings().string(L"HKEY_CURRENT_USER\\Software\\vtcad\\Applications\\VtTest", L"LOADER"),
      kPlugin);
  EXPECT_EQ(std::wstring(zcedGetAppName()), platform::wideFromPath(hostProgramPath()));
  // Its commands run as the plug-in too.
  EXPECT_EQ(CommandStack::instance().appPathOf(CommandStack::instance().lookupGlobalCmd(L"TESTHELLO")),
            kPlugin);
}

TEST_F(DynamicLinkerTest, FilesThatAreNotLoadablePluginsLeaveNothingBehind) {
  fs::path folder = settingsDir_ / "files";
  fs::create_directories(folder);
  fs::path text = folder / "notes.so";
  std::ofstream(text) << "not a shared library\n";
  // Another file whose application name is taken by the loaded plug-in.
  fs::path sameName = folder / "vtcad_test_plugin.so";
  fs::copy_file(narrow(kPlugin), sameName);

  struct Case {
    std::wstring file;
    std::string reasonHas;
  };
  const std::vector<Case> cases = {
      {platform::wideFromPath(folder / "missing.so"), "no such file"},
      {platform::wideFromPath(text), "notes.so"},  // the system's own words name the file
      {kHostLibrary, "exports no zcrxGetApiVersion"},
      {kOldApiPlugin, "built for interface version 0, this host has version 1"},
      {kFailingPlugin, "its initialization failed"},
  };
  DynamicLinker& linker = DynamicLinker::instance();
  for (const Case& refused : cases) {
    SCOPED_TRACE(narrow(refused.file));
    LoadResult result = linker.load(refused.file);
    EXPECT_EQ(result.outcome, LoadOutcome::kFailed);
    EXPECT_NE(narrow(DynamicLinker::message(result)).find(refused.reasonHas), std::string::npos)
        << narrow(DynamicLinker::message(result));
    EXPECT_TRUE(narrow(DynamicLinker::message(result)).starts_with("Cannot load "));
    EXPECT_EQ(linker.loadedModules().length(), 0);
    // The failing plug-in registered both before it failed.
    EXPECT_FALSE(hasTestCommands());
    EXPECT_FALSE(hasTestClass());
  }

  ASSERT_TRUE(linker.load(kPlugin).succeeded());
  LoadResult clash = linker.load(platform::wideFromPath(sameName));
  EXPECT_EQ(clash.outcome, LoadOutcome::kFailed);
  EXPECT_EQ(clash.reason, L"an application named \"vtcad_test_plugin\" is already loaded from " + kPlugin);
  EXPECT_EQ(linker.loadedModules().length(), 1);
}

TEST_F(DynamicLinkerTest, LockedApplicationStaysAndUnknownOnesAreReported) {
  DynamicLinker& linker = DynamicLinker::instance();
  ASSERT_TRUE(linker.load(kLockedPlugin).succeeded());
  EXPECT_TRUE(linker.isApplicationLocked(L"vtcad_test_plugin_locked"));
  UnloadResult locked = linker.unload(L"vtcad_test_plugin_locked");
  EXPECT_EQ(locked.outcome, UnloadOutcome::kLocked);
  EXPECT_EQ(DynamicLinker::message(locked),
            L"Application \"vtcad_test_plugin_locked\" is locked and cannot be unloaded.");
  EXPECT_EQ(linker.loadedModules().length(), 1);
  EXPECT_TRUE(hasTestCommands());

  UnloadResult unknown = linker.unload(L"nosuch");
  EXPECT_EQ(unknown.outcome, UnloadOutcome::kNotLoaded);
  EXPECT_EQ(DynamicLinker::message(unknown), L"Application \"nosuch\" is not loaded.");
  EXPECT_FALSE(linker.isApplicationLocked(L"nosuch"));
}

TEST_F(DynamicLinkerTest, UnloadTakesOutWhatAPluginLeftBehind) {
  DynamicLinker& linker = DynamicLinker::instance();
  ASSERT_TRUE(linker.load(kUntidyPlugin).succeeded());
  ASSERT_TRUE(hasTestCommands());
  ASSERT_TRUE(hasTestClass());
  EXPECT_EQ(linker.unload(L"vtcad_test_plugin_untidy").outcome, UnloadOutcome::kUnloaded);
  // Its commands would call into unmapped code, its class would create objects from it.
  EXPECT_FALSE(hasTestCommands());
  EXPECT_FALSE(hasTestClass());
  EXPECT_NE(CommandStack::instance().lookupGlobalCmd(L"T"), nullptr) << "the host's own commands stay";
}

}  // namespace
}  // namespace vtcad::editor::testing
