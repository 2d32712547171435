#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "CurveTestSupport.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

using namespace curve_test;

namespace {

constexpr double kPi = ZcGe::kPi;

ZcGePoint3dArray wavyPoints(int n, double lift = 0.0) {
  ZcGePoint3dArray points;
  for (int i = 0; i < n; ++i) {
    const double t = 0.8 * i;
    points.append({3.0 * t + 0.4 * std::sin(4.0 * t), 2.0 * std::sin(t), lift * std::cos(1.3 * t)});
  }
  return points;
}

// A rational quadratic quarter circle of radius 2 about the origin (exact).
ZcDbSpline quarterCircle() {
  const double w = std::sqrt(0.5);
  return ZcDbSpline(2, /*rational=*/true, /*closed=*/false, /*periodic=*/false,
                    {{2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, {0, 0, 0, 1, 1, 1}, {1, w, 1});
}

void expectThrough(const ZcDbSpline& spline, const ZcGePoint3dArray& points) {
  for (int i = 0; i < points.length(); ++i) {
    ZcGePoint3d onCurve;
    ASSERT_EQ(spline.getClosestPointTo(points[i], onCurve), Zcad::eOk);
    EXPECT_LE(onCurve.distanceTo(points[i]), 1e-9) << i;
  }
}

TEST(ZcDbSplineTest, FitSplinePassesThroughEveryFitPoint) {
  const ZcGePoint3dArray points = wavyPoints(9, /*lift=*/0.5);
  const ZcDbSpline spline(points, /*order=*/4, /*fitTolerance=*/0.0);
  EXPECT_EQ(spline.type(), ZcDb::kFitPoints);
  EXPECT_EQ(spline.degree(), 3);
  EXPECT_EQ(spline.numFitPoints(), 9);
  expectThrough(spline, points);
  ZcGePoint3d start, end;
  spline.getStartPoint(start);
  spline.getEndPoint(end);
  EXPECT_TRUE(start.isEqualTo(points.first()));
  EXPECT_TRUE(end.isEqualTo(points.last()));
  ZcGePoint3dArray fitPoints;
  int degree = 0;
  double tolerance = -1.0;
  bool tangentsExist = true;
  ZcGeVector3d startTangent, endTangent;
  ASSERT_EQ(spline.getFitData(fitPoints, degree, tolerance, tangentsExist, startTangent, endTangent),
            Zcad::eOk);
  EXPECT_EQ(fitPoints, points);
  EXPECT_EQ(degree, 3);
  EXPECT_EQ(tolerance, 0.0);
  EXPECT_FALSE(tangentsExist);
}

TEST(ZcDbSplineTest, MovingTheEndFitPointsMovesTheEnds) {
  // The connector reactor's edit: fit point 0 and n - 1 go to new side midpoints.
  ZcDbSpline connector({{0, 0, 0}, {10, 5, 0}}, ZcGeVector3d(1, 0, 0), ZcGeVector3d(1, 0, 0));
  ASSERT_EQ(connector.setFitPointAt(0, {-2, 1, 0}), Zcad::eOk);
  ASSERT_EQ(connector.setFitPointAt(connector.numFitPoints() - 1, {12, 7, 0}), Zcad::eOk);
  ZcGePoint3d start, end;
  connector.getStartPoint(start);
  connector.getEndPoint(end);
  EXPECT_TRUE(start.isEqualTo({-2, 1, 0}));
  EXPECT_TRUE(end.isEqualTo({12, 7, 0}));
  // The end directions stay horizontal.
  double startParam = 0.0, endParam = 0.0;
  connector.getStartParam(startParam);
  connector.getEndParam(endParam);
  ZcGeVector3d d;
  connector.getFirstDeriv(startParam, d);
  EXPECT_TRUE(d.isCodirectionalTo(ZcGeVector3d::kXAxis));
  connector.getFirstDeriv(endParam, d);
  EXPECT_TRUE(d.isCodirectionalTo(ZcGeVector3d::kXAxis));
  EXPECT_EQ(connector.setFitPointAt(2, {0, 0, 0}), Zcad::eInvalidIndex);
  EXPECT_EQ(connector.setFitPointAt(0, {std::nan(""), 0, 0}), Zcad::eInvalidInput);
}

TEST(ZcDbSplineTest, FitPointsAreInsertedAndRemovedWithReinterpolation) {
  ZcDbSpline spline(wavyPoints(4));
  ASSERT_EQ(spline.insertFitPointAt(4, {20, 0, 0}), Zcad::eOk);
  ASSERT_EQ(spline.addFitPointAt(0, {-5, 0, 0}), Zcad::eOk);
  EXPECT_EQ(spline.numFitPoints(), 6);
  ZcGePoint3d end;
  spline.getEndPoint(end);
  EXPECT_TRUE(end.isEqualTo({20, 0, 0}));
  ASSERT_EQ(spline.removeFitPointAt(0), Zcad::eOk);
  ZcGePoint3d start;
  spline.getStartPoint(start);
  EXPECT_TRUE(start.isEqualTo(wavyPoints(1).first()));
  while (spline.numFitPoints() > 2) ASSERT_EQ(spline.removeFitPointAt(1), Zcad::eOk);
  EXPECT_EQ(spline.removeFitPointAt(0), Zcad::eInvalidInput) << "two fit points remain";
  EXPECT_EQ(spline.insertFitPointAt(5, {0, 0, 0}), Zcad::eInvalidIndex);
}

TEST(ZcDbSplineTest, ClosedFitPointsGiveASmoothPeriodicSpline) {
  ZcGePoint3dArray points{{0, 0, 0}, {4, 0, 0}, {5, 3, 0}, {1, 4, 0}, {0, 0, 0}};
  const ZcDbSpline spline(points);
  EXPECT_TRUE(spline.isClosed());
  EXPECT_TRUE(spline.isPeriodic());
  expectThrough(spline, points);
  double startParam = 0.0, endParam = 0.0;
  spline.getStartParam(startParam);
  spline.getEndParam(endParam);
  ZcGeVector3d atStart, atEnd;
  spline.getFirstDeriv(startParam, atStart);
  spline.getFirstDeriv(endParam, atEnd);
  EXPECT_TRUE(atStart.isEqualTo(atEnd, ZcGeTol(1e-9, 1e-9)));
  expectDistanceRoundTrips(spline);
  expectReversal(spline);
  expectTightExtents(spline);
}

TEST(ZcDbSplineTest, ControlPointSplineKeepsItsNurbsData) {
  const ZcGePoint3dArray controlPoints{{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}};
  const ZcGeDoubleArray knots{0, 0, 0, 0, 0.4, 1, 1, 1, 1};
  ZcDbSpline spline(3, /*rational=*/false, /*closed=*/false, /*periodic=*/false, controlPoints, knots, {});
  EXPECT_EQ(spline.type(), ZcDb::kControlPoints);
  EXPECT_FALSE(spline.hasFitData());
  int degree = 0;
  bool rational = true, closed = true, periodic = true;
  ZcGePoint3dArray points;
  ZcGeDoubleArray outKnots, weights;
  double controlPtTol = -1.0, knotTol = -1.0;
  ASSERT_EQ(spline.getNurbsData(degree, rational, closed, periodic, points, outKnots, weights, controlPtTol,
                                knotTol),
            Zcad::eOk);
  EXPECT_EQ(degree, 3);
  EXPECT_FALSE(rational || closed || periodic);
  EXPECT_EQ(points, controlPoints);
  EXPECT_EQ(outKnots, knots);
  EXPECT_TRUE(weights.isEmpty());
  ASSERT_EQ(spline.setControlPointAt(2, {3, 5, 1}), Zcad::eOk);
  ZcGePoint3d p;
  spline.getControlPointAt(2, p);
  EXPECT_TRUE(p.isEqualTo({3, 5, 1}));
  EXPECT_EQ(spline.getControlPointAt(5, p), Zcad::eInvalidIndex);
  EXPECT_EQ(spline.weightAt(0), 1.0);
  ASSERT_EQ(spline.setWeightAt(1, 2.0), Zcad::eOk);
  EXPECT_TRUE(spline.isRational());
  EXPECT_EQ(spline.setWeightAt(1, 0.0), Zcad::eInvalidInput);
}

TEST(ZcDbSplineTest, InvalidNurbsDataIsRefusedAndNothingStored) {
  ZcDbSpline spline = quarterCircle();
  const ZcGePoint3dArray three{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  EXPECT_EQ(spline.setNurbsData(2, false, false, false, three, {0, 0, 0, 1, 1}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(2, false, false, false, three, {0, 0, 1, 0, 1, 1}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(0, false, false, false, three, {0, 0, 1, 1}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(2, true, false, false, three, {0, 0, 0, 1, 1, 1}, {1, -1, 1}),
            Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(2, true, false, false, three, {0, 0, 0, 1, 1, 1}, {1, 1}),
            Zcad::eInvalidInput);
  EXPECT_EQ(spline.setFitData(three, /*degree=*/2, 0.0, {}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.numControlPoints(), 3);
  const ZcDbSpline refused(2, false, false, false, three, {0, 1, 2}, {});
  EXPECT_TRUE(refused.isNull());
}

TEST(ZcDbSplineTest, EndKnotRepeatedBeyondDegreePlusOneIsRefused) {
  // Was accepted: only inner knots were checked, and a first control point without any
  // influence on the curve went through.
  ZcDbSpline spline;
  const ZcGePoint3dArray three{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}};
  EXPECT_EQ(spline.setNurbsData(1, false, false, false, three, {0, 0, 0, 1, 1}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(1, false, false, false, three, {0, 0, 1, 1, 1}, {}), Zcad::eInvalidInput);
  EXPECT_EQ(spline.setNurbsData(1, false, false, false, three, {0, 0, 0.5, 1, 1}, {}), Zcad::eOk);
  EXPECT_EQ(spline.setNurbsData(2, false, false, false,
                                {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}, {5, 1, 0}},
                                {0, 0, 0, 0.5, 0.5, 0.5, 1, 1, 1}, {}),
            Zcad::eInvalidInput)
      << "an inner knot more often than the degree breaks the curve apart";
}

TEST(ZcDbSplineTest, RationalQuarterCircleMeasuresExactly) {
  const ZcDbSpline arc = quarterCircle();
  EXPECT_NEAR(lengthOf(arc), kPi, 1e-12);
  double area = 0.0;
  ASSERT_EQ(arc.getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, kPi - 2.0, 1e-12) << "quarter disc minus the triangle under the chord";
  expectDistanceRoundTrips(arc);
  expectReversal(arc);
  expectTightExtents(arc);
  expectDwgRoundTrip(arc);
  ZcDbExtents box;
  arc.getGeomExtents(box);
  EXPECT_TRUE(box.maxPoint().isEqualTo({2, 2, 0}, ZcGeTol(1e-9, 1e-9)));
}

TEST(ZcDbSplineTest, ClosedSplineAreaByGreensTheorem) {
  ZcDbSpline* raw = nullptr;
  ASSERT_EQ(ZcDbCircle({1, 2, 3}, ZcGeVector3d(1, 1, 1), 3.0).getSpline(raw), Zcad::eOk);
  std::unique_ptr<ZcDbSpline> circle(raw);
  double area = 0.0;
  ASSERT_EQ(circle->getArea(area), Zcad::eOk);
  EXPECT_NEAR(area, 9.0 * kPi, 1e-11);
}

TEST(ZcDbSplineTest, CurveProperties) {
  const ZcDbSpline spline(wavyPoints(12, /*lift=*/1.0));
  expectDistanceRoundTrips(spline, 301);
  expectReversal(spline);
  expectSplineFormAgrees(spline);
  expectTightExtents(spline);
  expectDwgRoundTrip(spline);
  expectTransformsCompose(spline, skewRotation(), mirrorYZ());
  expectTransformsCompose(spline, uniformScale(), shift());
  expectTransformsCompose(spline, ZcGeMatrix3d::scaling({1, 3, 0.5}), skewRotation(), /*sameStart=*/false);
}

TEST(ZcDbSplineTest, ReversingReversesTheFitData) {
  ZcDbSpline spline(wavyPoints(5), ZcGeVector3d(0, 1, 0), ZcGeVector3d(1, 1, 0));
  ASSERT_EQ(spline.reverseCurve(), Zcad::eOk);
  ZcGePoint3d first;
  spline.getFitPointAt(0, first);
  EXPECT_TRUE(first.isEqualTo(wavyPoints(5).last()));
  ZcGeVector3d startTangent, endTangent;
  ASSERT_EQ(spline.getFitTangents(startTangent, endTangent), Zcad::eOk);
  EXPECT_TRUE(startTangent.isEqualTo({-1, -1, 0}));
  EXPECT_TRUE(endTangent.isEqualTo({0, -1, 0}));
  // Re-interpolating the reversed fit data gives the reversed curve.
  const ZcGePoint3dArray before = pointsByLength(spline, 20);
  ASSERT_EQ(spline.setFitTol(0.0), Zcad::eOk);
  ASSERT_EQ(spline.setFitPointAt(0, first), Zcad::eOk);
  const ZcGePoint3dArray after = pointsByLength(spline, 20);
  for (int i = 0; i <= 20; ++i) EXPECT_LE(before[i].distanceTo(after[i]), 1e-9) << i;
}

TEST(ZcDbSplineTest, EditingControlDataDropsTheFitData) {
  ZcDbSpline spline(wavyPoints(5));
  ASSERT_EQ(spline.setControlPointAt(1, {1, 1, 1}), Zcad::eOk);
  EXPECT_FALSE(spline.hasFitData());
  EXPECT_EQ(spline.type(), ZcDb::kControlPoints);
  EXPECT_EQ(spline.setFitPointAt(0, {0, 0, 0}), Zcad::eNotApplicable);
  ZcDbSpline other(wavyPoints(5));
  const double length = lengthOf(other);
  ASSERT_EQ(other.elevateDegree(5), Zcad::eOk);
  EXPECT_EQ(other.degree(), 5);
  EXPECT_FALSE(other.hasFitData());
  EXPECT_NEAR(lengthOf(other), length, 1e-9 * length) << "same curve, new representation";
  EXPECT_EQ(other.elevateDegree(4), Zcad::eInvalidInput);
}

TEST(ZcDbSplineTest, CoincidentFitPointsGiveAPointAndRepeatedOnesAreSkipped) {
  const ZcDbSpline point({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
  EXPECT_FALSE(point.isNull());
  EXPECT_EQ(lengthOf(point), 0.0);
  ZcGePoint3d p;
  double param = 0.0, area = -1.0;
  ASSERT_EQ(point.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({1, 2, 3}));
  ASSERT_EQ(point.getParamAtPoint({1, 2, 3}, param), Zcad::eOk);
  ASSERT_EQ(point.getArea(area), Zcad::eOk);
  EXPECT_EQ(area, 0.0);
  // A doubled fit point inside the list is interpolated once.
  ZcGePoint3dArray doubled = wavyPoints(6);
  doubled.insertAt(3, doubled[3]);
  const ZcDbSpline spline(doubled);
  EXPECT_EQ(spline.numFitPoints(), 7);
  expectThrough(spline, doubled);
  expectDistanceRoundTrips(spline);
}

TEST(ZcDbSplineTest, NullSplineAnswersDegenerateGeometry) {
  const ZcDbSpline spline;
  EXPECT_TRUE(spline.isNull());
  double param = 0.0;
  ZcGePoint3d p;
  EXPECT_EQ(spline.getEndParam(param), Zcad::eDegenerateGeometry);
  EXPECT_EQ(spline.getPointAtDist(0.0, p), Zcad::eDegenerateGeometry);
  ZcDbExtents box;
  EXPECT_EQ(spline.getGeomExtents(box), Zcad::eInvalidExtents);
  EXPECT_FALSE(spline.isClosed());
  EXPECT_TRUE(ZcDbSpline(ZcGePoint3dArray()).isNull());
  EXPECT_TRUE(ZcDbSpline({{0, 0, 0}, {1, std::nan(""), 0}}).isNull());
}

TEST(ZcDbSplineTest, DistancesOnAManySpanSplineRoundTrip) {
  ZcGePoint3dArray points;
  for (int i = 0; i < 400; ++i) points.append({0.5 * i, std::sin(0.3 * i), 0.1 * std::cos(0.7 * i)});
  const ZcDbSpline spline(points);
  expectDistanceRoundTrips(spline, 200);
}

TEST(ZcDbSplineTest, PlaneOfAPlanarSplineFacesUp) {
  ZcGePlane plane;
  bool planar = false;
  ASSERT_EQ(ZcDbSpline(wavyPoints(6)).getPlane(plane, planar), Zcad::eOk);
  EXPECT_TRUE(planar);
  EXPECT_TRUE(plane.normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_EQ(ZcDbSpline(wavyPoints(6, /*lift=*/1.0)).getPlane(plane, planar), Zcad::eNotApplicable);
  EXPECT_FALSE(planar);
}

TEST(ZcDbSplineTest, GeCurveFitDataIsAdoptedWithOnlyTheGivenTangents) {
  const ZcGeNurbCurve3d fitted(wavyPoints(5), ZcGeVector3d(0, 1, 0), ZcGeVector3d(),
                               /*startTangentDefined=*/true,
                               /*endTangentDefined=*/false);
  ZcDbSpline spline;
  ASSERT_EQ(spline.setFromZcGeCurve(fitted), Zcad::eOk);
  EXPECT_EQ(spline.type(), ZcDb::kFitPoints);
  ZcGeVector3d startTangent, endTangent;
  ASSERT_EQ(spline.getFitTangents(startTangent, endTangent), Zcad::eOk);
  EXPECT_TRUE(startTangent.isCodirectionalTo({0, 1, 0}));
  EXPECT_TRUE(endTangent.isZeroLength());
  expectThrough(spline, wavyPoints(5));
}

TEST(ZcDbSplineTest, CurveClassesAreFoundByTheirDrawingNames) {
  // Readers look the classes up by name; they register when the library loads.
  for (const wchar_t* name :
       {L"AcDbLine", L"AcDbArc", L"AcDbCircle", L"AcDbEllipse", L"AcDbSpline", L"AcDbHelix", L"AcDbPoint"})
    EXPECT_NE(zcrxFindZcRxClass(name), nullptr) << name;
  std::unique_ptr<ZcRxObject> helix(zcrxCreateObject(L"HELIX"));
  ASSERT_NE(helix, nullptr);
  EXPECT_NE(ZcDbSpline::cast(helix.get()), nullptr);
  EXPECT_NE(ZcDbCurve::cast(helix.get()), nullptr);
}

class ZcDbSplineDrawingTest : public CurveDrawingTest {};

TEST_F(ZcDbSplineDrawingTest, FitPointEditIsUndoneWithItsFitData) {
  const ZcDbObjectId id = append(new ZcDbSpline(wavyPoints(5)));
  db_.beginUndoGroup(L"STRETCH");
  ZcDbSpline* spline = nullptr;
  ASSERT_EQ(zcdbOpenObject(spline, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(spline->setFitPointAt(0, {-9, -9, 0}), Zcad::eOk);
  spline->close();
  db_.endUndoGroup();
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(spline, id, ZcDb::kForRead), Zcad::eOk);
  ZcGePoint3d first, start;
  spline->getFitPointAt(0, first);
  spline->getStartPoint(start);
  EXPECT_TRUE(first.isEqualTo(wavyPoints(1).first()));
  EXPECT_TRUE(start.isEqualTo(first));
  spline->close();
}

// A polyline turned spline has a kink at every vertex. Points taken on the spline near a
// vertex were refused by getDistAtPoint (eInvalidInput): just before it the closest point
// search slid onto the following segment; just after it (the arc before the vertex bulges back
// close to the straight segment) the straight side's basin was never searched.
TEST(ZcDbSplineTest, DistAtPointNextToAPolylineVertexOfASplineFromAPolyline) {
  ZcDbPolyline polyline;
  polyline.addVertexAt(0, ZcGePoint2d(0, 0), 0.5);
  polyline.addVertexAt(1, ZcGePoint2d(4, 0), -0.7);
  polyline.addVertexAt(2, ZcGePoint2d(6, 3));
  polyline.addVertexAt(3, ZcGePoint2d(2, 5), 1.0);
  ZcDbSpline* raw = nullptr;
  ASSERT_EQ(polyline.getSpline(raw), Zcad::eOk);
  std::unique_ptr<ZcDbSpline> spline(raw);
  double endParam = 0.0, length = 0.0;
  ASSERT_EQ(spline->getEndParam(endParam), Zcad::eOk);
  ASSERT_EQ(spline->getDistAtParam(endParam, length), Zcad::eOk);
  for (int i = 0; i <= 200; ++i) {
    const double dist = length * i / 200;
    ZcGePoint3d point;
    ASSERT_EQ(spline->getPointAtDist(dist, point), Zcad::eOk);
    double back = -1.0;
    ASSERT_EQ(spline->getDistAtPoint(point, back), Zcad::eOk) << "dist " << dist;
    EXPECT_NEAR(back, dist, 1e-7) << "dist " << dist;
  }
}

}  // namespace
