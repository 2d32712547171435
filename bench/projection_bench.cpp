// QXTY end to end: the selection of ALL, each curve read, projected onto the world XY plane and
// its projection appended to model space, inside the command's undo group. A mix of 3-D
// curves: 1/4 lines, 1/8 tilted circles, 1/8 tilted arcs, 1/4 3-D polylines of 5 vertices,
// 1/8 tilted lightweight polylines with arcs (they become splines), 1/8 fit splines through
// 6 points. Two sizes, to see that the time grows linearly. Rates are curves per second.
#include <benchmark/benchmark.h>

#include "CommandOnDrawing.h"
#include "polyline/ProjectToXy.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"

namespace {

ZcDbEntity* curveNumber(int k) {
  const double dx = 30.0 * (k % 300), dy = 30.0 * (k / 300);
  const ZcGeVector3d tilt = ZcGeVector3d(0.3, -0.2, 1.0).normal();
  switch (k % 8) {
    case 0:
    case 1:
      return new ZcDbLine(ZcGePoint3d(dx, dy, 0), ZcGePoint3d(dx + 10, dy + 5, 7));
    case 2:
      return new ZcDbCircle(ZcGePoint3d(dx, dy, 3), tilt, 6.0);
    case 3:
      return new ZcDbArc(ZcGePoint3d(dx, dy, 3), tilt, 6.0, 0.5, 2.5);
    case 4:
    case 5: {
      ZcGePoint3dArray corners;
      for (int i = 0; i < 5; ++i) corners.append(ZcGePoint3d(dx + 2 * i, dy + (i % 2) * 3, i));
      return new ZcDb3dPolyline(ZcDb::k3dSimplePoly, corners);
    }
    case 6: {
      auto* polyline = new ZcDbPolyline(4);
      polyline->addVertexAt(0, ZcGePoint2d(dx, dy), 0.4);
      polyline->addVertexAt(1, ZcGePoint2d(dx + 10, dy), 0.0);
      polyline->addVertexAt(2, ZcGePoint2d(dx + 10, dy + 8), -0.6);
      polyline->addVertexAt(3, ZcGePoint2d(dx, dy + 8));
      polyline->setNormal(tilt);
      return polyline;
    }
    default: {
      ZcGePoint3dArray fit;
      for (int i = 0; i < 6; ++i) fit.append(ZcGePoint3d(dx + 2 * i, dy + (i % 3), 0.5 * i));
      return new ZcDbSpline(fit);
    }
  }
}

void BM_QxtyCommand(benchmark::State& state) {
  const int curves = static_cast<int>(state.range(0));
  vtcad_bench::timeCommandOnDrawing(state, L"QXTY", &veltrace::qxtyCommand, curves, curveNumber,
                                    L"QXTY\nALL\n\n");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * curves);
}
BENCHMARK(BM_QxtyCommand)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
