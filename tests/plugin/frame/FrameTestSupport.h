#pragma once
// The frame's tests: the plug-in's fixture with every session variable at its default, and
// helpers to make and open entities.
#include <memory>
#include <string>

#include "editor/Session.h"
#include "editor/SystemVariables.h"
#include "host/commands/CommandTestSupport.h"
#include "plugin/VeltraceTestSupport.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbHandle.h"

namespace veltrace::testing {

using command_test::Opened;

// Points compared with an absolute tolerance; the failure shows the point found. (One
// definition for every plug-in test program: two inline functions of one name and parameters
// but different results would silently be merged by the linker.)
inline ::testing::AssertionResult closeTo(const ZcGePoint3d& actual, const ZcGePoint3d& expected,
                                          double tolerance = 1e-9) {
  if (actual.distanceTo(expected) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ")";
}

class FrameTest : public VeltraceTest {
 protected:
  void SetUp() override {
    VeltraceTest::SetUp();
    vtcad::editor::resetSessionVariables();
  }
  void TearDown() override {
    vtcad::editor::resetSessionVariables();
    VeltraceTest::TearDown();
  }

  // Appends `entity` to the block `blockId` of the test drawing.
  static ZcDbObjectId add(ZcDbObjectId blockId, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* block = nullptr;
    ZcDbObjectId id;
    EXPECT_EQ(zcdbOpenObject(block, blockId, ZcDb::kForWrite), Zcad::eOk);
    if (!block) return id;
    EXPECT_EQ(block->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    block->close();
    return id;
  }
  ZcDbObjectId addToModelSpace(ZcDbEntity* entity) { return add(db_->modelSpaceId(), entity); }
  ZcDbObjectId addBlock(const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_->getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    return id;
  }
  static ZcDbObjectId ownerOf(ZcDbObjectId id) {
    Opened<ZcDbObject> object(id);
    return object ? object->ownerId() : ZcDbObjectId();
  }
  // "#<handle>": how a script picks one entity.
  static std::wstring pick(ZcDbObjectId id) {
    Opened<ZcDbObject> object(id);
    ZcDbHandle handle;
    if (object) object->getZcDbHandle(handle);
    return L"#" + handle.getIntoAsciiBuffer();
  }
};

}  // namespace veltrace::testing
