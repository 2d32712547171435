#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "database/ConicGeometry.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"

using namespace vtcad::db;

namespace {

TEST(ConicGeometryTest, OcsAxesFollowTheArbitraryAxisRuleAsTheMatrixDoes) {
  ZcGeVector3d x, y;
  ocsAxes(ZcGeVector3d::kZAxis, x, y);
  EXPECT_TRUE(x.isEqualTo(ZcGeVector3d::kXAxis));
  ocsAxes({0, 0, -1}, x, y);
  EXPECT_TRUE(x.isEqualTo({-1, 0, 0}));
  EXPECT_TRUE(y.isEqualTo({0, 1, 0}));
  // Polylines place their vertices with planeToWorld: both must agree for every normal,
  // on both sides of the 1/64 switch of the rule.
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> any(-1.0, 1.0);
  for (int i = 0; i < 200; ++i) {
    const double small = i % 2 ? 0.9 / 64 : 1.1 / 64;
    const ZcGeVector3d normal = (i < 100 ? ZcGeVector3d(small * any(rng), small * any(rng), 1.0)
                                         : ZcGeVector3d(any(rng), any(rng), any(rng)))
                                    .normal();
    ocsAxes(normal, x, y);
    ZcGePoint3d origin;
    ZcGeVector3d mx, my, mz;
    ZcGeMatrix3d::planeToWorld(normal).getCoordSystem(origin, mx, my, mz);
    EXPECT_TRUE(x.isEqualTo(mx, ZcGeTol(1e-12, 1e-12))) << i;
    EXPECT_TRUE(y.isEqualTo(my, ZcGeTol(1e-12, 1e-12))) << i;
  }
}

TEST(ConicGeometryTest, PrincipalAxesDescribeTheSameConic) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> any(-3.0, 3.0);
  for (int i = 0; i < 100; ++i) {
    const ZcGeVector3d a(any(rng), any(rng), any(rng)), b(any(rng), any(rng), any(rng));
    const ConicAxes axes = principalAxes(a, b);
    EXPECT_NEAR(axes.major.dotProduct(axes.minor), 0.0, 1e-12 * a.lengthSqrd() + 1e-12 * b.lengthSqrd());
    EXPECT_GE(axes.major.length(), axes.minor.length() - 1e-12);
    for (double t = 0.0; t < 6.3; t += 0.7) {
      const ZcGeVector3d original = a * std::cos(t) + b * std::sin(t);
      const ZcGeVector3d principal =
          axes.major * std::cos(t - axes.shift) + axes.minor * std::sin(t - axes.shift);
      EXPECT_TRUE(original.isEqualTo(principal, ZcGeTol(1e-12, 1e-12))) << i << " " << t;
    }
  }
}

TEST(ConicGeometryTest, ConformalMatricesAreRecognisedAtAnyScale) {
  double scale = 0.0;
  const ZcGeMatrix3d turned = ZcGeMatrix3d::rotation(0.3, {1, 2, 3}) * ZcGeMatrix3d::scaling(1000.0);
  EXPECT_TRUE(isConformalMatrix(turned, scale));
  EXPECT_NEAR(scale, 1000.0, 1e-9);
  EXPECT_TRUE(isConformalMatrix(ZcGeMatrix3d::scaling(1e-6), scale));
  EXPECT_FALSE(isConformalMatrix(ZcGeMatrix3d::scaling({1, 1, 1.001}), scale));
  ZcGeMatrix3d shear;
  shear(0, 1) = 0.1;
  EXPECT_FALSE(isConformalMatrix(shear, scale));
  EXPECT_FALSE(isConformalMatrix(ZcGeMatrix3d::projection(ZcGePlane::kXYPlane, ZcGeVector3d::kZAxis), scale));
  EXPECT_TRUE(isMirroring(ZcGeMatrix3d::mirroring(ZcGePlane::kXYPlane)));
  EXPECT_FALSE(isMirroring(turned));
}

TEST(ConicGeometryTest, AnglesNormaliseIntoOneTurnWithoutReachingIt) {
  EXPECT_EQ(normalizeAngle(-1e-17), 0.0) << "2*pi - 1e-17 rounds to 2*pi";
  EXPECT_NEAR(normalizeAngle(-ZcGe::kPi / 2), 1.5 * ZcGe::kPi, 1e-15);
  EXPECT_NEAR(normalizeAngle(7 * ZcGe::kTwoPi + 1.0), 1.0, 1e-12);
  EXPECT_EQ(normalizeAngle(NAN), 0.0);
  EXPECT_LT(normalizeAngle(std::nextafter(ZcGe::kTwoPi, 0.0)), ZcGe::kTwoPi);
}

}  // namespace
