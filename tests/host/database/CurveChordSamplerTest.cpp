#include <gtest/gtest.h>

#include <cmath>

#include "database/CurveChordSampler.h"
#include "zcad/ge/ZcGeCircArc3d.h"

using namespace vtcad::db;

namespace {

ZcGeDoubleArray breaksOf(const ZcGeCircArc3d& arc, int spans) {
  ZcGeDoubleArray breaks;
  for (int i = 0; i <= spans; ++i)
    breaks.append(arc.startAng() + (arc.endAng() - arc.startAng()) * i / spans);
  return breaks;
}

double worstDeviation(const ZcGeCircArc3d& arc, const ZcGeDoubleArray& params) {
  double worst = 0.0;
  for (int i = 0; i + 1 < params.length(); ++i) {
    const ZcGePoint3d a = arc.evalPoint(params[i]), b = arc.evalPoint(params[i + 1]);
    for (int k = 1; k < 10; ++k)
      worst = std::max(
          worst, distanceToSegment(arc.evalPoint(params[i] + (params[i + 1] - params[i]) * k / 10), a, b));
  }
  return worst;
}

TEST(CurveChordSamplerTest, ChordsStayWithinTheToleranceAndMoreWhenItShrinks) {
  const ZcGeCircArc3d circle({0, 0, 0}, ZcGeVector3d::kZAxis, 10.0);
  int previous = 0;
  for (double tolerance = 1.0; tolerance > 1e-5; tolerance /= 3.0) {
    const ZcGeDoubleArray params = chordSampleParams(circle, breaksOf(circle, 4), tolerance, 100000, 4);
    EXPECT_LE(worstDeviation(circle, params), tolerance) << tolerance;
    // A circle needs about pi * sqrt(r / (2 tol)) chords; halving every chord doubles at most.
    EXPECT_LE(params.length() - 1, 2.0 * ZcGe::kPi * std::sqrt(10.0 / (2.0 * tolerance)) + 16) << tolerance;
    EXPECT_GE(params.length() - 1, previous);
    previous = params.length() - 1;
    EXPECT_EQ(params.first(), circle.startAng());
    EXPECT_EQ(params.last(), circle.endAng());
  }
}

TEST(CurveChordSamplerTest, NeverMoreSegmentsThanAllowed) {
  const ZcGeCircArc3d circle({0, 0, 0}, ZcGeVector3d::kZAxis, 10.0);
  for (int maxSegments : {1, 2, 3, 7, 50}) {
    const ZcGeDoubleArray params = chordSampleParams(circle, breaksOf(circle, 4), 0.0, maxSegments, 4);
    EXPECT_EQ(params.length() - 1, maxSegments);
  }
  // More knot spans than segments allowed: evenly chosen knots, both ends kept.
  const ZcGeDoubleArray params = chordSampleParams(circle, breaksOf(circle, 1000), 0.0, 7, 4);
  EXPECT_EQ(params.length(), 8);
  EXPECT_EQ(params.last(), circle.endAng());
  for (int i = 0; i + 1 < params.length(); ++i) EXPECT_LT(params[i], params[i + 1]);
}

TEST(CurveChordSamplerTest, DistanceToASegmentOfNoLengthIsToItsPoint) {
  EXPECT_DOUBLE_EQ(distanceToSegment({3, 4, 0}, {0, 0, 0}, {0, 0, 0}), 5.0);
  EXPECT_DOUBLE_EQ(distanceToSegment({5, 4, 0}, {0, 0, 0}, {2, 0, 0}), 5.0);
  EXPECT_DOUBLE_EQ(distanceToSegment({1, 4, 0}, {0, 0, 0}, {2, 0, 0}), 4.0);
}

}  // namespace
