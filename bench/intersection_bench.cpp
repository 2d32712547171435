// PLJD on a plan of 10 000 curves scattered over a 1000 x 1000 square: 1/2 lines of length 40,
// 1/4 arcs of radius 12 and 2 radians, 1/4 lightweight polylines of four 15-long segments, all
// at random (fixed seed) places and directions, about 50 000 crossings. Timed three ways, side
// by side: the whole command (selection of ALL, option 1: a point at each intersection, in its
// undo group); the pairs' intersections and the removal of repeated points alone; and GEOS
// noding the same curves as line work (arcs as 16 chords each). Rates are curves per second;
// "intersections" is what each found.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "CommandOnDrawing.h"
#include "polyline/CurveIntersections.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"

#ifdef VTCAD_BENCH_GEOS
#include <geos_c.h>
#endif

namespace {

constexpr int kCurves = 10000;
constexpr int kChordsPerArc = 16;

enum class CurveKind { kLine, kArc, kPolyline };

struct ScatteredCurve {
  CurveKind kind;
  std::vector<ZcGePoint2d> points;  // line ends, polyline vertices, or the arc's centre
  double startAngle = 0.0;          // arcs only
};

const std::vector<ScatteredCurve>& scatteredCurves() {
  static const std::vector<ScatteredCurve> curves = [] {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> place(0.0, 1000.0), turn(0.0, 2.0 * std::numbers::pi);
    std::vector<ScatteredCurve> all;
    for (int k = 0; k < kCurves; ++k) {
      const ZcGePoint2d at(place(random), place(random));
      const double a = turn(random);
      if (k % 4 < 2) {
        all.push_back({CurveKind::kLine, {at, at + 40.0 * ZcGeVector2d(std::cos(a), std::sin(a))}});
      } else if (k % 4 == 2) {
        all.push_back({CurveKind::kArc, {at}, a});
      } else {
        ScatteredCurve polyline{CurveKind::kPolyline, {at}};
        double heading = a;
        for (int s = 0; s < 4; ++s) {
          heading += turn(random) / 4 - std::numbers::pi / 4;
          polyline.points.push_back(polyline.points.back() +
                                    15.0 * ZcGeVector2d(std::cos(heading), std::sin(heading)));
        }
        all.push_back(polyline);
      }
    }
    return all;
  }();
  return curves;
}

constexpr double kArcRadius = 12.0, kArcSweep = 2.0;

ZcDbEntity* scatteredEntity(int k) {
  const ScatteredCurve& curve = scatteredCurves()[k];
  switch (curve.kind) {
    case CurveKind::kLine:
      return new ZcDbLine(ZcGePoint3d(curve.points[0].x, curve.points[0].y, 0),
                          ZcGePoint3d(curve.points[1].x, curve.points[1].y, 0));
    case CurveKind::kArc:
      return new ZcDbArc(ZcGePoint3d(curve.points[0].x, curve.points[0].y, 0), kArcRadius, curve.startAngle,
                         curve.startAngle + kArcSweep);
    case CurveKind::kPolyline:
      break;
  }
  auto* polyline = new ZcDbPolyline(static_cast<unsigned>(curve.points.size()));
  for (unsigned i = 0; i < curve.points.size(); ++i) polyline->addVertexAt(i, curve.points[i]);
  return polyline;
}

void BM_PljdCommand(benchmark::State& state) {
  vtcad_bench::timeCommandOnDrawing(state, L"PLJD", &veltrace::pljdCommand, kCurves, scatteredEntity,
                                    L"PLJD\nALL\n\n1\n");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kCurves);
}
BENCHMARK(BM_PljdCommand)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PljdIntersectAllPairs(benchmark::State& state) {
  auto db = std::make_unique<ZcDbDatabase>();
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  std::vector<ZcDbObjectId> ids;
  {
    ZcDbBlockTableRecord* space = nullptr;
    zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
    for (int k = 0; k < kCurves; ++k) {
      ZcDbEntity* entity = scatteredEntity(k);
      ZcDbObjectId id;
      space->appendZcDbEntity(id, entity);
      entity->close();
      ids.push_back(id);
    }
    space->close();
  }
  size_t found = 0;
  for (auto _ : state) found = veltrace::removeRepeatedPoints(veltrace::intersectAllPairs(ids)).size();
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kCurves);
  state.counters["intersections"] = static_cast<double>(found);
}
BENCHMARK(BM_PljdIntersectAllPairs)->Unit(benchmark::kMillisecond);

#ifdef VTCAD_BENCH_GEOS
void BM_PljdGeosNode(benchmark::State& state) {
  GEOSContextHandle_t context = GEOS_init_r();
  std::vector<GEOSGeometry*> lines;
  for (const ScatteredCurve& curve : scatteredCurves()) {
    std::vector<double> xy;
    if (curve.kind == CurveKind::kArc) {
      for (int s = 0; s <= kChordsPerArc; ++s) {
        const double a = curve.startAngle + kArcSweep * s / kChordsPerArc;
        xy.push_back(curve.points[0].x + kArcRadius * std::cos(a));
        xy.push_back(curve.points[0].y + kArcRadius * std::sin(a));
      }
    } else {
      for (const ZcGePoint2d& p : curve.points) {
        xy.push_back(p.x);
        xy.push_back(p.y);
      }
    }
    GEOSCoordSequence* sequence =
        GEOSCoordSeq_copyFromBuffer_r(context, xy.data(), static_cast<unsigned>(xy.size() / 2),
                                      /*hasZ=*/0, /*hasM=*/0);
    lines.push_back(GEOSGeom_createLineString_r(context, sequence));
  }
  GEOSGeometry* all = GEOSGeom_createCollection_r(context, GEOS_MULTILINESTRING, lines.data(),
                                                  static_cast<unsigned>(lines.size()));
  int pieces = 0;
  for (auto _ : state) {
    GEOSGeometry* noded = GEOSNode_r(context, all);
    if (!noded) {
      state.SkipWithError("GEOSNode failed");
      break;
    }
    pieces = GEOSGetNumGeometries_r(context, noded);
    GEOSGeom_destroy_r(context, noded);
  }
  GEOSGeom_destroy_r(context, all);
  GEOS_finish_r(context);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kCurves);
  // Each crossing of two curves cuts both: the pieces beyond one per curve, halved.
  state.counters["intersections"] = (pieces - kCurves) / 2.0;
}
BENCHMARK(BM_PljdGeosNode)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
