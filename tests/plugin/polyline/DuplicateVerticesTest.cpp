// PLYH2: which vertex of a coincident pair goes, polylines that end on their start, the three
// polyline kinds and the count it reports.
#include "VertexOptimisationTestSupport.h"

namespace veltrace::testing {
namespace {

using Plyh2CommandTest = VertexToolTest;

bool isClosed(ZcDbObjectId id) {
  Opened<ZcDbCurve> curve(id);
  return curve && curve->isClosed();
}

TEST_F(Plyh2CommandTest, LightweightPolylines) {
  // Of each pair the first goes; of a run of three the first two.
  const ZcDbObjectId pair = addLightweight({{0, 0}, {5, 0}, {5.000004, 0}, {10, 0}});
  const ZcDbObjectId run3 = addLightweight({{0, 5}, {5, 5}, {5.000003, 5}, {5.000006, 5}, {9, 5}});
  // Ending on its start: the last vertex goes and the polyline is closed; closed already, it
  // stays closed.
  const ZcDbObjectId open = addLightweight({{0, 10}, {10, 10}, {10, 20}, {0, 10}});
  const ZcDbObjectId shut = addLightweight({{0, 30}, {10, 30}, {10, 40}, {0, 30.000001}}, /*closed=*/true);
  // Three vertices 0.9e-5 apart round a triangle: long enough to keep (2.7e-5), each a
  // duplicate of the next. One stays rather than none.
  const ZcDbObjectId speck = addLightweight({{0, 50}, {0.9e-5, 50}, {0.45e-5, 50.0000078}}, /*closed=*/true);
  run(L"PLYH2\nALL\n\n");
  EXPECT_TRUE(said("\nDeleted <7 > duplicate vertexs OK.")) << transcript_;
  EXPECT_EQ(pointsOf(pair)[1].x, 5.000004);
  EXPECT_EQ(pointsOf(run3)[1].x, 5.000006);
  EXPECT_EQ(pointsOf(run3).size(), 3u);
  EXPECT_FALSE(isClosed(pair));
  EXPECT_EQ(pointsOf(open).size(), 3u);
  EXPECT_TRUE(isClosed(open));
  EXPECT_EQ(pointsOf(shut).size(), 3u);
  EXPECT_EQ(pointsOf(shut)[0].y, 30.0);
  EXPECT_TRUE(isClosed(shut));
  EXPECT_EQ(pointsOf(speck).size(), 1u);

  // Nothing left to delete: the count, 0, is said all the same.
  chineseVersion = true;
  run(L"PLYH2\nALL\n\n");
  EXPECT_TRUE(said("\n删除了< 0 >个重复顶点。 ")) << transcript_;
}

TEST_F(Plyh2CommandTest, OldStylePolylinesLoseTheirVertexObjects) {
  const ZcDbObjectId flat = add2d({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 0, 0}});
  const ZcDbObjectId spatial = add3d({{0, 0, 0}, {0, 0, 1e-6}, {5, 5, 5}, {9, 0, 0}});
  ASSERT_EQ(db_->setSplinesegs(4), Zcad::eOk);
  const ZcDbObjectId fitted = add2d({{0, 20, 0}, {10, 25, 0}, {10, 25, 0}, {20, 20, 0}, {30, 25, 0}},
                                    /*closed=*/false, ZcDb::k2dCubicSplinePoly);
  const ZcDbObjectId dust = add3d({{3, 3, 3}, {3, 3, 3.000001}});
  run(L"PLYH2\nALL\n\n");
  EXPECT_TRUE(said("\nDeleted <4 > duplicate vertexs OK.")) << transcript_;
  // Back at its start: closed, it keeps the segment the deleted vertex ended.
  EXPECT_EQ(pointsOf(flat).size(), 3u);
  EXPECT_TRUE(isClosed(flat));
  const std::vector<ZcGePoint3d> spatialPoints = pointsOf(spatial);
  ASSERT_EQ(spatialPoints.size(), 3u);
  EXPECT_EQ(spatialPoints[0].z, 1e-6);
  EXPECT_FALSE(isClosed(spatial));
  // Only the control frame counts, and the fit is made again from what is left of it.
  EXPECT_EQ(pointsOf(fitted, ZcDb::k2dSplineCtlVertex).size(), 4u);
  EXPECT_EQ(pointsOf(fitted, ZcDb::k2dSplineFitVertex).size(), 4u * 3 + 1);
  EXPECT_TRUE(dust.isErased());  // shorter than 1e-5

  // The erased first vertex stays listed, erased: later reads pass over it.
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, spatial, ZcDb::kForRead), Zcad::eOk);
  EXPECT_FALSE(optimizePolyline(entity, /*block=*/nullptr, /*extentsDiagonal=*/100.0, /*toleranceFactor=*/0.5)
                   .isNull());
  entity->close();
  EXPECT_EQ(vertexStatistics().before, 3);
}

}  // namespace
}  // namespace veltrace::testing
