#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "database/CurveQueryRules.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {

TEST(CurveQueryRulesTest, ParametersNearTheEndsAreClampedAndPeriodicOnesWrap) {
  double param = 5.0 + 1e-12;
  ASSERT_TRUE(fitParamIntoRange({1.0, 5.0, /*periodic=*/false}, param));
  EXPECT_EQ(param, 5.0);
  param = 5.001;
  EXPECT_FALSE(fitParamIntoRange({1.0, 5.0, false}, param));
  param = 5.5;
  ASSERT_TRUE(fitParamIntoRange({1.0, 5.0, /*periodic=*/true}, param));
  EXPECT_DOUBLE_EQ(param, 1.5);
  param = -7.5;
  ASSERT_TRUE(fitParamIntoRange({1.0, 5.0, true}, param));
  EXPECT_DOUBLE_EQ(param, 4.5);
  param = NAN;
  EXPECT_FALSE(fitParamIntoRange({1.0, 5.0, true}, param));
  // A zero-length range takes its single parameter only.
  param = 2.0;
  EXPECT_FALSE(fitParamIntoRange({1.0, 1.0, true}, param));
  double dist = -1e-12;
  ASSERT_TRUE(fitDistIntoLength(0.0, dist));
  EXPECT_EQ(dist, 0.0);
  dist = 1e-3;
  EXPECT_FALSE(fitDistIntoLength(0.0, dist));
}

TEST(CurveQueryRulesTest, OnCurveToleranceGrowsWithSizeAndSlowlyWithPosition) {
  EXPECT_EQ(onCurveTolerance({0, 0, 0}, {0, 0, 0}), ZcGeContext::gTol.equalPoint());
  EXPECT_NEAR(onCurveTolerance({0, 0, 0}, {1000, 0, 0}), 1e-6 + 1e-9, 1e-12);
  EXPECT_LT(onCurveTolerance({1e6, 0, 0}, {1e6 + 1, 0, 0}), 2e-6);
}

TEST(CurveQueryRulesTest, SplineFormCarriesTheProperties) {
  ZcDbLine line({0, 0, 0}, {1, 1, 0});
  ASSERT_EQ(line.setColorIndex(5), Zcad::eOk);
  ZcDbSpline* raw = nullptr;
  ASSERT_EQ(
      makeSplineForm(ZcGeNurbCurve3d(ZcGeLineSeg3d(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0))), line, raw),
      Zcad::eOk);
  std::unique_ptr<ZcDbSpline> spline(raw);
  EXPECT_EQ(spline->colorIndex(), 5);
  EXPECT_EQ(spline->degree(), 1);
  EXPECT_EQ(makeSplineForm(ZcGeNurbCurve3d(), line, raw), Zcad::eInvalidInput);
  EXPECT_EQ(raw, nullptr);
}

TEST(CurveQueryRulesTest, PerspectiveMatricesAreNotAffine) {
  EXPECT_TRUE(isAffine(ZcGeMatrix3d::rotation(1.0, {0, 1, 1}, {3, 3, 3})));
  ZcGeMatrix3d perspective;
  perspective(3, 0) = 0.01;
  EXPECT_FALSE(isAffine(perspective));
  ZcGeMatrix3d broken;
  broken(1, 1) = INFINITY;
  EXPECT_FALSE(isAffine(broken));
}

}  // namespace
