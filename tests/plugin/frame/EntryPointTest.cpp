// The plug-in file loaded and unloaded by the host: the banner in each language, every row of
// the command table a command, the reactor class and the demand-load record, and a clean
// unload after which a second load registers everything anew.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/CommandStack.h"
#include "editor/DynamicLinker.h"
#include "frame/CommandTable.h"
#include "frame/EntryPoint.h"
#include "frame/LinkReactorClass.h"
#include "linkline/VTLinkLineToNotify.h"
#include "plugin/VeltraceTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/rx/ZcRxClass.h"

namespace veltrace {
namespace {

using vtcad::editor::CommandStack;
using vtcad::editor::DynamicLinker;

const std::wstring kPluginFile = L"" VELTRACE_PLUGIN;

class EntryPointTest : public testing::VeltraceTest {
 protected:
  void load() {
    const auto result = DynamicLinker::instance().load(kPluginFile);
    ASSERT_TRUE(result.succeeded()) << transcript_;
  }
  void unload() { ASSERT_TRUE(DynamicLinker::instance().unload(L"veltrace").succeeded()) << transcript_; }
  static bool isCommand(const wchar_t* name) {
    return CommandStack::instance().lookupLocalCmd(name) != nullptr ||
           CommandStack::instance().lookupGlobalCmd(name) != nullptr;
  }
};

TEST_F(EntryPointTest, TheBannerSpeaksTheLanguageOfTheSetting) {
  load();
  EXPECT_TRUE(said("\nVeltrace V1.20 loaded successfully.")) << transcript_;
  unload();
  writeSetting(L"ChineseVersion", 1);
  transcript_.clear();
  load();
  EXPECT_TRUE(said("\n【Veltrace】 V1.20 已成功加载。")) << transcript_;
  unload();
  // A string "1" is not the DWORD the flag is read from: the texts stay English.
  setStringSetting(L"ChineseVersion", L"1");
  transcript_.clear();
  load();
  EXPECT_TRUE(said("\nVeltrace V1.20 loaded successfully.")) << transcript_;
}

TEST_F(EntryPointTest, EveryRowIsACommandUntilUnloadAndAgainAfterReload) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    load();
    for (const CommandRow& row : commandTable()) {
      const ZcEdCommand* local = CommandStack::instance().lookupLocalCmd(row.localName);
      ASSERT_NE(local, nullptr);
      EXPECT_STREQ(local->groupName(), L"Veltrace");
      EXPECT_STREQ(local->globalName(), row.globalName);
    }
    EXPECT_NE(zcrxFindZcRxClass(L"VTLinkLineToNotify"), nullptr);
    unload();
    for (const CommandRow& row : commandTable()) EXPECT_FALSE(isCommand(row.localName));
    EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), nullptr);
  }
  transcript_.clear();
  run(L"PLYH\n");
  EXPECT_TRUE(said("Unknown command \"PLYH\"")) << transcript_;
}

TEST_F(EntryPointTest, LoadsAreCountedAndTheFirstShowsTheAboutBox) {
  load();
  EXPECT_TRUE(said("[vtcad] Veltrace V1.20")) << "the first load shows the About box";
  EXPECT_FALSE(said("open: ")) << "no product page is configured";
  unload();
  load();
  EXPECT_EQ(readSetting(L"pagetimes"), 2);
}

TEST_F(EntryPointTest, EveryCommandRunsItsPrologueFirst) {
  load();
  const int before = readSetting(L"cmdtimes");
  // linkLineAuto ends silently when its second point is not given.
  run(L"linkLineAuto\n0,0\n\ntxwk\nVTRC_DEMO3\n");
  EXPECT_EQ(readSetting(L"cmdtimes"), before + 3);
  EXPECT_FALSE(said("is not available")) << transcript_;
  EXPECT_TRUE(said("No address is set for the demonstration Demo3"));
}

TEST_F(EntryPointTest, UnloadingIsRefusedWhileADrawingHoldsConnectorReactors) {
  load();
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db_->modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  auto* outline = new ZcDbPolyline;
  outline->addVertexAt(0, ZcGePoint2d(0, 0));
  outline->addVertexAt(1, ZcGePoint2d(10, 0));
  outline->addVertexAt(2, ZcGePoint2d(10, 6));
  outline->addVertexAt(3, ZcGePoint2d(0, 6));
  outline->setClosed(true);
  space->appendZcDbEntity(outline);
  outline->close();
  space->close();
  run(L"linkLineAuto\n10,3\n30,3\n");
  EXPECT_FALSE(DynamicLinker::instance().unload(L"veltrace").succeeded());
  EXPECT_TRUE(said("Connector reactors are still in a drawing: not unloaded.")) << transcript_;
  // Once the drawing is gone the plug-in goes.
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  db_ = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db_.get());
  unload();
}

TEST_F(EntryPointTest, TheDemandLoadRecordListsTheCommands) {
  load();
  const std::wstring key = L"Software\\vtcad\\Applications\\Veltrace";
  HKEY app = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &app), ERROR_SUCCESS);
  DWORD reason = 0;
  DWORD size = sizeof reason;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(app, L"LOADCTRLS", nullptr, &type, reinterpret_cast<BYTE*>(&reason), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(reason, 7u);
  RegCloseKey(app);
  HKEY commands = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (key + L"\\Commands").c_str(), 0, KEY_READ, &commands),
            ERROR_SUCCESS);
  for (const CommandNames& names : demandLoadCommands()) {
    wchar_t local[64] = {};
    DWORD bytes = sizeof local;
    EXPECT_EQ(
        RegQueryValueExW(commands, names.globalName, nullptr, &type, reinterpret_cast<BYTE*>(local), &bytes),
        ERROR_SUCCESS);
    EXPECT_STREQ(local, names.localName);
  }
  RegCloseKey(commands);
}

// The table itself, independent of loading.
TEST(CommandTable, RowsAreUniqueAndTheDemonstrationsNameThemselves) {
  std::set<std::wstring> locals;
  std::set<std::wstring> globals;
  for (const CommandRow& row : commandTable()) {
    EXPECT_TRUE(locals.insert(row.localName).second);
    EXPECT_TRUE(globals.insert(row.globalName).second);
  }
  ASSERT_EQ(commandTable().size(), 53u);
  // Rows 43 to 50 and the three sibling demonstrations have one name for both.
  for (std::size_t row = 42; row < 53; ++row) {
    EXPECT_STREQ(commandTable()[row].localName, commandTable()[row].globalName);
  }
  EXPECT_STREQ(commandTable()[42].localName, L"VTRC_DEMO1");
  EXPECT_STREQ(commandTable()[49].localName, L"VTRC_DEMO8");
  // The record lists every row but the sibling demonstrations, each pair as in the table.
  ASSERT_EQ(demandLoadCommands().size(), 50u);
  for (const CommandNames& names : demandLoadCommands()) {
    bool found = false;
    for (const CommandRow& row : commandTable()) {
      found |=
          std::wstring(row.globalName) == names.globalName && std::wstring(row.localName) == names.localName;
    }
    EXPECT_TRUE(found) << std::wstring(names.globalName).size();
  }
}

// Every row of the table has its command: none says it is not available in this build.
TEST(CommandTable, EveryCommandHasItsBody) {
  std::set<std::wstring> missing;
  for (const CommandRow& row : commandTable()) {
    if (!row.body) missing.insert(row.localName);
  }
  EXPECT_TRUE(missing.empty());
}

using LinkReactorClassTest = testing::VeltraceTest;

TEST_F(LinkReactorClassTest, RegisteredOnceAndGoneAfterUnregistering) {
  registerLinkReactorClass();
  ZcRxClass* cls = zcrxFindZcRxClass(L"VTLinkLineToNotify");
  ASSERT_NE(cls, nullptr);
  EXPECT_STREQ(cls->appName(), L"persreac");
  EXPECT_EQ(cls->dwgVersion(), 33);
  EXPECT_EQ(cls->maintenanceVersion(), 55);
  ASSERT_NE(cls->myParent(), nullptr);
  EXPECT_STREQ(cls->myParent()->name(), L"AcDbObject");
  registerLinkReactorClass();
  EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), cls) << "a second registration finds our own";
  ZcRxObject* made = cls->create();
  EXPECT_NE(VTLinkLineToNotify::cast(made), nullptr);
  delete made;
  unregisterLinkReactorClass();
  EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), nullptr);
}

ZcRxObject* someoneElsesCreator() { return nullptr; }

TEST_F(LinkReactorClassTest, AnotherClassUnderTheNameIsAFatalClash) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        newZcRxClass(L"VTLinkLineToNotify", L"AcDbObject", 0, 0, 0, &someoneElsesCreator);
        registerLinkReactorClass();
      },
      "Class mismatch");
}

}  // namespace
}  // namespace veltrace
