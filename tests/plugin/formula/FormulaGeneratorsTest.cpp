// The formula curves' samples: finite everywhere in range, the catalogue's twins alike, the
// counts and end points users see, and the shapes the equations promise.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "formula/FormulaGenerators.h"
#include "frame/CoordinateRange.h"
#include "plugin/frame/FrameTestSupport.h"

namespace veltrace::testing {
namespace {

constexpr int kSurftab1 = 6;

FormulaParameters pick(int entryIndex, const std::function<int(const FormulaParamDef&, int slot)>& choose) {
  const auto& slots = formulaCatalogue(/*chinese=*/false)[entryIndex].params;
  return {choose(slots[0], 0), choose(slots[1], 1), choose(slots[2], 2), choose(slots[3], 3)};
}

// Defaults, every slot at its minimum or maximum, and the two alternations of both.
std::vector<FormulaParameters> extremesOf(int entryIndex) {
  return {
      formulaDefaultParameters(entryIndex),
      pick(entryIndex, [](const FormulaParamDef& d, int) { return d.minimum; }),
      pick(entryIndex, [](const FormulaParamDef& d, int) { return d.maximum; }),
      pick(entryIndex, [](const FormulaParamDef& d, int k) { return k % 2 ? d.minimum : d.maximum; }),
      pick(entryIndex, [](const FormulaParamDef& d, int k) { return k % 2 ? d.maximum : d.minimum; }),
  };
}

PointList samplesOf(int number, FormulaParameters parameters, int surftab1 = kSurftab1) {
  return formulaCurveSamples(number - 1, parameters, surftab1).points;
}

void expectSamePoints(const PointList& a, const PointList& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(closeTo(a[i], b[i], 0.0)) << i;
}

TEST(FormulaGenerators, EveryEntryGivesFiniteSamplesAtItsDefaultsAndExtremes) {
  for (int entry = 0; entry < kFormulaCurveCount; ++entry) {
    for (const FormulaParameters& parameters : extremesOf(entry)) {
      SCOPED_TRACE(::testing::Message()
                   << "entry " << entry + 1 << " (" << parameters.p1 << ", " << parameters.p2 << ", "
                   << parameters.p3 << ", " << parameters.p4 << ")");
      const FormulaSamples samples = formulaCurveSamples(entry, parameters, kSurftab1);
      ASSERT_GE(samples.points.size(), 2u);
      EXPECT_LE(samples.points.size(), 15120u);
      for (const ZcGePoint3d& p : samples.points) {
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        ASSERT_LE(std::abs(p.x) + std::abs(p.y) + std::abs(p.z), 3 * kMaxCoordinate);
      }
      EXPECT_EQ(samples.closed, entry == 0);
      EXPECT_EQ(samples.colourIndex, entry == 0 ? 1 : -1);
    }
  }
}

TEST(FormulaGenerators, TwinEntriesDrawTheSamePoints) {
  expectSamePoints(samplesOf(9, {120, 100, 9, 0}), samplesOf(44, {120, 555, 9, 0}));
  expectSamePoints(samplesOf(64, {7, 5, 3, 0}), samplesOf(65, {7, 5, 3, 0}));
  expectSamePoints(samplesOf(26, {5, 8, 3, 12}), samplesOf(29, {5, 8, 3, 12}));
  expectSamePoints(samplesOf(71, {25, 7, 1, 0}), samplesOf(58, {25, 7, 0, 0}));
  // Entry 10 is of unit size whatever A and B are.
  expectSamePoints(samplesOf(10, {1, 100, 7, 0}), samplesOf(10, {1000, 1000, 7, 0}));
}

TEST(FormulaGenerators, CountsAndEndsUsersSee) {
  const PointList hyperbola = samplesOf(6, {4, 3, 1, 0});
  ASSERT_EQ(hyperbola.size(), 36u);  // u stops one step short of 10
  EXPECT_DOUBLE_EQ(hyperbola.front().y, -10.0);
  EXPECT_NEAR(hyperbola.back().y, 10.0 - 20.0 / 36.0, 1e-12);

  EXPECT_EQ(samplesOf(7, {8, 1, 0, 0}, /*surftab1=*/6).size(), 36u);
  EXPECT_TRUE(samplesOf(7, {8, 1, 0, 0}, /*surftab1=*/0).empty());
  EXPECT_TRUE(samplesOf(7, {8, 1, 0, 0}, /*surftab1=*/-999).empty());

  EXPECT_EQ(samplesOf(12, {20, 3, 0, 0}).size(), 36u);
  EXPECT_EQ(samplesOf(12, {20, 36, 0, 0}).size(), 1224u);
  EXPECT_EQ(samplesOf(30, {12, 10, 36, 12}).size(), 15120u);

  const PointList logarithm = samplesOf(5, {1, 10, 0, 0});
  ASSERT_EQ(logarithm.size(), 100u);
  EXPECT_TRUE(closeTo(logarithm.front(), ZcGePoint3d(1e-15, std::log(1e-15), 0)));
  EXPECT_NEAR(logarithm.front().y, -34.5388, 1e-4);
  EXPECT_TRUE(closeTo(logarithm.back(), ZcGePoint3d(98.01, std::log(98.01), 0), 1e-12));
  EXPECT_NEAR(logarithm.back().y, 4.585, 1e-3);

  const PointList heart = samplesOf(1, {10, 0, 0, 0});
  ASSERT_EQ(heart.size(), 35u);
  EXPECT_TRUE(closeTo(heart.front(), ZcGePoint3d(0, 10.0 * 5 / 32, 0)));
}

TEST(FormulaGenerators, SuperellipseMeetsTheAxesExactlyAtItsQuarterPoints) {
  // Precision 3: 105 samples, sample 26 at t = pi/2 and 52 at t = pi.
  for (int n : {1, 31, 100}) {
    const PointList points = samplesOf(68, {10, n, 3, 0});
    ASSERT_EQ(points.size(), 105u);
    EXPECT_TRUE(closeTo(points[26], ZcGePoint3d(0, 10, 0), 1e-12)) << n;
    EXPECT_TRUE(closeTo(points[52], ZcGePoint3d(-10, 0, 0), 1e-12)) << n;
  }
}

TEST(FormulaGenerators, OutOfRangeParametersAreClampedAndUnknownEntriesGiveNothing) {
  expectSamePoints(samplesOf(30, {1000, 10, 99, 0}), samplesOf(30, {12, 10, 36, 0}));
  expectSamePoints(samplesOf(12, {20, -5, 0, 0}), samplesOf(12, {20, 3, 0, 0}));
  EXPECT_TRUE(formulaCurveSamples(-1, {}, kSurftab1).points.empty());
  EXPECT_TRUE(formulaCurveSamples(kFormulaCurveCount, {}, kSurftab1).points.empty());
}

TEST(FormulaGenerators, SamplesWithoutARealValueAreLeftOut) {
  // Watt's curve with A above 3 has no real point near t = pi/2.
  for (int a : {4, 5}) {
    const PointList points = samplesOf(70, {a, 10, 12, 0});
    EXPECT_GT(points.size(), 2u);
    EXPECT_LT(points.size(), 35u * 12u) << a;
  }
  EXPECT_EQ(samplesOf(70, {3, 10, 12, 0}).size(), 35u * 12u);
  // The logarithmic spiral at a hundred turns and the largest Dist outgrows any drawing.
  const PointList spiral = samplesOf(15, {100, 1, 1000, 100});
  EXPECT_GT(spiral.size(), 2u);
  EXPECT_LT(spiral.size(), 3600u);
}

// Each equation checked through a property of its curve rather than restated.
TEST(FormulaGenerators, CurvesHaveTheShapesTheirNamesPromise) {
  struct ShapeCase {
    int number;
    FormulaParameters parameters;
    double (*error)(const ZcGePoint3d&);  // 0 on the curve
  };
  const ShapeCase cases[]{
      // On a sphere of radius R.
      {30, {5, 10, 8, 0}, [](const ZcGePoint3d& p) { return p.asVector().length() - 10; }},
      {32, {10, 1, 6, 0}, [](const ZcGePoint3d& p) { return p.asVector().length() - 10; }},
      // On a cylinder of radius 5R, between heights -R and R.
      {64,
       {10, 8, 5, 0},
       [](const ZcGePoint3d& p) { return std::hypot(p.x, p.y) - 50 + (std::abs(p.z) > 10); }},
      // Superellipse: |x/R|^(2/e) + |y/R|^(2/e) = 1 with e = 20/n.
      {68,
       {10, 31, 5, 0},
       [](const ZcGePoint3d& p) {
         return std::pow(std::abs(p.x / 10), 3.1) + std::pow(std::abs(p.y / 10), 3.1) - 1;
       }},
      // Sine wave of height H: y = H sin(x / H).
      {3, {10, 4, 0, 0}, [](const ZcGePoint3d& p) { return p.y - 4 * std::sin(p.x / 4); }},
      // Catenary: y = (B R / 4)(cosh(x / R) - 1).
      {66, {10, 50, 1, 0}, [](const ZcGePoint3d& p) { return p.y - 125 * (std::cosh(p.x / 10) - 1); }},
  };
  for (const ShapeCase& shape : cases) {
    const PointList points = samplesOf(shape.number, shape.parameters);
    ASSERT_GE(points.size(), 2u);
    for (std::size_t i = 0; i < points.size(); ++i) {
      ASSERT_NEAR(shape.error(points[i]), 0.0, 1e-9) << "entry " << shape.number << " sample " << i;
    }
  }
}

}  // namespace
}  // namespace veltrace::testing
