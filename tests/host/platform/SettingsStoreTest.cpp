// The settings store: every change on disk when the call returns, typed reads, and a damaged
// file reported once and never lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "PlatformTestSupport.h"
#include "platform/RegFileFormat.h"
#include "platform/SettingsStore.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

constexpr const wchar_t* kKey = L"HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace";

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

}  // namespace

TEST(SettingsStore, EveryChangeIsOnDiskWhenTheCallReturns) {
  TempFolder folder;
  fs::path dir = folder.path / "config";  // made at the first change
  {
    SettingsStore store;
    EXPECT_FALSE(store.open(dir));
    ASSERT_EQ(store.setDword(kKey, L"Units", 10), SettingsStatus::kOk);
    ASSERT_EQ(store.setString(kKey, L"LastFile", L"/home/u/plan \"1\".dxf"), SettingsStatus::kOk);
    ASSERT_EQ(store.setString(kKey, L"Note", L"two\nlines"), SettingsStatus::kOk);
    const std::uint8_t bytes[] = {1, 2, 3};
    ASSERT_EQ(store.setData(kKey, L"Blob", kRegBinary, bytes), SettingsStatus::kOk);
    ASSERT_EQ(store.createKey(std::wstring(kKey) + L"\\Empty"), SettingsStatus::kOk);
  }
  SettingsStore again;
  EXPECT_FALSE(again.open(dir));
  EXPECT_EQ(again.dword(kKey, L"units"), 10u);
  EXPECT_EQ(again.string(kKey, L"LastFile"), L"/home/u/plan \"1\".dxf");
  EXPECT_EQ(again.string(kKey, L"Note"), L"two\nlines");
  EXPECT_EQ(again.value(kKey, L"Blob")->raw, L"hex:01,02,03");
  EXPECT_EQ(again.subkeyNames(kKey), std::vector<std::wstring>{L"Empty"});
  // Settings are the user's alone, and the writes left nothing beside the file.
  struct stat info {};
  ASSERT_EQ(::stat((dir / "registry.reg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // A mode the user chose stays through later writes.
  ::chmod((dir / "registry.reg").c_str(), 0640);
  ASSERT_EQ(again.setDword(kKey, L"Units", 11), SettingsStatus::kOk);
  ASSERT_EQ(::stat((dir / "registry.reg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}

TEST(SettingsStore, ReadsAreTypedExactly) {
  SettingsStore store;  // in memory
  store.setString(kKey, L"Flag", L"1");
  store.setDword(kKey, L"Count", 1);
  EXPECT_FALSE(store.dword(kKey, L"Flag"));
  EXPECT_FALSE(store.string(kKey, L"Count"));
  EXPECT_EQ(store.string(kKey, L"Flag"), L"1");
  // hex(4) is a DWORD and hex(1) a string, however the file spells them.
  const std::uint8_t four[] = {0x0a, 0, 0, 0};
  store.setData(kKey, L"HexDword", kRegDword, four);
  EXPECT_EQ(store.dword(kKey, L"HexDword"), 10u);
  const std::uint8_t eight[] = {0x0a, 0, 0, 0, 0, 0, 0, 0};
  store.setData(kKey, L"Qword", kRegQword, eight);
  EXPECT_FALSE(store.dword(kKey, L"Qword"));
}

TEST(SettingsStore, RefusesWhatTheFileCannotHold) {
  SettingsStore store;
  EXPECT_EQ(store.setDword(L"Software\\NoRoot", L"X", 1), SettingsStatus::kInvalidArgument);
  EXPECT_EQ(store.setDword(kKey, L"Line\nBreak", 1), SettingsStatus::kInvalidArgument);
  std::wstring huge(kMaxRegLineChars, L'x');
  EXPECT_EQ(store.setString(kKey, L"Huge", huge), SettingsStatus::kInvalidArgument);
  EXPECT_EQ(store.deleteKey(L"HKEY_CURRENT_USER"), SettingsStatus::kInvalidArgument);
  EXPECT_EQ(store.deleteKey(kKey), SettingsStatus::kNotFound);
  EXPECT_EQ(store.deleteValue(kKey, L"X"), SettingsStatus::kNotFound);
  // Binary data is wrapped, so much of it still fits.
  std::vector<std::uint8_t> large(200000, 0xAB);
  EXPECT_EQ(store.setData(kKey, L"Large", kRegBinary, large), SettingsStatus::kOk);
}

TEST(SettingsStore, ADamagedFileIsReportedOnceAndKeptBeforeTheFirstWrite) {
  TempFolder folder;
  std::string damaged = kHeader +
                        "[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace]\n\"Units\"=dword:00000004\n" +
                        "\"Broken\"=\"no end\n\"Scale\"=dword:00000002\n";
  writeFile(folder.path / "registry.reg", damaged);
  SettingsStore store;
  std::optional<std::string> warning = store.open(folder.path);
  ASSERT_TRUE(warning);
  EXPECT_NE(warning->find("line 5: a string without its closing quote"), std::string::npos) << *warning;
  EXPECT_NE(warning->find("registry.reg.damaged"), std::string::npos) << *warning;
  EXPECT_EQ(store.dword(kKey, L"Units"), 4u);
  EXPECT_EQ(store.dword(kKey, L"Scale"), 2u);
  // Reading alone changes nothing on disk.
  EXPECT_EQ(readFile(folder.path / "registry.reg"), damaged);

  ASSERT_EQ(store.setDword(kKey, L"Units", 5), SettingsStatus::kOk);
  EXPECT_EQ(readFile(folder.path / "registry.reg.damaged"), damaged);
  EXPECT_EQ(store.keptDamagedFile(), folder.path / "registry.reg.damaged");
  ASSERT_EQ(store.setDword(kKey, L"Units", 6), SettingsStatus::kOk);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"registry.reg", "registry.reg.damaged"}));
  SettingsStore again;
  EXPECT_FALSE(again.open(folder.path));
  EXPECT_EQ(again.dword(kKey, L"Units"), 6u);
  EXPECT_EQ(again.dword(kKey, L"Scale"), 2u);
}

TEST(SettingsStore, AnEarlierKeptDamagedFileIsNeverReplaced) {
  TempFolder folder;
  writeFile(folder.path / "registry.reg.damaged", "from an earlier run");
  std::string garbage =
      "\x7f"
      "ELF\x02\x01\x01 not a settings file at all";
  writeFile(folder.path / "registry.reg", garbage);
  SettingsStore store;
  std::optional<std::string> warning = store.open(folder.path);
  ASSERT_TRUE(warning);
  EXPECT_NE(warning->find("line 1: not a registry file"), std::string::npos) << *warning;
  EXPECT_NE(warning->find("no settings were read"), std::string::npos) << *warning;
  ASSERT_EQ(store.setDword(kKey, L"Units", 1), SettingsStatus::kOk);
  EXPECT_EQ(readFile(folder.path / "registry.reg.damaged"), "from an earlier run");
  EXPECT_EQ(readFile(folder.path / "registry.reg.damaged.2"), garbage);
}

TEST(SettingsStore, EnormousOrCutOffFilesGiveOneWarningAndNoCrash) {
  TempFolder folder;
  const std::string cases[] = {
      kHeader + "[HKEY_CURRENT_USER\\A]\n\"X\"=\"" + std::string(3 << 20, 'x'),
      kHeader + "[HKEY_CURRENT_USER\\A]\n\"X\"=hex:01,02,\\",
      kHeader + std::string(100000, '['),
      std::string(5000, '\0'),
  };
  for (const std::string& bytes : cases) {
    writeFile(folder.path / "registry.reg", bytes);
    SettingsStore store;
    EXPECT_TRUE(store.open(folder.path));
    fs::remove(folder.path / "registry.reg");
  }
}

TEST(SettingsStore, AnUnwritableFolderRefusesTheChangeAndSaysWhy) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempFolder folder;
  SettingsStore store;
  store.open(folder.path);
  ASSERT_EQ(store.setDword(kKey, L"Units", 1), SettingsStatus::kOk);
  ::chmod(folder.path.c_str(), 0500);
  EXPECT_EQ(store.setDword(kKey, L"Units", 2), SettingsStatus::kWriteFailed);
  ::chmod(folder.path.c_str(), 0700);
  EXPECT_NE(store.writeError().find("registry.reg"), std::string::npos);
  // A write that did not reach the disk did not happen.
  EXPECT_EQ(store.dword(kKey, L"Units"), 1u);
}

TEST(SettingsStore, WritersOnManyThreadsLoseNothing) {
  TempFolder folder;
  SettingsStore store;
  store.open(folder.path);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&store, t] {
      std::wstring key = std::wstring(kKey) + L"\\Thread" + std::to_wstring(t);
      for (std::uint32_t i = 0; i < 20; ++i) {
        store.setDword(key, L"V" + std::to_wstring(i), i);
        (void)store.dword(kKey, L"Units");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  SettingsStore again;
  again.open(folder.path);
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(again.valueNames(std::wstring(kKey) + L"\\Thread" + std::to_wstring(t)).size(), 20u);
  }
}

TEST(SettingsStore, TheDefaultFolderFollowsXdgAndHome) {
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
    EXPECT_EQ(defaultSettingsDir(), fs::path("/xdg/config/vtcad"));
  }
  ScopedEnv home("HOME", "/home/someone");
  for (const char* xdgValue : {static_cast<const char*>(nullptr), "", "relative/path"}) {
    ScopedEnv xdg("XDG_CONFIG_HOME", xdgValue);
    EXPECT_EQ(defaultSettingsDir(), fs::path("/home/someone/.config/vtcad"));
  }
}
