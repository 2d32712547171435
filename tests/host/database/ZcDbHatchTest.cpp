#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/MemoryDwgFiler.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

constexpr double kTol = 1e-9;
const ZcGeTol kPointTol(1e-9, 1e-9);

ZcGePoint2dArray square(double x0, double y0, double size) {
  return {ZcGePoint2d(x0, y0), ZcGePoint2d(x0 + size, y0), ZcGePoint2d(x0 + size, y0 + size),
          ZcGePoint2d(x0, y0 + size)};
}

ZcDbExtents extentsOf(const ZcDbHatch& hatch) {
  ZcDbExtents extents;
  EXPECT_EQ(hatch.getGeomExtents(extents), Zcad::eOk);
  return extents;
}

double areaOf(const ZcDbHatch& hatch) {
  double area = -1.0;
  EXPECT_EQ(hatch.getArea(area), Zcad::eOk);
  return area;
}

// A loop of every edge kind: a line, a clockwise quarter circle turning inwards, half an
// ellipse over the top and a rational spline back to the start, bulging out to the left.
ZcDbHatchEdgeArray mixedEdges() {
  ZcDbHatchEdgeArray edges;
  edges.append(ZcDbHatchEdge::line(ZcGePoint2d(0, 0), ZcGePoint2d(4, 0)));
  // Clockwise angles are measured clockwise: pi/2 is the bottom of the circle, pi its left.
  edges.append(ZcDbHatchEdge::circularArc(ZcGePoint2d(4, 1), /*radius=*/1.0, /*startAngle=*/ZcGe::kHalfPi,
                                          /*endAngle=*/ZcGe::kPi, /*isCounterClockwise=*/false));
  edges.append(ZcDbHatchEdge::ellipticalArc(ZcGePoint2d(1.5, 1), ZcGeVector2d(1.5, 0),
                                            /*minorMajorRatio=*/0.5,
                                            /*startAngle=*/0.0, /*endAngle=*/ZcGe::kPi,
                                            /*isCounterClockwise=*/true));
  edges.append(ZcDbHatchEdge::spline(
      /*degree=*/2, /*isRational=*/true, /*isPeriodic=*/false, ZcGeDoubleArray{0, 0, 0, 1, 1, 1},
      ZcGePoint2dArray{ZcGePoint2d(0, 1), ZcGePoint2d(-1, 0.5), ZcGePoint2d(0, 0)},
      ZcGeDoubleArray{1, 0.5, 1}, ZcGePoint2dArray{ZcGePoint2d(0, 1), ZcGePoint2d(0, 0)}, ZcGeVector2d(-1, 0),
      ZcGeVector2d(1, 0)));
  return edges;
}

TEST(ZcDbHatchTest, BulgeLoopExtentsIncludeTheArcExtreme) {
  ZcDbHatch hatch;
  // The right side bulges out to a half circle about (2, 1): it reaches x = 3.
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square(0, 0, 2), ZcGeDoubleArray{0, 1, 0, 0}), Zcad::eOk);
  const ZcDbExtents e = extentsOf(hatch);
  EXPECT_TRUE(e.minPoint().isEqualTo(ZcGePoint3d(0, 0, 0), kPointTol));
  EXPECT_TRUE(e.maxPoint().isEqualTo(ZcGePoint3d(3, 2, 0), kPointTol));
  EXPECT_NEAR(areaOf(hatch), 4.0 + ZcGe::kPi / 2, kTol);

  // Elevation and normal place the loops in space.
  ASSERT_EQ(hatch.setElevation(5.0), Zcad::eOk);
  EXPECT_NEAR(extentsOf(hatch).minPoint().z, 5.0, kTol);
  ASSERT_EQ(hatch.setNormal(ZcGeVector3d::kXAxis), Zcad::eOk);
  EXPECT_NEAR(extentsOf(hatch).minPoint().x, 5.0, kTol);
  EXPECT_NEAR(extentsOf(hatch).maxPoint().x, 5.0, kTol);
}

TEST(ZcDbHatchTest, EdgeLoopsKeepEverythingNeededToRebuildTheCurves) {
  ZcDbHatch hatch;
  const ZcDbHatchEdgeArray edges = mixedEdges();
  for (const ZcDbHatchEdge& edge : edges) EXPECT_TRUE(edge.isValid());
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal | ZcDbHatch::kPolyline, edges), Zcad::eOk);
  EXPECT_EQ(hatch.loopTypeAt(0), ZcDbHatch::kExternal);  // an edge loop is no polyline

  Zdesk::Int32 type = 0;
  ZcDbHatchEdgeArray back;
  ASSERT_EQ(hatch.getLoopAt(0, type, back), Zcad::eOk);
  ASSERT_EQ(back.length(), 4);
  EXPECT_TRUE(back == edges);
  const ZcDbHatchEdge& arc = back[1];
  EXPECT_EQ(arc.type(), ZcDbHatchEdge::kCirArc);
  EXPECT_FALSE(arc.isCounterClockwise());
  EXPECT_TRUE(arc.startPoint().isEqualTo(ZcGePoint2d(4, 0)));
  EXPECT_TRUE(arc.endPoint().isEqualTo(ZcGePoint2d(3, 1)));
  EXPECT_TRUE(arc.asCircArc2d().startPoint().isEqualTo(arc.startPoint()));
  EXPECT_TRUE(arc.asCircArc2d().endPoint().isEqualTo(arc.endPoint()));
  const ZcDbHatchEdge& spline = back[3];
  EXPECT_EQ(spline.degree(), 2);
  EXPECT_TRUE(spline.isRational());
  EXPECT_EQ(spline.weights().length(), 3);
  EXPECT_EQ(spline.fitPoints().length(), 2);
  EXPECT_TRUE(spline.startTangent().isEqualTo(ZcGeVector2d(-1, 0)));
  EXPECT_TRUE(spline.endPoint().isEqualTo(ZcGePoint2d(0, 0)));

  // Exact extents: the ellipse's top (y = 1.75) and the spline's bulge to the left (x = -1/3).
  const ZcDbExtents e = extentsOf(hatch);
  EXPECT_NEAR(e.maxPoint().y, 1.75, kTol);
  EXPECT_NEAR(e.maxPoint().x, 4.0, kTol);
  EXPECT_NEAR(e.minPoint().x, -1.0 / 3.0, 1e-7);
}

TEST(ZcDbHatchTest, LoopsReadInEitherForm) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, square(0, 0, 2), ZcGeDoubleArray{0, -1, 0, 0}), Zcad::eOk);
  Zdesk::Int32 type = 0;
  ZcDbHatchEdgeArray edges;
  ASSERT_EQ(hatch.getLoopAt(0, type, edges), Zcad::eOk);
  EXPECT_EQ(type, ZcDbHatch::kPolyline);
  ASSERT_EQ(edges.length(), 4);
  EXPECT_EQ(edges[1].type(), ZcDbHatchEdge::kCirArc);
  EXPECT_FALSE(edges[1].isCounterClockwise());  // a negative bulge turns clockwise
  EXPECT_TRUE(edges[1].startPoint().isEqualTo(ZcGePoint2d(2, 0)));
  EXPECT_TRUE(edges[1].endPoint().isEqualTo(ZcGePoint2d(2, 2)));
  EXPECT_TRUE(edges[1].center().isEqualTo(ZcGePoint2d(2, 1)));

  // Those edges as a loop read back as the same polyline.
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, edges), Zcad::eOk);
  ZcGePoint2dArray vertices;
  ZcGeDoubleArray bulges;
  ASSERT_EQ(hatch.getLoopAt(1, type, vertices, bulges), Zcad::eOk);
  ASSERT_EQ(vertices.length(), 4);
  EXPECT_NEAR(bulges[1], -1.0, kTol);
  EXPECT_TRUE(vertices[2].isEqualTo(ZcGePoint2d(2, 2)));

  // A full circle becomes two half circles; an ellipse cannot be a polyline.
  ZcDbHatchEdgeArray circle{ZcDbHatchEdge::circularArc(ZcGePoint2d(0, 0), 1.0, 0.0, ZcGe::kTwoPi)};
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, circle), Zcad::eOk);
  ASSERT_EQ(hatch.getLoopAt(2, type, vertices, bulges), Zcad::eOk);
  EXPECT_EQ(vertices.length(), 2);
  EXPECT_NEAR(bulges[0], 1.0, kTol);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, mixedEdges()), Zcad::eOk);
  EXPECT_EQ(hatch.getLoopAt(3, type, vertices, bulges), Zcad::eNotApplicable);
}

TEST(ZcDbHatchTest, AreaTakesIslandsOutAsTheStyleSays) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square(0, 0, 10), ZcGeDoubleArray()), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, square(2, 2, 4), ZcGeDoubleArray()), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcDbHatchEdgeArray{ZcDbHatchEdge::circularArc(
                                                      ZcGePoint2d(4, 4), 1.0, 0.0, ZcGe::kTwoPi)}),
            Zcad::eOk);
  EXPECT_NEAR(areaOf(hatch), 100.0 - 16.0 + ZcGe::kPi, kTol);
  ASSERT_EQ(hatch.setHatchStyle(ZcDbHatch::kOuter), Zcad::eOk);
  EXPECT_NEAR(areaOf(hatch), 100.0 - 16.0, kTol);
  ASSERT_EQ(hatch.setHatchStyle(ZcDbHatch::kIgnore), Zcad::eOk);
  EXPECT_NEAR(areaOf(hatch), 100.0, kTol);

  ASSERT_EQ(hatch.removeLoopAt(0), Zcad::eOk);
  EXPECT_EQ(hatch.numLoops(), 2);
  EXPECT_EQ(hatch.removeLoopAt(2), Zcad::eInvalidIndex);
  EXPECT_NEAR(areaOf(ZcDbHatch()), 0.0, kTol);
}

// Regression: islands were found by testing their first point, and an island whose first
// vertex lies on its outer loop's right side came out outside (added instead of taken out).
TEST(ZcDbHatchTest, IslandTouchingItsOuterLoopAtAVertexIsStillAnIsland) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square(0, 0, 10), ZcGeDoubleArray()), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault,
                             ZcGePoint2dArray{ZcGePoint2d(10, 5), ZcGePoint2d(6, 8), ZcGePoint2d(6, 2)},
                             ZcGeDoubleArray()),
            Zcad::eOk);
  EXPECT_NEAR(areaOf(hatch), 100.0 - 12.0, kTol);
}

TEST(ZcDbHatchTest, TransformRoundTripsAndMirrorsFlipTheTurningDirection) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square(10, 0, 2), ZcGeDoubleArray{0, 1, 0, 0}), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, mixedEdges()), Zcad::eOk);
  const double area = areaOf(hatch);
  const ZcDbExtents before = extentsOf(hatch);

  const ZcGeMatrix3d m = ZcGeMatrix3d::translation(ZcGeVector3d(3, 4, 2)) *
                         ZcGeMatrix3d::rotation(0.8, ZcGeVector3d::kZAxis) * ZcGeMatrix3d::scaling(2.0);
  ASSERT_EQ(hatch.transformBy(m), Zcad::eOk);
  EXPECT_NEAR(hatch.elevation(), 2.0, kTol);
  EXPECT_NEAR(hatch.patternScale(), 2.0, kTol);
  EXPECT_NEAR(areaOf(hatch), 4.0 * area, 1e-6);
  ASSERT_EQ(hatch.transformBy(m.inverse()), Zcad::eOk);
  EXPECT_TRUE(extentsOf(hatch).minPoint().isEqualTo(before.minPoint(), ZcGeTol(1e-8, 1e-8)));
  EXPECT_TRUE(extentsOf(hatch).maxPoint().isEqualTo(before.maxPoint(), ZcGeTol(1e-8, 1e-8)));

  ASSERT_EQ(hatch.transformBy(ZcGeMatrix3d::mirroring(ZcGePlane(ZcGePoint3d::kOrigin, ZcGeVector3d::kXAxis))),
            Zcad::eOk);
  EXPECT_TRUE(hatch.normal().isEqualTo(ZcGeVector3d::kZAxis));
  Zdesk::Int32 type = 0;
  ZcGePoint2dArray vertices;
  ZcGeDoubleArray bulges;
  ASSERT_EQ(hatch.getLoopAt(0, type, vertices, bulges), Zcad::eOk);
  EXPECT_NEAR(bulges[1], -1.0, kTol);
  EXPECT_NEAR(extentsOf(hatch).minPoint().x, -before.maxPoint().x, kTol);
  EXPECT_NEAR(areaOf(hatch), area, 1e-6);
}

TEST(ZcDbHatchTest, NonUniformScaleTurnsCirclesIntoEllipses) {
  ZcDbHatch hatch;
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcDbHatchEdgeArray{ZcDbHatchEdge::circularArc(
                                                      ZcGePoint2d(1, 1), 1.0, 0.0, ZcGe::kTwoPi)}),
            Zcad::eOk);
  ASSERT_EQ(hatch.transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(1, 2, 1))), Zcad::eOk);
  Zdesk::Int32 type = 0;
  ZcDbHatchEdgeArray edges;
  ASSERT_EQ(hatch.getLoopAt(0, type, edges), Zcad::eOk);
  ASSERT_EQ(edges[0].type(), ZcDbHatchEdge::kEllArc);
  EXPECT_NEAR(edges[0].majorAxis().length(), 2.0, kTol);
  EXPECT_NEAR(edges[0].minorMajorRatio(), 0.5, kTol);
  EXPECT_TRUE(edges[0].center().isEqualTo(ZcGePoint2d(1, 2)));
  EXPECT_NEAR(areaOf(hatch), 2.0 * ZcGe::kPi, kTol);

  // A bulged polyline loop cannot hold an elliptical arc: refused, nothing changed.
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, square(0, 0, 2), ZcGeDoubleArray{0, 1, 0, 0}), Zcad::eOk);
  EXPECT_EQ(hatch.transformBy(ZcGeMatrix3d::scaling(ZcGeVector3d(3, 1, 1))), Zcad::eNotApplicable);
  ASSERT_EQ(hatch.getLoopAt(0, type, edges), Zcad::eOk);
  EXPECT_NEAR(edges[0].majorAxis().length(), 2.0, kTol);
}

TEST(ZcDbHatchTest, BadInputIsRefusedAndChangesNothing) {
  ZcDbHatch hatch;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcGePoint2dArray(), ZcGeDoubleArray()),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcDbHatchEdgeArray()), Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, square(0, 0, 1), ZcGeDoubleArray{0, 1}),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcGePoint2dArray{ZcGePoint2d(nan, 0)}, ZcGeDoubleArray()),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, square(0, 0, 1), ZcGeDoubleArray{0, nan, 0, 0}),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcDbHatchEdgeArray{ZcDbHatchEdge::circularArc(
                                                      ZcGePoint2d(0, 0), 0.0, 0.0, 1.0)}),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcDbHatchEdgeArray{ZcDbHatchEdge::ellipticalArc(
                                                      ZcGePoint2d(0, 0), ZcGeVector2d(1, 0),
                                                      /*minorMajorRatio=*/1.5, 0.0, 1.0)}),
            Zcad::eInvalidInput);
  // Knots that do not match the control points.
  EXPECT_EQ(hatch.appendLoop(ZcDbHatch::kDefault,
                             ZcDbHatchEdgeArray{ZcDbHatchEdge::spline(
                                 2, false, false, ZcGeDoubleArray{0, 0, 1, 1},
                                 ZcGePoint2dArray{ZcGePoint2d(0, 0), ZcGePoint2d(1, 1), ZcGePoint2d(2, 0)},
                                 ZcGeDoubleArray())}),
            Zcad::eInvalidInput);
  EXPECT_EQ(hatch.numLoops(), 0);
  ZcDbExtents e;
  EXPECT_EQ(hatch.getGeomExtents(e), Zcad::eInvalidExtents);
  EXPECT_EQ(hatch.setPatternScale(0.0), Zcad::eInvalidInput);
  EXPECT_EQ(hatch.setElevation(nan), Zcad::eInvalidInput);
  EXPECT_EQ(hatch.setNormal(ZcGeVector3d::kIdentity), Zcad::eInvalidInput);
  EXPECT_EQ(hatch.transformBy(ZcGeMatrix3d::scaling(0.0)), Zcad::eInvalidInput);
  EXPECT_EQ(hatch.loopTypeAt(7), ZcDbHatch::kDefault);
  Zdesk::Int32 type = 0;
  ZcDbHatchEdgeArray edges;
  EXPECT_EQ(hatch.getLoopAt(-1, type, edges), Zcad::eInvalidIndex);

  // A single vertex is a degenerate loop: kept, no NaN.
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kDefault, ZcGePoint2dArray{ZcGePoint2d(1, 1)}, ZcGeDoubleArray{1}),
            Zcad::eOk);
  ASSERT_EQ(hatch.getGeomExtents(e), Zcad::eOk);
  EXPECT_TRUE(e.minPoint().isEqualTo(ZcGePoint3d(1, 1, 0)));
  EXPECT_NEAR(areaOf(hatch), 0.0, kTol);
}

TEST(ZcDbHatchClassTest, ReadersFindTheClassByItsDrawingNames) {
  EXPECT_EQ(zcrxFindZcRxClass(L"AcDbHatch"), ZcDbHatch::desc());
  ZcRxObject* created = zcrxCreateObject(L"HATCH");
  EXPECT_NE(ZcDbHatch::cast(created), nullptr);
  delete created;
}

TEST(ZcDbHatchTest, PatternAndFiling) {
  ZcDbHatch hatch;
  EXPECT_FALSE(hatch.isSolidFill());
  ASSERT_EQ(hatch.setPattern(ZcDbHatch::kPreDefined, L"solid"), Zcad::eOk);
  EXPECT_TRUE(hatch.isSolidFill());
  ASSERT_EQ(hatch.setPattern(ZcDbHatch::kUserDefined, L""), Zcad::eOk);
  EXPECT_EQ(hatch.patternName(), ZcString(L"_USER"));
  ASSERT_EQ(hatch.setAssociative(true), Zcad::eOk);
  ASSERT_EQ(hatch.setPatternAngle(0.5), Zcad::eOk);
  ASSERT_EQ(hatch.setPatternSpace(2.5), Zcad::eOk);
  ASSERT_EQ(hatch.setHatchStyle(ZcDbHatch::kOuter), Zcad::eOk);
  ASSERT_EQ(hatch.setElevation(3.0), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kExternal, square(0, 0, 2), ZcGeDoubleArray{0, 1, 0, 0}), Zcad::eOk);
  ASSERT_EQ(hatch.appendLoop(ZcDbHatch::kOutermost, mixedEdges()), Zcad::eOk);

  MemoryDwgFiler filer;
  ASSERT_EQ(hatch.dwgOutFields(&filer), Zcad::eOk);
  filer.rewind();
  ZcDbHatch copy;
  ASSERT_EQ(copy.dwgInFields(&filer), Zcad::eOk);
  EXPECT_TRUE(copy.associative());
  EXPECT_EQ(copy.patternType(), ZcDbHatch::kUserDefined);
  EXPECT_DOUBLE_EQ(copy.patternAngle(), 0.5);
  EXPECT_DOUBLE_EQ(copy.patternSpace(), 2.5);
  EXPECT_EQ(copy.hatchStyle(), ZcDbHatch::kOuter);
  EXPECT_DOUBLE_EQ(copy.elevation(), 3.0);
  ASSERT_EQ(copy.numLoops(), 2);
  Zdesk::Int32 type = 0;
  ZcDbHatchEdgeArray edges;
  ASSERT_EQ(copy.getLoopAt(1, type, edges), Zcad::eOk);
  EXPECT_EQ(type, ZcDbHatch::kOutermost);
  EXPECT_TRUE(edges == mixedEdges());
  ZcGePoint2dArray vertices;
  ZcGeDoubleArray bulges;
  ASSERT_EQ(copy.getLoopAt(0, type, vertices, bulges), Zcad::eOk);
  EXPECT_TRUE(vertices == square(0, 0, 2));
  EXPECT_DOUBLE_EQ(bulges[1], 1.0);
}

}  // namespace
