#include <gtest/gtest.h>

#include <cmath>

#include "database/CurveArea.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeKnotVector.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

using namespace vtcad::db;

namespace {

ZcGeNurbCurve3d polygon(const ZcGePoint3dArray& points) {
  ZcGeDoubleArray knots{0.0};
  for (int i = 0; i < points.length(); ++i) knots.append(i);
  knots.append(points.length() - 1);
  return ZcGeNurbCurve3d(1, ZcGeKnotVector(knots), points);
}

ZcGeDoubleArray integerBreaks(int n) {
  ZcGeDoubleArray breaks;
  for (int i = 0; i <= n; ++i) breaks.append(i);
  return breaks;
}

TEST(CurveAreaTest, PolygonAreaIsExactAndAnOpenOneIsClosedByItsChord) {
  const ZcGeNurbCurve3d square = polygon({{0, 0, 5}, {2, 0, 5}, {2, 2, 5}, {0, 2, 5}, {0, 0, 5}});
  const ZcGeVector3d area = chordClosedVectorArea(square, integerBreaks(4));
  EXPECT_NEAR(area.z, 4.0, 1e-14);
  EXPECT_NEAR(area.x, 0.0, 1e-14);
  // Without its last side the chord closes it again.
  const ZcGeNurbCurve3d open = polygon({{0, 0, 5}, {2, 0, 5}, {2, 2, 5}, {0, 2, 5}});
  EXPECT_NEAR(chordClosedVectorArea(open, integerBreaks(3)).length(), 4.0, 1e-14);
}

TEST(CurveAreaTest, RationalCircleAreaIsExactInAnyPlane) {
  const ZcGeNurbCurve3d circle(ZcGeCircArc3d({1, 2, 3}, ZcGeVector3d(1, -2, 2), 3.0));
  ZcGeDoubleArray breaks;
  circle.knots().getDistinctKnots(breaks);
  const ZcGeVector3d area = chordClosedVectorArea(circle, breaks);
  EXPECT_NEAR(area.length(), 9.0 * ZcGe::kPi, 1e-12);
  EXPECT_TRUE(area.isParallelTo(ZcGeVector3d(1, -2, 2), ZcGeTol(1e-9, 1e-9)));
}

TEST(CurveAreaTest, FigureEightLoopsCancel) {
  const ZcGeNurbCurve3d eight =
      polygon({{0, 0, 0}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {-1, 1, 0}, {0, 0, 0}});
  EXPECT_NEAR(chordClosedVectorArea(eight, integerBreaks(6)).length(), 0.0, 1e-14);
  EXPECT_EQ(chordClosedVectorArea(eight, ZcGeDoubleArray{0.0}).length(), 0.0);
}

}  // namespace
