// SPLINE and HELIX: control-point and fit-point splines from files, rational and periodic
// ones through a save, damaged counts and values, and a helix's parameters and spline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbSpline.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

constexpr double kTol = 1e-9;

// Groups from "code value code value ..." (values without blanks).
Groups groups(const std::string& text) {
  Groups result;
  std::istringstream in(text);
  int code = 0;
  std::string value;
  while (in >> code >> value) result.emplace_back(code, value);
  return result;
}

bool saysSomething(const LoadResult& r, const std::string& part) {
  return std::any_of(r.messages.begin(), r.messages.end(),
                     [&](const LoadMessage& m) { return m.text.find(part) != std::string::npos; });
}

const std::string kHead = "0 SPLINE 100 AcDbEntity 8 0 100 AcDbSpline ";
// A planar cubic Bezier from (0,0) to (4,0): one span.
const std::string kBezier =
    "70 8 71 3 40 0 40 0 40 0 40 0 40 1 40 1 40 1 40 1 "
    "10 0 20 0 30 0 10 1 20 2 30 0 10 3 20 2 30 0 10 4 20 0 30 0 ";

// Points of a curve at n + 1 evenly spaced parameters.
std::vector<ZcGePoint3d> sampled(const ZcDbCurve& curve, int n = 16) {
  double t0 = 0.0, t1 = 0.0;
  curve.getStartParam(t0);
  curve.getEndParam(t1);
  std::vector<ZcGePoint3d> points;
  for (int i = 0; i <= n; ++i) curve.getPointAtParam(t0 + (t1 - t0) * i / n, points.emplace_back());
  return points;
}

// Both drawings' first entity is the same spline.
void expectSameSpline(LoadResult& a, LoadResult& b) {
  ZcDbSpline* sa = openModelSpaceEntity<ZcDbSpline>(*a.database, 0);
  ZcDbSpline* sb = openModelSpaceEntity<ZcDbSpline>(*b.database, 0);
  ASSERT_TRUE(sa && sb);
  const std::vector<ZcGePoint3d> pa = sampled(*sa), pb = sampled(*sb);
  for (size_t i = 0; i < pa.size(); ++i) EXPECT_LT(pa[i].distanceTo(pb[i]), kTol) << i;
  EXPECT_EQ(sa->isPeriodic(), sb->isPeriodic());
  EXPECT_EQ(sa->isRational(), sb->isRational());
  EXPECT_EQ(sa->numFitPoints(), sb->numFitPoints());
  sa->close();
  sb->close();
}

}  // namespace

TEST(DxfSpline, ControlPointsAreTheGeometryAndFitPointsBesideThemAreKeptAsGiven) {
  // Fit points that the control points do not interpolate: they must not move the curve.
  LoadResult first = mustLoad(entitiesOnly(groups(kHead + kBezier +
                                                  "44 1e-10 11 0 21 0 31 0 11 2 21 3 31 0 "
                                                  "11 4 21 0 31 0")));
  ZcDbSpline* spline = openModelSpaceEntity<ZcDbSpline>(*first.database, 0);
  ASSERT_TRUE(spline);
  ZcGePoint3d mid;
  spline->getPointAtParam(0.5, mid);
  EXPECT_LT(mid.distanceTo(ZcGePoint3d(2, 1.5, 0)), kTol);  // the Bezier's middle
  EXPECT_EQ(spline->type(), ZcDb::kFitPoints);
  ASSERT_EQ(spline->numFitPoints(), 3);
  ZcGePoint3d fit;
  spline->getFitPointAt(1, fit);
  EXPECT_EQ(fit, ZcGePoint3d(2, 3, 0));
  EXPECT_EQ(spline->fitTolerance(), 1e-10);
  spline->close();

  LoadResult second = saveAndLoad(*first.database);
  expectSameSpline(first, second);
}

TEST(DxfSpline, FitPointsAloneAreInterpolatedAndAClosedOneComesBackPeriodic) {
  LoadResult open = mustLoad(entitiesOnly(groups(
      kHead + "70 8 71 3 11 0 21 0 31 0 11 1 21 1 31 0 11 2 21 0 31 0 11 3 21 1 31 0 12 1 22 0 32 0")));
  ZcDbSpline* spline = openModelSpaceEntity<ZcDbSpline>(*open.database, 0);
  ASSERT_TRUE(spline);
  for (const ZcGePoint3d& p : {ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0), ZcGePoint3d(3, 1, 0)}) {
    ZcGePoint3d on;
    spline->getClosestPointTo(p, on);
    EXPECT_LT(on.distanceTo(p), kTol);
  }
  ZcGeVector3d start, end;
  spline->getFitTangents(start, end);
  EXPECT_EQ(start, ZcGeVector3d(1, 0, 0));
  spline->close();

  // Closed (flags 1 | 2 | 8), each point listed once: the database closes it smoothly.
  LoadResult first = mustLoad(
      entitiesOnly(groups(kHead + "70 11 71 3 11 0 21 0 31 0 11 2 21 0 31 0 11 2 21 2 31 0 11 0 21 2 31 0")));
  spline = openModelSpaceEntity<ZcDbSpline>(*first.database, 0);
  ASSERT_TRUE(spline);
  EXPECT_TRUE(spline->isClosed());
  EXPECT_TRUE(spline->isPeriodic());
  spline->close();
  LoadResult second = saveAndLoad(*first.database);
  expectSameSpline(first, second);
}

TEST(DxfSpline, RationalCircleKeepsItsWeightsThroughASave) {
  LoadResult first = mustLoad(entitiesOnly(groups(
      kHead +
      "70 13 71 2 40 0 40 0 40 0 40 1 40 1 40 2 40 2 40 3 40 3 40 4 40 4 40 4 "
      "41 1 41 0.7071067811865476 41 1 41 0.7071067811865476 41 1 41 0.7071067811865476 41 1 "
      "41 0.7071067811865476 41 1 "
      "10 1 20 0 10 1 20 1 10 0 20 1 10 -1 20 1 10 -1 20 0 10 -1 20 -1 10 0 20 -1 10 1 20 -1 10 1 20 0")));
  ZcDbSpline* spline = openModelSpaceEntity<ZcDbSpline>(*first.database, 0);
  ASSERT_TRUE(spline);
  EXPECT_TRUE(spline->isRational());
  for (const ZcGePoint3d& p : sampled(*spline, 37)) EXPECT_NEAR(p.asVector().length(), 1.0, kTol);
  spline->close();
  LoadResult second = saveAndLoad(*first.database);
  expectSameSpline(first, second);
}

TEST(DxfSpline, DamagedCountsKnotsAndWeightsAreRepairedOrDroppedWithAMessage) {
  const std::string shortKnots =
      "70 8 71 3 40 0 40 0 40 0 40 0 40 1 40 1 40 1 "
      "10 0 20 0 10 1 20 2 10 3 20 2 10 4 20 0 ";
  LoadResult loaded = mustRecover(entitiesOnly(groups(
      // Knots one short and nothing else to go by: dropped ("knot count mismatch").
      kHead + shortKnots +
      // The same with fit points: rebuilt from them.
      kHead + shortKnots + "11 0 21 0 11 2 21 1 11 4 21 0 " +
      // Absurd declared counts, weights for too few points: loaded, polynomial.
      kHead + "72 2000000000 73 -7 " + kBezier + "41 1 41 2 41 1 " +
      // No knots at all: uniform ones are made.
      kHead + "70 8 71 2 10 0 20 0 10 1 20 1 10 2 20 0 10 3 20 1 " +
      // A control point that is no number and no fit points: dropped.
      kHead + "70 8 71 1 40 0 40 0 40 1 40 1 10 0 20 0 10 nan 20 1")));
  ASSERT_TRUE(loaded.ok());
  ASSERT_EQ(modelSpaceEntities(*loaded.database).size(), 3u);
  for (const char* reason : {"do not match", "rebuilt from its fit points", "2000000000 knots", "weights",
                             "uniform knots", "not a number"}) {
    EXPECT_TRUE(saysSomething(loaded, reason)) << reason;
  }
  ZcDbSpline* spline = openModelSpaceEntity<ZcDbSpline>(*loaded.database, 0);
  ASSERT_TRUE(spline);
  ZcGePoint3d on;
  spline->getClosestPointTo(ZcGePoint3d(2, 1, 0), on);
  EXPECT_LT(on.distanceTo(ZcGePoint3d(2, 1, 0)), kTol);
  spline->close();
  spline = openModelSpaceEntity<ZcDbSpline>(*loaded.database, 1);
  ASSERT_TRUE(spline);
  EXPECT_FALSE(spline->isRational());
  spline->close();
  spline = openModelSpaceEntity<ZcDbSpline>(*loaded.database, 2);
  ASSERT_TRUE(spline);
  EXPECT_EQ(spline->numKnots(), 7);
  spline->close();
}

TEST(DxfHelix, ParametersAndSplineSurviveASaveAndTheTopRadiusComesFromTheSplineWhenMissing) {
  LoadResult empty = mustLoad(entitiesOnly({}));
  ZcDbDatabase& db = *empty.database;
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  auto* helix = new ZcDbHelix;
  helix->setAxisVector(ZcGeVector3d(0, 1, 1));
  helix->setAxisPoint(ZcGePoint3d(1, 2, 3));
  helix->setBaseRadius(2.0);
  helix->setTopRadius(0.5);
  helix->setTurns(2.5);
  helix->setTurnHeight(0.75);
  helix->setTwist(/*counterClockwise=*/false);
  helix->setConstrain(ZcDbHelix::kHeight);
  ASSERT_EQ(space->appendZcDbEntity(helix), Zcad::eOk);
  helix->close();
  space->close();

  const std::string text = writeDxf(db);
  LoadResult loaded = mustLoad(text);
  ZcDbHelix* a = openModelSpaceEntity<ZcDbHelix>(db, 0);
  ZcDbHelix* b = openModelSpaceEntity<ZcDbHelix>(*loaded.database, 0);
  ASSERT_TRUE(a && b);
  EXPECT_LT(a->axisPoint().distanceTo(b->axisPoint()), kTol);
  EXPECT_LT(a->startPoint().distanceTo(b->startPoint()), kTol);
  EXPECT_TRUE(a->axisVector().isEqualTo(b->axisVector()));
  EXPECT_NEAR(b->baseRadius(), 2.0, kTol);
  EXPECT_NEAR(b->topRadius(), 0.5, kTol);
  EXPECT_NEAR(b->turns(), 2.5, kTol);
  EXPECT_NEAR(b->turnHeight(), 0.75, kTol);
  EXPECT_FALSE(b->twist());
  EXPECT_EQ(b->constrain(), ZcDbHelix::kHeight);
  const std::vector<ZcGePoint3d> pa = sampled(*a), pb = sampled(*b);
  for (size_t i = 0; i < pa.size(); ++i) EXPECT_LT(pa[i].distanceTo(pb[i]), kTol) << i;
  a->close();
  b->close();

  // Without group 40 the end of the file's spline gives the top radius.
  const size_t radiusAt = text.find("\r\n 40\r\n", text.find("AcDbHelix"));
  ASSERT_NE(radiusAt, std::string::npos);
  std::string withoutRadius = text;
  withoutRadius.erase(radiusAt, text.find("\r\n", radiusAt + 6) - radiusAt);
  LoadResult derived = mustLoad(withoutRadius);
  ZcDbHelix* c = openModelSpaceEntity<ZcDbHelix>(*derived.database, 0);
  ASSERT_TRUE(c);
  EXPECT_NEAR(c->topRadius(), 0.5, 1e-7);
  c->close();
}
