// Application names of plug-in files, and how a typed name finds its file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "editor/PluginFile.h"

namespace vtcad::editor {
namespace {

namespace fs = std::filesystem;

TEST(PluginFileTest, ApplicationNameIsTheFileNameWithoutLibraryDecoration) {
  EXPECT_EQ(appNameOfFile(L"/opt/vtcad/libveltrace.so"), L"veltrace");
  EXPECT_EQ(appNameOfFile(L"libveltrace.so.1.2"), L"veltrace");
  EXPECT_EQ(appNameOfFile(L"veltrace.zrx"), L"veltrace");
  EXPECT_EQ(appNameOfFile(L"Veltrace"), L"Veltrace");
  EXPECT_EQ(appNameOfFile(L"/x/my.solver.so"), L"my.solver") << "only a whole \".so\" ends the name";
  EXPECT_EQ(appNameOfFile(L"/lib.so.d/tool.so"), L"tool") << "folders do not count";
  // Degenerate names keep what would otherwise vanish.
  EXPECT_EQ(appNameOfFile(L"lib.so"), L"lib");
  EXPECT_EQ(appNameOfFile(L".so"), L".so");
  EXPECT_EQ(appNameOfFile(L".hidden"), L".hidden");
}

TEST(PluginFileTest, TypedNameFindsTheFileWithOrWithoutItsDecoration) {
  const fs::path folder =
      fs::path(::testing::TempDir()) / ("vtcad-plugin-file-" + std::to_string(::getpid()));
  fs::create_directories(folder / "sub");
  for (const char* name : {"libalpha.so", "beta.so", "gamma.zrx"}) std::ofstream(folder / name) << "x";
  const std::wstring base = folder.wstring();

  EXPECT_EQ(findPluginFile(base + L"/libalpha.so"), folder / "libalpha.so");
  EXPECT_EQ(findPluginFile(base + L"/beta"), folder / "beta.so");
  EXPECT_EQ(findPluginFile(base + L"/sub/../gamma.zrx"), folder / "gamma.zrx") << "no \"..\" in the result";
  EXPECT_EQ(findPluginFile(base + L"/alpha"), std::nullopt) << "lib is added only to a bare name";
  EXPECT_EQ(findPluginFile(base + L"/sub"), std::nullopt) << "a folder is no plug-in";
  EXPECT_EQ(findPluginFile(L""), std::nullopt);

  // Bare names are looked for in the working folder.
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  EXPECT_EQ(findPluginFile(L"alpha"), folder / "libalpha.so");
  EXPECT_EQ(findPluginFile(L"sub/../beta"), folder / "beta.so");
  EXPECT_EQ(findPluginFile(L"delta"), std::nullopt);
  fs::current_path(previous);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vtcad::editor
