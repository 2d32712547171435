// Settings over the host's store: what reads as a number or a text, and where the plug-in's
// files are. String values are written directly, as another program sharing the file would.
#include <climits>
#include <filesystem>
#include <string>

#include "frame/Settings.h"
#include "plugin/frame/FrameTestSupport.h"

namespace veltrace::testing {
namespace {

using SettingsTest = FrameTest;

TEST_F(SettingsTest, OnlyDwordsReadAsNumbers) {
  EXPECT_EQ(readSetting(L"Counter"), 0);  // no key yet
  for (int value : {42, -1, INT_MIN, INT_MAX}) {
    EXPECT_TRUE(writeSetting(L"Counter", value));
    EXPECT_EQ(readSetting(L"counter"), value);
  }
  setStringSetting(L"Text", L"1");
  setStringSetting(L"Empty", L"");  // its terminator is as long as a DWORD
  EXPECT_EQ(readSetting(L"Text"), 0);
  EXPECT_EQ(readSetting(L"Empty"), 0);
  EXPECT_FALSE(writeRegDword(HKEY_LOCAL_MACHINE, kSettingsKey, L"Counter", 1));  // read-only root
}

TEST_F(SettingsTest, StringsUpToTheLimitAreRead) {
  EXPECT_EQ(readStringSetting(L"Name"), L"");  // no key yet
  const std::wstring longest(4095, L'字');
  setStringSetting(L"Long", longest);
  EXPECT_EQ(readStringSetting(L"long"), longest);
  setStringSetting(L"Long", longest + L"x");
  EXPECT_EQ(readStringSetting(L"Long"), L"");
  ASSERT_TRUE(writeSetting(L"Number", 7));
  EXPECT_EQ(readStringSetting(L"Number"), L"");
}

TEST_F(SettingsTest, ProgramFolderFromLocationThenPluginFileThenOwnLibrary) {
  const auto folderWith = [](const std::wstring& location) {
    setStringSetting(L"Location", location);
    return programFolder();
  };
  EXPECT_EQ(folderWith(L"  /opt/veltrace\t "), L"/opt/veltrace/");
  EXPECT_EQ(folderWith(L"/opt/veltrace/"), L"/opt/veltrace/");
  EXPECT_EQ(folderWith(L"D:\\Tools\\"), L"D:\\Tools\\");
  EXPECT_EQ(folderWith(L"D:\\Tools"), L"D:\\Tools/");
  std::wstring& appPath = vtcad::editor::Session::instance().currentAppPath;
  appPath = L"/usr/lib/vtcad/libveltrace.so";
  EXPECT_EQ(folderWith(L"   "), L"/usr/lib/vtcad/");  // a blank location counts as none
  // A plug-in name without a folder: the file this code was loaded from, the test program.
  appPath = L"veltrace.so";
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(programFolder(), self.parent_path().wstring() + L"/");
  appPath.clear();
}

}  // namespace
}  // namespace veltrace::testing
