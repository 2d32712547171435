// The offset laws of random and wave arrays, checked by the increments between successive
// positions.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polyline/ArrayOffsets.h"

namespace veltrace {
namespace {

constexpr double kPi = 3.141592653589793;

std::vector<ZcGeVector3d> increments(const std::vector<ZcGeVector3d>& offsets) {
  std::vector<ZcGeVector3d> steps;
  for (std::size_t i = 1; i < offsets.size(); ++i) steps.push_back(offsets[i] - offsets[i - 1]);
  return steps;
}

ArrayLayout waveLayout(ArrayMode mode, int count, double distance, int angleDegrees, int groupSize = 10) {
  return ArrayLayout{count, distance, angleDegrees, mode, groupSize};
}

TEST(RandomArrayOffsets, HalfWaveAlongXShrinksFromTheDistanceWithinEachGroup) {
  const double d = 2.5;
  const std::vector<ZcGeVector3d> steps =
      increments(arrayOffsets(waveLayout(ArrayMode::kHalfWave, 31, d, 0), {}));
  ASSERT_EQ(steps.size(), 30u);
  for (const ZcGeVector3d& step : steps) EXPECT_EQ(step.y, 0.0);
  // Positions 10..19 and 20..29 are whole groups (k = 0..9); position i is step i - 1.
  for (int group : {10, 20}) {
    EXPECT_NEAR(steps[group - 1].x, d, 1e-12);
    EXPECT_NEAR(steps[group + 8].x, std::cos(0.45 * kPi) * d, 1e-12);
    for (int k = 1; k < 10; ++k)
      EXPECT_LT(steps[group - 1 + k].x, steps[group - 2 + k].x) << group << ":" << k;
  }
}

TEST(RandomArrayOffsets, FullWaveFoldsEachGroupAboutItsMiddle) {
  const double d = 4.0;
  const int g = 12;
  const std::vector<ZcGeVector3d> steps =
      increments(arrayOffsets(waveLayout(ArrayMode::kFullWave, 2 * g + 1, d, 30, g), {}));
  const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
  for (int i = 1; i <= 2 * g; ++i) {
    const ZcGeVector3d& step = steps[i - 1];
    const int k = i % g;
    EXPECT_GE(step.x, 0.0);
    EXPECT_GE(step.y, 0.0);
    // |cos| and |sin| of kπ/g repeat mirrored: k and g - k step alike.
    const ZcGeVector3d& mirrored = steps[(k == 0 ? i : i - k + (g - k)) - 1];
    EXPECT_NEAR(step.x, mirrored.x, 1e-12) << i;
    EXPECT_NEAR(step.y, mirrored.y, 1e-12) << i;
    // Each axis keeps its own factor: |cos u| and |sin u|.
    EXPECT_NEAR(std::hypot(step.x / (c * d), step.y / (s * d)), 1.0, 1e-12) << i;
  }
  EXPECT_NEAR(steps[g / 2 - 1].x, 0.0, 1e-12);  // k = g/2: straight across the fold
  EXPECT_NEAR(steps[g - 1].y, 0.0, 1e-12);      // k = 0
}

TEST(RandomArrayOffsets, ExponentialAndLogarithmicAddNothingAtEveryMultipleOfTheGroup) {
  const double d = 1.5;
  const int g = 10;
  for (ArrayMode mode : {ArrayMode::kExponential, ArrayMode::kLogarithmic}) {
    const std::vector<ZcGeVector3d> offsets = arrayOffsets(waveLayout(mode, 35, d, 180, g), {});
    ASSERT_EQ(offsets.size(), 35u);
    // k = 1 steps e^0 or log10(2), k = 9 log10(10) (along -x); then growing within the group.
    const double first = mode == ArrayMode::kExponential ? 1.0 : std::log10(2.0);
    for (int i = 1; i < 35; ++i) {
      const ZcGeVector3d step = offsets[i] - offsets[i - 1];
      EXPECT_EQ(offsets[i].z, 0.0);
      EXPECT_NEAR(step.y, 0.0, 1e-12) << i;
      if (i % g == 0) {
        EXPECT_EQ(offsets[i], offsets[i - 1]) << i;  // the two copies coincide
      } else if (i % g == 1) {
        EXPECT_NEAR(step.x, -first * d, 1e-12) << i;
      } else {
        EXPECT_LT(step.x, offsets[i - 1].x - offsets[i - 2].x) << i;
        EXPECT_GT(step.x, -std::exp(3.0) * d) << i;
      }
    }
    if (mode == ArrayMode::kLogarithmic) {
      EXPECT_NEAR(offsets[9].x - offsets[8].x, -d, 1e-12);
    }
  }
}

TEST(RandomArrayOffsets, RandomGapsAlongYStayBetweenAThirdAndAlmostTheDistance) {
  const double d = 3.0;
  const int count = 400;
  int draws = 0;
  // Every residue mod 100 appears, and large draws too.
  const std::vector<ZcGeVector3d> steps = increments(arrayOffsets(
      waveLayout(ArrayMode::kRandom, count, d, 90), [&draws] { return 4294967295u - 37u * draws++; }));
  EXPECT_EQ(draws, count - 1);  // one draw per copied position
  EXPECT_EQ(arrayOffsets(waveLayout(ArrayMode::kHalfWave, 1, d, 0), nullptr).size(), 1u);
  EXPECT_TRUE(arrayOffsets(waveLayout(ArrayMode::kHalfWave, 0, d, 0), nullptr).empty());
  double shortest = d, longest = 0.0;
  for (const ZcGeVector3d& step : steps) {
    EXPECT_NEAR(step.x, 0.0, 1e-12);
    shortest = std::min(shortest, step.y);
    longest = std::max(longest, step.y);
  }
  EXPECT_NEAR(shortest, d / 3.0, 1e-12);
  EXPECT_NEAR(longest, 149.0 * d / 150.0, 1e-12);
  EXPECT_DOUBLE_EQ(randomStepFactor(0), 50.0 / 150.0);
  EXPECT_DOUBLE_EQ(randomStepFactor(199), 149.0 / 150.0);
}

}  // namespace
}  // namespace veltrace
