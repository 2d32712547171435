#include <gtest/gtest.h>

#include <cmath>

#include "database/HelixNurbs.h"

using namespace vtcad::db;

namespace {

// Largest distance from the spline to the exact helix, sampled densely per piece. The
// nearest helix point is found by Newton's method on the squared distance, from the
// helix point at the same parameter.
double deviation(const HelixShape& shape) {
  const ZcGeNurbCurve3d spline = helixNurbs(shape);
  const double end = helixEndAngle(shape);
  double worst = 0.0;
  for (int i = 0; i <= 4000; ++i) {
    const double t = end * i / 4000;
    const ZcGePoint3d p = spline.evalPoint(t);
    double theta = t;
    for (int k = 0; k < 8; ++k) {
      const ZcGeVector3d d = helixDerivative(shape, theta), diff = helixPoint(shape, theta) - p;
      const double h = 1e-6;
      const double g = diff.dotProduct(d);
      const double gp = ((helixPoint(shape, theta + h) - p).dotProduct(helixDerivative(shape, theta + h)) -
                         (helixPoint(shape, theta - h) - p).dotProduct(helixDerivative(shape, theta - h))) /
                        (2 * h);
      if (gp != 0.0) theta -= g / gp;
    }
    worst = std::max(worst, helixPoint(shape, theta).distanceTo(p));
  }
  return worst;
}

TEST(HelixNurbsTest, AccuracyIsAsDocumented) {
  HelixShape spring;
  spring.baseRadius = spring.topRadius = 2.0;
  spring.turns = 2.5;
  spring.height = 3.0;
  EXPECT_LT(deviation(spring), 1e-8 * 2.0);
  const ZcGeNurbCurve3d springSpline = helixNurbs(spring);
  EXPECT_NEAR(springSpline.length(), helixLength(spring), 1e-9 * helixLength(spring));
  EXPECT_NEAR(helixLength(spring), 2.5 * std::hypot(4.0 * ZcGe::kPi, 3.0 / 2.5), 1e-12 * helixLength(spring));

  HelixShape cone;
  cone.baseRadius = 2.0;
  cone.topRadius = 0.0;
  cone.turns = 2.0;
  cone.height = 1.0;
  cone.ccw = false;
  EXPECT_LT(deviation(cone), 1e-6 * 2.0);
  EXPECT_NEAR(helixNurbs(cone).length(), helixLength(cone), 3e-7 * helixLength(cone));
}

TEST(HelixNurbsTest, JointsAreOnTheHelixWithItsTangent) {
  HelixShape shape;
  shape.axisPoint = {1, 2, 3};
  shape.axis = ZcGeVector3d(1, 1, 0).normal();
  shape.startDir = ZcGeVector3d(1, -1, 0).normal();
  const ZcGeNurbCurve3d spline = helixNurbs(shape);
  EXPECT_EQ(spline.degree(), 3);
  EXPECT_EQ(spline.numControlPoints(), 2 * 3 * kHelixSegmentsPerTurn + 2);
  const double step = helixEndAngle(shape) / (3 * kHelixSegmentsPerTurn);
  for (int j = 0; j <= 3 * kHelixSegmentsPerTurn; j += 7) {
    ZcGeVector3dArray d;
    const ZcGePoint3d p = spline.evalPoint(j * step, 1, d);
    EXPECT_LE(p.distanceTo(helixPoint(shape, j * step)), 1e-12) << j;
    EXPECT_TRUE(d[0].isCodirectionalTo(helixDerivative(shape, j * step), ZcGeTol(1e-9, 1e-9))) << j;
  }
}

TEST(HelixNurbsTest, ShortHelixStillHasFourPieces) {
  HelixShape shape;
  shape.turns = 0.01;
  EXPECT_EQ(helixNurbs(shape).numControlPoints(), 2 * 4 + 2);
  EXPECT_LT(deviation(shape), 1e-12);
}

}  // namespace
