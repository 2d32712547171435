#include <gtest/gtest.h>

#include "morph/SpacingLaw.h"

namespace veltrace {
namespace {

TEST(SpacingLaw, ThreeStepsForEachAcceleration) {
  struct Case {
    int acceleration;
    double t[3];
  };
  for (const Case& c : {Case{0, {0.25, 0.5, 0.75}}, Case{50, {0.0625, 0.25, 0.5625}},
                        Case{100, {0.015625, 0.125, 0.421875}}, Case{-100, {0.578125, 0.875, 0.984375}}}) {
    const double a = accelerationFromInput(c.acceleration);
    for (int j = 0; j < 3; ++j) {
      EXPECT_NEAR(densityFraction(j, 3, a), c.t[j], 1e-15) << c.acceleration << " step " << j;
    }
  }
}

TEST(SpacingLaw, StepsStayStrictlyBetweenTheShapesAndKeepTheirOrder) {
  for (int n : {1, 2, 16, 100}) {
    for (int acceleration = -100; acceleration <= 100; acceleration += 25) {
      const double a = accelerationFromInput(acceleration);
      double previous = 0.0;
      for (int j = 0; j < n; ++j) {
        const double t = densityFraction(j, n, a);
        EXPECT_GT(t, previous) << n << " " << acceleration << " " << j;
        EXPECT_LT(t, 1.0);
        previous = t;
      }
    }
  }
  EXPECT_DOUBLE_EQ(densityFraction(0, 1, 0.0), 0.5) << "one step lies halfway";
}

TEST(SpacingLaw, AccelerationIsClampedAndInclusiveFractionsKeepTheirEnds) {
  EXPECT_EQ(accelerationFromInput(250), 1.0);
  EXPECT_EQ(accelerationFromInput(-250), -1.0);
  EXPECT_EQ(accelerationFromInput(150), 1.0);
  EXPECT_EQ(accelerationFromInput(-7), -0.07);
  for (double a : {-1.0, -0.3, 0.0, 0.6, 1.0}) {
    EXPECT_EQ(shapedFraction(0.0, a), 0.0) << a;
    EXPECT_EQ(shapedFraction(1.0, a), 1.0) << a;
  }
  EXPECT_DOUBLE_EQ(shapedFraction(0.5, 1.0), 0.125) << "the middle column of three at acceleration 100";
}

}  // namespace
}  // namespace veltrace
