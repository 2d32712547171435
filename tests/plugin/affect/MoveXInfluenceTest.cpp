// plAffectMoveX on the command line: entities shifted along X by a slanted curve's deviation
// from its top point at their height, fully or fading to the edges of the chosen set.
#include <gtest/gtest.h>

#include "plugin/affect/AffectTestSupport.h"
#include "zcad/db/ZcDbPoint.h"

namespace veltrace::testing {
namespace {

class MoveXInfluenceTest : public AffectTest {
 protected:
  ZcDbObjectId addPoint(double x, double y) { return addToModelSpace(new ZcDbPoint(ZcGePoint3d(x, y, 0))); }
  static ZcGePoint3d where(ZcDbObjectId id) {
    Opened<ZcDbPoint> point(id);
    return point ? point->position() : ZcGePoint3d(1e300, 0, 0);
  }
  void runMoveX(ZcDbObjectId curve, std::initializer_list<ZcDbObjectId> affected, const wchar_t* fading) {
    std::wstring script = L"plAffectMoveX\n" + pick(curve) + L"\n";
    for (ZcDbObjectId id : affected) script += pick(id) + L"\n";
    run(script + L"\n" + fading + L"\n");
  }
};

TEST_F(MoveXInfluenceTest, ASlantedCurveShiftsByItsDeviationAtEachHeight) {
  const ZcDbObjectId slant = addLine({0, 0, 0}, {10, 10, 0});  // top (10, 10)
  const ZcDbObjectId left = addPoint(-20, 5);
  const ZcDbObjectId above = addPoint(3, 12);
  const ZcDbObjectId below = addPoint(3, -2);
  runMoveX(slant, {slant, left, above, below}, L"N");
  EXPECT_NEAR(where(left).x, -25, 1e-6) << "the full shift 5 - 10, less 25 / 1e9 of it: " << transcript_;
  EXPECT_TRUE(closeTo(where(above), {3, 12, 0})) << "above the top point";
  EXPECT_TRUE(closeTo(where(below), {3, -2, 0})) << "below the lower end";
}

TEST_F(MoveXInfluenceTest, FadingStopsAtTheEdgesOfTheSet) {
  const ZcDbObjectId slant = addLine({0, 0, 0}, {10, 10, 0});
  const ZcDbObjectId edge = addPoint(-20, 5);
  const ZcDbObjectId inner = addPoint(0, 5);
  const ZcDbObjectId rightEdge = addPoint(30, 5);
  runMoveX(slant, {edge, inner, rightEdge}, L"Y");
  reload();
  const std::vector<ZcDbObjectId> ids = modelSpace();
  ASSERT_EQ(ids.size(), 4u);
  EXPECT_TRUE(closeTo(where(ids[1]), {-20, 5, 0}, 1e-9)) << "on the left edge: reach 25, distance 25";
  EXPECT_TRUE(closeTo(where(ids[2]), {-4, 5, 0}, 1e-9)) << "(25 - 5) / 25 of -5";
  EXPECT_TRUE(closeTo(where(ids[3]), {30, 5, 0}, 1e-9));
}

TEST_F(MoveXInfluenceTest, ATextAsTheCurveIsRefusedInEitherLanguage) {
  const ZcDbObjectId point = addPoint(1, 1);
  runMoveX(point, {point}, L"N");
  EXPECT_TRUE(said("\n Which you selected as an influence curve is not a line, polyline, or spline."))
      << transcript_;
  chineseVersion = true;
  runMoveX(point, {point}, L"N");
  EXPECT_TRUE(said("\n您选中的影响力曲线它不是一根直线、多段线或样条曲线。")) << transcript_;
  run(L"plAffectMoveX\n\n");
  EXPECT_TRUE(said("\nNothing selected"));
}

}  // namespace
}  // namespace veltrace::testing
