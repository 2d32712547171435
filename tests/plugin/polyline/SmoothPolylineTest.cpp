// PLYH3 and its parts: even sampling along a curve, and polylines turned into spline-fit ones
// that keep their place, closed flag, width, layer and colour.
#include <cmath>

#include "VertexOptimisationTestSupport.h"
#include "polyline/CurveSampling.h"
#include "polyline/SmoothPolyline.h"

namespace veltrace::testing {
namespace {

using SmoothPolylineTest = VertexToolTest;

ZcDbObjectId smooth(ZcDbObjectId id, double diagonal) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return ZcDbObjectId();
  const ZcDbObjectId result = smoothPolyline(entity, /*block=*/nullptr, diagonal, /*toleranceFactor=*/1.0);
  entity->close();
  return result;
}

TEST_F(SmoothPolylineTest, SamplingByLength) {
  const ZcDbObjectId id = addLightweight({{0, 0}, {10, 0}, {10, 5}});
  Opened<ZcDbPolyline> curve(id);
  PointList points;
  // 0, 5, 10, 15 along the length, then the end point once more.
  ASSERT_TRUE(sampleCurveByLength(*curve, 4, points));
  ASSERT_EQ(points.size(), 5u);
  EXPECT_TRUE(closeTo(points[1], ZcGePoint3d(5, 0, 0)));
  EXPECT_TRUE(closeTo(points[3], ZcGePoint3d(10, 5, 0)) && closeTo(points[4], ZcGePoint3d(10, 5, 0)));
  // One sample has no spacing to divide by: the start, then the end.
  points.clear();
  ASSERT_TRUE(sampleCurveByLength(*curve, 1, points));
  ASSERT_EQ(points.size(), 2u);
  EXPECT_TRUE(closeTo(points[0], ZcGePoint3d(0, 0, 0)));
  const ZcDbObjectId shortId = addLightweight({{0, 0}, {0.00005, 0}});
  points.clear();
  EXPECT_FALSE(sampleCurveByLength(*Opened<ZcDbPolyline>(shortId), 5, points));
  EXPECT_TRUE(points.empty());
}

TEST_F(SmoothPolylineTest, Plyh3MakesSplineFitPolylinesWithTheSourceProperties) {
  const ZcDbObjectId layer = addLayer(L"Contours");
  std::vector<ZcGePoint2d> polygon;
  for (int i = 0; i < 24; ++i)
    polygon.emplace_back(50 + 20 * std::cos(M_PI * i / 12), 50 + 20 * std::sin(M_PI * i / 12));
  ZcDbPolyline* source = lightweight(polygon, /*closed=*/true);
  ZcCmColor colour;
  colour.setRGB(10, 200, 30);
  source->setColor(colour);
  source->setLayer(layer);
  source->setConstantWidth(0.5);
  addToModelSpace(source);
  addLightweight({{0, 0}, {10, 3}, {20, 0}, {30, 3}, {40, 0}});
  run(L"PLYH3\nALL\n\n");
  EXPECT_FALSE(said("Vertexs")) << transcript_;
  const std::vector<ZcDbObjectId> made = entitiesOf();
  ASSERT_EQ(made.size(), 2u);
  Opened<ZcDb2dPolyline> ring(made[0]);
  ASSERT_TRUE(ring);
  EXPECT_EQ(ring->polyType(), ZcDb::k2dCubicSplinePoly);
  EXPECT_TRUE(ring->isClosed());
  EXPECT_EQ(ring->color(), colour);
  EXPECT_EQ(ring->layerId(), layer);
  EXPECT_EQ(ring->defaultStartWidth(), 0.5);
  EXPECT_EQ(ring->defaultEndWidth(), 0.5);
  std::unique_ptr<ZcDbObjectIterator> it(ring->vertexIterator());
  for (it->start(); !it->done(); it->step()) {
    const auto* v = ZcDb2dVertex::cast(it->entity());
    if (v->vertexType() == ZcDb::k2dSplineFitVertex) {
      EXPECT_EQ(v->startWidth(), 0.5);
    }
  }
  // The fit runs round the polygon, inside its circle; no two frame vertices lie on each
  // other, also across the seam, where the fit would pinch into a corner.
  for (const ZcGePoint3d& p : pointsOf(made[0], ZcDb::k2dSplineFitVertex)) {
    EXPECT_TRUE(p.distanceTo(ZcGePoint3d(50, 50, 0)) > 17.0 &&
                p.distanceTo(ZcGePoint3d(50, 50, 0)) < 20.0 + 1e-9);
  }
  const std::vector<ZcGePoint3d> frame = pointsOf(made[0], ZcDb::k2dSplineCtlVertex);
  ASSERT_GE(frame.size(), 3u);
  for (std::size_t i = 0; i < frame.size(); ++i)
    EXPECT_GT(frame[i].distanceTo(frame[(i + 1) % frame.size()]), 1e-6);
  Opened<ZcDb2dPolyline> wave(made[1]);
  ASSERT_TRUE(wave);
  EXPECT_FALSE(wave->isClosed());
  EXPECT_EQ(wave->polyType(), ZcDb::k2dCubicSplinePoly);
}

TEST_F(SmoothPolylineTest, AnswersTheLivePolylineInTheSourceBlock) {
  const ZcDbObjectId blockId = addBlock(L"Profile");
  const ZcDbObjectId id = add(blockId, lightweight({{0, 0}, {5, 2}, {10, 0}, {15, 2}, {20, 0}}));
  const ZcDbObjectId result = smooth(id, /*diagonal=*/20.0);
  EXPECT_TRUE(id.isErased());
  EXPECT_TRUE(Opened<ZcDb2dPolyline>(result));
  // Neither it nor the polylines made on the way went anywhere else.
  EXPECT_EQ(entitiesOf(blockId), std::vector<ZcDbObjectId>{result});
  EXPECT_TRUE(entitiesOf().empty());
  // 3-D sources smooth too, at elevation 0 like every optimised polyline.
  Opened<ZcDb2dPolyline> fitted(
      smooth(add3d({{0, 0, 3}, {5, 5, 3}, {10, 0, 3}, {15, 5, 3}}), /*diagonal=*/16.0));
  ASSERT_TRUE(fitted);
  EXPECT_EQ(fitted->elevation(), 0.0);
}

TEST_F(SmoothPolylineTest, PolylinesItCannotSmoothStay) {
  const ZcDbObjectId two = addLightweight({{0, 0}, {10, 0}});
  const ZcDbObjectId shortOne = addLightweight({{0, 0}, {2e-5, 0}, {4e-5, 0}});  // kept, too short to sample
  EXPECT_TRUE(smooth(two, /*diagonal=*/10.0).isNull());
  EXPECT_TRUE(smooth(shortOne, /*diagonal=*/10.0).isNull());
  run(L"PLYH3\nALL\n\n");
  EXPECT_EQ(entitiesOf(), (std::vector<ZcDbObjectId>{two, shortOne}));
}

}  // namespace
}  // namespace veltrace::testing
