#pragma once
// Shared by the polyline tests: a drawing to append to, and seeded random polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"

namespace polyline_test {

// A fresh drawing that is the working database for the test.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  // Appends to model space; the entity is closed afterwards.
  ZcDbObjectId append(ZcDbEntity* entity) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db_.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    space->close();
    return id;
  }

  ZcDbDatabase db_;
};

// n vertices on a rough loop with random bulges in [-maxBulge, maxBulge]; every fifth segment
// (when withCoincident) is given a zero length.
inline ZcDbPolyline* randomPolyline(unsigned seed, int n, double maxBulge, bool closed,
                                    bool withCoincident = false) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> jitter(-0.3, 0.3);
  std::uniform_real_distribution<double> bulge(-maxBulge, maxBulge);
  auto* pl = new ZcDbPolyline(static_cast<unsigned>(n));
  ZcGePoint2d last;
  for (int i = 0; i < n; ++i) {
    const double a = 6.283185307179586 * i / n;
    ZcGePoint2d p(10.0 * std::cos(a) + jitter(rng), 6.0 * std::sin(a) + jitter(rng));
    if (withCoincident && i > 0 && i % 5 == 0) p = last;
    pl->addVertexAt(static_cast<unsigned>(i), p, bulge(rng));
    last = p;
  }
  pl->setClosed(closed);
  return pl;
}

inline double dist(const ZcGePoint3d& a, const ZcGePoint3d& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

inline bool allFinite(const ZcGePoint3d& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
inline bool allFinite(const ZcGeVector3d& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace polyline_test
