// MOVE through the command line: the three ways to give the displacement.
#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"

namespace edit_test {
namespace {

class MoveCommandTest : public EditCommandTest {
 protected:
  void expectLineAt(ZcDbObjectId id, const ZcGePoint3d& start, const ZcGePoint3d& end) {
    Opened<ZcDbLine> line(id);
    ASSERT_TRUE(line);
    EXPECT_TRUE(near(line->startPoint(), start));
    EXPECT_TRUE(near(line->endPoint(), end));
  }
};

TEST_F(MoveCommandTest, BasePointAndSecondPointMoveEverythingSelected) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {4, 0, 0});
  const ZcDbObjectId circle = addCircle({2, 2, 0}, /*radius=*/1);

  run(L"MOVE W -1,-1 5,5 \n1,1\n6,4\n");
  expectLineAt(line, {5, 3, 0}, {9, 3, 0});
  {
    Opened<ZcDbCircle> moved(circle);
    ASSERT_TRUE(moved);
    EXPECT_TRUE(near(moved->center(), {7, 5, 0}));
    EXPECT_DOUBLE_EQ(moved->radius(), 1.0);
  }

  run(L"U\n");
  expectLineAt(line, {0, 0, 0}, {4, 0, 0});
}

TEST_F(MoveCommandTest, DisplacementTypedOrTakenFromTheBasePoint) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {4, 0, 0});

  // Displacement option, then Enter at the second point (the first point is the displacement).
  run(L"MOVE " + pick(line) + L" \nD\n2,1,0\n");
  expectLineAt(line, {2, 1, 0}, {6, 1, 0});
  run(L"MOVE " + pick(line) + L" \n-2,-1\n\n");
  expectLineAt(line, {0, 0, 0}, {4, 0, 0});

  // A relative second point; Enter at the displacement prompt repeats the last displacement.
  run(L"MOVE " + pick(line) + L" \n10,10\n@0,3\n");
  expectLineAt(line, {0, 3, 0}, {4, 3, 0});
  run(L"MOVE " + pick(line) + L" \n\n\n");
  expectLineAt(line, {2, 4, 0}, {6, 4, 0});
}

TEST_F(MoveCommandTest, CancelAtTheSecondPointMovesNothing) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {4, 0, 0});
  run(L"MOVE " + pick(line) + L" \n1,1\n");  // the script ends at the second point
  expectLineAt(line, {0, 0, 0}, {4, 0, 0});
}

}  // namespace
}  // namespace edit_test
