#include <gtest/gtest.h>

#include <cmath>

#include "zcad/db/ZcDbHatchEdge.h"
#include "zcad/ge/ZcGe.h"

namespace {

TEST(ZcDbHatchEdgeTest, ArcsFromGeometryKeepTheirEndPoints) {
  // Reference vectors and clockwise arcs are folded into angles from the x axis.
  for (bool clockwise : {false, true}) {
    const ZcGeCircArc2d arc(ZcGePoint2d(1, 2), /*radius=*/3.0, /*startAngle=*/0.2, /*endAngle=*/2.0,
                            ZcGeVector2d(0, 1), clockwise);
    const ZcDbHatchEdge edge = ZcDbHatchEdge::circularArc(arc);
    EXPECT_EQ(edge.isCounterClockwise(), !clockwise);
    EXPECT_TRUE(edge.startPoint().isEqualTo(arc.startPoint())) << clockwise;
    EXPECT_TRUE(edge.endPoint().isEqualTo(arc.endPoint())) << clockwise;
    EXPECT_NEAR(edge.endAngle() - edge.startAngle(), 1.8, 1e-12);
    EXPECT_TRUE(edge.asCircArc2d().startPoint().isEqualTo(arc.startPoint()));
  }
}

TEST(ZcDbHatchEdgeTest, EndAnglesComeAboveStartAngles) {
  const ZcDbHatchEdge wrapped =
      ZcDbHatchEdge::circularArc(ZcGePoint2d(0, 0), 1.0, 1.5 * ZcGe::kPi, 0.5 * ZcGe::kPi);
  EXPECT_NEAR(wrapped.endAngle(), 2.5 * ZcGe::kPi, 1e-12);
  const ZcDbHatchEdge capped =
      ZcDbHatchEdge::ellipticalArc(ZcGePoint2d(0, 0), ZcGeVector2d(2, 0), 0.5, 0.0, 10.0);
  EXPECT_NEAR(capped.endAngle(), ZcGe::kTwoPi, 1e-12);
  // Clockwise ellipse: the minor axis points the other way.
  const ZcDbHatchEdge cw =
      ZcDbHatchEdge::ellipticalArc(ZcGePoint2d(0, 0), ZcGeVector2d(2, 0), 0.5, 0.0, ZcGe::kHalfPi, false);
  EXPECT_TRUE(cw.endPoint().isEqualTo(ZcGePoint2d(0, -1)));
}

TEST(ZcDbHatchEdgeTest, SplinesWithFitPointsOnlyAreValid) {
  const ZcDbHatchEdge fit =
      ZcDbHatchEdge::spline(3, false, false, ZcGeDoubleArray(), ZcGePoint2dArray(), ZcGeDoubleArray(),
                            ZcGePoint2dArray{ZcGePoint2d(0, 0), ZcGePoint2d(2, 1)});
  EXPECT_TRUE(fit.isValid());
  EXPECT_TRUE(fit.endPoint().isEqualTo(ZcGePoint2d(2, 1)));
  const ZcDbHatchEdge negativeWeight =
      ZcDbHatchEdge::spline(1, true, false, ZcGeDoubleArray{0, 0, 1, 1},
                            ZcGePoint2dArray{ZcGePoint2d(0, 0), ZcGePoint2d(1, 0)}, ZcGeDoubleArray{1, -1});
  EXPECT_FALSE(negativeWeight.isValid());
}

}  // namespace
