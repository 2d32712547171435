// The formula curves' coordinate axes over many random extents around an origin: the axes
// reach past the extents, the step is a power of ten, every tick has its number.
#include <cmath>
#include <random>

#include "formula/FormulaAxes.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

using FormulaAxesTest = FrameTest;

TEST_F(FormulaAxesTest, AxesReachPastTheExtentsWithAPowerOfTenStep) {
  std::mt19937 random(18);
  std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
  std::uniform_real_distribution<double> size(0.0, 3.0);
  for (int round = 0; round < 40; ++round) {
    const ZcGePoint3d origin(coordinate(random), coordinate(random), 0.0);
    const double spanX = std::pow(10.0, size(random));
    const double spanY = std::pow(10.0, size(random));
    const ZcGePoint3d low(origin.x - spanX * 0.3, origin.y - spanY * 0.4, 0.0);
    const ZcDbExtents extents(low, ZcGePoint3d(low.x + spanX, low.y + spanY, 0.0));
    const double step = formulaAxesStep(origin, extents);
    ASSERT_GE(step, 1.0);
    EXPECT_NEAR(std::log10(step), std::round(std::log10(step)), 1e-12) << step;

    std::optional<ZcDbObjectId> made = drawFormulaAxes(origin, extents);
    ASSERT_TRUE(made.has_value());
    Opened<ZcDbBlockReference> reference(*made);
    ASSERT_TRUE(reference);
    EXPECT_TRUE(closeTo(reference->position(), origin));
    Opened<ZcDbBlockTableRecord> block(reference->blockTableRecord());
    ASSERT_TRUE(block);
    const std::vector<ZcDbObjectId>& parts = block->entityIds();
    ASSERT_GE(parts.size(), 2u);
    Opened<ZcDbLine> xAxis(parts[0]);
    Opened<ZcDbLine> yAxis(parts[1]);
    ASSERT_TRUE(xAxis && yAxis);
    EXPECT_LE(xAxis->startPoint().x, extents.minPoint().x + 1e-9);
    EXPECT_GE(xAxis->endPoint().x, extents.maxPoint().x - 1.0);
    EXPECT_LE(yAxis->startPoint().y, extents.minPoint().y + 1e-9);
    EXPECT_GE(yAxis->endPoint().y, extents.maxPoint().y - 1.0);
    int lines = 0, texts = 0;
    for (ZcDbObjectId id : parts) {
      lines += Opened<ZcDbLine>(id) ? 1 : 0;
      texts += Opened<ZcDbText>(id) ? 1 : 0;
    }
    EXPECT_EQ(lines, texts + 2);
  }
}

// A curve a million units long and a fraction of a unit high once asked for a million ticks.
TEST_F(FormulaAxesTest, AVeryLongFlatCurveGetsABoundedNumberOfTicks) {
  const ZcGePoint3d origin(0, 0, 0);
  const ZcDbExtents extents(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1e6, 0.5, 0));
  EXPECT_LE(1e6 / formulaAxesStep(origin, extents), 10000.0);
  std::optional<ZcDbObjectId> made = drawFormulaAxes(origin, extents);
  ASSERT_TRUE(made.has_value());
  Opened<ZcDbBlockReference> reference(*made);
  Opened<ZcDbBlockTableRecord> block(reference->blockTableRecord());
  EXPECT_LE(block->entityIds().size(), 2u * 10002u + 2u);
}

}  // namespace
}  // namespace veltrace::testing
