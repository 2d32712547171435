// ArrangementCache: kept while only its own boundaries were added, built again on any change.
#include <gtest/gtest.h>

#include "boundary/ArrangementCache.h"
#include "boundary/BoundaryFinder.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

namespace vtcad::boundary {
namespace {

class ArrangementCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = zcdbHostApplicationServices()->workingDatabase();
    zcdbHostApplicationServices()->setWorkingDatabase(&db_);
    // Two rooms side by side.
    line({0, 0}, {20, 0});
    line({20, 0}, {20, 10});
    line({20, 10}, {0, 10});
    wall_ = line({0, 10}, {0, 0});
    line({10, 0}, {10, 10});
  }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(previous_); }

  ZcDbObjectId add(ZcDbEntity* entity) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db_.currentSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    space->close();
    return id;
  }
  ZcDbObjectId line(const ZcGePoint2d& a, const ZcGePoint2d& b) {
    return add(new ZcDbLine({a.x, a.y, 0}, {b.x, b.y, 0}));
  }

  // The boundary around `p` from the cache, added to the drawing as a polyline the cache is
  // told of.
  ZcDbObjectId makeBoundary(const ZcGePoint2d& p) {
    const BoundaryResult found =
        findBoundary(cache_.arrangementOf(db_.currentSpaceId()), p, IslandMode::kIgnore);
    EXPECT_EQ(found.status, BoundaryResult::Status::kFound);
    if (found.status != BoundaryResult::Status::kFound) return {};
    auto* polyline = new ZcDbPolyline();
    for (const RingVertex& v : found.rings[0].vertices)
      polyline->addVertexAt(polyline->numVerts(), v.point, v.bulge, 0.0, 0.0);
    polyline->setClosed(true);
    const ZcDbObjectId id = add(polyline);
    cache_.noteMade(id);
    return id;
  }

  ZcDbDatabase db_;
  ArrangementCache cache_;
  ZcDbObjectId wall_;

 private:
  ZcDbDatabase* previous_ = nullptr;
};

TEST_F(ArrangementCacheTest, OwnBoundariesKeepTheArrangement) {
  makeBoundary({5, 5});
  EXPECT_FALSE(cache_.lastWasReused());
  makeBoundary({15, 5});
  EXPECT_TRUE(cache_.lastWasReused());
  makeBoundary({5, 5});
  EXPECT_TRUE(cache_.lastWasReused());
}

TEST_F(ArrangementCacheTest, AnyOtherChangeBuildsItAgain) {
  makeBoundary({5, 5});
  line({0, 5}, {10, 5});  // a new wall splits the left room
  const Arrangement& split = cache_.arrangementOf(db_.currentSpaceId());
  EXPECT_FALSE(cache_.lastWasReused());
  EXPECT_NEAR(split.faces()[static_cast<size_t>(split.faceAt({5, 2}))].area, 50.0, 1e-9);
}

TEST_F(ArrangementCacheTest, HidingAWallBuildsItAgain) {
  makeBoundary({15, 5});
  ZcDbEntity* wall = nullptr;
  ASSERT_EQ(zcdbOpenObject(wall, wall_, ZcDb::kForWrite), Zcad::eOk);
  wall->setVisibility(ZcDb::kInvisible);
  wall->close();
  cache_.arrangementOf(db_.currentSpaceId());
  EXPECT_FALSE(cache_.lastWasReused());
}

TEST_F(ArrangementCacheTest, BoundaryThatOutlivesTheWallsItFollowedStillCounts) {
  // The left room's boundary stays when its outer wall goes: it closes the room itself.
  makeBoundary({5, 5});
  ZcDbEntity* wall = nullptr;
  ASSERT_EQ(zcdbOpenObject(wall, wall_, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(wall->erase(), Zcad::eOk);
  wall->close();
  const Arrangement& after = cache_.arrangementOf(db_.currentSpaceId());
  EXPECT_FALSE(cache_.lastWasReused());
  EXPECT_GE(after.faceAt({5, 5}), 0);
}

TEST_F(ArrangementCacheTest, EditedBoundaryPolylineBuildsItAgain) {
  const ZcDbObjectId made = makeBoundary({5, 5});
  ZcDbPolyline* polyline = nullptr;
  ASSERT_EQ(zcdbOpenObject(polyline, made, ZcDb::kForWrite), Zcad::eOk);
  polyline->setPointAt(0, {1, 1});
  polyline->close();
  cache_.arrangementOf(db_.currentSpaceId());
  EXPECT_FALSE(cache_.lastWasReused());
}

}  // namespace
}  // namespace vtcad::boundary
