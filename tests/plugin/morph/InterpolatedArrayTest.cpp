#include <gtest/gtest.h>

#include <memory>

#include "editor/ProgressMeter.h"
#include "editor/Session.h"
#include "morph/InterpolatedArray.h"
#include "plugin/morph/MorphTestSupport.h"

namespace veltrace::testing {
namespace {

using InterpolatedArrayTest = MorphTest;
using vtcad::editor::ProgressMeter;

// Breaks the command off as Ctrl+C does, once the meter shows half of the work done.
class InterruptAtHalf final : public vtcad::editor::ProgressDisplay {
 public:
  void show(std::wstring_view /*label*/, int percent) override {
    if (percent >= 50 && !interrupted) {
      interrupted = true;
      vtcad::editor::Session::interruptFromSignal();
    }
  }
  void clear() override { ++cleared; }
  bool interrupted = false;
  int cleared = 0;
};

TEST_F(InterpolatedArrayTest, TwoByTwoMixesTheXOfOneWithTheYOfTheOther) {
  const ZcDbObjectId a =
      addLwPolyline({{0, 0, 0}, {10, 0, 0.5}, {10, 5, 0}}, /*closed=*/true, /*elevation=*/0);
  const ZcDbObjectId b = addLwPolyline({{100, 50, 1}, {120, 50, 0}, {120, 80, 0}}, /*closed=*/false,
                                       /*elevation=*/4);
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n2\n2\n0\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 2u) << transcript_;
  // Column by column: (column 0, row 1) comes before (column 1, row 0).
  const MorphShape& yOfB = shapes[0];
  const MorphShape& xOfB = shapes[1];
  EXPECT_TRUE(closeTo(yOfB.points[1], ZcGePoint3d(10, 50, 2)));
  EXPECT_TRUE(closeTo(xOfB.points[1], ZcGePoint3d(120, 0, 2)));
  EXPECT_TRUE(closeTo(xOfB.points[2], ZcGePoint3d(120, 5, 2)));
  for (const MorphShape& shape : shapes) {
    EXPECT_TRUE(shape.closed) << "closed like the first polyline";
    EXPECT_DOUBLE_EQ(shape.bulges[0], 0.5) << "the mean of 0 and 1";
    EXPECT_DOUBLE_EQ(shape.bulges[1], 0.25);
  }
}

TEST_F(InterpolatedArrayTest, ShapesOffsetAlongXRepeatColumnByColumn) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {3, 2, 0}});
  const ZcDbObjectId b = addLwPolyline({{30, 0, 0}, {33, 2, 0}});
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n3\n4\n0\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 3u * 4u - 2u);
  // Column 0 holds rows 1 and 2 (row 0 is the first polyline itself), all at x 0..3.
  EXPECT_TRUE(closeTo(shapes[0].points[0], ZcGePoint3d(0, 0, 0)));
  EXPECT_TRUE(closeTo(shapes[1].points[0], ZcGePoint3d(0, 0, 0)));
  // Column 1 (rows 0..2) at a third of the way; the last column repeats the second polyline.
  for (size_t i = 2; i < 5; ++i) EXPECT_TRUE(closeTo(shapes[i].points[1], ZcGePoint3d(13, 2, 0))) << i;
  EXPECT_TRUE(closeTo(shapes.back().points[0], ZcGePoint3d(30, 0, 0)));
}

TEST_F(InterpolatedArrayTest, AccelerationShapesTheColumnFractions) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {1, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{8, 0, 0}, {9, 0, 0}});
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n2\n3\n100\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 4u);
  // Cells: (0,1), (1,0), (1,1), (2,0). The middle column's fraction is 0.5^3.
  EXPECT_TRUE(closeTo(shapes[1].points[0], ZcGePoint3d(1, 0, 0)));
  EXPECT_TRUE(closeTo(shapes[2].points[0], ZcGePoint3d(1, 0, 0)));
}

TEST_F(InterpolatedArrayTest, RowsAndColumnsAreClampedNotAskedAgain) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {1, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 5, 0}, {1, 5, 0}});
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n1\n5000\n0\n");
  EXPECT_EQ(savedShapes(/*skip=*/2).size(), 2u * 1000u - 2u) << "1 row gives 2, 5000 columns give 1000";
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n\n2\n\n");
  EXPECT_EQ(savedShapes(/*skip=*/2 + 1998).size(), 9u * 2u - 2u) << "Enter takes 9 rows";
}

TEST_F(InterpolatedArrayTest, DifferentVertexCountsMakeNothing) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {1, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 5, 0}, {1, 5, 0}, {2, 5, 0}});
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n2\n2\n");
  EXPECT_TRUE(said("\nThe number of vertices of two polylines is different and cannot be interpolated."));
  EXPECT_TRUE(savedShapes(/*skip=*/2).empty());
}

TEST_F(InterpolatedArrayTest, ABreakHalfwayTakesBackTheWholeArray) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {1, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 5, 0}, {1, 5, 0}});
  const int groupsBefore = db_->undoGroupCount();
  auto display = std::make_shared<InterruptAtHalf>();
  ProgressMeter::instance().setDisplay(display);
  ProgressMeter::instance().setShowAfter(std::chrono::milliseconds(0));
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n3\n10\n0\n");
  ProgressMeter::instance().setDisplay(nullptr);
  ProgressMeter::instance().setShowAfter(ProgressMeter::kShowAfter);
  ASSERT_TRUE(display->interrupted) << transcript_;
  EXPECT_EQ(display->cleared, 1) << "the meter is taken down";
  EXPECT_TRUE(said("*Cancel*")) << transcript_;
  EXPECT_TRUE(savedShapes(/*skip=*/2).empty()) << "no copy is left";
  EXPECT_EQ(db_->undoGroupCount(), groupsBefore) << "nothing to undo";
  EXPECT_EQ(db_->redoGroupCount(), 0) << "nor to redo";
  // The break was for that command only.
  run(L"PLARR\n" + pick(a) + L"\n" + pick(b) + L"\n2\n2\n0\n");
  EXPECT_EQ(savedShapes(/*skip=*/2).size(), 2u) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
