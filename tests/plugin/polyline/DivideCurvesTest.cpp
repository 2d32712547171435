// PLDF and PLDJDF: vertices equally spaced along each curve, the remainder in the last
// segment, the curves left as they were, the curves refused.
#include <cmath>
#include <string>
#include <vector>

#include "plugin/polyline/VertexCommandTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

class DivideCurvesTest : public VertexCommandTest {
 protected:
  ZcDbObjectId addLine(double length) {
    return addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(length, 0, 0)));
  }
  // The vertices of the polyline `command` laid over `curve` (none when it laid nothing).
  std::vector<ZcGePoint3d> divide(const wchar_t* command, ZcDbObjectId curve, const std::wstring& answers) {
    const size_t before = modelSpace().size();
    run(command + (L"\n" + pick(curve)) + L"\n\n" + answers);
    std::vector<ZcGePoint3d> points;
    if (modelSpace().size() == before) return points;
    Opened<ZcDbPolyline> polyline(modelSpace().back());
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) polyline->getPointAt(i, points.emplace_back());
    return points;
  }
  // The x of each vertex, rounded to 1e-9.
  std::vector<double> xs(const wchar_t* command, double length, const wchar_t* answers) {
    std::vector<double> result;
    for (const ZcGePoint3d& p : divide(command, addLine(length), answers)) {
      result.push_back(std::round(p.x * 1e9) / 1e9);
    }
    return result;
  }
};

TEST_F(DivideCurvesTest, PldfSpacesItsCountEquallyAndLeavesTheCurves) {
  EXPECT_EQ(xs(L"PLDF", 9, L"3\n101\n4\n"), (std::vector<double>{0, 3, 6, 9}));  // out of range: asked again
  EXPECT_TRUE(said("\nProcessed <1 > curve(s) OK.")) << transcript_;
  EXPECT_EQ(xs(L"PLDF", 9, L"\n").size(), 16u);
  // A circle gives a closed polyline whose last vertex repeats its first.
  const std::vector<ZcGePoint3d> round = divide(
      L"PLDF", addToModelSpace(new ZcDbCircle(ZcGePoint3d(0, 20, 0), ZcGeVector3d::kZAxis, 5)), L"8\n");
  ASSERT_EQ(round.size(), 8u);
  EXPECT_TRUE(closeTo(round.back(), round.front()));
  EXPECT_NEAR(round[1].distanceTo(round[0]), round[4].distanceTo(round[3]), 1e-9);
  EXPECT_TRUE(Opened<ZcDbPolyline>(modelSpace().back())->isClosed());
  EXPECT_EQ(modelSpace().size(), 6u);  // the three curves are still there
}

TEST_F(DivideCurvesTest, PldjdfGivesTheRemainderToTheLastSegment) {
  EXPECT_EQ(xs(L"PLDJDF", 13, L"3\n"), (std::vector<double>{0, 3, 6, 9, 13}));
  EXPECT_EQ(xs(L"PLDJDF", 10, L"2.5\n"), (std::vector<double>{0, 2.5, 5, 7.5, 10}));
  // 0.7 / 0.1 is just under 7 in floating point: still seven whole spacings.
  EXPECT_EQ(xs(L"PLDJDF", 0.7, L"0.1\n"), (std::vector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7}));
  EXPECT_FALSE(said("less than 4 times")) << transcript_;
}

TEST_F(DivideCurvesTest, PldjdfRefusesSpacingsTooLongOrTooShort) {
  EXPECT_TRUE(xs(L"PLDJDF", 10, L"2.6\n").empty());
  EXPECT_TRUE(
      said("The line length is less than 4 times of the bisection distance, this curve will not be "
           "processed.\nProcessed <0 > curve(s) OK."))
      << transcript_;
  EXPECT_TRUE(xs(L"PLDJDF", 100, L"0.0001\n").empty());  // a million points are not attempted
  EXPECT_TRUE(said("more than 100000 times the bisection distance")) << transcript_;
  transcript_.clear();
  EXPECT_TRUE(xs(L"PLDJDF", 10, L"0.00005\n").empty());  // under 0.0001: ends without a word
  EXPECT_FALSE(said("Processed")) << transcript_;

  chineseVersion = true;
  run(L"PLDF\n\n");
  EXPECT_TRUE(said("请选择各种线条>\n")) << transcript_;
  EXPECT_TRUE(said("未选中任何线条。\n")) << transcript_;
  xs(L"PLDJDF", 10, L"5\n");
  EXPECT_TRUE(said("\n线条长度小于4倍设定的等分距离，本曲线不处理。\n处理了< 0 >根曲线。 ")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
