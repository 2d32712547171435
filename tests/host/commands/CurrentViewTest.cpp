// The current view helper on the "*Active" record: reading, writing, and drawings without it.
#include <gtest/gtest.h>

#include <limits>

#include "commands/CurrentView.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbViewportTable.h"

namespace {

using vtcad::commands::ViewArea;

TEST(CurrentViewTest, WritesAndReadsTheActiveRecord) {
  ZcDbDatabase db;
  ViewArea view;
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.height, 297.0);

  ASSERT_EQ(vtcad::commands::setCurrentView(&db, ViewArea{{10, 20}, /*height=*/4, /*width=*/8}), Zcad::eOk);
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.center, ZcGePoint2d(10, 20));
  EXPECT_EQ(view.width, 8.0);

  // Centre and height only: the width keeps the aspect ratio (2 here).
  ASSERT_EQ(vtcad::commands::setCurrentView(&db, ZcGePoint2d(0, 0), /*height=*/3.0), Zcad::eOk);
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.width, 6.0);
}

TEST(CurrentViewTest, UnusableViewsAreRefusedAndChangeNothing) {
  ZcDbDatabase db;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(vtcad::commands::setCurrentView(&db, ViewArea{{nan, 0}, /*height=*/1, /*width=*/1}),
            Zcad::eInvalidInput);
  EXPECT_EQ(vtcad::commands::setCurrentView(&db, ViewArea{{0, 0}, /*height=*/0, /*width=*/1}),
            Zcad::eInvalidInput);
  EXPECT_EQ(vtcad::commands::setCurrentView(&db, ZcGePoint2d(0, 0), /*height=*/-1.0), Zcad::eInvalidInput);
  EXPECT_EQ(vtcad::commands::setCurrentView(nullptr, ViewArea{}), Zcad::eNullObjectId);
  ViewArea view;
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.center, ZcGePoint2d(210, 148.5));
}

TEST(CurrentViewTest, DrawingWithoutTheRecordReadsDefaultsAndGetsOneOnWrite) {
  ZcDbDatabase db;
  {
    ZcDbViewportTable* table = nullptr;
    ASSERT_EQ(db.getViewportTable(table, ZcDb::kForRead), Zcad::eOk);
    ZcDbViewportTableRecord* active = nullptr;
    ASSERT_EQ(table->getAt(L"*Active", active, ZcDb::kForWrite), Zcad::eOk);
    table->close();
    ASSERT_EQ(active->setHeight(50.0), Zcad::eOk);
    ASSERT_EQ(active->erase(), Zcad::eOk);
    active->close();
  }
  ViewArea view;
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.height, 297.0) << "the erased record does not count";

  ASSERT_EQ(vtcad::commands::setCurrentView(&db, ViewArea{{1, 2}, /*height=*/3, /*width=*/4}), Zcad::eOk);
  ZcDbViewportTable* table = nullptr;
  ASSERT_EQ(db.getViewportTable(table, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(table->has(L"*ACTIVE"));
  table->close();
  ASSERT_EQ(vtcad::commands::getCurrentView(&db, view), Zcad::eOk);
  EXPECT_EQ(view.height, 3.0);
}

}  // namespace
