#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "PolylineTestSupport.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

using polyline_test::allFinite;
using polyline_test::dist;
using polyline_test::DrawingTest;

ZcGePoint3dArray helixPoints(int n) {
  ZcGePoint3dArray points;
  for (int i = 0; i < n; ++i)
    points.append(ZcGePoint3d(5 * std::cos(0.9 * i), 5 * std::sin(0.9 * i), 0.7 * i));
  return points;
}

double lengthOf(const ZcDbCurve& curve) {
  double end = 0.0, length = 0.0;
  EXPECT_EQ(curve.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(curve.getDistAtParam(end, length), Zcad::eOk);
  return length;
}

std::vector<const ZcDb3dPolylineVertex*> vertexList(const ZcDb3dPolyline& pl) {
  std::vector<const ZcDb3dPolylineVertex*> result;
  std::unique_ptr<ZcDbObjectIterator> it(pl.vertexIterator());
  for (it->start(); !it->done(); it->step()) result.push_back(ZcDb3dPolylineVertex::cast(it->entity()));
  return result;
}

std::vector<ZcGePoint3d> positionsOfType(const ZcDb3dPolyline& pl, ZcDb::Vertex3dType type) {
  std::vector<ZcGePoint3d> result;
  for (const ZcDb3dPolylineVertex* v : vertexList(pl))
    if (v->vertexType() == type) result.push_back(v->position());
  return result;
}

std::unique_ptr<ZcDbSpline> splineOf(const ZcDbCurve& curve) {
  ZcDbSpline* raw = nullptr;
  EXPECT_EQ(curve.getSpline(raw), Zcad::eOk);
  return std::unique_ptr<ZcDbSpline>(raw);
}

class ZcDb3dPolylineInDrawing : public DrawingTest {};

// The plug-in's polylineFromPoints: a cubic spline-fit 3-D polyline with the drawing's defaults.
TEST_F(ZcDb3dPolylineInDrawing, CubicSplineFitThroughPointsJoinsTheDrawingWithItsVertices) {
  ZcGePoint3dArray points = helixPoints(6);
  auto* pl = new ZcDb3dPolyline(ZcDb::k3dCubicSplinePoly, points, /*closed=*/false);
  pl->setDatabaseDefaults();
  const ZcDbObjectId id = append(pl);
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(pl->polyType(), ZcDb::k3dCubicSplinePoly);
  EXPECT_EQ(positionsOfType(*pl, ZcDb::k3dFitVertex).size(), 8u * 5u + 1u);
  const std::vector<ZcGePoint3d> control = positionsOfType(*pl, ZcDb::k3dControlVertex);
  ASSERT_EQ(control.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_LT(dist(control[static_cast<size_t>(i)], points[i]), 1e-15);
  std::unique_ptr<ZcDbObjectIterator> it(pl->vertexIterator());
  for (it->start(); !it->done(); it->step())
    EXPECT_EQ(it->objectId().objectClass(), ZcDb3dPolylineVertex::desc());
  ZcGePoint3d start, end;
  pl->getStartPoint(start);
  pl->getEndPoint(end);
  EXPECT_LT(dist(start, points[0]), 1e-12);
  EXPECT_LT(dist(end, points[5]), 1e-12);
  pl->close();
}

TEST_F(ZcDb3dPolylineInDrawing, UndoOfATransformPutsTheVerticesBack) {
  ZcGePoint3dArray points = helixPoints(4);
  const ZcDbObjectId id = append(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, points));
  db_.beginUndoGroup();
  ZcDb3dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(pl->transformBy(ZcGeMatrix3d::translation(ZcGeVector3d(0, 0, 10))), Zcad::eOk);
  pl->close();
  db_.endUndoGroup();
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  ZcGePoint3d start;
  pl->getStartPoint(start);
  EXPECT_LT(dist(start, points[0]), 1e-15);
  pl->close();
}

// ---------------------------------------------------------------------------------------------
// The spline form

TEST(ZcDb3dPolylineSpline, SplineFitPolylineGivesTheBSplineItsFitVerticesSample) {
  for (ZcDb::Poly3dType type : {ZcDb::k3dQuadSplinePoly, ZcDb::k3dCubicSplinePoly}) {
    for (bool closed : {false, true}) {
      ZcGePoint3dArray points = helixPoints(7);
      ZcDb3dPolyline pl(type, points, closed);
      const std::unique_ptr<ZcDbSpline> spline = splineOf(pl);
      ASSERT_NE(spline, nullptr);
      EXPECT_EQ(spline->degree(), type == ZcDb::k3dQuadSplinePoly ? 2 : 3);
      EXPECT_EQ(spline->isClosed(), closed);
      const std::vector<ZcGePoint3d> fit = positionsOfType(pl, ZcDb::k3dFitVertex);
      EXPECT_EQ(fit.size(), closed ? 8u * 7u : 8u * 6u + 1u);
      for (const ZcGePoint3d& p : fit) {
        ZcGePoint3d onSpline;
        ASSERT_EQ(spline->getClosestPointTo(p, onSpline), Zcad::eOk);
        EXPECT_LT(dist(p, onSpline), 1e-9) << "type " << type << " closed " << closed;
      }
      // And the other way: the spline stays near the fit polyline (chords of a smooth curve).
      double start = 0.0, end = 0.0;
      spline->getStartParam(start);
      spline->getEndParam(end);
      for (int k = 0; k <= 100; ++k) {
        ZcGePoint3d p, q;
        spline->getPointAtParam(start + (end - start) * k / 100.0, p);
        pl.getClosestPointTo(p, q);
        EXPECT_LT(dist(p, q), 0.05);
      }
    }
  }
}

TEST(ZcDb3dPolylineSpline, SimplePolylineGivesADegreeOneSplineThroughItsVertices) {
  for (bool closed : {false, true}) {
    ZcGePoint3dArray points = helixPoints(5);
    ZcDb3dPolyline pl(ZcDb::k3dSimplePoly, points, closed);
    const std::unique_ptr<ZcDbSpline> spline = splineOf(pl);
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->degree(), 1);
    EXPECT_EQ(spline->isClosed(), closed);
    EXPECT_NEAR(lengthOf(*spline), lengthOf(pl), 1e-9);
    for (int i = 0; i < points.length(); ++i) {
      ZcGePoint3d onSpline;
      spline->getClosestPointTo(points[i], onSpline);
      EXPECT_LT(dist(points[i], onSpline), 1e-12);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Geometry

TEST(ZcDb3dPolyline, AnyAffineTransformMovesEveryVertex) {
  ZcGePoint3dArray points = helixPoints(5);
  ZcDb3dPolyline pl(ZcDb::k3dCubicSplinePoly, points);
  ZcGeMatrix3d shear;
  shear(0, 1) = 0.5;
  shear(2, 0) = -0.25;
  const ZcGeMatrix3d m = ZcGeMatrix3d::scaling(ZcGeVector3d(2, 1, 3)) * shear;
  std::vector<ZcGePoint3d> before;
  for (const ZcDb3dPolylineVertex* v : vertexList(pl)) before.push_back(v->position());
  ASSERT_EQ(pl.transformBy(m), Zcad::eOk);
  std::vector<ZcGePoint3d> after;
  for (const ZcDb3dPolylineVertex* v : vertexList(pl)) after.push_back(v->position());
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) EXPECT_LT(dist(after[i], m * before[i]), 1e-12);
  // The fit vertices still sample the B-spline of the moved control vertices (refitting, which
  // replaces them, gives the same points).
  ASSERT_EQ(pl.splineFit(), Zcad::eOk);
  const std::vector<const ZcDb3dPolylineVertex*> refit = vertexList(pl);
  ASSERT_EQ(refit.size(), after.size());
  for (size_t i = 0; i < refit.size(); ++i) EXPECT_LT(dist(refit[i]->position(), after[i]), 1e-9);
}

TEST(ZcDb3dPolyline, ReverseTwiceIsIdentityAndOnceKeepsLengthAndPoints) {
  for (bool closed : {false, true}) {
    ZcGePoint3dArray points = helixPoints(6);
    ZcDb3dPolyline pl(ZcDb::k3dSimplePoly, points, closed);
    const double length = lengthOf(pl);
    std::vector<ZcGePoint3d> forward;
    for (int k = 0; k <= 20; ++k) {
      ZcGePoint3d p;
      pl.getPointAtDist(length * k / 20.0, p);
      forward.push_back(p);
    }
    ASSERT_EQ(pl.reverseCurve(), Zcad::eOk);
    EXPECT_NEAR(lengthOf(pl), length, 1e-12);
    for (int k = 0; k <= 20; ++k) {
      ZcGePoint3d p;
      pl.getPointAtDist(length * (20 - k) / 20.0, p);
      EXPECT_LT(dist(p, forward[static_cast<size_t>(k)]), 1e-9);
    }
    ASSERT_EQ(pl.reverseCurve(), Zcad::eOk);
    const std::vector<const ZcDb3dPolylineVertex*> vertices = vertexList(pl);
    for (int i = 0; i < points.length(); ++i)
      EXPECT_EQ(vertices[static_cast<size_t>(i)]->position(), points[i]);
  }
}

TEST(ZcDb3dPolyline, PlaneIsFoundForPlanarPolylinesOnly) {
  ZcGePoint3dArray tilted{ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 0, 1), ZcGePoint3d(1, 1, 1),
                          ZcGePoint3d(0, 1, 0)};
  ZcDb3dPolyline planar(ZcDb::k3dSimplePoly, tilted, /*closed=*/true);
  ZcGePlane plane;
  bool isPlanar = false;
  ASSERT_EQ(planar.getPlane(plane, isPlanar), Zcad::eOk);
  EXPECT_TRUE(isPlanar);
  EXPECT_TRUE(plane.normal().isParallelTo(ZcGeVector3d(-1, 0, 1).normal()));
  double area = 0.0;
  ASSERT_EQ(planar.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, std::sqrt(2.0), 1e-12);
  ZcGePoint3dArray twisted = helixPoints(5);
  ZcDb3dPolyline spatial(ZcDb::k3dSimplePoly, twisted);
  ASSERT_EQ(spatial.getPlane(plane, isPlanar), Zcad::eOk);
  EXPECT_FALSE(isPlanar);
}

TEST(ZcDb3dPolyline, DegenerateAndBadInput) {
  ZcGePoint3dArray one{ZcGePoint3d(1, 2, 3)};
  ZcDb3dPolyline point(ZcDb::k3dCubicSplinePoly, one);
  double length = -1.0;
  ASSERT_EQ(point.getDistAtParam(0.0, length), Zcad::eOk);
  EXPECT_EQ(length, 0.0);
  ZcDbSpline* spline = nullptr;
  EXPECT_EQ(point.getSpline(spline), Zcad::eDegenerateGeometry);
  EXPECT_EQ(spline, nullptr);

  ZcGePoint3dArray same{ZcGePoint3d(1, 1, 1), ZcGePoint3d(1, 1, 1), ZcGePoint3d(1, 1, 1)};
  ZcDb3dPolyline coincident(ZcDb::k3dCubicSplinePoly, same, /*closed=*/true);
  for (const ZcDb3dPolylineVertex* v : vertexList(coincident)) EXPECT_TRUE(allFinite(v->position()));
  ZcGeVector3d d;
  ASSERT_EQ(coincident.getFirstDeriv(0.5, d), Zcad::eOk);
  EXPECT_TRUE(allFinite(d));
  ZcGePoint3d p;
  ASSERT_EQ(coincident.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(allFinite(p));

  ZcDb3dPolylineVertex vertex;
  EXPECT_EQ(vertex.setPosition(ZcGePoint3d(0, INFINITY, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(vertex.position(), ZcGePoint3d::kOrigin);
  ZcGeMatrix3d bad;
  bad(1, 1) = std::nan("");
  EXPECT_EQ(coincident.transformBy(bad), Zcad::eInvalidInput);
  EXPECT_EQ(coincident.splineFit(ZcDb::k3dSimplePoly, /*segs=*/4), Zcad::eInvalidInput);
}

}  // namespace
