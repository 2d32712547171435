// The table of named system variables: what every entry must hold for the command line to
// answer and store it.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

#include "editor/SysVarTable.h"
#include "zcad/zds.h"

namespace editor = vtcad::editor;

namespace {

using editor::SysVarHome;
using editor::SysVarType;

// The kind of DXF group a value of the type is saved as.
ZdsValueKind kindOf(SysVarType type) {
  switch (type) {
    case SysVarType::kShort:
      return ZdsValueKind::kShort;
    case SysVarType::kLong:
      return ZdsValueKind::kLong;
    case SysVarType::kReal:
      return ZdsValueKind::kReal;
    case SysVarType::kString:
      return ZdsValueKind::kString;
    default:
      return ZdsValueKind::kPoint;
  }
}

TEST(SysVarTableTest, EveryEntryIsFoundByItsOneNameAndTakesItsOwnDefault) {
  std::set<std::wstring> names;
  for (const editor::SysVarDef& def : editor::sysVarTable()) {
    EXPECT_TRUE(names.insert(def.name).second) << "twice: " << def.name;
    for (const wchar_t* c = def.name; *c; ++c) EXPECT_FALSE(std::iswlower(*c)) << def.name;
    EXPECT_EQ(editor::findSysVar(def.name), &def);
    EXPECT_TRUE(editor::acceptsValue(def, editor::defaultValue(def))) << def.name;
  }
  EXPECT_EQ(editor::findSysVar(L""), nullptr);
}

TEST(SysVarTableTest, DrawingEntriesAreSavedAsAGroupOfTheirValuesKind) {
  for (const editor::SysVarDef& def : editor::sysVarTable()) {
    if (def.home == SysVarHome::kDrawingRecord) {
      EXPECT_NE(def.table, nullptr) << def.name;
    }
    if (def.home == SysVarHome::kDrawing || def.home == SysVarHome::kDrawingRecord) {
      EXPECT_EQ(zcutValueKind(def.dxfCode), kindOf(def.type)) << def.name;
    }
  }
}

}  // namespace
