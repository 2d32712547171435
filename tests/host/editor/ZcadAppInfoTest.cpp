// Demand-load records as they land in the settings store, and read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/SettingsStore.h"
#include "zcad/ZcadAppInfo.h"

namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kRecord = L"HKEY_CURRENT_USER\\Software\\vtcad\\Applications\\Veltrace";

class ZcadAppInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("vtcad-appinfo-" + std::to_string(::getpid()));
    vtcad::platform::configureSettings(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  vtcad::platform::SettingsStore& store() { return vtcad::platform::settings(); }

  fs::path dir_;
};

TEST_F(ZcadAppInfoTest, RecordHoldsLoaderReasonsGroupsAndCommands) {
  ZcadAppInfo info;
  info.setAppName(L"Veltrace");
  info.setModuleName(L"/opt/vtcad/libveltrace.so");
  info.setAppDesc(L"Drafting commands");
  info.setLoadReason(ZcadAppInfo::kOnCommandInvocation | ZcadAppInfo::kOnLoadRequest);
  ASSERT_EQ(info.writeToRegistry(), ZcadAppInfo::kNoError);
  EXPECT_EQ(info.writeGroupNameToRegistry(L"VT_TOOLS"), ZcadAppInfo::kNoError);
  EXPECT_EQ(info.writeCommandNameToRegistry(/*globalName=*/L"VTPLYH", /*localName=*/L"PLYH"),
            ZcadAppInfo::kNoError);
  EXPECT_EQ(info.writeCommandNameToRegistry(/*globalName=*/L"VTONLY", /*localName=*/nullptr),
            ZcadAppInfo::kNoError);

  EXPECT_EQ(store().string(kRecord, L"LOADER"), L"/opt/vtcad/libveltrace.so");
  EXPECT_EQ(store().string(kRecord, L"DESCRIPTION"), L"Drafting commands");
  EXPECT_EQ(store().dword(kRecord, L"LOADCTRLS"), 0x0Cu);
  EXPECT_EQ(store().string(std::wstring(kRecord) + L"\\Groups", L"VT_TOOLS"), L"VT_TOOLS");
  EXPECT_EQ(store().string(std::wstring(kRecord) + L"\\Commands", L"VTPLYH"), L"PLYH");
  EXPECT_EQ(store().string(std::wstring(kRecord) + L"\\Commands", L"VTONLY"), L"VTONLY");
  EXPECT_TRUE(fs::exists(dir_ / vtcad::platform::SettingsStore::kFileName)) << "written through to disk";

  ZcadAppInfo readBack;
  readBack.setAppName(L"veltrace");  // record names compare without case, as registry keys do
  ASSERT_EQ(readBack.readFromRegistry(), ZcadAppInfo::kNoError);
  EXPECT_EQ(std::wstring(readBack.moduleName()), L"/opt/vtcad/libveltrace.so");
  EXPECT_EQ(std::wstring(readBack.appDesc()), L"Drafting commands");
  EXPECT_EQ(readBack.loadReason(), 0x0C);

  EXPECT_EQ(readBack.delFromRegistry(), ZcadAppInfo::kNoError);
  EXPECT_FALSE(store().keyExists(kRecord));
  EXPECT_EQ(readBack.readFromRegistry(), ZcadAppInfo::kRegistryError);
}

TEST_F(ZcadAppInfoTest, IncompleteRecordsAreRefusedBeforeAnythingIsWritten) {
  ZcadAppInfo unnamed;
  unnamed.setModuleName(L"/opt/x.so");
  EXPECT_EQ(unnamed.writeToRegistry(), ZcadAppInfo::kBadArgument);
  EXPECT_EQ(unnamed.writeCommandNameToRegistry(L"A", L"A"), ZcadAppInfo::kBadArgument);

  ZcadAppInfo nested;
  nested.setAppName(L"Outer\\Inner");
  nested.setModuleName(L"/opt/x.so");
  EXPECT_EQ(nested.writeToRegistry(), ZcadAppInfo::kBadArgument) << "a name is one key, not a path";

  ZcadAppInfo noFile;
  noFile.setAppName(L"NoFile");
  EXPECT_EQ(noFile.writeToRegistry(), ZcadAppInfo::kNoModule);
  EXPECT_EQ(noFile.writeGroupNameToRegistry(L""), ZcadAppInfo::kBadArgument);
  EXPECT_EQ(noFile.writeCommandNameToRegistry(nullptr, L"X"), ZcadAppInfo::kBadArgument);
  EXPECT_FALSE(store().keyExists(L"HKEY_CURRENT_USER\\Software\\vtcad\\Applications"));
}

}  // namespace
