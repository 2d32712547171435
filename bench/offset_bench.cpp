// Polyline offsets: a closed lightweight polyline of 10 000 vertices, every second segment an
// arc, offset by 1, 2, ... 10 to each side through getOffsetCurves (twenty calls per round),
// side by side with GEOS's offset curve on the same outline with its arcs linearised. The
// outline is a circle of radius 1000 with a radial wobble of amplitude 4 and period 25 vertices,
// so the larger inner offsets make and remove local loops and the outer ones round or trim the
// joins. Rates are source vertices per second, summed over the twenty distances.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "zcad/db/ZcDbPolyline.h"

#ifdef VTCAD_BENCH_GEOS
#include <geos_c.h>
#endif

namespace {

constexpr int kVertices = 10000;
constexpr int kDistances = 10;
// Each arc goes to GEOS as this many chords: its sagitta is then under 0.0002 of the distance.
constexpr int kChordsPerArc = 8;

struct OutlineVertex {
  double x, y, bulge;
};

std::vector<OutlineVertex> wobblyOutline() {
  std::vector<OutlineVertex> outline;
  outline.reserve(kVertices);
  for (int i = 0; i < kVertices; ++i) {
    const double t = 2.0 * std::numbers::pi * i / kVertices;
    const double r = 1000.0 + 4.0 * std::sin(2.0 * std::numbers::pi * i / 25.0);
    // Alternating convex and concave arcs on every second segment.
    const double bulge = i % 2 == 0 ? (i % 4 == 0 ? 0.3 : -0.3) : 0.0;
    outline.push_back({r * std::cos(t), r * std::sin(t), bulge});
  }
  return outline;
}

void BM_OffsetPolylineWithArcs(benchmark::State& state) {
  const std::vector<OutlineVertex> outline = wobblyOutline();
  ZcDbPolyline polyline(kVertices);
  for (int i = 0; i < kVertices; ++i)
    polyline.addVertexAt(i, ZcGePoint2d(outline[i].x, outline[i].y), outline[i].bulge);
  polyline.setClosed(true);
  long long pieces = 0, arcs = 0;
  for (auto _ : state) {
    pieces = arcs = 0;
    for (int k = 1; k <= kDistances; ++k)
      for (const double distance : {double(k), -double(k)}) {
        ZcDbVoidPtrArray curves;
        if (polyline.getOffsetCurves(distance, curves) != Zcad::eOk) state.SkipWithError("offset failed");
        for (int c = 0; c < curves.length(); ++c) {
          auto* piece = static_cast<ZcDbPolyline*>(curves[c]);
          ++pieces;
          for (unsigned v = 0; v < piece->numVerts(); ++v) {
            double bulge = 0.0;
            piece->getBulgeAt(v, bulge);
            arcs += bulge != 0.0;
          }
          delete piece;
        }
      }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVertices * 2 * kDistances);
  state.counters["pieces"] = static_cast<double>(pieces);
  state.counters["arcs_kept"] = static_cast<double>(arcs);
}
BENCHMARK(BM_OffsetPolylineWithArcs)->Unit(benchmark::kMillisecond);

#ifdef VTCAD_BENCH_GEOS
// The arc of bulge b from p to q as chords (q left out: it starts the next segment).
void appendLinearised(std::vector<double>& xy, const OutlineVertex& p, const OutlineVertex& q) {
  xy.push_back(p.x);
  xy.push_back(p.y);
  if (p.bulge == 0.0) return;
  const double sweep = 4.0 * std::atan(p.bulge);
  const double chord = std::hypot(q.x - p.x, q.y - p.y);
  const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
  // The centre lies to the left of the chord for a positive bulge.
  const double mx = (p.x + q.x) / 2, my = (p.y + q.y) / 2;
  const double toCentre = radius * std::cos(std::fabs(sweep) / 2.0) * (p.bulge > 0 ? 1.0 : -1.0);
  const double cx = mx - (q.y - p.y) / chord * toCentre, cy = my + (q.x - p.x) / chord * toCentre;
  const double start = std::atan2(p.y - cy, p.x - cx);
  for (int s = 1; s < kChordsPerArc; ++s) {
    const double a = start + sweep * s / kChordsPerArc;
    xy.push_back(cx + radius * std::cos(a));
    xy.push_back(cy + radius * std::sin(a));
  }
}

void BM_OffsetGeosOffsetCurve(benchmark::State& state) {
  const std::vector<OutlineVertex> outline = wobblyOutline();
  std::vector<double> xy;
  for (int i = 0; i < kVertices; ++i) appendLinearised(xy, outline[i], outline[(i + 1) % kVertices]);
  xy.push_back(xy[0]);  // closed ring
  xy.push_back(xy[1]);
  GEOSContextHandle_t context = GEOS_init_r();
  GEOSCoordSequence* sequence =
      GEOSCoordSeq_copyFromBuffer_r(context, xy.data(), static_cast<unsigned>(xy.size() / 2),
                                    /*hasZ=*/0, /*hasM=*/0);
  GEOSGeometry* ring = GEOSGeom_createLineString_r(context, sequence);
  long long outputPoints = 0;
  for (auto _ : state) {
    outputPoints = 0;
    for (int k = 1; k <= kDistances; ++k)
      for (const double distance : {double(k), -double(k)}) {
        GEOSGeometry* offset = GEOSOffsetCurve_r(context, ring, distance, /*quadsegs=*/8, GEOSBUF_JOIN_MITRE,
                                                 /*mitreLimit=*/5.0);
        if (!offset) {
          state.SkipWithError("GEOSOffsetCurve failed");
          break;
        }
        outputPoints += GEOSGetNumCoordinates_r(context, offset);
        GEOSGeom_destroy_r(context, offset);
      }
  }
  GEOSGeom_destroy_r(context, ring);
  GEOS_finish_r(context);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kVertices * 2 * kDistances);
  state.counters["linearised_vertices"] = static_cast<double>(xy.size() / 2);
  state.counters["output_points"] = static_cast<double>(outputPoints);
}
BENCHMARK(BM_OffsetGeosOffsetCurve)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
