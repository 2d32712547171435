#include <gtest/gtest.h>

#include <cmath>

#include "DrawCommandTestSupport.h"
#include "zcad/db/ZcDbEllipse.h"

namespace draw_test {
namespace {

using EllipseCommandTest = DrawCommandTest;

// Every sampled point of the ellipse satisfies (u/a)^2 + (v/b)^2 = 1 in its own axes.
::testing::AssertionResult onItsAxes(const ZcDbEllipse& ellipse) {
  double start = 0.0, end = 0.0;
  ellipse.getStartParam(start);
  ellipse.getEndParam(end);
  ZcGeVector3d major = ellipse.majorAxis(), minor = ellipse.minorAxis();
  for (int i = 0; i <= 16; ++i) {
    ZcGePoint3d p;
    if (ellipse.getPointAtParam(start + (end - start) * i / 16.0, p) != Zcad::eOk) {
      return ::testing::AssertionFailure() << "no point at sample " << i;
    }
    ZcGeVector3d d = p - ellipse.center();
    double u = d.dotProduct(major) / major.lengthSqrd(), v = d.dotProduct(minor) / minor.lengthSqrd();
    if (std::abs(u * u + v * v - 1.0) > 1e-9)
      return ::testing::AssertionFailure() << "sample " << i << " is off";
  }
  return ::testing::AssertionSuccess();
}

TEST_F(EllipseCommandTest, AxisEndpointsAndTheOtherHalfAxisThenUTakesTheEllipseBack) {
  run(L"ELLIPSE 0,0 10,0 3\n");
  {
    Opened<ZcDbEllipse> ellipse(onlyEntity());
    ASSERT_TRUE(ellipse);
    EXPECT_TRUE(near(ellipse->center(), {5, 0, 0}));
    EXPECT_NEAR(ellipse->majorRadius(), 5.0, 1e-12);
    EXPECT_NEAR(ellipse->radiusRatio(), 0.6, 1e-12);
    EXPECT_TRUE(ellipse->isClosed());
    EXPECT_TRUE(onItsAxes(*ellipse));
  }
  run(L"U\n");
  EXPECT_TRUE(entities().empty());
}

TEST_F(EllipseCommandTest, ALongerSecondAxisBecomesTheMajorAxis) {
  run(L"ELLIPSE C 1,1 3,1 5\n");
  Opened<ZcDbEllipse> ellipse(onlyEntity());
  ASSERT_TRUE(ellipse);
  EXPECT_TRUE(near(ellipse->center(), {1, 1, 0}));
  EXPECT_NEAR(ellipse->majorRadius(), 5.0, 1e-12);
  EXPECT_NEAR(ellipse->minorRadius(), 2.0, 1e-12);
  EXPECT_TRUE(ellipse->majorAxis().isParallelTo(ZcGeVector3d::kYAxis));
  EXPECT_TRUE(onItsAxes(*ellipse));
}

TEST_F(EllipseCommandTest, RotationGivesTheRatioOfACircleSeenAtThatAngle) {
  std::string transcript = run(L"ELLIPSE 0,0 10,0 R 90 60\n");
  EXPECT_NE(transcript.find("Requires an angle from 0 to 89.4 degrees."), std::string::npos);
  Opened<ZcDbEllipse> ellipse(onlyEntity());
  ASSERT_TRUE(ellipse);
  EXPECT_NEAR(ellipse->radiusRatio(), 0.5, 1e-12);
  EXPECT_NEAR(ellipse->majorRadius(), 5.0, 1e-12);
}

TEST_F(EllipseCommandTest, ArcAnglesRunFromTheFirstAxisEndpoint) {
  // Center (5,0); the first endpoint (0,0) is angle 0, so 90 degrees on is the bottom.
  run(L"ELLIPSE A 0,0 10,0 3 0 90\n");
  Opened<ZcDbEllipse> ellipse(onlyEntity());
  ASSERT_TRUE(ellipse);
  EXPECT_FALSE(ellipse->isClosed());
  ZcGePoint3d start, end;
  ellipse->getStartPoint(start);
  ellipse->getEndPoint(end);
  EXPECT_TRUE(near(start, {0, 0, 0}));
  EXPECT_TRUE(near(end, {5, -3, 0}));
  EXPECT_TRUE(onItsAxes(*ellipse));
}

TEST_F(EllipseCommandTest, ArcWithAnIncludedAngleAndAnEndGivenByAPoint) {
  run(L"ELLIPSE A C 0,0 10,0 5 0 I 180\nELLIPSE A C 0,0 10,0 5 0 0,20\n");
  std::vector<ZcDbObjectId> ids = entities();
  ASSERT_EQ(ids.size(), 2u) << transcript_;
  const ZcGePoint3d ends[] = {{-10, 0, 0}, {0, 5, 0}};
  for (size_t i = 0; i < ids.size(); ++i) {
    Opened<ZcDbEllipse> ellipse(ids[i]);
    ASSERT_TRUE(ellipse);
    ZcGePoint3d start, end;
    ellipse->getStartPoint(start);
    ellipse->getEndPoint(end);
    EXPECT_TRUE(near(start, {10, 0, 0}));
    EXPECT_TRUE(near(end, ends[i]));
  }
}

TEST_F(EllipseCommandTest, DegenerateAxesAndEmptyArcsAreRefused) {
  std::string transcript = run(L"ELLIPSE 2,2 2,2 6,2 1\nELLIPSE A 0,0 10,0 3 45 405 90\n");
  EXPECT_NE(transcript.find("The axis has no length"), std::string::npos);
  EXPECT_NE(transcript.find("The arc would be empty"), std::string::npos);
  EXPECT_EQ(entities().size(), 2u);
}

}  // namespace
}  // namespace draw_test
