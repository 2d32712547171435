// PLMAP4 on the command line: curves in a box carried onto a fence of four curves, points
// outside the box carried beyond the fence, and a fence equal to the box giving the sources
// back (property check over random curves).
#include <gtest/gtest.h>

#include <random>

#include "affect/EvenSampling.h"
#include "plugin/affect/AffectTestSupport.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace veltrace::testing {
namespace {

class FenceMappingTest : public AffectTest {
 protected:
  // The fence of four lines around (0, 0)..(10, height), the top drawn right to left.
  struct FenceIds {
    ZcDbObjectId top, bottom, left, right;
  };
  FenceIds addFence(double height) {
    FenceIds fence;
    fence.top = addLine({10, height, 0}, {0, height, 0});
    fence.bottom = addLine({0, 0, 0}, {10, 0, 0});
    fence.left = addLine({0, 0, 0}, {0, height, 0});
    fence.right = addLine({10, 0, 0}, {10, height, 0});
    return fence;
  }
  std::wstring fencePicks(const FenceIds& f) {
    return pick(f.top) + L"\n" + pick(f.bottom) + L"\n" + pick(f.left) + L"\n" + pick(f.right) + L"\n";
  }
};

TEST_F(FenceMappingTest, AFenceTwiceAsTallDoublesHeightsInsideAndBeyondTheBox) {
  const FenceIds fence = addFence(20);
  const ZcDbObjectId across = addLine({-5, 5, 0}, {15, 5, 0});  // reaches out of the box on both sides
  // Corners given upper right first.
  run(L"PLMAP4\n" + pick(across) + L"\n\n10,10\n0,0\n" + fencePicks(fence) + L"\n");
  reload();
  const std::vector<ZcDbObjectId> made = madeAfter(5);
  ASSERT_EQ(made.size(), 1u) << transcript_;
  Opened<ZcDbLine> mapped(made[0]);
  ASSERT_TRUE(mapped) << "mapped samples on one line give a line";
  EXPECT_TRUE(closeTo(mapped->startPoint(), {-5, 10, 0}, 1e-9)) << "the fence extended along its ends";
  EXPECT_TRUE(closeTo(mapped->endPoint(), {15, 10, 0}, 1e-9));
  Opened<ZcDbLine> top(modelSpace()[0]);
  EXPECT_TRUE(closeTo(top->startPoint(), {0, 20, 0})) << "the top is turned to run from the left";
}

TEST_F(FenceMappingTest, AFenceEqualToTheBoxGivesTheCurvesBack) {
  const FenceIds fence = addFence(10);
  std::mt19937 random(34);
  std::uniform_real_distribution<double> inside(0.5, 9.5);
  std::vector<ZcDbObjectId> sources;
  std::wstring picks;
  for (int i = 0; i < 12; ++i) {
    auto* polyline = new ZcDbPolyline;
    for (unsigned v = 0; v < 4; ++v)
      polyline->addVertexAt(v, ZcGePoint2d(inside(random), inside(random)), 0.0);
    sources.push_back(addToModelSpace(polyline));
    picks += pick(sources.back()) + L"\n";
  }
  run(L"PLMAP4\n" + picks + L"\n0,0\n10,10\n" + fencePicks(fence) + L"10\n");
  const std::vector<ZcDbObjectId> made = madeAfter(4 + sources.size());
  ASSERT_EQ(made.size(), sources.size()) << transcript_;
  for (size_t i = 0; i < made.size(); ++i) {
    Opened<ZcDbPolyline> source(sources[i]);
    Opened<ZcDbCurve> result(made[i]);
    ASSERT_TRUE(result);
    // Every vertex of the source lies on the mapped curve within the resampling's error.
    for (unsigned v = 0; v < source->numVerts(); ++v) {
      ZcGePoint3d vertex, onResult;
      source->getPointAt(v, vertex);
      ASSERT_EQ(result->getClosestPointTo(vertex, onResult), Zcad::eOk);
      EXPECT_LT(vertex.distanceTo(onResult), 0.05) << i << " " << v;
    }
  }
}

TEST_F(FenceMappingTest, DegenerateBoxesAreAskedAgainAndEscEndsTheCommand) {
  const FenceIds fence = addFence(10);
  const ZcDbObjectId across = addLine({2, 5, 0}, {8, 5, 0});
  run(L"PLMAP4\n" + pick(across) + L"\n\n0,0\n10,0\n^C\n");
  EXPECT_TRUE(said("\nBox height cannot less than 0.001.")) << transcript_;
  EXPECT_EQ(modelSpace().size(), 5u) << "nothing made";
  run(L"PLMAP4\n" + pick(across) + L"\n\n0,0\n10,10\n" + pick(fence.top) + L"\n" + pick(across) + L"\n\n");
  EXPECT_TRUE(said("\nSelected nothing.")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
