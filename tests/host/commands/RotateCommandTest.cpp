// ROTATE through the command line: an angle, Reference angles, Copy, and what a rotation keeps.
#include <cmath>
#include <numbers>

#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbLine.h"

namespace edit_test {
namespace {

class RotateCommandTest : public EditCommandTest {
 protected:
  ZcGePoint3d endOf(ZcDbObjectId id) {
    Opened<ZcDbLine> line(id);
    return line ? line->endPoint() : ZcGePoint3d();
  }
};

TEST_F(RotateCommandTest, AngleTurnsCounterClockwiseAboutTheBasePointAndUndoRestores) {
  const ZcDbObjectId line = addLine({1, 0, 0}, {3, 0, 0});
  const std::string said = run(L"ROTATE " + pick(line) + L" \n1,0\n90\n");
  EXPECT_NE(said.find("ANGDIR=counterclockwise"), std::string::npos) << said;
  EXPECT_TRUE(near(endOf(line), {1, 2, 0}, 1e-12));
  run(L"U\n");
  EXPECT_TRUE(near(endOf(line), {3, 0, 0}));
}

TEST_F(RotateCommandTest, ReferenceTurnsFromTheReferenceToTheNewAngle) {
  // The line points at 30 degrees; reference 30, new angle 120: it ends up pointing at 120.
  const double a = std::numbers::pi / 6;
  const ZcDbObjectId line = addLine({0, 0, 0}, {2 * std::cos(a), 2 * std::sin(a), 0});
  run(L"ROTATE " + pick(line) + L" \n0,0\nR\n30\n120\n");
  EXPECT_TRUE(near(endOf(line), {2 * std::cos(4 * a), 2 * std::sin(4 * a), 0}, 1e-12));

  // New angle by Points: the direction from (0,0) to (0,-5) is 270 degrees.
  run(L"ROTATE " + pick(line) + L" \n0,0\nR\n120\nP\n0,0\n0,-5\n");
  EXPECT_TRUE(near(endOf(line), {0, -2, 0}, 1e-12));
}

TEST_F(RotateCommandTest, CopyLeavesTheOriginalAndEnterRepeatsTheLastAngle) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {1, 0, 0});
  run(L"ROTATE " + pick(line) + L" \n0,0\nC\n90\n");
  std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 2u) << transcript_;
  EXPECT_TRUE(near(endOf(all[0]), {1, 0, 0}));
  EXPECT_TRUE(near(endOf(all[1]), {0, 1, 0}, 1e-12));

  run(L"ROTATE " + pick(line) + L" \n0,0\n\n");  // the default is the last angle, 90
  EXPECT_TRUE(near(endOf(line), {0, 1, 0}, 1e-12));
}

TEST_F(RotateCommandTest, RotationKeepsLengthAndDistanceToTheBasePoint) {
  const ZcDbObjectId line = addLine({2, 1, 0}, {5, 5, 0});
  const ZcGePoint3d base(-1, 3, 0);
  for (double degrees : {17.0, 90.0, 181.5, 359.0, -45.0}) {
    run(L"ROTATE " + pick(line) + L" \n-1,3\n" + std::to_wstring(degrees) + L"\n");
    {
      Opened<ZcDbLine> turned(line);
      EXPECT_NEAR(turned->startPoint().distanceTo(turned->endPoint()), 5.0, 1e-9);
      EXPECT_NEAR(turned->startPoint().distanceTo(base), ZcGePoint3d(2, 1, 0).distanceTo(base), 1e-9);
      const ZcGeVector3d before = ZcGePoint3d(2, 1, 0) - base, after = turned->startPoint() - base;
      const double turn = std::atan2(before.x * after.y - before.y * after.x, before.dotProduct(after));
      EXPECT_NEAR(std::remainder(turn - degrees * std::numbers::pi / 180, 2 * std::numbers::pi), 0.0, 1e-9);
    }
    run(L"U\n");
  }
}

}  // namespace
}  // namespace edit_test
