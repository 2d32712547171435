// PLBLENDS on the command line: splines between two curves, their gradient colours, the
// accelerated spacing, end references, and steps between any two curves (property check).
#include <gtest/gtest.h>

#include <random>

#include "affect/EvenSampling.h"
#include "plugin/affect/AffectTestSupport.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace veltrace::testing {
namespace {

class CurveBlendsTest : public AffectTest {
 protected:
  ZcDbObjectId addColouredLine(const ZcGePoint3d& a, const ZcGePoint3d& b, int red, int green, int blue) {
    auto* line = new ZcDbLine(a, b);
    ZcCmColor colour;
    colour.setRGB(static_cast<Zdesk::UInt8>(red), static_cast<Zdesk::UInt8>(green),
                  static_cast<Zdesk::UInt8>(blue));
    line->setColor(colour);
    return addToModelSpace(line);
  }
  static std::vector<ZcGePoint3d> fitPoints(ZcDbObjectId id) {
    Opened<ZcDbSpline> spline(id);
    std::vector<ZcGePoint3d> points;
    EXPECT_TRUE(spline) << "a spline";
    if (!spline) return points;
    for (int i = 0; i < spline->numFitPoints(); ++i) {
      ZcGePoint3d p;
      spline->getFitPointAt(i, p);
      points.push_back(p);
    }
    return points;
  }
};

TEST_F(CurveBlendsTest, TwoParallelLinesBlendAlongTheMiddleInTheMixedColour) {
  addColouredLine({0, 0, 0}, {10, 0, 0}, 255, 0, 0);
  addColouredLine({0, 10, 0}, {10, 10, 0}, 0, 0, 255);
  // Picked near their left ends, then near their right ends: the second runs the other way.
  run(L"PLBLENDS\n1,0\n1,10\n\n1\n0\n");
  run(L"PLBLENDS\n9,0\n9,10\n\n1\n0\n");
  reload();
  const std::vector<ZcDbObjectId> made = madeAfter(2);
  ASSERT_EQ(made.size(), 2u) << transcript_;
  const std::vector<ZcGePoint3d> rightwards = fitPoints(made[0]);
  const std::vector<ZcGePoint3d> leftwards = fitPoints(made[1]);
  ASSERT_EQ(rightwards.size(), 36u) << "6 * SURFTAB1 points";
  ASSERT_EQ(leftwards.size(), 36u);
  for (size_t i = 0; i < 36; ++i) {
    EXPECT_TRUE(closeTo(rightwards[i], {10.0 * static_cast<double>(i) / 35, 5, 0}, 1e-9)) << i;
    EXPECT_TRUE(closeTo(leftwards[i], {10.0 - 10.0 * static_cast<double>(i) / 35, 5, 0}, 1e-9)) << i;
  }
  Opened<ZcDbEntity> result(made[0]);
  const ZcCmColor colour = result->color();
  ASSERT_TRUE(colour.isByColor());
  EXPECT_EQ(colour.red(), 127);
  EXPECT_EQ(colour.green(), 0);
  EXPECT_EQ(colour.blue(), 127);
}

TEST_F(CurveBlendsTest, AccelerationBendsThePlacesButNotTheColourSteps) {
  addColouredLine({0, 0, 0}, {10, 0, 0}, 255, 0, 0);
  addColouredLine({0, 10, 0}, {10, 10, 0}, 0, 0, 255);
  chineseVersion = true;
  run(L"PLBLENDS\n1,0\n1,10\n\n3\n100\n");
  EXPECT_TRUE(said("\n请输入渐变曲线疏密加速度")) << transcript_;
  const std::vector<ZcDbObjectId> made = madeAfter(2);
  ASSERT_EQ(made.size(), 3u) << transcript_;
  const double places[] = {0.015625, 0.125, 0.421875};
  for (size_t j = 0; j < 3; ++j) {
    EXPECT_NEAR(fitPoints(made[j])[0].y, 10 * places[j], 1e-9) << j;
    Opened<ZcDbEntity> result(made[j]);
    EXPECT_EQ(result->color().red(), static_cast<int>(255 - 255.0 * static_cast<double>(j + 1) / 4)) << j;
  }
}

TEST_F(CurveBlendsTest, SameColoursGiveByLayerAndAStartReferenceIsTurnedAndFollowed) {
  addLine({0, 0, 0}, {10, 0, 0});
  addLine({0, 10, 0}, {10, 10, 0});
  // Drawn from the second curve's start to the first curve's start, bowed out to the left.
  auto* bow = new ZcDbPolyline;
  bow->addVertexAt(0, ZcGePoint2d(0, 10), 0.0);
  bow->addVertexAt(1, ZcGePoint2d(-4, 5), 0.0);
  bow->addVertexAt(2, ZcGePoint2d(0, 0), 0.0);
  const ZcDbObjectId reference = addToModelSpace(bow);
  run(L"PLBLENDS\n1,0\n1,10\n" + pick(reference) + L"\n\n1\n0\n");
  const std::vector<ZcDbObjectId> made = madeAfter(3);
  ASSERT_EQ(made.size(), 1u) << transcript_;
  const std::vector<ZcGePoint3d> points = fitPoints(made[0]);
  EXPECT_TRUE(closeTo(points.front(), {-4, 5, 0}, 1e-9)) << "half way along the reference";
  EXPECT_TRUE(closeTo(points.back(), {10, 5, 0}, 1e-9)) << "the end on the straight line";
  Opened<ZcDbPolyline> turned(reference);
  ZcGePoint3d start;
  turned->getStartPoint(start);
  EXPECT_TRUE(closeTo(start, {0, 0, 0})) << "reversed in the drawing";
  Opened<ZcDbEntity> result(made[0]);
  EXPECT_TRUE(result->color().isByLayer());
}

TEST_F(CurveBlendsTest, FirstAndLastStepsLieBetweenAnyTwoCurves) {
  std::mt19937 random(16);
  std::uniform_real_distribution<double> coordinate(-50.0, 50.0);
  std::uniform_int_distribution<int> vertices(2, 7);
  std::uniform_int_distribution<int> steps(1, 12);
  for (int round = 0; round < 20; ++round) {
    // Two open polylines running towards +X, one above the other, each round far from the
    // others; each is picked at its first vertex.
    ZcDbObjectId ids[2];
    std::wstring picks[2];
    const double x0 = round * 1000.0;
    for (int k = 0; k < 2; ++k) {
      auto* polyline = new ZcDbPolyline;
      const int n = vertices(random);
      polyline->addVertexAt(0, ZcGePoint2d(x0, k * 200.0), 0.0);
      for (int v = 1; v < n; ++v) {
        polyline->addVertexAt(static_cast<unsigned>(v),
                              ZcGePoint2d(x0 + v * 20.0, coordinate(random) + k * 200.0), 0.0);
      }
      ids[k] = addToModelSpace(polyline);
      picks[k] = std::to_wstring(round * 1000) + L"," + std::to_wstring(k * 200);
    }
    const size_t before = modelSpace().size();
    const int count = steps(random);
    run(L"PLBLENDS\n" + picks[0] + L"\n" + picks[1] + L"\n\n" + std::to_wstring(count) + L"\n" +
        std::to_wstring(steps(random) * 16 - 100) + L"\n");
    const std::vector<ZcDbObjectId> made = madeAfter(before);
    ASSERT_EQ(made.size(), static_cast<size_t>(count)) << transcript_;
    PointList a, b;
    {
      Opened<ZcDbPolyline> first(ids[0]);
      Opened<ZcDbPolyline> second(ids[1]);
      a = *sampleCurveEvenly(*first, 36);
      b = *sampleCurveEvenly(*second, 36);
    }
    for (ZcDbObjectId id : {made.front(), made.back()}) {
      const std::vector<ZcGePoint3d> points = fitPoints(id);
      ASSERT_EQ(points.size(), 36u);
      for (size_t i = 0; i < 36; ++i) {
        // On the segment between the two curves' samples, strictly inside it.
        EXPECT_NEAR(points[i].distanceTo(a[i]) + points[i].distanceTo(b[i]), a[i].distanceTo(b[i]), 1e-6)
            << i;
        EXPECT_GT(points[i].distanceTo(a[i]), 0.0);
        EXPECT_GT(points[i].distanceTo(b[i]), 0.0);
      }
    }
  }
}

}  // namespace
}  // namespace veltrace::testing
