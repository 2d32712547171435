// SCALE through the command line: a factor, Reference lengths, Copy, and refused factors.
#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"

namespace edit_test {
namespace {

class ScaleCommandTest : public EditCommandTest {};

TEST_F(ScaleCommandTest, FactorScalesAboutTheBasePointAndUndoRestores) {
  const ZcDbObjectId circle = addCircle({4, 0, 0}, /*radius=*/1);
  run(L"SCALE " + pick(circle) + L" \n2,0\n3\n");
  {
    Opened<ZcDbCircle> scaled(circle);
    ASSERT_TRUE(scaled);
    EXPECT_TRUE(near(scaled->center(), {8, 0, 0})) << "the centre moves away from the base point";
    EXPECT_NEAR(scaled->radius(), 3.0, 1e-12);
  }
  run(L"U\n");
  Opened<ZcDbCircle> restored(circle);
  EXPECT_NEAR(restored->radius(), 1.0, 1e-12);
}

TEST_F(ScaleCommandTest, ReferenceLengthsGiveTheFactorAndCopyKeepsTheOriginal) {
  const ZcDbObjectId line = addLine({0, 0, 0}, {4, 0, 0});
  // Reference 4 (the line's own length), new length 10: the line becomes 10 long.
  run(L"SCALE " + pick(line) + L" \n0,0\nR\n4\n10\n");
  {
    Opened<ZcDbLine> scaled(line);
    EXPECT_TRUE(near(scaled->endPoint(), {10, 0, 0}));
  }
  // Copy, then the new length by two points (3 long) against the default reference 1.
  run(L"SCALE " + pick(line) + L" \n0,0\nC\nR\n\nP\n0,0\n0,3\n");
  const std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 2u) << transcript_;
  Opened<ZcDbLine> original(all[0]), copy(all[1]);
  EXPECT_TRUE(near(original->endPoint(), {10, 0, 0}));
  EXPECT_TRUE(near(copy->endPoint(), {30, 0, 0}));
}

TEST_F(ScaleCommandTest, ZeroAndNegativeFactorsAreRefusedAndAskedAgain) {
  const ZcDbObjectId circle = addCircle({0, 0, 0}, /*radius=*/2);
  const std::string said = run(L"SCALE " + pick(circle) + L" \n0,0\n0\n-2\n0.5\n");
  EXPECT_NE(said.find("Value must be positive and nonzero."), std::string::npos) << said;
  Opened<ZcDbCircle> scaled(circle);
  EXPECT_NEAR(scaled->radius(), 1.0, 1e-12);
}

TEST_F(ScaleCommandTest, DistancesToTheBasePointScaleByTheFactor) {
  // Property: for several factors every point's distance to the base point is multiplied
  // by the factor (each scaling taken back before the next).
  const ZcGePoint3d base(1, 2, 0);
  const ZcDbObjectId line = addLine({3, -1, 0}, {-4, 6, 0});
  for (double factor : {0.25, 1.5, 7.0, 1234.5}) {
    run(L"SCALE " + pick(line) + L" \n1,2\n" + std::to_wstring(factor) + L"\n");
    {
      Opened<ZcDbLine> scaled(line);
      EXPECT_NEAR(scaled->startPoint().distanceTo(base), factor * ZcGePoint3d(3, -1, 0).distanceTo(base),
                  1e-9 * factor);
      EXPECT_NEAR(scaled->endPoint().distanceTo(base), factor * ZcGePoint3d(-4, 6, 0).distanceTo(base),
                  1e-9 * factor);
    }
    run(L"U\n");
  }
}

}  // namespace
}  // namespace edit_test
