// The influence and blend commands at the sizes a designer reaches: PLAFFECT with 5 influence
// curves on 10 000 entities (half of them polylines bent point by point), one lens pass of
// plAffClick over 10 000 entities (a pass follows every move of the lens), and PLBLENDS'
// 100 splines between two 1 000-vertex polylines at SURFTAB1 = 6. The commands run from a
// script, inside their undo groups; the lens pass is timed alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "BenchDrawing.h"
#include "affect/AffectCommands.h"
#include "affect/InfluenceScaling.h"
#include "editor/Session.h"
#include "morph/CurveBlends.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace {

using vtcad_bench::BenchDrawing;
using vtcad_bench::pickOf;

BenchDrawing affectDrawing() {
  return BenchDrawing{{L"PLAFFECT", &veltrace::plaffectCommand}, {L"PLBLENDS", &veltrace::plblendsCommand}};
}

// 10 000 entities on a 100 x 100 grid of spacing 10: polylines of 6 vertices and points, one
// after the other.
void addGrid(BenchDrawing& bench) {
  for (int k = 0; k < 10000; ++k) {
    const double x = (k % 100) * 10.0;
    const double y = (k / 100) * 10.0;
    if (k % 2 == 0) {
      auto* polyline = new ZcDbPolyline(6);
      for (unsigned v = 0; v < 6; ++v) polyline->addVertexAt(v, ZcGePoint2d(x + v, y + (v % 2) * 2.0), 0.0);
      bench.add(polyline);
    } else {
      bench.add(new ZcDbPoint(ZcGePoint3d(x, y, 0)));
    }
  }
}

void BM_PlaffectFiveCurves(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BenchDrawing bench = affectDrawing();
    addGrid(bench);
    std::wstring script = L"PLAFFECT\n";
    for (int c = 0; c < 5; ++c) {
      script += pickOf(bench.add(
                    new ZcDbLine(ZcGePoint3d(100 + c * 200, -10, 0), ZcGePoint3d(150 + c * 200, 1000, 0)))) +
                L"\n";
    }
    // Strength 3, reach 40, position, no turn, scale, not rigid: polylines are bent.
    script += L"\nALL\n\n3\n40\nY\nN\nY\nN\n";
    state.ResumeTiming();
    bench.run(script);
  }
  state.counters["entities"] = 10000;
}
BENCHMARK(BM_PlaffectFiveCurves)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LensPass(benchmark::State& state) {
  BenchDrawing bench = affectDrawing();
  veltrace::ObjectIdList affected;
  for (int k = 0; k < 10000; ++k) {
    affected.push_back(bench.add(
        new ZcDbCircle(ZcGePoint3d((k % 100) * 10.0, (k / 100) * 10.0, 0), ZcGeVector3d::kZAxis, 2.0)));
  }
  const ZcDbObjectId lensId =
      bench.add(new ZcDbCircle(ZcGePoint3d(500, 500, 0), ZcGeVector3d::kZAxis, 200.0));
  const double reach = 1.2 * (400 * 0.25 + 400 * 0.25);
  bool enlarge = false;
  int scaled = 0;
  for (auto _ : state) {
    ZcDbCurve* lens = nullptr;
    if (zcdbOpenObject(lens, lensId, ZcDb::kForRead) != Zcad::eOk) state.SkipWithError("no lens");
    // Shrinking and enlarging by turns keeps the sizes bounded over many iterations.
    scaled = veltrace::influenceScalePass(*lens, lensId, affected, reach, enlarge);
    enlarge = !enlarge;
    lens->close();
  }
  state.counters["entities"] = 10000;
  state.counters["scaled"] = scaled;
}
BENCHMARK(BM_LensPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlblendsHundredSteps(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    BenchDrawing bench = affectDrawing();
    for (int k = 0; k < 2; ++k) {
      auto* polyline = new ZcDbPolyline(1000);
      for (unsigned v = 0; v < 1000; ++v) {
        polyline->addVertexAt(v, ZcGePoint2d(v * 1.0, 100.0 * k + 5.0 * std::sin(v * 0.05 * (k + 1))), 0.0);
      }
      bench.add(polyline);
    }
    // Each picked at its start.
    const std::wstring script = L"PLBLENDS\n0,0\n0,100\n\n100\n0\n";
    state.ResumeTiming();
    bench.run(script);
  }
  state.counters["steps"] = 100;
}
BENCHMARK(BM_PlblendsHundredSteps)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
