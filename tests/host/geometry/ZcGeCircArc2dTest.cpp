#include <gtest/gtest.h>

#include <cmath>

#include "zcad/ge/ZcGeCircArc2d.h"

namespace {

TEST(ZcGeCircArc2dTest, BulgeArcPassesThroughEndsAndSagitta) {
  const ZcGePoint2d s(0, 0), e(4, 0);
  for (double bulge : {0.3, 1.0, 2.5, -0.3, -1.0, -2.5}) {
    const ZcGeCircArc2d arc(s, e, bulge);
    ASSERT_TRUE(arc.isValid());
    EXPECT_TRUE(arc.startPoint().isEqualTo(s, ZcGeTol(1e-12, 1e-12))) << bulge;
    EXPECT_TRUE(arc.endPoint().isEqualTo(e, ZcGeTol(1e-12, 1e-12))) << bulge;
    EXPECT_EQ(arc.isClockWise(), bulge < 0.0);
    EXPECT_NEAR(arc.bulge(), bulge, 1e-12);
    // The sagitta is bulge * chord / 2, to the right of the chord for a counter-clockwise
    // arc (chord along +x: below it).
    const ZcGePoint2d mid = arc.evalPoint(0.5 * (arc.startAng() + arc.endAng()));
    EXPECT_NEAR(mid.x, 2.0, 1e-12);
    EXPECT_NEAR(mid.y, -bulge * 2.0, 1e-12);
    EXPECT_NEAR(arc.length(), arc.radius() * 4.0 * std::atan(std::fabs(bulge)), 1e-12);
  }
  EXPECT_FALSE(ZcGeCircArc2d(s, e, 0.0).isValid());
  EXPECT_FALSE(ZcGeCircArc2d(s, s, 1.0).isValid());
}

TEST(ZcGeCircArc2dTest, RadiusFormPicksShorterArc) {
  const ZcGeCircArc2d arc(ZcGePoint2d(0, 0), ZcGePoint2d(2, 0), 2.0, /*bulgeFlag=*/false);
  EXPECT_NEAR(arc.radius(), 2.0, 1e-12);
  EXPECT_LT(arc.endAng() - arc.startAng(), 3.2);
  EXPECT_TRUE(arc.endPoint().isEqualTo(ZcGePoint2d(2, 0), ZcGeTol(1e-12, 1e-12)));
}

TEST(ZcGeCircArc2dTest, ThreePointArcOrientation) {
  const ZcGeCircArc2d ccw(ZcGePoint2d(1, 0), ZcGePoint2d(0, 1), ZcGePoint2d(-1, 0));
  EXPECT_FALSE(ccw.isClockWise());
  EXPECT_TRUE(ccw.center().isEqualTo(ZcGePoint2d(0, 0), ZcGeTol(1e-12, 1e-12)));
  EXPECT_NEAR(ccw.endAng() - ccw.startAng(), ZcGe::kPi, 1e-12);
  const ZcGeCircArc2d cw(ZcGePoint2d(1, 0), ZcGePoint2d(0, -1), ZcGePoint2d(-1, 0));
  EXPECT_TRUE(cw.isClockWise());
  EXPECT_TRUE(cw.isOn(ZcGePoint2d(0, -1), ZcGeTol(1e-12, 1e-12)));
  EXPECT_FALSE(cw.isOn(ZcGePoint2d(0, 1)));
  EXPECT_FALSE(ZcGeCircArc2d(ZcGePoint2d(0, 0), ZcGePoint2d(1, 1), ZcGePoint2d(2, 2)).isValid());
}

TEST(ZcGeCircArc2dTest, ClosestPointOutsideSweepGoesToNearerEnd) {
  const ZcGeCircArc2d arc(ZcGePoint2d(0, 0), 1.0, 0.0, ZcGe::kPi / 2);
  EXPECT_TRUE(arc.closestPointTo(ZcGePoint2d(1, -0.1)).isEqualTo(ZcGePoint2d(1, 0), ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(arc.closestPointTo(ZcGePoint2d(-1, 0.1)).isEqualTo(ZcGePoint2d(0, 1), ZcGeTol(1e-12, 1e-12)));
  EXPECT_NEAR(arc.distanceTo(ZcGePoint2d(2, 2)), std::sqrt(8.0) - 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(arc.paramOf(ZcGePoint2d(0, 0)), 0.0);  // the center
}

TEST(ZcGeCircArc2dTest, ExtentsAndReverse) {
  ZcGeCircArc2d arc(ZcGePoint2d(1, 1), 2.0, 0.25, 3.0);
  ZcGePoint2d lo, hi;
  arc.getExtents(lo, hi);
  EXPECT_NEAR(hi.y, 3.0, 1e-12);  // passes the top
  EXPECT_NEAR(hi.x, 1.0 + 2.0 * std::cos(0.25), 1e-12);
  const ZcGePoint2d s = arc.startPoint(), e = arc.endPoint();
  arc.reverseParam();
  EXPECT_TRUE(arc.startPoint().isEqualTo(e, ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(arc.endPoint().isEqualTo(s, ZcGeTol(1e-12, 1e-12)));
  EXPECT_TRUE(arc.isClockWise());
}

}  // namespace
