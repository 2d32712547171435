// ZcDbSpline::toPolyline: the conversion the spline-to-polyline command places in the drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CurveTestSupport.h"
#include "database/CurveChordSampler.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

using namespace curve_test;

namespace {

ZcDbSpline wavySpline(const ZcGeMatrix3d& placement = ZcGeMatrix3d::kIdentity) {
  ZcGePoint3dArray points;
  for (int i = 0; i < 10; ++i) points.append(placement * ZcGePoint3d(i, std::sin(1.3 * i) * 2.0, 0.0));
  return ZcDbSpline(points);
}

std::unique_ptr<ZcDbCurve> convert(const ZcDbSpline& spline, int precision, int* segments = nullptr,
                                   int maxSegments = 10000) {
  ZcDbCurve* raw = nullptr;
  EXPECT_EQ(spline.toPolyline(raw, precision, segments, maxSegments), Zcad::eOk);
  return std::unique_ptr<ZcDbCurve>(raw);
}

// Every vertex lies on the spline and every segment within `tolerance` of it.
void expectWithin(const ZcDbSpline& spline, const ZcDbCurve& polyline, double tolerance) {
  double end = 0.0;
  ASSERT_EQ(polyline.getEndParam(end), Zcad::eOk);
  const int segments = static_cast<int>(std::lround(end));
  ASSERT_GT(segments, 0);
  for (int i = 0; i < segments; ++i) {
    for (double fraction : {0.0, 0.25, 0.5, 0.75}) {
      ZcGePoint3d p, onSpline;
      ASSERT_EQ(polyline.getPointAtParam(i + fraction, p), Zcad::eOk);
      ASSERT_EQ(spline.getClosestPointTo(p, onSpline), Zcad::eOk);
      EXPECT_LE(p.distanceTo(onSpline), fraction == 0.0 ? 1e-9 : tolerance) << i << " " << fraction;
    }
  }
}

TEST(ZcDbSplineToPolylineTest, PlanarSplineGivesALightweightPolylineWithinThePrecision) {
  const ZcDbSpline spline = wavySpline();
  int segments = 0;
  const auto result = convert(spline, /*precision=*/10, &segments);
  const ZcDbPolyline* polyline = ZcDbPolyline::cast(result.get());
  ASSERT_NE(polyline, nullptr);
  EXPECT_EQ(static_cast<int>(polyline->numVerts()), segments + 1);
  EXPECT_TRUE(polyline->normal().isEqualTo(ZcGeVector3d::kZAxis));
  // 0.1 % of the diagonal at precision 10; the chords are measured at three points each.
  expectWithin(spline, *result, 1.5e-3 * sizeOf(spline));
  EXPECT_NEAR(lengthOf(*result), lengthOf(spline), 2e-3 * lengthOf(spline));
}

TEST(ZcDbSplineToPolylineTest, TiltedPlanarSplineKeepsItsPlaneAndPoints) {
  const ZcGeMatrix3d placement = ZcGeMatrix3d::rotation(0.9, ZcGeVector3d(1, -1, 0.3), ZcGePoint3d(5, 5, 5));
  const ZcDbSpline spline = wavySpline(placement);
  const auto result = convert(spline, /*precision=*/30);
  const ZcDbPolyline* polyline = ZcDbPolyline::cast(result.get());
  ASSERT_NE(polyline, nullptr);
  EXPECT_TRUE(polyline->normal().isParallelTo(placement * ZcGeVector3d::kZAxis, ZcGeTol(1e-9, 1e-9)));
  expectWithin(spline, *result, 1.5e-5 * sizeOf(spline));
}

TEST(ZcDbSplineToPolylineTest, SegmentCountGrowsWithPrecisionAndNeverPassesTheMaximum) {
  const ZcDbSpline spline = wavySpline();
  int previous = 0;
  for (int precision = 0; precision <= 99; precision += 9) {
    int segments = 0;
    convert(spline, precision, &segments, /*maxSegments=*/400);
    EXPECT_GE(segments, previous) << precision;
    EXPECT_LE(segments, 400) << precision;
    previous = segments;
  }
  EXPECT_EQ(previous, 400);
  int segments = 0;
  convert(spline, /*precision=*/99, &segments, /*maxSegments=*/3);
  EXPECT_EQ(segments, 3);
  // Out-of-range precisions are clamped.
  int low = 0, high = 0;
  convert(spline, -5, &low);
  convert(spline, 0, &segments);
  EXPECT_EQ(low, segments);
  convert(spline, 500, &high, 400);
  EXPECT_EQ(high, 400);
}

TEST(ZcDbSplineToPolylineTest, NonPlanarSplineGivesA3dPolylineAndClosedStaysClosed) {
  ZcGePoint3dArray points;
  for (int i = 0; i < 8; ++i) points.append({std::cos(i * 0.8), std::sin(i * 0.8), 0.3 * i});
  const ZcDbSpline spline(points);
  const auto result = convert(spline, 20);
  ASSERT_NE(ZcDb3dPolyline::cast(result.get()), nullptr);
  expectWithin(spline, *result, 1.5e-4 * sizeOf(spline));

  const ZcDbSpline loop({{0, 0, 0}, {4, 0, 0}, {5, 3, 0}, {1, 4, 0}, {0, 0, 0}});
  const auto closed = convert(loop, 10);
  ASSERT_NE(ZcDbPolyline::cast(closed.get()), nullptr);
  EXPECT_TRUE(closed->isClosed());
  expectWithin(loop, *closed, 1.5e-3 * sizeOf(loop));
}

TEST(ZcDbSplineToPolylineTest, ResultCarriesTheSplinesProperties) {
  ZcDbSpline spline = wavySpline();
  ASSERT_EQ(spline.setColorIndex(3), Zcad::eOk);
  const auto result = convert(spline, 10);
  EXPECT_EQ(result->colorIndex(), 3);
  EXPECT_FALSE(result->isDatabaseResident());
}

TEST(ZcDbSplineToPolylineTest, NullSplineAndNoSegmentsAreRefused) {
  ZcDbCurve* raw = nullptr;
  EXPECT_EQ(ZcDbSpline().toPolyline(raw), Zcad::eDegenerateGeometry);
  EXPECT_EQ(raw, nullptr);
  EXPECT_EQ(wavySpline().toPolyline(raw, 10, nullptr, /*maxSegments=*/0), Zcad::eInvalidInput);
  // A spline that is a single point gives a one-vertex polyline, no NaN.
  const auto point = convert(ZcDbSpline({{1, 1, 0}, {1, 1, 0}}), 10);
  ZcGePoint3d p;
  ASSERT_EQ(point->getStartPoint(p), Zcad::eOk);
  EXPECT_TRUE(p.isEqualTo({1, 1, 0}));
}

}  // namespace
