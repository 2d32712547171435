#pragma once
// A new drawing in memory as the working drawing, with every session variable at its default;
// the working drawing before the test comes back after it.
#include <gtest/gtest.h>

#include "editor/SystemVariables.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbViewportTable.h"

class WorkingDrawingFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = zcdbHostApplicationServices()->workingDatabase();
    zcdbHostApplicationServices()->setWorkingDatabase(&db);
    vtcad::editor::resetSessionVariables();
  }
  void TearDown() override {
    vtcad::editor::resetSessionVariables();
    zcdbHostApplicationServices()->setWorkingDatabase(previous_);
  }

  // Changes the drawing's "*Active" view record.
  template <typename Change>
  void changeActiveView(Change change) {
    ZcDbViewportTable* table = nullptr;
    ASSERT_EQ(db.getViewportTable(table, ZcDb::kForRead), Zcad::eOk);
    ZcDbViewportTableRecord* record = nullptr;
    Zcad::ErrorStatus es = table->getAt(L"*Active", record, ZcDb::kForWrite);
    table->close();
    ASSERT_EQ(es, Zcad::eOk);
    change(*record);
    record->close();
  }

  ZcDbDatabase db;

 private:
  ZcDbDatabase* previous_ = nullptr;
};
