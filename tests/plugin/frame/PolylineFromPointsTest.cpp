// Polylines through point lists: lightweight when flat, spline-fit 3-D otherwise, placed in the
// current space or beside a reference entity.
#include <limits>

#include "frame/PolylineFromPoints.h"
#include "plugin/frame/FrameTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace veltrace::testing {
namespace {

using PolylineFromPointsTest = FrameTest;

TEST_F(PolylineFromPointsTest, FlatPointsMakeALightweightPolylineAtTheFirstElevation) {
  const PointList points{{0, 0, 5}, {10, 0, 5}, {10, 10, 5.00005}};
  for (bool closed : {false, true}) {
    const std::optional<ZcDbObjectId> id = polylineFromPoints(points, closed, /*reference=*/nullptr);
    ASSERT_TRUE(id.has_value());
    Opened<ZcDbPolyline> polyline(*id);
    ASSERT_TRUE(polyline);
    EXPECT_EQ(polyline->ownerId(), db_->modelSpaceId());
    EXPECT_EQ(polyline->numVerts(), 3u);
    EXPECT_EQ(polyline->elevation(), 5.0);
    EXPECT_EQ(polyline->isClosed(), closed);
    EXPECT_FALSE(polyline->hasBulges() || polyline->hasWidth());
    ZcGePoint2d last;
    ASSERT_EQ(polyline->getPointAt(2, last), Zcad::eOk);
    EXPECT_EQ(last, ZcGePoint2d(10, 10));
  }
  // Each step stays within the tolerance though the whole drift does not: still flat.
  const auto drifting = polylineFromPoints({{0, 0, 0}, {1, 0, 0.00009}, {2, 0, 0.00018}}, false, nullptr);
  EXPECT_TRUE(drifting && Opened<ZcDbPolyline>(*drifting));
}

TEST_F(PolylineFromPointsTest, RisingPointsMakeAnOpenSplineFit3dPolyline) {
  const PointList points{{0, 0, 5}, {10, 0, 5}, {10, 10, 5.001}, {0, 10, 8}};
  const std::optional<ZcDbObjectId> id = polylineFromPoints(points, /*closed=*/true, nullptr);
  ASSERT_TRUE(id.has_value());
  Opened<ZcDb3dPolyline> polyline(*id);
  ASSERT_TRUE(polyline);
  EXPECT_EQ(polyline->polyType(), ZcDb::k3dCubicSplinePoly);
  EXPECT_FALSE(polyline->isClosed());
  ZcGePoint3d start, end;  // a clamped spline meets its end points
  ASSERT_EQ(polyline->getStartPoint(start), Zcad::eOk);
  ASSERT_EQ(polyline->getEndPoint(end), Zcad::eOk);
  EXPECT_LT(start.distanceTo(points.front()) + end.distanceTo(points.back()), 1e-9);
}

TEST_F(PolylineFromPointsTest, TooFewOrNonFinitePointsMakeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(polylineFromPoints(PointList{ZcGePoint3d(1, 2, 3)}, /*closed=*/true, nullptr));
  EXPECT_FALSE(polylineFromPoints({{0, 0, 0}, {1, 1, 0}, {2, 0, nan}}, /*closed=*/false, nullptr));
  EXPECT_EQ(Opened<ZcDbBlockTableRecord>(db_->modelSpaceId())->entityCount(), 0);
}

TEST_F(PolylineFromPointsTest, PlacedBesideTheReferenceWithTheDrawingsDefaults) {
  ZcCmColor red;
  red.setColorIndex(1);
  ASSERT_EQ(db_->setCecolor(red), Zcad::eOk);
  const ZcDbObjectId part = addBlock(L"Bracket");
  const ZcDbObjectId source = add(part, new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 0)));
  Opened<ZcDbLine> reference(source);  // callers hold the reference open for read
  ASSERT_TRUE(reference);
  const auto flat = polylineFromPoints({{0, 0, 0}, {1, 1, 0}}, /*closed=*/false, reference.get());
  const auto spatial =
      polylineFromPoints({{0, 0, 0}, {1, 1, 1}, {2, 0, 2}}, /*closed=*/false, reference.get());
  ASSERT_TRUE(flat && spatial);
  EXPECT_EQ(ownerOf(*flat), part);
  EXPECT_EQ(ownerOf(*spatial), part);
  EXPECT_EQ(Opened<ZcDbEntity>(*flat)->colorIndex(), 1);
  EXPECT_EQ(Opened<ZcDbEntity>(*spatial)->colorIndex(), 1);
  EXPECT_EQ(Opened<ZcDbBlockTableRecord>(db_->modelSpaceId())->entityCount(), 0);
}

}  // namespace
}  // namespace veltrace::testing
