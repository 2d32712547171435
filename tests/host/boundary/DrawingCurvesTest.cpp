// DrawingCurves: which entities bound regions and how their curves reach the plan view.
#include <gtest/gtest.h>

#include <cmath>

#include "boundary/BoundaryFinder.h"
#include "boundary/DrawingCurves.h"
#include "editor/SystemVariables.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace vtcad::boundary {
namespace {

constexpr double kPi = 3.14159265358979323846;

class DrawingCurvesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = zcdbHostApplicationServices()->workingDatabase();
    zcdbHostApplicationServices()->setWorkingDatabase(&db_);
  }
  void TearDown() override { zcdbHostApplicationServices()->setWorkingDatabase(previous_); }

  // Adds `entity` to `space` (model space when null) and closes it.
  ZcDbObjectId add(ZcDbEntity* entity, ZcDbObjectId space = {}) {
    ZcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(zcdbOpenObject(record, space.isNull() ? db_.currentSpaceId() : space, ZcDb::kForWrite),
              Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(record->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    record->close();
    return id;
  }

  ZcDbObjectId newBlock(const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db_.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* block = new ZcDbBlockTableRecord;
    block->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, block), Zcad::eOk);
    block->close();
    table->close();
    return id;
  }

  ZcDbObjectId newLayer(const wchar_t* name, bool off) {
    ZcDbLayerTable* layers = nullptr;
    EXPECT_EQ(db_.getLayerTable(layers, ZcDb::kForWrite), Zcad::eOk);
    auto* layer = new ZcDbLayerTableRecord();
    layer->setName(name);
    layer->setIsOff(off);
    ZcDbObjectId id;
    EXPECT_EQ(layers->add(id, layer), Zcad::eOk);
    layer->close();
    layers->close();
    return id;
  }

  void addSquareLines(double x0, double y0, double x1, double y1, ZcDbObjectId space = {}) {
    add(new ZcDbLine({x0, y0, 0}, {x1, y0, 0}), space);
    add(new ZcDbLine({x1, y0, 0}, {x1, y1, 0}), space);
    add(new ZcDbLine({x1, y1, 0}, {x0, y1, 0}), space);
    add(new ZcDbLine({x0, y1, 0}, {x0, y0, 0}), space);
  }

  std::vector<PlanEdge> curves() { return visibleCurves(db_.currentSpaceId()); }

  // The area of the outer ring around `p`; -1 when nothing encloses it.
  double areaAround(const ZcGePoint2d& p) {
    const BoundaryResult found = findBoundary(curves(), p, IslandMode::kIgnore);
    return found.status == BoundaryResult::Status::kFound ? found.rings[0].signedArea() : -1.0;
  }

  ZcDbDatabase db_;

 private:
  ZcDbDatabase* previous_ = nullptr;
};

TEST_F(DrawingCurvesTest, ArcsAndCirclesStayExactInPiecesOfAtMostHalfATurn) {
  add(new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 2.0));
  add(new ZcDbArc({10, 0, 0}, 1.0, 0.0, 1.5 * kPi));
  const std::vector<PlanEdge> edges = curves();
  ASSERT_GE(edges.size(), 4u);
  for (const PlanEdge& e : edges) {
    EXPECT_NE(e.bulge, 0.0);
    EXPECT_LE(std::abs(e.bulge), 1.0 + 1e-15);
  }
  EXPECT_NEAR(areaAround({0, 0}), 4.0 * kPi, 1e-12 * 4.0 * kPi);
}

TEST_F(DrawingCurvesTest, ArcSeenFromBelowTurnsTheOtherWay) {
  // Normal -z: the object x axis is the world's -x, so angles 0 .. pi run from (-1,0) over
  // (0,1) to (1,0), clockwise seen from above.
  add(new ZcDbArc({0, 0, 0}, -ZcGeVector3d::kZAxis, 1.0, 0.0, kPi));
  const std::vector<PlanEdge> edges = curves();
  ASSERT_FALSE(edges.empty());
  EXPECT_TRUE(edges.front().start.isEqualTo({-1, 0}));
  EXPECT_LT(edges.front().bulge, 0.0) << "clockwise from above";
  add(new ZcDbLine({-1, 0, 0}, {1, 0, 0}));
  EXPECT_NEAR(areaAround({0, 0.5}), kPi / 2.0, 1e-12);
  EXPECT_LT(areaAround({0, -0.5}), 0.0);
}

TEST_F(DrawingCurvesTest, PolylineSegmentOfMoreThanHalfATurnIsCutInTwo) {
  auto* polyline = new ZcDbPolyline();
  polyline->addVertexAt(0, {0, 0}, /*bulge=*/2.0, 0.0, 0.0);
  polyline->addVertexAt(1, {2, 0}, /*bulge=*/0.0, 0.0, 0.0);
  polyline->setClosed(true);
  double expected = 0.0;
  ASSERT_EQ(polyline->getArea(expected), Zcad::eOk);
  add(polyline);
  const std::vector<PlanEdge> edges = curves();
  ASSERT_EQ(edges.size(), 3u);
  EXPECT_NEAR(areaAround({1, -0.5}), std::abs(expected), 1e-12 * std::abs(expected));
}

TEST_F(DrawingCurvesTest, ThreeDPolylineIsProjectedOntoThePlan) {
  ZcGePoint3dArray vertices;
  for (const ZcGePoint3d& p :
       {ZcGePoint3d(0, 0, 0), ZcGePoint3d(4, 0, 3), ZcGePoint3d(4, 4, -2), ZcGePoint3d(0, 4, 7)})
    vertices.append(p);
  add(new ZcDb3dPolyline(ZcDb::k3dSimplePoly, vertices, /*closed=*/true));
  EXPECT_NEAR(areaAround({2, 2}), 16.0, 1e-12);
}

TEST_F(DrawingCurvesTest, EllipseAndSplineBecomeCloseChords) {
  add(new ZcDbEllipse({0, 0, 0}, ZcGeVector3d::kZAxis, {3, 0, 0}, /*radiusRatio=*/0.5));
  EXPECT_NEAR(areaAround({0, 0}), kPi * 3.0 * 1.5, 1e-4 * kPi * 4.5);

  ZcGePoint3dArray fit;
  for (const ZcGePoint3d& p : {ZcGePoint3d(10, 0, 0), ZcGePoint3d(12, 2, 0), ZcGePoint3d(14, 0, 0)})
    fit.append(p);
  add(new ZcDbSpline(fit));
  add(new ZcDbLine({10, 0, 0}, {14, 0, 0}));
  const double bump = areaAround({12, 0.5});
  EXPECT_GT(bump, 4.0) << "the spline rises above the line between its ends";
  EXPECT_LT(bump, 8.0);
}

TEST_F(DrawingCurvesTest, TextsAndPointsBoundNothing) {
  add(new ZcDbPoint({1, 1, 0}));
  EXPECT_TRUE(curves().empty());
}

TEST_F(DrawingCurvesTest, InvisibleEntitiesAndOffLayersAreLeftOut) {
  addSquareLines(0, 0, 10, 10);
  auto* hidden = new ZcDbCircle({5, 5, 0}, ZcGeVector3d::kZAxis, 1.0);
  hidden->setVisibility(ZcDb::kInvisible);
  add(hidden);
  auto* off = new ZcDbCircle({5, 5, 0}, ZcGeVector3d::kZAxis, 2.0);
  off->setLayer(newLayer(L"Off", /*off=*/true));
  add(off);
  EXPECT_EQ(curves().size(), 4u);
}

TEST_F(DrawingCurvesTest, NestedBlockReferencesAreCarriedByEveryTransform) {
  // INNER holds a unit square; OUTER holds INNER twice as large at (1,1) and a line on a
  // layer that is off (left out) ; model space holds OUTER three times as large at (10,0).
  const ZcDbObjectId inner = newBlock(L"INNER");
  addSquareLines(0, 0, 1, 1, inner);
  const ZcDbObjectId outer = newBlock(L"OUTER");
  auto* reference = new ZcDbBlockReference({1, 1, 0}, inner);
  reference->setScaleFactors(ZcGeScale3d(2.0));
  add(reference, outer);
  auto* stray = new ZcDbLine({1, 2, 0}, {3, 2, 0});
  stray->setLayer(newLayer(L"Hidden", /*off=*/true));
  add(stray, outer);
  auto* top = new ZcDbBlockReference({10, 0, 0}, outer);
  top->setScaleFactors(ZcGeScale3d(3.0));
  add(top);
  // The square runs from (10 + 3, 3) to (10 + 9, 9): 36, not split by the stray line.
  EXPECT_NEAR(areaAround({16, 6}), 36.0, 1e-9);
}

TEST_F(DrawingCurvesTest, CircleInABlockStretchedUnevenlyBecomesAnEllipse) {
  const ZcDbObjectId block = newBlock(L"ROUND");
  add(new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 1.0), block);
  auto* reference = new ZcDbBlockReference({0, 0, 0}, block);
  reference->setScaleFactors(ZcGeScale3d(3.0, 1.0, 1.0));
  add(reference);
  EXPECT_NEAR(areaAround({0, 0}), kPi * 3.0, 1e-4 * kPi * 3.0);
  EXPECT_LT(areaAround({0, 1.1}), 0.0);
}

TEST_F(DrawingCurvesTest, MirroredBlockKeepsItsArcsExact) {
  const ZcDbObjectId block = newBlock(L"HALF");
  add(new ZcDbArc({0, 0, 0}, 1.0, 0.0, kPi), block);
  add(new ZcDbLine({-1, 0, 0}, {1, 0, 0}), block);
  auto* reference = new ZcDbBlockReference({0, 0, 0}, block);
  reference->setScaleFactors(ZcGeScale3d(1.0, -1.0, 1.0));  // the half disc turns down
  add(reference);
  EXPECT_NEAR(areaAround({0, -0.5}), kPi / 2.0, 1e-12);
  for (const PlanEdge& e : curves()) EXPECT_LE(std::abs(e.bulge), 1.0 + 1e-15);
}

}  // namespace
}  // namespace vtcad::boundary
