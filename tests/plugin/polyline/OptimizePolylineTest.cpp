// optimizePolyline on polylines of the drawing: what the replacement keeps of its source, the
// three polyline kinds, the block it goes into, and sources it must not lose.
#include <cmath>
#include <random>

#include "VertexOptimisationTestSupport.h"
#include "zcad/db/ZcDbLine.h"

namespace veltrace::testing {
namespace {

class OptimizePolylineTest : public VertexToolTest {
 protected:
  // Opens `id` (for read, as PLYH does, or for write) and optimises it.
  static ZcDbObjectId optimize(ZcDbObjectId id, double diagonal, double factor,
                               ZcDbBlockTableRecord* block = nullptr, ZcDb::OpenMode mode = ZcDb::kForRead) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, mode) != Zcad::eOk) return ZcDbObjectId();
    const ZcDbObjectId result = optimizePolyline(entity, block, diagonal, factor);
    entity->close();
    return result;
  }
};

TEST_F(OptimizePolylineTest, CopiesAreStraightFlatNearTheirSourceAndEndOnItsLastVertex) {
  const ZcDbObjectId layer = addLayer(L"Edges");
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int round = 0; round < 30; ++round) {
    std::vector<ZcGePoint2d> points{{unit(rng) * 50, unit(rng) * 50}};
    std::vector<double> bulges{0.5};
    for (int i = 1; i < 2 + round * 7; ++i) {
      points.emplace_back(points.back().x + 1 + unit(rng) * 0.2, points.back().y + unit(rng) * 0.3);
      bulges.push_back(i % 4 == 0 ? unit(rng) : 0.0);
    }
    ZcDbPolyline* source = lightweight(points, /*closed=*/round % 3 == 0, bulges);
    source->setElevation(5.0);
    source->setConstantWidth(0.25);
    source->setColorIndex(3);
    source->setLayer(layer);
    const ZcDbObjectId id = addToModelSpace(source);
    const double factor = round % 10 + 0.5, radius = 0.001 * 100.0 * factor;
    const ZcDbObjectId result = optimize(id, /*diagonal=*/100.0, factor);
    EXPECT_TRUE(id.isErased());
    Opened<ZcDbPolyline> copy(result);
    ASSERT_TRUE(copy) << round;
    EXPECT_FALSE(copy->hasBulges());
    EXPECT_EQ(copy->elevation(), 0.0);
    EXPECT_EQ(copy->isClosed(), round % 3 == 0);
    double width = -1.0;
    EXPECT_EQ(copy->getConstantWidth(width), Zcad::eOk);
    EXPECT_EQ(width, 0.25);
    EXPECT_EQ(copy->colorIndex(), 3);
    EXPECT_EQ(copy->layerId(), layer);
    EXPECT_EQ(copy->ownerId(), db_->modelSpaceId());
    ASSERT_GE(copy->numVerts(), 2u);
    ASSERT_LE(copy->numVerts(), points.size());
    ZcGePoint2d q;
    copy->getPointAt(copy->numVerts() - 1, q);
    EXPECT_TRUE(q.x == points.back().x && q.y == points.back().y) << round;
    for (unsigned int i = 0; i < copy->numVerts(); ++i) {
      copy->getPointAt(i, q);
      double nearest = HUGE_VAL;
      for (const ZcGePoint2d& p : points) nearest = std::min(nearest, p.distanceTo(q));
      EXPECT_LT(nearest, radius) << round << " vertex " << i;
    }
  }
}

TEST_F(OptimizePolylineTest, OldStylePolylines) {
  // A spline-fit 2-D polyline is read as it shows: its 33 fit vertices, not its control frame
  // (whose middle vertices, at y = 5, are off the curve).
  ASSERT_EQ(db_->setSplinesegs(8), Zcad::eOk);
  const ZcDbObjectId fitted = add2d({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {30, 5, 0}, {40, 0, 0}},
                                    /*closed=*/false, ZcDb::k2dCubicSplinePoly);
  const ZcDbObjectId flat = optimize(fitted, /*diagonal=*/41.0, /*factor=*/0.5);
  EXPECT_EQ(vertexStatistics().before, 33);
  for (const ZcGePoint3d& p : pointsOf(flat)) EXPECT_LT(p.y, 4.0);

  // A closed 3-D polyline stays closed. The merge gives the centroid of the last two points and
  // the last point itself, 5e-8 apart: the second is neither written nor counted.
  vertexStatistics() = VertexStatistics();
  const ZcDbObjectId spatial = add3d({{0, 0, 0}, {10, 0, 5}, {10, 0, 5 + 1e-7}}, /*closed=*/true);
  const ZcDbObjectId result = optimize(spatial, /*diagonal=*/11.2, /*factor=*/0.5);
  Opened<ZcDb3dPolyline> polyline(result);
  ASSERT_TRUE(polyline);
  EXPECT_TRUE(polyline->isClosed());
  const std::vector<ZcGePoint3d> points = pointsOf(result);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_TRUE(closeTo(points[1], ZcGePoint3d(10, 0, 5 + 5e-8), 1e-12));
  EXPECT_EQ(vertexStatistics().after, 2);
}

TEST_F(OptimizePolylineTest, CopiesStayInTheBlockOfTheirSource) {
  const ZcDbObjectId blockId = addBlock(L"Part");
  const ZcDbObjectId id = add(blockId, lightweight({{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
  const ZcDbObjectId first = optimize(id, /*diagonal=*/10.0, /*factor=*/0.5);
  EXPECT_EQ(ownerOf(first), blockId);
  // Also a source the caller holds open for write, which cannot be opened to find its block.
  const ZcDbObjectId second = optimize(first, 10.0, 0.5, /*block=*/nullptr, ZcDb::kForWrite);
  EXPECT_EQ(ownerOf(second), blockId);
  EXPECT_TRUE(entitiesOf().empty());
  // A target block given by the caller takes the copy.
  const ZcDbObjectId otherId = addBlock(L"Target");
  ZcDbBlockTableRecord* other = nullptr;
  ASSERT_EQ(zcdbOpenObject(other, otherId, ZcDb::kForWrite), Zcad::eOk);
  const ZcDbObjectId third = optimize(second, 10.0, 0.5, other);
  other->close();
  EXPECT_EQ(ownerOf(third), otherId);
  EXPECT_EQ(entitiesOf(blockId), std::vector<ZcDbObjectId>{});
}

TEST_F(OptimizePolylineTest, SourcesThatMustNotBeLost) {
  // A copy that cannot be placed (the target is not open for write) leaves the source, counted
  // as nothing saved.
  const ZcDbObjectId id = addLightweight({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
  ZcDbBlockTableRecord* readOnly = nullptr;
  ASSERT_EQ(zcdbOpenObject(readOnly, db_->modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(optimize(id, /*diagonal=*/10.0, /*factor=*/0.5, readOnly).isNull());
  readOnly->close();
  EXPECT_EQ(vertexStatistics().after, 5);
  // A source someone else reads cannot be erased: the copy is taken back.
  {
    Opened<ZcDbPolyline> otherReader(id);
    EXPECT_TRUE(optimize(id, /*diagonal=*/10.0, /*factor=*/0.5).isNull());
  }
  // Scales that give no usable threshold change nothing.
  for (const double diagonal : {std::nan(""), HUGE_VAL, -10.0}) {
    EXPECT_TRUE(optimize(id, diagonal, /*factor=*/0.5).isNull()) << diagonal;
  }
  // A curve of another kind is not a polyline tool's to erase, however short.
  const ZcDbObjectId dot = addToModelSpace(new ZcDbLine(ZcGePoint3d(1, 1, 0), ZcGePoint3d(1, 1, 0)));
  EXPECT_TRUE(optimize(dot, /*diagonal=*/10.0, /*factor=*/0.5).isNull());
  EXPECT_EQ(entitiesOf(), (std::vector<ZcDbObjectId>{id, dot}));
  // A polyline shorter than 1e-5 is erased without a copy.
  const ZcDbObjectId tiny = addLightweight({{0, 0}, {1e-6, 0}, {2e-6, 0}});
  EXPECT_TRUE(optimize(tiny, /*diagonal=*/10.0, /*factor=*/0.5).isNull());
  EXPECT_TRUE(tiny.isErased());
  EXPECT_EQ(vertexStatistics().before, 10);
}

}  // namespace
}  // namespace veltrace::testing
