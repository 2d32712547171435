// PLDD: every kind of curve runs the other way over the same shape, and a lightweight
// polyline's arcs and widths stay on their segments (read back from DXF).
#include <functional>
#include <memory>
#include <vector>

#include "dxf/DxfFile.h"
#include "plugin/polyline/VertexCommandTestSupport.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace veltrace::testing {
namespace {

using ReverseCurvesTest = VertexCommandTest;

ZcGePoint3dArray pointArray(std::initializer_list<ZcGePoint3d> points) {
  ZcGePoint3dArray array;
  for (const ZcGePoint3d& p : points) array.append(p);
  return array;
}

// Segments: (0,0)-(10,0) bulge 0.5 widths 1, 2; (10,0)-(10,10) bulge -0.3 widths 3, 4; when
// closed, (10,10)-(0,0) bulge 0.2 widths 5, 6.
ZcDbPolyline* lightweight(bool closed) {
  auto* polyline = new ZcDbPolyline;
  polyline->addVertexAt(0, ZcGePoint2d(0, 0), 0.5, 1, 2);
  polyline->addVertexAt(1, ZcGePoint2d(10, 0), -0.3, 3, 4);
  polyline->addVertexAt(2, ZcGePoint2d(10, 10), closed ? 0.2 : 0, closed ? 5 : 0, closed ? 6 : 0);
  polyline->setClosed(closed);
  return polyline;
}

TEST_F(ReverseCurvesTest, EveryKindRunsBackwardsOverTheSameShape) {
  const std::vector<std::function<ZcDbCurve*()>> kinds{
      [] { return new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(7, 3, 1)); },
      [] { return new ZcDbArc(ZcGePoint3d(20, 0, 0), 4.0, 0.3, 2.5); },
      [] { return new ZcDbCircle(ZcGePoint3d(40, 0, 0), ZcGeVector3d::kZAxis, 3.0); },
      [] {
        return new ZcDbEllipse(ZcGePoint3d(60, 0, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(5, 0, 0), 0.5, 0.4,
                               4);
      },
      [] {
        return new ZcDbSpline(pointArray({{0, 20, 0}, {5, 25, 2}, {10, 18, 0}, {15, 24, 1}}));
      },
      [] { return lightweight(/*closed=*/true); },
      [] {
        ZcGePoint3dArray corners = pointArray({{30, 20, 0}, {35, 20, 0}, {35, 26, 0}});
        ZcGeDoubleArray bulges;
        for (double b : {0.4, -0.7, 0.0}) bulges.append(b);
        return new ZcDb2dPolyline(ZcDb::k2dSimplePoly, corners, /*elevation=*/2, /*closed=*/false, 0, 0,
                                  &bulges);
      },
      [] {
        ZcGePoint3dArray corners = pointArray({{50, 20, 0}, {55, 20, 3}, {55, 26, 0}, {50, 27, 1}});
        return new ZcDb3dPolyline(ZcDb::k3dSimplePoly, corners, /*closed=*/true);
      },
      [] { return new ZcDbHelix; },
  };
  std::vector<ZcDbObjectId> ids;
  std::vector<std::unique_ptr<ZcDbCurve>> originals;  // the same curves, to compare with
  for (const auto& make : kinds) {
    ids.push_back(addToModelSpace(make()));
    originals.emplace_back(make());
  }
  run(L"PLDD\nALL\n\n");
  ASSERT_TRUE(said("\nProcessed <9 > curve(s) OK.")) << transcript_;

  for (size_t k = 0; k < ids.size(); ++k) {
    Opened<ZcDbCurve> reversed(ids[k]);
    const ZcDbCurve& original = *originals[k];
    double endParam = 0, length = 0, startOnOriginal = 0;
    ZcGePoint3d start;
    ASSERT_EQ(original.getEndParam(endParam), Zcad::eOk);
    ASSERT_EQ(original.getDistAtParam(endParam, length), Zcad::eOk);
    ASSERT_EQ(reversed->getStartPoint(start), Zcad::eOk);
    // An open curve starts at its old end; a closed one may keep its seam.
    ASSERT_EQ(original.getDistAtPoint(start, startOnOriginal), Zcad::eOk) << k;
    EXPECT_TRUE(original.isClosed() || std::abs(startOnOriginal - length) < 1e-6) << k;
    for (int step = 0; step <= 10; ++step) {
      const double along = length * step / 10.0;
      const double back = startOnOriginal - along + (startOnOriginal < along ? length : 0.0);
      ZcGePoint3d now, before;
      ASSERT_EQ(reversed->getPointAtDist(along, now), Zcad::eOk) << k;
      ASSERT_EQ(original.getPointAtDist(back, before), Zcad::eOk) << k;
      EXPECT_TRUE(closeTo(now, before, 1e-6)) << "kind " << k << " at " << along;
    }
  }
}

TEST_F(ReverseCurvesTest, ArcsAndWidthsStayOnTheirSegmentsThroughADxfRoundTrip) {
  const ZcDbObjectId open = addToModelSpace(lightweight(/*closed=*/false));
  const ZcDbObjectId closed = addToModelSpace(lightweight(/*closed=*/true));
  run(L"PLDD\n" + pick(open) + L" " + pick(closed) + L"\n\n");
  vtcad::dxf::LoadResult reloaded = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
  ASSERT_TRUE(reloaded.ok()) << reloaded.refusal;
  const std::vector<ZcDbObjectId> polylines = modelSpace(reloaded.database.get());
  ASSERT_EQ(polylines.size(), 2u);
  // Per vertex: x, y, bulge, start and end width. Open: backwards. Closed: the first vertex
  // stays. Each segment keeps its arc (bulge negated) and its widths (swapped).
  const double expected[2][3][5] = {{{10, 10, 0.3, 4, 3}, {10, 0, -0.5, 2, 1}, {0, 0, 0, 0, 0}},
                                    {{0, 0, -0.2, 6, 5}, {10, 10, 0.3, 4, 3}, {10, 0, -0.5, 2, 1}}};
  for (size_t k = 0; k < 2; ++k) {
    Opened<ZcDbPolyline> polyline(polylines[k]);
    ASSERT_EQ(polyline->numVerts(), 3u);
    for (unsigned int i = 0; i < 3; ++i) {
      ZcGePoint2d point;
      double actual[5] = {};
      polyline->getPointAt(i, point);
      actual[0] = point.x;
      actual[1] = point.y;
      polyline->getBulgeAt(i, actual[2]);
      polyline->getWidthsAt(i, actual[3], actual[4]);
      for (int j = 0; j < 5; ++j)
        EXPECT_NEAR(actual[j], expected[k][i][j], 1e-12) << k << ":" << i << ":" << j;
    }
  }

  chineseVersion = true;  // nothing selected
  run(L"PLDD\n\n");
  EXPECT_TRUE(said("请选择多段线>\n")) << transcript_;
  EXPECT_TRUE(said("未选中多段线。\n")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
