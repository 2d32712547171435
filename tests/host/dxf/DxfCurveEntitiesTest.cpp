// ARC, CIRCLE, ELLIPSE and POINT: files in the R12 and R2013 forms read into the classes,
// saved and read again, and damaged values repaired or dropped with a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/ge/ZcGe.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

constexpr double kTol = 1e-12;
constexpr double kDeg = ZcGe::kPi / 180.0;

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

void expectNear(const ZcGePoint3d& a, const ZcGePoint3d& b) {
  EXPECT_LT(a.distanceTo(b), kTol) << a.x << "," << a.y;
}

// Start, middle and end point of every curve of model space, to compare two loads.
std::vector<ZcGePoint3d> curveSamples(ZcDbDatabase& db) {
  std::vector<ZcGePoint3d> points;
  for (ZcDbObjectId id : modelSpaceEntities(db)) {
    ZcDbCurve* curve = nullptr;
    if (zcdbOpenObject(curve, id, ZcDb::kForRead) != Zcad::eOk) continue;  // a point
    double t0 = 0.0, t1 = 0.0;
    curve->getStartParam(t0);
    curve->getEndParam(t1);
    for (double t : {t0, 0.5 * (t0 + t1), t1}) {
      curve->getPointAtParam(t, points.emplace_back());
    }
    curve->close();
  }
  return points;
}

void expectSameCurves(ZcDbDatabase& a, ZcDbDatabase& b) {
  const std::vector<ZcGePoint3d> pa = curveSamples(a), pb = curveSamples(b);
  ASSERT_EQ(pa.size(), pb.size());
  for (size_t i = 0; i < pa.size(); ++i) expectNear(pa[i], pb[i]);
}

// The ENTITIES section of a saved drawing (handles of other objects may differ between saves).
std::string entitiesOf(const std::string& text) {
  const size_t from = text.find("ENTITIES");
  return text.substr(from, text.find("ENDSEC", from) - from);
}

}  // namespace

TEST(DxfCurveEntities, R12AndR2013CirclesArcsEllipsesAndPointsRoundTrip) {
  const std::string text = entitiesOnly(groups(
      // R12: no subclass markers.
      "0 CIRCLE 8 0 10 1 20 2 30 3 40 4 39 0.5 "
      "0 ARC 8 0 10 0 20 0 30 0 40 2 50 30 51 120 "
      // R2013.
      "0 ARC 5 30 100 AcDbEntity 8 0 100 AcDbCircle 10 5 20 5 30 0 40 1 100 AcDbArc 50 350 51 10 "
      "0 ELLIPSE 5 31 100 AcDbEntity 8 0 100 AcDbEllipse 10 1 20 1 30 0 11 3 21 0 31 0 40 0.5 41 0.5 42 4 "
      "0 POINT 5 32 100 AcDbEntity 8 0 100 AcDbPoint 10 7 20 8 30 9 39 2 50 90"));
  LoadResult first = mustLoad(text);
  ASSERT_TRUE(first.ok());
  ZcDbDatabase& db = *first.database;
  ASSERT_EQ(modelSpaceEntities(db).size(), 5u);

  ZcDbCircle* circle = openModelSpaceEntity<ZcDbCircle>(db, 0);
  ASSERT_TRUE(circle);
  expectNear(circle->center(), ZcGePoint3d(1, 2, 3));
  EXPECT_EQ(circle->radius(), 4.0);
  EXPECT_EQ(circle->thickness(), 0.5);
  circle->close();
  ZcDbArc* arc = openModelSpaceEntity<ZcDbArc>(db, 1);
  ASSERT_TRUE(arc);
  EXPECT_NEAR(arc->endAngle(), 120 * kDeg, kTol);
  ZcGePoint3d p;
  arc->getStartPoint(p);
  expectNear(p, ZcGePoint3d(2 * std::cos(30 * kDeg), 1.0, 0.0));
  arc->close();
  // Through the OCS x axis: the sweep is 20 degrees, not 340.
  arc = openModelSpaceEntity<ZcDbArc>(db, 2);
  ASSERT_TRUE(arc);
  EXPECT_NEAR(arc->totalAngle(), 20 * kDeg, kTol);
  arc->close();
  // Parameters, not angles: the start is at parameter 0.5 of the 3 by 1.5 ellipse.
  ZcDbEllipse* ellipse = openModelSpaceEntity<ZcDbEllipse>(db, 3);
  ASSERT_TRUE(ellipse);
  ellipse->getStartPoint(p);
  expectNear(p, ZcGePoint3d(1 + 3 * std::cos(0.5), 1 + 1.5 * std::sin(0.5), 0));
  ellipse->close();
  ZcDbPoint* point = openModelSpaceEntity<ZcDbPoint>(db, 4);
  ASSERT_TRUE(point);
  expectNear(point->position(), ZcGePoint3d(7, 8, 9));
  EXPECT_NEAR(point->ecsRotation(), ZcGe::kHalfPi, kTol);
  point->close();

  LoadResult second = saveAndLoad(db);
  ASSERT_TRUE(second.ok());
  expectSameCurves(db, *second.database);
  point = openModelSpaceEntity<ZcDbPoint>(*second.database, 4);
  ASSERT_TRUE(point);
  EXPECT_NEAR(point->ecsRotation(), ZcGe::kHalfPi, kTol);
  EXPECT_EQ(point->thickness(), 2.0);
  point->close();
  // Angles and coordinates read back bit for bit: the file's "30" stays 30.
  const std::string saved = writeDxf(db);
  EXPECT_NE(saved.find(" 50\r\n30.0\r\n"), std::string::npos);
  LoadResult third = saveAndLoad(*second.database);
  ASSERT_TRUE(third.ok());
  EXPECT_EQ(entitiesOf(saved), entitiesOf(writeDxf(*third.database)));
}

TEST(DxfCurveEntities, CentresInTheExtrusionsCoordinateSystemBecomeWorldPoints) {
  // Extrusion -Z: the OCS x axis is world -X, so OCS (1, 2, 3) is world (-1, 2, -3), and the
  // arc's angles are measured from that axis.
  LoadResult loaded =
      mustLoad(entitiesOnly(groups("0 CIRCLE 8 0 10 1 20 2 30 3 40 1 210 0 220 0 230 -1 "
                                   "0 ARC 8 0 10 1 20 2 30 3 40 1 50 0 51 90 210 0 220 0 230 -1 "
                                   "0 CIRCLE 8 0 10 1 20 2 30 3 40 1.5 210 1 220 1 230 1")));
  ASSERT_TRUE(loaded.ok());
  ZcDbDatabase& db = *loaded.database;
  ZcDbCircle* circle = openModelSpaceEntity<ZcDbCircle>(db, 0);
  ASSERT_TRUE(circle);
  expectNear(circle->center(), ZcGePoint3d(-1, 2, -3));
  circle->close();
  ZcDbArc* arc = openModelSpaceEntity<ZcDbArc>(db, 1);
  ASSERT_TRUE(arc);
  ZcGePoint3d start;
  arc->getStartPoint(start);
  expectNear(start, ZcGePoint3d(-2, 2, -3));
  arc->close();
  // A tilted extrusion: the centre lies at height 3 along the normal.
  circle = openModelSpaceEntity<ZcDbCircle>(db, 2);
  ASSERT_TRUE(circle);
  EXPECT_NEAR(circle->center().asVector().dotProduct(ZcGeVector3d(1, 1, 1).normal()), 3.0, kTol);
  EXPECT_NEAR(circle->center().asVector().length(), std::sqrt(14.0), kTol);
  circle->close();

  LoadResult again = saveAndLoad(db);
  ASSERT_TRUE(again.ok());
  expectSameCurves(db, *again.database);
}

// The sample's circles have radius 0 and -1: the first is kept as the database holds it (its
// centre point), the second read as radius 1, which draws the same points.
TEST(DxfCurveEntities, CircleRadiusLessOrEqualZeroSampleKeepsZeroAndTakesTheMagnitude) {
  const char* shared = std::getenv("VTCAD_SHARED");
  LoadResult loaded = loadDxfFile(std::filesystem::path(shared ? shared : "../shared") / "dxf-samples" /
                                  "circle_radius_le_0.dxf");
  ASSERT_TRUE(loaded.ok()) << loaded.refusal;
  std::vector<double> radii;
  for (ZcDbObjectId id : modelSpaceEntities(*loaded.database)) {
    ZcDbCircle* circle = nullptr;
    if (zcdbOpenObject(circle, id, ZcDb::kForRead) != Zcad::eOk) continue;
    radii.push_back(circle->radius());
    double length = -1.0;
    circle->getDistAtParam(ZcGe::kTwoPi, length);
    EXPECT_NEAR(length, ZcGe::kTwoPi * circle->radius(), kTol);
    circle->close();
  }
  EXPECT_EQ(radii, (std::vector<double>{0.0, 1.0}));
  EXPECT_TRUE(saysSomething(loaded, "magnitude"));

  // An arc of radius -2: |r| with the angles half a turn on gives the same end points.
  LoadResult arcs = mustLoad(entitiesOnly(groups("0 ARC 8 0 10 0 20 0 30 0 40 -2 50 0 51 90")));
  ZcDbArc* arc = openModelSpaceEntity<ZcDbArc>(*arcs.database, 0);
  ASSERT_TRUE(arc);
  ZcGePoint3d start, end;
  arc->getStartPoint(start);
  arc->getEndPoint(end);
  expectNear(start, ZcGePoint3d(-2, 0, 0));
  expectNear(end, ZcGePoint3d(0, -2, 0));
  arc->close();
}

TEST(DxfCurveEntities, DamagedValuesAreRepairedOrDroppedWithAMessage) {
  LoadResult loaded = mustRecover(entitiesOnly(groups(
      // Dropped: no centre; radius not a number; centre not finite; no end angle; zero axis;
      // major axis off the plane; no position.
      "0 CIRCLE 8 0 40 1 "
      "0 CIRCLE 8 0 10 0 20 0 40 nan "
      "0 CIRCLE 8 0 10 1e999 20 0 40 1 "
      "0 ARC 8 0 10 0 20 0 40 1 50 0 "
      "0 ELLIPSE 8 0 10 0 20 0 11 0 21 0 40 0.5 "
      "0 ELLIPSE 8 0 10 0 20 0 11 1 21 0 31 1 40 0.5 "
      "0 POINT 8 0 39 1 "
      // Kept: axes given the other way round (swapped), a zero extrusion (kept as it was).
      "0 ELLIPSE 8 0 10 0 20 0 11 1 21 0 40 2 41 0 42 1.5707963267948966 "
      "0 CIRCLE 8 0 10 0 20 0 40 1 210 0 220 0 230 0")));
  ASSERT_TRUE(loaded.ok());
  ZcDbDatabase& db = *loaded.database;
  ASSERT_EQ(modelSpaceEntities(db).size(), 2u);
  for (const char* reason : {"centre", "not a number", "end angle", "zero axis", "off the plane", "position",
                             "swapped", "extrusion"}) {
    EXPECT_TRUE(saysSomething(loaded, reason)) << reason;
  }
  ZcDbEllipse* ellipse = openModelSpaceEntity<ZcDbEllipse>(db, 0);
  ASSERT_TRUE(ellipse);
  EXPECT_NEAR(ellipse->majorRadius(), 2.0, kTol);
  EXPECT_NEAR(ellipse->radiusRatio(), 0.5, kTol);
  // Still the quarter from the end of the given axis (1, 0) to the end of the long one (0, 2).
  ZcGePoint3d start, end;
  ellipse->getStartPoint(start);
  ellipse->getEndPoint(end);
  expectNear(start, ZcGePoint3d(1, 0, 0));
  expectNear(end, ZcGePoint3d(0, 2, 0));
  ellipse->close();

  LoadResult again = saveAndLoad(db);
  ASSERT_TRUE(again.ok());
  expectSameCurves(db, *again.database);
}
