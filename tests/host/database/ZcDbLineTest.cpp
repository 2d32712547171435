#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "AllocationCounter.h"
#include "CurveTestSupport.h"
#include "zcad/db/ZcDbLine.h"

using namespace curve_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ZcDbLineTest, ParameterIsTheDistanceFromTheStart) {
  const ZcDbLine line({1, 2, 3}, {4, 6, 3});
  double end = 0.0;
  ASSERT_EQ(line.getEndParam(end), Zcad::eOk);
  EXPECT_DOUBLE_EQ(end, 5.0);
  ZcGePoint3d p;
  ASSERT_EQ(line.getPointAtParam(2.5, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({2.5, 4, 3}));
  ZcGeVector3d d1, d2;
  ASSERT_EQ(line.getFirstDeriv(1.0, d1), Zcad::eOk);
  EXPECT_TRUE(d1.isEqualTo({0.6, 0.8, 0}));
  ASSERT_EQ(line.getSecondDeriv(1.0, d2), Zcad::eOk);
  EXPECT_TRUE(d2.isZeroLength());
  // Outside the range (beyond the tolerance), and off the line.
  EXPECT_EQ(line.getPointAtParam(5.001, p), Zcad::eInvalidInput);
  EXPECT_EQ(line.getParamAtDist(-0.001, end), Zcad::eInvalidInput);
  double param = 0.0;
  EXPECT_EQ(line.getParamAtPoint({2.5, 4, 3.001}, param), Zcad::eInvalidInput);
  // Within the tolerance the end is taken.
  ASSERT_EQ(line.getPointAtParam(5.0 + 1e-12, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({4, 6, 3}));
}

TEST(ZcDbLineTest, CurveProperties) {
  const ZcDbLine line({1, 2, 3}, {-4, 7, 0.5});
  expectDistanceRoundTrips(line);
  expectReversal(line);
  expectSplineFormAgrees(line);
  expectTightExtents(line, 10);
  expectDwgRoundTrip(line);
  expectTransformsCompose(line, skewRotation(), mirrorYZ());
  expectTransformsCompose(line, uniformScale(), ZcGeMatrix3d::scaling({1, 3, 0.5}));
}

TEST(ZcDbLineTest, ZeroLengthLineAnswersItsSinglePoint) {
  const ZcDbLine line({2, 2, 2}, {2, 2, 2});
  double end = -1.0, dist = -1.0, param = -1.0, area = -1.0;
  ZcGePoint3d p;
  ZcGeVector3d d;
  ASSERT_EQ(line.getEndParam(end), Zcad::eOk);
  EXPECT_EQ(end, 0.0);
  ASSERT_EQ(line.getPointAtDist(0.0, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({2, 2, 2}));
  ASSERT_EQ(line.getDistAtPoint({2, 2, 2}, dist), Zcad::eOk);
  EXPECT_EQ(dist, 0.0);
  ASSERT_EQ(line.getParamAtDist(0.0, param), Zcad::eOk);
  ASSERT_EQ(line.getFirstDeriv(0.0, d), Zcad::eOk);
  EXPECT_TRUE(zcgeIsFinite(d));
  ASSERT_EQ(line.getClosestPointTo({9, 9, 9}, p, /*extend=*/true), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({2, 2, 2}));
  ASSERT_EQ(line.getClosestPointTo({9, 9, 9}, ZcGeVector3d(1, 1, 0), p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({2, 2, 2}));
  EXPECT_EQ(line.getArea(area), Zcad::eOk);
  EXPECT_EQ(line.getParamAtDist(0.1, param), Zcad::eInvalidInput);
  ZcGePlane plane;
  bool planar = false;
  EXPECT_EQ(line.getPlane(plane, planar), Zcad::eOk);
  EXPECT_TRUE(plane.isValid());
}

TEST(ZcDbLineTest, NonFiniteInputIsRefusedAndNothingStored) {
  ZcDbLine line({0, 0, 0}, {1, 0, 0});
  EXPECT_EQ(line.setStartPoint({kNaN, 0, 0}), Zcad::eInvalidInput);
  EXPECT_TRUE(line.startPoint().isEqualTo({0, 0, 0}));
  EXPECT_EQ(line.setNormal({0, 0, 0}), Zcad::eInvalidInput);
  EXPECT_EQ(line.setNormal({0, 0, kNaN}), Zcad::eInvalidInput);
  EXPECT_EQ(line.setThickness(std::numeric_limits<double>::infinity()), Zcad::eInvalidInput);
  EXPECT_TRUE(line.normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_EQ(line.thickness(), 0.0);
  ASSERT_EQ(line.setNormal({0, 0, 3}), Zcad::eOk);
  EXPECT_DOUBLE_EQ(line.normal().length(), 1.0);
  const ZcDbLine fromNaN({1, 1, 1}, {kNaN, 1, 1});
  EXPECT_TRUE(fromNaN.endPoint().isEqualTo(ZcGePoint3d::kOrigin));
  ZcGePoint3d p;
  EXPECT_EQ(line.getPointAtParam(kNaN, p), Zcad::eInvalidInput);
  EXPECT_EQ(line.getClosestPointTo({1, 1, 1}, ZcGeVector3d(), p), Zcad::eInvalidInput);
}

TEST(ZcDbLineTest, ClosestPointExtendsToTheInfiniteLineAndSeesAlongADirection) {
  const ZcDbLine line({0, 0, 0}, {10, 0, 0});
  ZcGePoint3d p;
  ASSERT_EQ(line.getClosestPointTo({-3, 4, 0}, p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({0, 0, 0}));
  ASSERT_EQ(line.getClosestPointTo({-3, 4, 0}, p, /*extend=*/true), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({-3, 0, 0}));
  // Seen along (1, 0, 1) the point (5, 3, 7) lies over x = -2.
  ASSERT_EQ(line.getClosestPointTo({5, 3, 7}, ZcGeVector3d(1, 0, 1), p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({0, 0, 0}));
  ASSERT_EQ(line.getClosestPointTo({5, 3, 7}, ZcGeVector3d(1, 0, 1), p, /*extend=*/true), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({-2, 0, 0}));
}

TEST(ZcDbLineTest, ThicknessExtrudesTheExtentsAndScalesWithTheEntity) {
  ZcDbLine line({0, 0, 0}, {4, 0, 0});
  ASSERT_EQ(line.setThickness(2.0), Zcad::eOk);
  ZcDbExtents box;
  ASSERT_EQ(line.getGeomExtents(box), Zcad::eOk);
  EXPECT_TRUE(box.maxPoint().isEqualTo({4, 0, 2}));
  ASSERT_EQ(line.transformBy(ZcGeMatrix3d::scaling(2.5)), Zcad::eOk);
  EXPECT_DOUBLE_EQ(line.thickness(), 5.0);
  // A mirror through a vertical plane keeps the normal upward.
  ASSERT_EQ(line.transformBy(mirrorYZ()), Zcad::eOk);
  EXPECT_TRUE(line.normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_DOUBLE_EQ(line.thickness(), 5.0);
  ZcGeMatrix3d perspective;
  perspective(3, 2) = 0.5;
  EXPECT_EQ(line.transformBy(perspective), Zcad::eNotApplicable);
}

// Thickness and normal are kept apart from the line when not the defaults: they must still
// behave as the line's own fields.
TEST(ZcDbLineTest, ExtrusionIsCopiedWithTheLineAndDefaultsCostNothing) {
  ZcDbLine line({0, 0, 0}, {1, 0, 0});
  // Files often write the defaults out: storing them must not allocate.
  const long before = testAllocationCount();
  ASSERT_EQ(line.setThickness(0.0), Zcad::eOk);
  ASSERT_EQ(line.setNormal({0, 0, 7}), Zcad::eOk);
  EXPECT_EQ(testAllocationCount() - before, 0);

  // A normal a hair off +Z (within the vector tolerance) and -0.0 are kept as given.
  ASSERT_EQ(line.setNormal({1e-13, 0, 1}), Zcad::eOk);
  EXPECT_EQ(line.normal().x, 1e-13);
  ASSERT_EQ(line.setNormal({0, 0, 1}), Zcad::eOk);
  ASSERT_EQ(line.setThickness(-0.0), Zcad::eOk);
  EXPECT_TRUE(std::signbit(line.thickness()));

  ASSERT_EQ(line.setThickness(3.0), Zcad::eOk);
  ASSERT_EQ(line.setNormal({0, 1, 0}), Zcad::eOk);
  std::unique_ptr<ZcDbLine> copy(ZcDbLine::cast(line.clone()));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->thickness(), 3.0);
  EXPECT_TRUE(copy->normal().isEqualTo({0, 1, 0}));
  // The copy has fields of its own.
  ASSERT_EQ(copy->setThickness(5.0), Zcad::eOk);
  EXPECT_EQ(line.thickness(), 3.0);
  // Setting one field back to its default keeps the other.
  ASSERT_EQ(line.setThickness(0.0), Zcad::eOk);
  EXPECT_TRUE(line.normal().isEqualTo({0, 1, 0}));
  ASSERT_EQ(line.copyFrom(copy.get()), Zcad::eOk);
  EXPECT_EQ(line.thickness(), 5.0);

  // Copying a plain line over an extruded one gives the defaults back.
  const ZcDbLine plain({2, 0, 0}, {3, 0, 0});
  ASSERT_EQ(copy->copyFrom(&plain), Zcad::eOk);
  EXPECT_EQ(copy->thickness(), 0.0);
  EXPECT_TRUE(copy->normal().isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_TRUE(copy->startPoint().isEqualTo({2, 0, 0}));
  expectDwgRoundTrip(line);
}

class ZcDbLineDrawingTest : public CurveDrawingTest {};

TEST_F(ZcDbLineDrawingTest, ExtrusionChangesAreUndoneRedoneAndCancelled) {
  const ZcDbObjectId id = append(new ZcDbLine({0, 0, 0}, {1, 0, 0}));
  auto expectExtrusion = [&](double thickness, const ZcGeVector3d& normal) {
    ZcDbLine* line = nullptr;
    ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(line->thickness(), thickness);
    EXPECT_TRUE(line->normal().isEqualTo(normal));
    line->close();
  };
  db_.beginUndoGroup(L"EXTRUDE");
  ZcDbLine* line = nullptr;
  ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(line->setThickness(2.0), Zcad::eOk);
  ASSERT_EQ(line->setNormal({1, 0, 0}), Zcad::eOk);
  line->close();
  db_.endUndoGroup();
  expectExtrusion(2.0, {1, 0, 0});
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  expectExtrusion(0.0, ZcGeVector3d::kZAxis);
  ASSERT_EQ(db_.redo(), Zcad::eOk);
  expectExtrusion(2.0, {1, 0, 0});

  // cancel() puts back the extrusion of the moment of opening, also when it was cleared.
  ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(line->setThickness(0.0), Zcad::eOk);
  ASSERT_EQ(line->setNormal({0, 0, 1}), Zcad::eOk);
  ASSERT_EQ(line->cancel(), Zcad::eOk);
  expectExtrusion(2.0, {1, 0, 0});
}

TEST_F(ZcDbLineDrawingTest, ChangeIsUndoneAndReadOnlyOpenRefusesIt) {
  const ZcDbObjectId id = append(new ZcDbLine({0, 0, 0}, {1, 0, 0}));
  ZcDbLine* line = nullptr;
  ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(line->setEndPoint({5, 0, 0}), Zcad::eNotOpenForWrite);
  EXPECT_TRUE(line->endPoint().isEqualTo({1, 0, 0}));
  line->close();

  db_.beginUndoGroup(L"MOVE");
  ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(line->setEndPoint({5, 0, 0}), Zcad::eOk);
  ASSERT_EQ(line->transformBy(skewRotation()), Zcad::eOk);
  line->close();
  db_.endUndoGroup();
  ASSERT_EQ(db_.undo(), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(line->startPoint().isEqualTo({0, 0, 0}));
  EXPECT_TRUE(line->endPoint().isEqualTo({1, 0, 0}));
  line->close();
}

}  // namespace
