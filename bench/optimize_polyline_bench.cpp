// The plug-in's vertex optimiser (PLYH): the passes on a plain point array, against GEOS's
// Douglas-Peucker simplifier on the same points with the same distance tolerance, for a traced
// outline (the pixel staircase round a disc) and a noisy sine; and the whole PLYH command on a
// drawing of 10 000 polylines of 200 vertices. Rates are vertices per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "CommandOnDrawing.h"
#include "editor/Session.h"
#include "frame/Messages.h"
#include "polyline/VertexListPasses.h"
#include "polyline/VertexOptimisationCommands.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

#ifdef VTCAD_BENCH_GEOS
#include <geos_c.h>
#endif

namespace {

using Points = std::vector<ZcGePoint3d>;
using veltrace::mergeVertexClusters;
using veltrace::optimizationThreshold;
using veltrace::straightenVertices;

// PLYH's tolerance 2: t = 1.5.
constexpr double kToleranceFactor = 1.5;

// The boundary of the pixels of a disc, walked round: axis-parallel unit steps, a vertex at
// every corner, as a tracer gives it. Close to `count` vertices (cut to exactly that many).
Points tracedOutline(std::size_t count) {
  const double radius = std::max(4.0, static_cast<double>(count) / 8.0);
  Points points;
  points.reserve(count + 8);
  long px = std::lround(radius), py = 0;
  points.emplace_back(px, py, 0);
  const std::size_t steps = 16 * count;
  for (std::size_t i = 1; i <= steps && points.size() < count; ++i) {
    const double a = 2 * M_PI * static_cast<double>(i) / static_cast<double>(steps);
    const long qx = std::lround(radius * std::cos(a)), qy = std::lround(radius * std::sin(a));
    if (qx == px && qy == py) continue;
    // One step at a time along x, then along y: the corner between is a vertex.
    if (qx != px && qy != py) points.emplace_back(qx, py, 0);
    points.emplace_back(qx, qy, 0);
    px = qx;
    py = qy;
  }
  points.resize(std::min(points.size(), count));
  return points;
}

// 100 periods of a sine of amplitude 10 over x in [0, 200 pi], with noise of 0.05.
Points noisySine(std::size_t count) {
  std::mt19937 rng(11);
  std::normal_distribution<double> noise(0.0, 0.05);
  Points points(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double x = 200 * M_PI * static_cast<double>(i) / static_cast<double>(count - 1);
    points[i] = ZcGePoint3d(x, 10 * std::sin(x) + noise(rng), 0);
  }
  return points;
}

Points shape(int kind, std::size_t count) { return kind == 0 ? tracedOutline(count) : noisySine(count); }

// The distance tolerance PLYH would use on these points alone: 0.001 * D * t.
double thresholdFor(const Points& points) {
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (const ZcGePoint3d& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  return optimizationThreshold(std::hypot(maxX - minX, maxY - minY), kToleranceFactor);
}

// Args: {shape (0 traced outline, 1 noisy sine), vertex count}.
void shapeArgs(benchmark::internal::Benchmark* b) {
  for (int kind : {0, 1}) {
    for (long n : {1000L, 100000L, 1000000L}) b->Args({kind, n});
  }
  b->ArgNames({"shape", "n"});
}

void BM_OptimizeVertexList(benchmark::State& state) {
  const Points input = shape(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  const double threshold = thresholdFor(input);
  Points work(input.size());
  std::size_t kept = 0;
  for (auto _ : state) {
    // The passes work in place: each round starts from a fresh copy (timed with them).
    std::copy(input.begin(), input.end(), work.begin());
    std::size_t count = straightenVertices(work.data(), work.size(), threshold);
    if (count > 1) count = mergeVertexClusters(work.data(), count, threshold);
    kept = count;
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_OptimizeVertexList)->Apply(shapeArgs)->Unit(benchmark::kMicrosecond);

#ifdef VTCAD_BENCH_GEOS
void BM_OptimizeGeosDouglasPeucker(benchmark::State& state) {
  const Points input = shape(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
  const double threshold = thresholdFor(input);
  GEOSContextHandle_t context = GEOS_init_r();
  std::vector<double> xy;
  xy.reserve(2 * input.size());
  for (const ZcGePoint3d& p : input) {
    xy.push_back(p.x);
    xy.push_back(p.y);
  }
  GEOSCoordSequence* sequence =
      GEOSCoordSeq_copyFromBuffer_r(context, xy.data(), static_cast<unsigned>(input.size()),
                                    /*hasZ=*/0, /*hasM=*/0);
  GEOSGeometry* line = GEOSGeom_createLineString_r(context, sequence);
  int kept = 0;
  for (auto _ : state) {
    GEOSGeometry* simplified = GEOSSimplify_r(context, line, threshold);
    kept = GEOSGeomGetNumPoints_r(context, simplified);
    GEOSGeom_destroy_r(context, simplified);
  }
  GEOSGeom_destroy_r(context, line);
  GEOS_finish_r(context);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.counters["kept"] = kept;
}
BENCHMARK(BM_OptimizeGeosDouglasPeucker)->Apply(shapeArgs)->Unit(benchmark::kMicrosecond);
#endif

// PLYH end to end: selection of ALL, the extents, each polyline read, optimised, replaced and
// erased inside the command's undo group. 10 000 lightweight polylines of 200 vertices, half
// traced outlines and half noisy sines, side by side.
void BM_OptimizePlyhCommand(benchmark::State& state) {
  constexpr int kPolylines = 10000;
  constexpr std::size_t kVertices = 200;
  const Points outline = tracedOutline(kVertices);
  Points sine = noisySine(kVertices);
  for (ZcGePoint3d& p : sine) p.x *= 0.05;  // about the outline's size
  const auto makePolyline = [&](int k) {
    const Points& source = k % 2 == 0 ? outline : sine;
    const double dx = 60.0 * (k % 100), dy = 60.0 * (k / 100);
    auto* polyline = new ZcDbPolyline(kVertices);
    for (std::size_t i = 0; i < source.size(); ++i) {
      polyline->addVertexAt(static_cast<unsigned>(i), ZcGePoint2d(source[i].x + dx, source[i].y + dy));
    }
    return polyline;
  };
  vtcad_bench::timeCommandOnDrawing(state, L"PLYH", &veltrace::plyhCommand, kPolylines, makePolyline,
                                    L"PLYH\nALL\n\n2\n");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPolylines *
                          static_cast<int64_t>(kVertices));
}
BENCHMARK(BM_OptimizePlyhCommand)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
