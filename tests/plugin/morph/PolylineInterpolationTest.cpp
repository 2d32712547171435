#include <gtest/gtest.h>

#include <cmath>

#include "morph/PolylineInterpolation.h"
#include "morph/SpacingLaw.h"
#include "plugin/morph/MorphTestSupport.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbText.h"

namespace veltrace::testing {
namespace {

using PolylineInterpolationTest = MorphTest;

TEST_F(PolylineInterpolationTest, StepsLieBetweenTheTwoShapesWithBulgesInProportion) {
  // A straight first segment faces an arc of bulge 1; the second polyline is higher (z 6).
  const ZcDbObjectId a =
      addLwPolyline({{0, 0, 0}, {10, 0, 0}, {10, 5, 0}}, /*closed=*/false, /*elevation=*/0);
  const ZcDbObjectId b =
      addLwPolyline({{0, 10, 1}, {12, 10, 0}, {12, 20, 0}}, /*closed=*/true, /*elevation=*/6);
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n3\n0\n\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 3u) << transcript_;
  const MorphVertex first[] = {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}};
  const MorphVertex second[] = {{0, 10, 1}, {12, 10, 0}, {12, 20, 0}};
  for (size_t j = 0; j < shapes.size(); ++j) {
    const double t = 0.25 * static_cast<double>(j + 1);  // nearest the first polyline first
    EXPECT_FALSE(shapes[j].closed) << "the first polyline is open";
    ASSERT_EQ(shapes[j].points.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      const ZcGePoint3d expected(first[i].x + (second[i].x - first[i].x) * t,
                                 first[i].y + (second[i].y - first[i].y) * t, 6 * t);
      EXPECT_TRUE(closeTo(shapes[j].points[i], expected, 1e-9)) << j << " " << i;
      EXPECT_NEAR(shapes[j].bulges[i], first[i].bulge + (second[i].bulge - first[i].bulge) * t, 1e-12);
    }
  }
  EXPECT_EQ(transcript_.find("error"), std::string::npos) << "nothing is printed on success";
}

TEST_F(PolylineInterpolationTest, AClosedFirstPolylineGivesClosedStepsAndIdenticalShapesCoincide) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {4, 0, 0.5}, {4, 3, 0}}, /*closed=*/true);
  const ZcDbObjectId b = addLwPolyline({{0, 0, 0}, {4, 0, 0.5}, {4, 3, 0}}, /*closed=*/false);
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n2\n\n\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 2u);
  for (const MorphShape& shape : shapes) {
    EXPECT_TRUE(shape.closed);
    EXPECT_TRUE(closeTo(shape.points[1], ZcGePoint3d(4, 0, 0)));
    EXPECT_DOUBLE_EQ(shape.bulges[1], 0.5);
  }
}

TEST_F(PolylineInterpolationTest, CountIsAskedAgainOutOfRangeAndEnterTakesSixteen) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {10, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 10, 0}, {10, 10, 0}});
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n101\n250\n1\n-250\n\n");
  std::vector<MorphShape> shapes = savedShapes(/*skip=*/2);
  ASSERT_EQ(shapes.size(), 1u) << "101 and 250 were asked again, then 1 taken";
  EXPECT_TRUE(closeTo(shapes[0].points[0], ZcGePoint3d(0, 8.75, 0))) << "-250 acts as -100: 1 - 0.5^3";

  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n\n\n\n");
  shapes = savedShapes(/*skip=*/3);
  ASSERT_EQ(shapes.size(), 16u);
  EXPECT_TRUE(closeTo(shapes[0].points[0], ZcGePoint3d(0, 10.0 / 17, 0)));
}

TEST_F(PolylineInterpolationTest, UnusablePairsEndTheCommandWithTheirMessages) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {10, 0, 0}});
  const ZcDbObjectId three = addLwPolyline({{0, 10, 0}, {10, 10, 0}, {20, 10, 0}});
  const ZcDbObjectId line = addToModelSpace(new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0)));
  run(L"PLINT\n" + pick(a) + L"\n" + pick(three) + L"\n");
  EXPECT_TRUE(said("\nThe number of vertices of two polylines is different and cannot be interpolated."))
      << transcript_;
  run(L"PLINT\n" + pick(line) + L"\n");
  EXPECT_TRUE(said("No LWPOLYLINE selected.\n\nSelected nothing.")) << transcript_;
  chineseVersion = true;
  run(L"PLINT\n" + pick(a) + L"\n" + pick(line) + L"\n");
  EXPECT_TRUE(said("没有选中轻量多段线。\n")) << transcript_;
  EXPECT_EQ(savedShapes(/*skip=*/3).size(), 0u);
}

TEST_F(PolylineInterpolationTest, AReferenceCurveCarriesTheAnchorVertexAlongItsOwnLength) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {10, 0, 0}, {10, 4, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 30, 0}, {10, 30, 0}, {10, 34, 0}});
  // The reference starts far away and ends next to the first polyline's vertex 1: vertex 1 is
  // the anchor, and arc length is still measured from the curve's own start.
  const ZcDbObjectId reference = addLwPolyline({{-2, 30, 0}, {-2, 10, 0}, {11, 1, 0}});
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n3\n40\n" + pick(reference) + L"\n");
  const std::vector<MorphShape> with = savedShapes(/*skip=*/3);
  ASSERT_EQ(with.size(), 3u) << transcript_;

  Opened<ZcDbPolyline> curve(reference);
  double endParam = 0, length = 0;
  ASSERT_EQ(curve->getEndParam(endParam), Zcad::eOk);
  ASSERT_EQ(curve->getDistAtParam(endParam, length), Zcad::eOk);
  const double acceleration = accelerationFromInput(40);
  for (size_t j = 0; j < 3; ++j) {
    const double t = densityFraction(static_cast<int>(j), 3, acceleration);
    ZcGePoint3d onCurve;
    ASSERT_EQ(curve->getPointAtDist(t * length, onCurve), Zcad::eOk);
    EXPECT_TRUE(closeTo(with[j].points[1], onCurve, 1e-9)) << "vertex 1 of step " << j;
    // Every vertex is the plain step's, shifted by one vector per step.
    const ZcGePoint3d plain[] = {{0, 30 * t, 0}, {10, 30 * t, 0}, {10, 4 + 30 * t, 0}};
    const ZcGeVector3d shift = with[j].points[1] - plain[1];
    EXPECT_TRUE(closeTo(with[j].points[0], plain[0] + shift, 1e-9)) << j;
    EXPECT_TRUE(closeTo(with[j].points[2], plain[2] + shift, 1e-9)) << j;
  }
}

TEST_F(PolylineInterpolationTest, ATextOrATinyCurveAtTheReferencePromptGivesThePlainSteps) {
  const ZcDbObjectId a = addLwPolyline({{0, 0, 0}, {10, 0, 0}});
  const ZcDbObjectId b = addLwPolyline({{0, 10, 0}, {10, 10, 0}});
  auto* text = new ZcDbText(ZcGePoint3d(50, 50, 0), L"not a curve", ZcDbObjectId(), 2.5, 0.0);
  const ZcDbObjectId label = addToModelSpace(text);
  const ZcDbObjectId tiny = addToModelSpace(new ZcDbLine(ZcGePoint3d(5, 5, 0), ZcGePoint3d(5, 5.00005, 0)));
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n1\n0\n" + pick(label) + L"\n");
  run(L"PLINT\n" + pick(a) + L"\n" + pick(b) + L"\n1\n0\n" + pick(tiny) + L"\n");
  const std::vector<MorphShape> shapes = savedShapes(/*skip=*/4);
  ASSERT_EQ(shapes.size(), 2u) << transcript_;
  for (const MorphShape& shape : shapes) EXPECT_TRUE(closeTo(shape.points[1], ZcGePoint3d(10, 5, 0)));
}

}  // namespace
}  // namespace veltrace::testing
