// APPLOAD and APPUNLOAD at the command line, with the test plug-in (tests/plugins).
#include <string>

#include "commands/AppCommands.h"
#include "editor/CommandStack.h"
#include "host/editor/PluginTestSupport.h"
#include "platform/TextEncoding.h"

namespace vtcad::editor::testing {
namespace {

const std::wstring kPlugin = L"" VTCAD_TEST_PLUGIN;
const std::wstring kLockedPlugin = L"" VTCAD_TEST_PLUGIN_LOCKED;

class AppLoadCommandTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    registerAppCommands(CommandStack::instance());
  }
  std::string plugin() const { return platform::encodeUtf8(kPlugin); }
};

TEST_F(AppLoadCommandTest, LoadUseAndUnloadFromTheCommandLine) {
  // The path in quotes, as a file manager copies it.
  run(L"APPLOAD\n\"" + kPlugin + L"\"\nHELLO\nAPPLOAD\n" + kPlugin +
      L"\nAPPUNLOAD\nVtcad_Test_Plugin\nHELLO\n");
  EXPECT_TRUE(said("Plug-in file to load: "));
  EXPECT_TRUE(said(plugin() + " successfully loaded.")) << transcript_;
  EXPECT_TRUE(said("Hello from the test plug-in."));
  EXPECT_TRUE(said(plugin() + " is already loaded."));
  EXPECT_TRUE(said("Application to unload: "));
  EXPECT_TRUE(said("vtcad_test_plugin successfully unloaded.")) << transcript_;
  EXPECT_TRUE(said("Unknown command \"HELLO\"")) << "gone with its plug-in";
}

TEST_F(AppLoadCommandTest, RefusalsAreReportedAndTheCommandEnds) {
  run(L"APPLOAD\n/nonexistent/libnothing.so\nAPPUNLOAD\nnothing\nAPPLOAD\n" + kLockedPlugin +
      L"\nAPPUNLOAD\nvtcad_test_plugin_locked\n");
  EXPECT_TRUE(said("Cannot load /nonexistent/libnothing.so: no such file.")) << transcript_;
  EXPECT_TRUE(said("Application \"nothing\" is not loaded."));
  EXPECT_TRUE(said("Application \"vtcad_test_plugin_locked\" is locked and cannot be unloaded."));
}

}  // namespace
}  // namespace vtcad::editor::testing
