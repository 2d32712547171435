#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "PolylineTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSequenceEnd.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace {

using polyline_test::allFinite;
using polyline_test::dist;
using polyline_test::DrawingTest;

ZcGePoint3dArray frame() {
  return ZcGePoint3dArray{ZcGePoint3d(0, 0, 0), ZcGePoint3d(4, 3, 0), ZcGePoint3d(8, -1, 0),
                          ZcGePoint3d(12, 4, 0), ZcGePoint3d(15, 0, 0)};
}

double lengthOf(const ZcDbCurve& curve) {
  double end = 0.0, length = 0.0;
  EXPECT_EQ(curve.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(curve.getDistAtParam(end, length), Zcad::eOk);
  return length;
}

// Vertices in iteration order, read through the iterator's entity() (the polyline is open).
std::vector<const ZcDb2dVertex*> vertexList(const ZcDb2dPolyline& pl) {
  std::vector<const ZcDb2dVertex*> result;
  std::unique_ptr<ZcDbObjectIterator> it(pl.vertexIterator());
  for (it->start(); !it->done(); it->step()) result.push_back(ZcDb2dVertex::cast(it->entity()));
  return result;
}

int countOfType(const ZcDb2dPolyline& pl, ZcDb::Vertex2dType type) {
  int n = 0;
  for (const ZcDb2dVertex* v : vertexList(pl)) n += v->vertexType() == type ? 1 : 0;
  return n;
}

// The B-spline of the control points built independently of the polyline: clamped uniform
// knots when open, the compact periodic form when closed.
ZcGeNurbCurve3d referenceSpline(const ZcGePoint3dArray& control, int degree, bool closed) {
  const int n = control.length();
  ZcGeDoubleArray knots;
  if (closed) {
    for (int i = 0; i <= n; ++i) knots.append(i);
    return ZcGeNurbCurve3d(degree, ZcGeKnotVector(knots), control, /*isPeriodic=*/true);
  }
  for (int i = 0; i < degree; ++i) knots.append(0.0);
  for (int i = 0; i <= n - degree; ++i) knots.append(i);
  for (int i = 0; i < degree; ++i) knots.append(n - degree);
  return ZcGeNurbCurve3d(degree, ZcGeKnotVector(knots), control);
}

// ---------------------------------------------------------------------------------------------
// Vertex objects

class ZcDb2dPolylineInDrawing : public DrawingTest {};

TEST_F(ZcDb2dPolylineInDrawing, VerticesBecomeOwnedObjectsFollowedBySequenceEnd) {
  ZcGePoint3dArray points = frame();
  const ZcDbObjectId id = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  ZcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectIdArray ids;
  std::unique_ptr<ZcDbObjectIterator> it(pl->vertexIterator());
  for (it->start(); !it->done(); it->step()) ids.append(it->objectId());
  ASSERT_EQ(ids.length(), 5);
  for (int i = 0; i < ids.length(); ++i) {
    ZcDb2dVertex* v = nullptr;
    ASSERT_EQ(pl->openVertex(v, ids[i], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(v->ownerId(), id);
    EXPECT_FALSE(ids[i].handle().isNull());
    EXPECT_LT(dist(pl->vertexPosition(*v), points[i]), 1e-15);
    v->close();
  }
  ZcDbSequenceEnd* end = nullptr;
  ASSERT_EQ(pl->openSequenceEnd(end, ZcDb::kForRead), Zcad::eOk);
  const ZcDbObjectId endId = end->objectId();
  EXPECT_EQ(end->ownerId(), id);
  end->close();

  // Erasing the polyline erases what it owns, and unerasing brings it back.
  ASSERT_EQ(pl->erase(), Zcad::eOk);
  EXPECT_TRUE(ids[2].isErased());
  EXPECT_TRUE(endId.isErased());
  ASSERT_EQ(pl->erase(false), Zcad::eOk);
  EXPECT_FALSE(ids[2].isErased());
  EXPECT_FALSE(endId.isErased());
  pl->close();
}

TEST_F(ZcDb2dPolylineInDrawing, AppendedVertexIsLeftOpenAndAVertexErasedAloneDropsOut) {
  ZcGePoint3dArray points{ZcGePoint3d(0, 0, 0), ZcGePoint3d(10, 0, 0)};
  const ZcDbObjectId id = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  ZcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  auto* v = new ZcDb2dVertex(ZcGePoint3d(10, 10, 0));
  ZcDbObjectId vertexId;
  ASSERT_EQ(pl->appendVertex(vertexId, v), Zcad::eOk);
  EXPECT_FALSE(vertexId.isNull());
  EXPECT_TRUE(v->isWriteEnabled());
  v->close();
  EXPECT_NEAR(lengthOf(*pl), 20.0, 1e-12);
  ASSERT_EQ(pl->downgradeOpen(), Zcad::eOk);
  // PLYH2 erases duplicate vertices through the vertex objects with the polyline open for read.
  ASSERT_EQ(zcdbOpenObject(v, vertexId, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(v->erase(), Zcad::eOk);
  v->close();
  EXPECT_NEAR(lengthOf(*pl), 10.0, 1e-12);
  EXPECT_EQ(vertexList(*pl).size(), 2u);
  pl->close();
}

TEST_F(ZcDb2dPolylineInDrawing, UndoOfASplineFitBringsTheVertexListBack) {
  ZcGePoint3dArray points = frame();
  const ZcDbObjectId id = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  db_.beginUndoGroup();
  ZcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(pl->splineFit(ZcDb::k2dCubicSplinePoly, /*segs=*/4), Zcad::eOk);
  EXPECT_EQ(vertexList(*pl).size(), 5u + 17u);
  pl->close();
  db_.endUndoGroup();
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(pl->polyType(), ZcDb::k2dSimplePoly);
  const std::vector<const ZcDb2dVertex*> vertices = vertexList(*pl);
  ASSERT_EQ(vertices.size(), 5u);
  for (const ZcDb2dVertex* v : vertices) EXPECT_EQ(v->vertexType(), ZcDb::k2dVertex);
  pl->close();
}

TEST_F(ZcDb2dPolylineInDrawing, SplineFitTakesSplinesegsOfTheDrawing) {
  ASSERT_EQ(db_.setSplinesegs(5), Zcad::eOk);
  ZcGePoint3dArray points = frame();
  const ZcDbObjectId id = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  ZcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(pl->setPolyType(ZcDb::k2dQuadSplinePoly), Zcad::eOk);
  EXPECT_EQ(countOfType(*pl, ZcDb::k2dSplineFitVertex), 5 * 4 + 1);
  EXPECT_EQ(countOfType(*pl, ZcDb::k2dSplineCtlVertex), 5);
  pl->close();
}

TEST_F(ZcDb2dPolylineInDrawing, CopyOfAResidentPolylineChangesOnItsOwn) {
  ZcGePoint3dArray points = frame();
  const ZcDbObjectId id = append(new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points));
  ZcDb2dPolyline* pl = nullptr;
  ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
  std::unique_ptr<ZcDb2dPolyline> copy(static_cast<ZcDb2dPolyline*>(pl->clone()));
  ASSERT_EQ(copy->transformBy(ZcGeMatrix3d::translation(ZcGeVector3d(100, 0, 0))), Zcad::eOk);
  ZcGePoint3d start, copyStart;
  pl->getStartPoint(start);
  copy->getStartPoint(copyStart);
  EXPECT_LT(dist(start, points[0]), 1e-15);
  EXPECT_LT(dist(copyStart, ZcGePoint3d(100, 0, 0)), 1e-12);
  pl->close();
  // Appended, the copy's vertices are new objects of its own.
  const ZcDbObjectId copyId = append(copy.release());
  ASSERT_EQ(zcdbOpenObject(pl, copyId, ZcDb::kForRead), Zcad::eOk);
  for (const ZcDb2dVertex* v : vertexList(*pl)) EXPECT_EQ(v->ownerId(), copyId);
  pl->close();
}

// ---------------------------------------------------------------------------------------------
// Fitting

TEST(ZcDb2dPolylineFit, SplineFitVerticesCountAndLieOnTheBSplineOfTheFrame) {
  for (ZcDb::Poly2dType type : {ZcDb::k2dQuadSplinePoly, ZcDb::k2dCubicSplinePoly}) {
    for (bool closed : {false, true}) {
      ZcGePoint3dArray points = frame();
      ZcDb2dPolyline pl(ZcDb::k2dSimplePoly, points, /*elevation=*/0.0, closed);
      ASSERT_EQ(pl.splineFit(type, /*segs=*/6), Zcad::eOk);
      const int degree = type == ZcDb::k2dQuadSplinePoly ? 2 : 3;
      const ZcGeNurbCurve3d reference = referenceSpline(points, degree, closed);
      int fits = 0;
      const std::vector<const ZcDb2dVertex*> vertices = vertexList(pl);
      for (const ZcDb2dVertex* v : vertices) {
        if (v->vertexType() != ZcDb::k2dSplineFitVertex) continue;
        EXPECT_EQ(v == vertices[static_cast<size_t>(fits)], true) << "fit vertices come first";
        ++fits;
        EXPECT_LT(reference.distanceTo(v->position()), 1e-9) << "degree " << degree << " closed " << closed;
      }
      EXPECT_EQ(fits, closed ? 6 * 5 : 6 * 4 + 1);
      EXPECT_EQ(countOfType(pl, ZcDb::k2dSplineCtlVertex), 5);
      EXPECT_EQ(pl.polyType(), type);
      // The curve answers on the fit vertices: an open spline starts and ends on the frame.
      ZcGePoint3d start, end;
      pl.getStartPoint(start);
      pl.getEndPoint(end);
      EXPECT_LT(dist(start, closed ? vertices[0]->position() : points[0]), 1e-12);
      if (!closed) {
        EXPECT_LT(dist(end, points[4]), 1e-12);
      }
    }
  }
}

TEST(ZcDb2dPolylineFit, CurveFitPassesThroughTheFrameWithContinuousTangents) {
  for (bool closed : {false, true}) {
    ZcGePoint3dArray points = frame();
    ZcDb2dPolyline pl(ZcDb::k2dSimplePoly, points, /*elevation=*/0.0, closed);
    ASSERT_EQ(pl.curveFit(), Zcad::eOk);
    EXPECT_EQ(pl.polyType(), ZcDb::k2dFitCurvePoly);
    const std::vector<const ZcDb2dVertex*> vertices = vertexList(pl);
    ASSERT_EQ(vertices.size(), closed ? 10u : 9u);
    for (size_t i = 0; i < vertices.size(); ++i) {
      // Frame vertices and the inserted ones alternate; the frame is kept as it was.
      EXPECT_EQ(vertices[i]->vertexType(), i % 2 == 0 ? ZcDb::k2dVertex : ZcDb::k2dCurveFitVertex);
      if (i % 2 == 0) {
        EXPECT_LT(dist(vertices[i]->position(), points[static_cast<int>(i / 2)]), 1e-15);
        EXPECT_TRUE(vertices[i]->isTangentUsed());
      }
      EXPECT_LE(std::fabs(vertices[i]->bulge()), 1.0 + 1e-12);
    }
    double endParam = 0.0;
    pl.getEndParam(endParam);
    for (int k = closed ? 0 : 1; k < static_cast<int>(endParam); ++k) {
      // Just before vertex k (for the first vertex of a closed polyline: the end) and at it.
      const double leftParam = (k == 0 ? endParam : k) - 1e-9;
      ZcGeVector3d left, right;
      ASSERT_EQ(pl.getFirstDeriv(leftParam, left), Zcad::eOk);
      ASSERT_EQ(pl.getFirstDeriv(static_cast<double>(k), right), Zcad::eOk);
      EXPECT_LT((left.normal() - right.normal()).length(), 1e-6) << "closed " << closed << " vertex " << k;
    }
  }
}

TEST(ZcDb2dPolylineFit, StraightenGivesTheStraightFrameBack) {
  ZcGePoint3dArray points = frame();
  ZcDb2dPolyline pl(ZcDb::k2dCubicSplinePoly, points);
  EXPECT_EQ(countOfType(pl, ZcDb::k2dSplineFitVertex), 8 * 4 + 1);  // SPLINESEGS 8 by default
  ASSERT_EQ(pl.curveFit(), Zcad::eOk);
  EXPECT_EQ(countOfType(pl, ZcDb::k2dSplineFitVertex), 0);
  EXPECT_EQ(countOfType(pl, ZcDb::k2dCurveFitVertex), 4);
  ASSERT_EQ(pl.straighten(), Zcad::eOk);
  const std::vector<const ZcDb2dVertex*> vertices = vertexList(pl);
  ASSERT_EQ(vertices.size(), 5u);
  double chords = 0.0;
  for (int i = 0; i < 4; ++i) chords += points[i].distanceTo(points[i + 1]);
  EXPECT_NEAR(lengthOf(pl), chords, 1e-12);
  for (const ZcDb2dVertex* v : vertices) {
    EXPECT_EQ(v->vertexType(), ZcDb::k2dVertex);
    EXPECT_EQ(v->bulge(), 0.0);
  }
}

TEST(ZcDb2dPolylineFit, DegenerateFramesFitWithoutNaN) {
  for (ZcDb::Poly2dType type : {ZcDb::k2dFitCurvePoly, ZcDb::k2dCubicSplinePoly}) {
    for (int n : {1, 2, 3}) {
      ZcGePoint3dArray points;
      for (int i = 0; i < n; ++i) points.append(ZcGePoint3d(2, 2, 0));  // all coincident
      ZcDb2dPolyline pl(type, points, /*elevation=*/0.0, /*closed=*/n == 3);
      for (const ZcDb2dVertex* v : vertexList(pl)) {
        EXPECT_TRUE(allFinite(v->position()));
        EXPECT_TRUE(std::isfinite(v->bulge()));
      }
      double length = -1.0, endParam = -1.0;
      ASSERT_EQ(pl.getEndParam(endParam), Zcad::eOk);
      ASSERT_EQ(pl.getDistAtParam(endParam, length), Zcad::eOk);
      EXPECT_EQ(length, 0.0);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Queries, conversion, input

TEST(ZcDb2dPolyline, QueriesUseElevationNormalAndBulges) {
  ZcGePoint3dArray points{ZcGePoint3d(0, 0, 0), ZcGePoint3d(2, 0, 0)};
  ZcGeDoubleArray bulges{1.0, 0.0};
  ZcDb2dPolyline pl(ZcDb::k2dSimplePoly, points, /*elevation=*/3.0, /*closed=*/true, 0.0, 0.0, &bulges);
  EXPECT_NEAR(lengthOf(pl), ZcGe::kPi + 2.0, 1e-12);
  double area = 0.0;
  ASSERT_EQ(pl.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, ZcGe::kPi / 2.0, 1e-12);
  ZcGePoint3d p;
  ASSERT_EQ(pl.getPointAtParam(0.5, p), Zcad::eOk);
  EXPECT_LT(dist(p, ZcGePoint3d(1, -1, 3)), 1e-12);
  ZcDbExtents ext;
  ASSERT_EQ(pl.getGeomExtents(ext), Zcad::eOk);
  EXPECT_NEAR(ext.minPoint().y, -1.0, 1e-12);
}

TEST(ZcDb2dPolyline, ConvertFromWithoutIdTakesTheFitVertices) {
  ZcGePoint3dArray points = frame();
  auto* pl = new ZcDb2dPolyline(ZcDb::k2dSimplePoly, points, /*elevation=*/1.0);
  ASSERT_EQ(pl->splineFit(ZcDb::k2dQuadSplinePoly, /*segs=*/3), Zcad::eOk);
  ZcDbEntity* entity = pl;
  ZcDbPolyline lw;
  ASSERT_EQ(lw.convertFrom(entity, /*transferId=*/false), Zcad::eOk);
  EXPECT_EQ(entity, pl);  // untouched without the id
  EXPECT_EQ(lw.numVerts(), 3u * 4u + 1u);
  EXPECT_EQ(lw.elevation(), 1.0);
  EXPECT_NEAR(lengthOf(lw), lengthOf(*pl), 1e-12);
  delete pl;
}

TEST(ZcDb2dPolyline, NonFiniteInputIsRefusedOrReplaced) {
  ZcGePoint3dArray points{ZcGePoint3d(std::nan(""), 1, 0), ZcGePoint3d(2, INFINITY, 0)};
  ZcDb2dPolyline pl(ZcDb::k2dSimplePoly, points);
  for (const ZcDb2dVertex* v : vertexList(pl)) EXPECT_TRUE(allFinite(v->position()));
  EXPECT_EQ(pl.setElevation(std::nan("")), Zcad::eInvalidInput);
  EXPECT_EQ(pl.setNormal(ZcGeVector3d(0, 0, 0)), Zcad::eInvalidInput);
  EXPECT_EQ(pl.splineFit(ZcDb::k2dCubicSplinePoly, /*segs=*/0), Zcad::eInvalidInput);
  EXPECT_EQ(pl.splineFit(ZcDb::k2dFitCurvePoly, /*segs=*/4), Zcad::eInvalidInput);
  ZcDb2dVertex v;
  EXPECT_EQ(v.setBulge(INFINITY), Zcad::eInvalidInput);
  EXPECT_EQ(v.setPosition(ZcGePoint3d(0, std::nan(""), 0)), Zcad::eInvalidInput);
  EXPECT_EQ(v.setStartWidth(-1.0), Zcad::eNegativeValueNotAllowed);
  EXPECT_EQ(v.bulge(), 0.0);
}

}  // namespace
