#pragma once
// Shared by the curve entity tests: properties every ZcDbCurve must have, checked by sampling
// the curve along its length. Tolerances are relative to the curve's extents diagonal.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace curve_test {

// For the tests of database behaviour: a fresh drawing that is the working database.
class CurveDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { zcdbHostApplicationServices()->setWorkingDatabase(&db_); }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(nullptr); }

  // Appends to model space and closes the entity.
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

inline double lengthOf(const ZcDbCurve& curve) {
  double end = 0.0, length = -1.0;
  EXPECT_EQ(curve.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(curve.getDistAtParam(end, length), Zcad::eOk);
  return length;
}

inline double sizeOf(const ZcDbEntity& entity) {
  ZcDbExtents box;
  EXPECT_EQ(entity.getGeomExtents(box), Zcad::eOk);
  return std::max(box.minPoint().distanceTo(box.maxPoint()), 1e-300);
}

// The point at each of n + 1 evenly spaced distances, start and end included.
inline ZcGePoint3dArray pointsByLength(const ZcDbCurve& curve, int n) {
  const double length = lengthOf(curve);
  ZcGePoint3dArray points;
  for (int i = 0; i <= n; ++i) {
    ZcGePoint3d p;
    EXPECT_EQ(curve.getPointAtDist(length * i / n, p), Zcad::eOk) << i;
    points.append(p);
  }
  return points;
}

template <typename T>
std::unique_ptr<T> cloneOf(const T& entity) {
  return std::unique_ptr<T>(static_cast<T*>(entity.clone()));
}

// Distances and parameters survive the round trips point <-> distance <-> parameter.
inline void expectDistanceRoundTrips(const ZcDbCurve& curve, int n = 97) {
  const double length = lengthOf(curve);
  const double tol = 1e-8 * std::max(length, 1e-12);
  // On a closed curve the end point is the start point again (distance 0).
  const int last = curve.isClosed() ? n - 1 : n;
  for (int i = 0; i <= last; ++i) {
    const double dist = length * i / n;
    ZcGePoint3d p;
    double back = -1.0, param = 0.0, paramDist = -1.0;
    ASSERT_EQ(curve.getPointAtDist(dist, p), Zcad::eOk) << i;
    ASSERT_EQ(curve.getDistAtPoint(p, back), Zcad::eOk) << i;
    EXPECT_NEAR(back, dist, tol) << i;
    ASSERT_EQ(curve.getParamAtDist(dist, param), Zcad::eOk) << i;
    ASSERT_EQ(curve.getDistAtParam(param, paramDist), Zcad::eOk) << i;
    EXPECT_NEAR(paramDist, dist, tol) << i;
  }
}

// Reversing keeps the points and turns the direction; reversing twice changes nothing.
// `sameStart` false: the reversed curve may start elsewhere (a circle's start follows its
// normal), so only its points are checked to lie on the original.
inline void expectReversal(const ZcDbCurve& curve, bool sameStart = true, int n = 40) {
  const double size = sizeOf(curve);
  const ZcGePoint3dArray before = pointsByLength(curve, n);
  auto reversed = cloneOf(curve);
  ASSERT_EQ(reversed->reverseCurve(), Zcad::eOk);
  const ZcGePoint3dArray backwards = pointsByLength(*reversed, n);
  for (int i = 0; i <= n; ++i) {
    if (sameStart) {
      EXPECT_LE(backwards[i].distanceTo(before[n - i]), 1e-8 * size) << i;
    } else {
      ZcGePoint3d onOriginal;
      ASSERT_EQ(curve.getClosestPointTo(backwards[i], onOriginal), Zcad::eOk);
      EXPECT_LE(backwards[i].distanceTo(onOriginal), 1e-9 * size) << i;
    }
  }
  ASSERT_EQ(reversed->reverseCurve(), Zcad::eOk);
  const ZcGePoint3dArray again = pointsByLength(*reversed, n);
  for (int i = 0; i <= n; ++i) EXPECT_LE(again[i].distanceTo(before[i]), 1e-9 * size) << i;
}

// The spline form has the same length and the same points at the same distances.
inline void expectSplineFormAgrees(const ZcDbCurve& curve, int n = 50) {
  ZcDbSpline* raw = nullptr;
  ASSERT_EQ(curve.getSpline(raw), Zcad::eOk);
  std::unique_ptr<ZcDbSpline> spline(raw);
  const double size = sizeOf(curve), length = lengthOf(curve);
  EXPECT_NEAR(lengthOf(*spline), length, 1e-9 * length);
  const ZcGePoint3dArray mine = pointsByLength(curve, n), its = pointsByLength(*spline, n);
  for (int i = 0; i <= n; ++i) EXPECT_LE(mine[i].distanceTo(its[i]), 1e-8 * size) << i;
  // Between the samples too: the spline's points lie on the curve.
  double start = 0.0, end = 0.0;
  spline->getStartParam(start);
  spline->getEndParam(end);
  for (int i = 0; i <= 3 * n; ++i) {
    ZcGePoint3d p, q;
    ASSERT_EQ(spline->getPointAtParam(start + (end - start) * i / (3 * n), p), Zcad::eOk);
    ASSERT_EQ(curve.getClosestPointTo(p, q), Zcad::eOk);
    EXPECT_LE(p.distanceTo(q), 1e-9 * size) << i;
  }
}

// The extents hold every point of the curve and are no larger than they must be.
inline void expectTightExtents(const ZcDbCurve& curve, int n = 4000) {
  ZcDbExtents box;
  ASSERT_EQ(curve.getGeomExtents(box), Zcad::eOk);
  const double size = sizeOf(curve);
  ZcDbExtents sampled;
  for (const ZcGePoint3d& p : pointsByLength(curve, n)) {
    sampled.addPoint(p);
    for (int k = 0; k < 3; ++k) {
      EXPECT_GE(p[k], box.minPoint()[k] - 1e-9 * size);
      EXPECT_LE(p[k], box.maxPoint()[k] + 1e-9 * size);
    }
  }
  // n samples of a curve of this size come within about size * (pi / n)^2 of its extremes.
  EXPECT_LE(sampled.minPoint().distanceTo(box.minPoint()), 1e-6 * size);
  EXPECT_LE(sampled.maxPoint().distanceTo(box.maxPoint()), 1e-6 * size);
}

// dwgOutFields then dwgInFields into a new object of the class gives the same curve.
inline void expectDwgRoundTrip(const ZcDbCurve& curve, int n = 20) {
  MemoryDwgFiler filer;
  ASSERT_EQ(curve.dwgOutFields(&filer), Zcad::eOk);
  std::unique_ptr<ZcDbCurve> copy(ZcDbCurve::cast(curve.isA()->create()));
  ASSERT_TRUE(copy);
  filer.rewind();
  ASSERT_EQ(copy->dwgInFields(&filer), Zcad::eOk);
  EXPECT_EQ(copy->isA(), curve.isA());
  const double size = sizeOf(curve);
  const ZcGePoint3dArray a = pointsByLength(curve, n), b = pointsByLength(*copy, n);
  for (int i = 0; i <= n; ++i) EXPECT_LE(a[i].distanceTo(b[i]), 1e-12 * size) << i;
}

// Transforming by A then B is transforming by B * A, and moves every point as the matrix
// does: the image of each point lies on the transformed curve and, when `sameStart` (the
// transform keeps the start point: every curve but a circle, whose start follows its
// normal), the points at the same fraction of the length correspond.
inline void expectTransformsCompose(const ZcDbCurve& curve, const ZcGeMatrix3d& a, const ZcGeMatrix3d& b,
                                    bool sameStart = true, int n = 30) {
  const ZcGeMatrix3d ba = b * a;
  auto stepwise = cloneOf(curve), atOnce = cloneOf(curve);
  ASSERT_EQ(stepwise->transformBy(a), Zcad::eOk);
  ASSERT_EQ(stepwise->transformBy(b), Zcad::eOk);
  ASSERT_EQ(atOnce->transformBy(ba), Zcad::eOk);
  const double size = sizeOf(*atOnce);
  const ZcGePoint3dArray original = pointsByLength(curve, n);
  const ZcGePoint3dArray p1 = pointsByLength(*stepwise, n), p2 = pointsByLength(*atOnce, n);
  for (int i = 0; i <= n; ++i) {
    EXPECT_LE(p1[i].distanceTo(p2[i]), 1e-9 * size) << i;
    const ZcGePoint3d image = ba * original[i];
    ZcGePoint3d onCurve;
    ASSERT_EQ(atOnce->getClosestPointTo(image, onCurve), Zcad::eOk);
    EXPECT_LE(image.distanceTo(onCurve), 1e-9 * size) << i;
    if (sameStart) {
      EXPECT_LE(p2[i].distanceTo(image), 1e-9 * size) << i;
    }
  }
}

// A few matrices: a rotation about a skew axis, a mirror, a uniform scaling, a translation.
inline ZcGeMatrix3d skewRotation() {
  return ZcGeMatrix3d::rotation(0.7, ZcGeVector3d(1, 2, 3), ZcGePoint3d(4, -1, 2));
}
inline ZcGeMatrix3d mirrorYZ() {
  return ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d(1, 0, 0), ZcGeVector3d::kXAxis));
}
inline ZcGeMatrix3d uniformScale() { return ZcGeMatrix3d::scaling(2.5, ZcGePoint3d(-3, 1, 0)); }
inline ZcGeMatrix3d shift() { return ZcGeMatrix3d::translation(ZcGeVector3d(10, -20, 5)); }

}  // namespace curve_test
