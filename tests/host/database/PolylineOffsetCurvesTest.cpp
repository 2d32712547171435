#include <gtest/gtest.h>

#include <cmath>

#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace {

void deleteAll(ZcDbVoidPtrArray& curves) {
  for (int i = 0; i < curves.length(); ++i) delete static_cast<ZcDbEntity*>(curves[i]);
  curves.setLogicalLength(0);
}

TEST(PolylineOffsetCurves, LightweightRectangleKeepsItsWidthAndPlane) {
  ZcDbPolyline rect;
  const ZcGePoint2d corners[] = {{0, 0}, {10, 0}, {10, 5}, {0, 5}};
  for (const ZcGePoint2d& p : corners) rect.addVertexAt(rect.numVerts(), p);
  rect.setClosed(true);
  rect.setConstantWidth(0.5);
  rect.setElevation(3.0);
  ZcDbVoidPtrArray curves;
  ASSERT_EQ(rect.getOffsetCurves(1.0, curves), Zcad::eOk);
  ASSERT_EQ(curves.length(), 1);
  auto* grown = static_cast<ZcDbPolyline*>(curves[0]);
  ASSERT_TRUE(grown->isKindOf(ZcDbPolyline::desc()));
  EXPECT_TRUE(grown->isClosed());
  EXPECT_EQ(grown->numVerts(), 4u);
  double width = 0.0, area = 0.0;
  EXPECT_EQ(grown->getConstantWidth(width), Zcad::eOk);
  EXPECT_EQ(width, 0.5);
  EXPECT_EQ(grown->elevation(), 3.0);
  EXPECT_EQ(grown->getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 12.0 * 7.0, 1e-9);
  deleteAll(curves);

  EXPECT_EQ(rect.getOffsetCurves(-3.0, curves), Zcad::eOk);  // wider than half the rectangle
  EXPECT_EQ(curves.length(), 0);
  EXPECT_EQ(rect.getOffsetCurves(0.0, curves), Zcad::eInvalidInput);
  ZcDbPolyline dot;
  dot.addVertexAt(0, {1, 1});
  EXPECT_EQ(dot.getOffsetCurves(1.0, curves), Zcad::eDegenerateGeometry);
  EXPECT_EQ(curves.length(), 0);
}

TEST(PolylineOffsetCurves, OldStyleArcStaysAnArc) {
  ZcGePoint3dArray points;
  points.append(ZcGePoint3d(0, 0, 0));
  points.append(ZcGePoint3d(10, 0, 0));
  ZcGeDoubleArray bulges;
  bulges.append(1.0);  // a half circle of radius 5, counter-clockwise
  bulges.append(0.0);
  ZcDb2dPolyline arc(ZcDb::k2dSimplePoly, points, 0.0, false, 0.0, 0.0, &bulges);
  ZcDbVoidPtrArray curves;
  ASSERT_EQ(arc.getOffsetCurves(2.0, curves), Zcad::eOk);
  ASSERT_EQ(curves.length(), 1);
  auto* out = static_cast<ZcDb2dPolyline*>(curves[0]);
  ASSERT_TRUE(out->isKindOf(ZcDb2dPolyline::desc()));
  ZcGePoint3d start, end;
  out->getStartPoint(start);
  out->getEndPoint(end);
  EXPECT_NEAR(start.x, -2.0, 1e-12);
  EXPECT_NEAR(end.x, 12.0, 1e-12);
  ZcGePoint3d mid;
  double endParam = 0.0;
  out->getEndParam(endParam);
  out->getPointAtParam(0.5 * endParam, mid);
  EXPECT_NEAR(std::hypot(mid.x - 5.0, mid.y), 7.0, 1e-9);
  deleteAll(curves);
}

TEST(PolylineOffsetCurves, SpatialPolylineOffsetsInItsTiltedPlane) {
  ZcGePoint3dArray square;
  const double corners[4][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  for (const auto& c : corners) square.append(ZcGePoint3d(c[0], c[1], 0));
  ZcDb3dPolyline tilted(ZcDb::k3dSimplePoly, square, /*closed=*/true);
  const ZcGeMatrix3d tilt = ZcGeMatrix3d::rotation(0.5, ZcGeVector3d::kXAxis, ZcGePoint3d(0, 0, 0));
  ASSERT_EQ(tilted.transformBy(tilt), Zcad::eOk);
  ZcDbVoidPtrArray curves;
  ASSERT_EQ(tilted.getOffsetCurves(1.0, curves), Zcad::eOk);
  ASSERT_EQ(curves.length(), 1);
  auto* out = static_cast<ZcDb3dPolyline*>(curves[0]);
  ZcGePlane plane;
  bool planar = false;
  ASSERT_EQ(out->getPlane(plane, planar), Zcad::eOk);
  EXPECT_TRUE(planar);
  EXPECT_NEAR(std::fabs(plane.normal().dotProduct(ZcGeVector3d(0, -std::sin(0.5), std::cos(0.5)))), 1.0,
              1e-12);
  double area = 0.0;
  ASSERT_EQ(out->getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 144.0, 1e-9);  // grown: counter-clockwise seen from above
  deleteAll(curves);

  ZcGePoint3dArray bent = square;
  bent[2].z = 3.0;
  ZcDb3dPolyline nonPlanar(ZcDb::k3dSimplePoly, bent, true);
  EXPECT_EQ(nonPlanar.getOffsetCurves(1.0, curves), Zcad::eNonPlanarEntity);
  EXPECT_EQ(curves.length(), 0);
}

}  // namespace
