// Projections of every curve kind onto the world XY plane along Z: each point of the source
// lands on the projection at the same fraction of the parameter range with its x and y kept and z = 0, and
// the result kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

const ZcGePlane kWorldXy(ZcGePoint3d(0, 0, 0), ZcGeVector3d::kZAxis);

ZcGeVector3d unitVector(std::mt19937& random) {
  std::normal_distribution<double> n;
  ZcGeVector3d v(n(random), n(random), n(random));
  return v / v.length();
}

TEST(CurveProjection, EverySampleKeepsItsXyAndLandsAtZeroHeight) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> c(-50, 50), r(0.5, 20), angle(0, 6.28), bulge(-2, 2);
  auto point = [&] { return ZcGePoint3d(c(random), c(random), c(random)); };
  const std::vector<std::function<ZcDbCurve*()>> kinds{
      [&] { return new ZcDbLine(point(), point()); },
      [&] { return new ZcDbArc(point(), unitVector(random), r(random), angle(random), angle(random)); },
      [&] { return new ZcDbCircle(point(), unitVector(random), r(random)); },
      [&] {
        const ZcGeVector3d n = unitVector(random);
        ZcGeVector3d major = n.perpVector() * r(random);
        return new ZcDbEllipse(point(), n, major, 0.3, 0.2, 5.0);
      },
      [&] {
        ZcGePoint3dArray fit;
        for (int i = 0; i < 5; ++i) fit.append(point());
        return new ZcDbSpline(fit);
      },
      [&] {
        auto* p = new ZcDbPolyline;
        for (unsigned i = 0; i < 5; ++i) p->addVertexAt(i, ZcGePoint2d(c(random), c(random)), bulge(random));
        p->setNormal(unitVector(random));
        p->setElevation(c(random));
        return p;
      },
      [&] {
        ZcGePoint3dArray corners;
        ZcGeDoubleArray bulges;
        for (int i = 0; i < 4; ++i) {
          corners.append(ZcGePoint3d(c(random), c(random), 0));
          bulges.append(bulge(random));
        }
        auto* p = new ZcDb2dPolyline(ZcDb::k2dSimplePoly, corners, /*elevation=*/c(random), /*closed=*/true,
                                     0, 0, &bulges);
        return p;
      },
      [&] {
        ZcGePoint3dArray corners;
        for (int i = 0; i < 6; ++i) corners.append(point());
        return new ZcDb3dPolyline(ZcDb::k3dSimplePoly, corners);
      },
      [&] { return new ZcDbHelix; },
  };
  for (int round = 0; round < 40; ++round) {
    for (size_t k = 0; k < kinds.size(); ++k) {
      std::unique_ptr<ZcDbCurve> source(kinds[k]());
      ZcDbCurve* raw = nullptr;
      ASSERT_EQ(source->getProjectedCurve(kWorldXy, ZcGeVector3d::kZAxis, raw), Zcad::eOk) << k;
      std::unique_ptr<ZcDbCurve> flat(raw);
      // A result of another kind is the source's spline form projected: compare at the same
      // parameters of that form.
      std::unique_ptr<ZcDbCurve> form;
      const ZcDbCurve* reference = source.get();
      if (ZcDbSpline::cast(flat.get()) && !ZcDbSpline::cast(source.get())) {
        ZcDbSpline* spline = nullptr;
        ASSERT_EQ(source->getSpline(spline), Zcad::eOk);
        form.reset(spline);
        reference = spline;
      }
      double start = 0, end = 0;
      ASSERT_EQ(reference->getStartParam(start), Zcad::eOk);
      ASSERT_EQ(reference->getEndParam(end), Zcad::eOk);
      double flatStart = 0, flatEnd = 0;
      ASSERT_EQ(flat->getStartParam(flatStart), Zcad::eOk);
      ASSERT_EQ(flat->getEndParam(flatEnd), Zcad::eOk);
      for (int i = 0; i <= 16; ++i) {
        // The same fraction of the parameter range: a line's parameter is its length, which
        // the projection shortens.
        const double f = i / 16.0;
        ZcGePoint3d p, q;
        ASSERT_EQ(reference->getPointAtParam(start + (end - start) * f, p), Zcad::eOk);
        ASSERT_EQ(flat->getPointAtParam(flatStart + (flatEnd - flatStart) * f, q), Zcad::eOk) << k;
        ASSERT_NEAR(q.x, p.x, 1e-9 * 100) << k;
        ASSERT_NEAR(q.y, p.y, 1e-9 * 100) << k;
        ASSERT_NEAR(q.z, 0.0, 1e-12) << k;
      }
    }
  }
}

TEST(CurveProjection, KindsAndRefusals) {
  // A circle in a plane parallel to XY stays a circle; tilted, it becomes a spline.
  ZcDbCircle level(ZcGePoint3d(1, 2, 7), ZcGeVector3d::kZAxis, 3.0);
  ZcDbCurve* raw = nullptr;
  ASSERT_EQ(level.getProjectedCurve(kWorldXy, ZcGeVector3d::kZAxis, raw), Zcad::eOk);
  std::unique_ptr<ZcDbCurve> flatCircle(raw);
  ASSERT_TRUE(ZcDbCircle::cast(flatCircle.get()));
  EXPECT_EQ(ZcDbCircle::cast(flatCircle.get())->center().z, 0.0);

  ZcDbCircle tilted(ZcGePoint3d(0, 0, 0), ZcGeVector3d(1, 0, 1) / std::sqrt(2.0), 3.0);
  ASSERT_EQ(tilted.getOrthoProjectedCurve(kWorldXy, raw), Zcad::eOk);
  std::unique_ptr<ZcDbCurve> flatTilted(raw);
  EXPECT_TRUE(ZcDbSpline::cast(flatTilted.get()));

  // A vertical line seen from above is a point; a direction in the plane projects nothing.
  ZcDbLine vertical(ZcGePoint3d(1, 1, 0), ZcGePoint3d(1, 1, 5));
  EXPECT_EQ(vertical.getProjectedCurve(kWorldXy, ZcGeVector3d::kZAxis, raw), Zcad::eDegenerateGeometry);
  EXPECT_EQ(raw, nullptr);
  EXPECT_EQ(level.getProjectedCurve(kWorldXy, ZcGeVector3d::kXAxis, raw), Zcad::eInvalidInput);
  EXPECT_EQ(level.getProjectedCurve(kWorldXy, ZcGeVector3d(0, 0, 0), raw), Zcad::eInvalidInput);
}

}  // namespace
