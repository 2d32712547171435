#include "EditCommandTestSupport.h"

#include "commands/EditCommands.h"
#include "commands/HostCommands.h"
#include "editor/Session.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace edit_test {

std::wstring pick(ZcDbObjectId id) { return L"#" + id.handle().getIntoAsciiBuffer(); }

void EditCommandTest::SetUp() {
  // Registering twice leaves the commands as they are.
  registerEditCommands(*zcedRegCmds());
  vtcad::commands::registerUndoCommands(*zcedRegCmds());
  db_ = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db_.get());
  vtcad::editor::resetSessionVariables();
  editor::Session::instance().setOutput([this](std::string_view text) { transcript_.append(text); });
}

void EditCommandTest::TearDown() {
  editor::Session::instance().setOutput([](std::string_view) {});
  vtcad::editor::resetSessionVariables();
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

std::string EditCommandTest::run(std::wstring_view script) {
  const size_t before = transcript_.size();
  editor::Session::instance().runScript(script, L"edit.scr");
  return transcript_.substr(before);
}

std::vector<ZcDbObjectId> EditCommandTest::entities() {
  std::vector<ZcDbObjectId> ids;
  Opened<ZcDbBlockTableRecord> space(db_->modelSpaceId());
  if (!space) return ids;
  for (ZcDbObjectId id : space->entityIds())
    if (id.isValid() && !id.isErased()) ids.push_back(id);
  return ids;
}

ZcDbObjectId EditCommandTest::add(ZcDbEntity* entity) {
  ZcDbObjectId id;
  ZcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(zcdbOpenObject(space, db_->modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  if (!space) {
    delete entity;
    return id;
  }
  entity->setDatabaseDefaults(db_.get());
  EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
  space->close();
  entity->close();
  return id;
}

ZcDbObjectId EditCommandTest::addLine(const ZcGePoint3d& start, const ZcGePoint3d& end) {
  return add(new ZcDbLine(start, end));
}

ZcDbObjectId EditCommandTest::addCircle(const ZcGePoint3d& center, double radius) {
  return add(new ZcDbCircle(center, ZcGeVector3d::kZAxis, radius));
}

ZcDbObjectId EditCommandTest::addPolyline(const std::vector<ZcGePoint2d>& points, bool closed,
                                          const std::vector<double>& bulges) {
  auto* polyline = new ZcDbPolyline();
  for (unsigned int i = 0; i < points.size(); ++i) {
    polyline->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
  }
  polyline->setClosed(closed);
  return add(polyline);
}

}  // namespace edit_test
