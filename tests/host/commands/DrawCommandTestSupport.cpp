#include "DrawCommandTestSupport.h"

#include "commands/DrawCommands.h"
#include "commands/HostCommands.h"
#include "dxf/DxfFile.h"
#include "editor/Session.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/zced.h"

namespace draw_test {

std::vector<ZcDbObjectId> modelSpaceEntities(ZcDbDatabase& db) {
  std::vector<ZcDbObjectId> ids;
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead) != Zcad::eOk) return ids;
  for (ZcDbObjectId id : space->entityIds()) {
    if (id.isValid() && !id.isErased()) ids.push_back(id);
  }
  space->close();
  return ids;
}

void DrawCommandTest::SetUp() {
  // Registering twice leaves the commands as they are.
  registerDrawCommands(*zcedRegCmds());
  vtcad::commands::registerUndoCommands(*zcedRegCmds());
  freshDrawing();
  editor::Session::instance().setOutput([this](std::string_view text) { transcript_.append(text); });
}

void DrawCommandTest::freshDrawing() {
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  db_ = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db_.get());
  vtcad::editor::resetSessionVariables();
}

void DrawCommandTest::TearDown() {
  editor::Session::instance().setOutput([](std::string_view) {});
  vtcad::editor::resetSessionVariables();
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

std::string DrawCommandTest::run(std::wstring_view script) {
  size_t before = transcript_.size();
  editor::Session::instance().runScript(script, L"test.scr");
  return transcript_.substr(before);
}

ZcDbObjectId DrawCommandTest::onlyEntity() {
  std::vector<ZcDbObjectId> ids = entities();
  EXPECT_EQ(ids.size(), 1u) << transcript_;
  return ids.size() == 1 ? ids.front() : ZcDbObjectId();
}

std::unique_ptr<ZcDbDatabase> DrawCommandTest::savedAndReloaded() {
  vtcad::dxf::LoadResult loaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
  EXPECT_TRUE(loaded.ok()) << loaded.refusal;
  return std::move(loaded.database);
}

}  // namespace draw_test
