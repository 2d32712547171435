// The optimiser's passes on plain point lists: what a straightening pass keeps, how clusters
// merge, and agreement with the passes written out by angle and height on random paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "polyline/VertexListPasses.h"

namespace veltrace {
namespace {

using Points = std::vector<ZcGePoint3d>;

Points pass(Points p, double threshold) {
  p.resize(straighteningPass(p.data(), p.size(), threshold));
  return p;
}
Points merged(Points p, double radius) {
  p.resize(mergeVertexClusters(p.data(), p.size(), radius));
  return p;
}
std::vector<double> xs(const Points& p) {
  std::vector<double> x;
  for (const ZcGePoint3d& q : p) x.push_back(q.x);
  return x;
}
Points onXAxis(std::vector<double> x) {
  Points p;
  for (double v : x) p.emplace_back(v, 0.0, 0.0);
  return p;
}

TEST(VertexListPasses, ShortListsAndCollinearRuns) {
  // Two vertices pass unchanged; merging gives the centroid of both and the second again, or
  // both when they are apart.
  EXPECT_EQ(xs(pass(onXAxis({0, 0.5}), 100.0)), (std::vector<double>{0, 0.5}));
  EXPECT_EQ(xs(merged(onXAxis({0, 0.5}), 1.0)), (std::vector<double>{0.25, 0.5}));
  EXPECT_EQ(xs(merged(onXAxis({0, 0.5}), 0.5)), (std::vector<double>{0, 0.5}));
  // Four: the one triple (p0, p1, p2) is judged, p3 appended though in line with p1 and p2.
  EXPECT_EQ(xs(pass(onXAxis({0, 1, 2, 3}), 0.1)), (std::vector<double>{0, 2, 3}));
  EXPECT_EQ(pass(Points{{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 0, 0}}, 0.1).size(), 4u);
  // A straight run keeps p0, p2, p4, … and the last of an even count; five passes take 101
  // vertices to 51, 26, 14, 8 and 5, however straight the rest is.
  Points run;
  for (int i = 0; i < 101; ++i) run.emplace_back(i, 2.0 * i, -i);
  EXPECT_EQ(xs(pass(Points(run.begin(), run.begin() + 8), 0.001)), (std::vector<double>{0, 2, 4, 6, 7}));
  EXPECT_EQ(pass(run, 0.001).size(), 51u);
  EXPECT_EQ(straightenVertices(run.data(), run.size(), 0.001), 5u);
  EXPECT_EQ(run[4].x, 100.0);
}

TEST(VertexListPasses, HairpinsStayHoweverLowAndCoincidentVerticesGo) {
  EXPECT_EQ(pass(Points{{0, 0, 0}, {10, 0, 0}, {0, 0.5, 0}}, 1e6).size(), 3u);   // 0.05 rad
  EXPECT_EQ(pass(Points{{0, 0, 0}, {10, 0, 0}, {20, 0.5, 0}}, 1.0).size(), 2u);  // same height
  for (const double angle : {0.098, 0.102}) {
    const Points turn{{10, 0, 0}, {0, 0, 0}, {10 * std::cos(angle), 10 * std::sin(angle), 0}};
    EXPECT_EQ(pass(turn, 1e6).size(), angle < kHairpinAngle ? 3u : 2u) << angle;
  }
  // A middle vertex on a neighbour has no direction: it goes, and nothing turns NaN.
  for (const Points& p : {Points{{1, 1, 1}, {1, 1, 1}, {5, 0, 0}}, Points{{0, 0, 0}, {3, 3, 0}, {3, 3, 0}},
                          Points{{2, 2, 2}, {2, 2, 2}, {2, 2, 2}}}) {
    const Points result = pass(p, 0.0);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_TRUE(std::isfinite(result[1].x) && result[1].x == p[2].x);
  }
}

TEST(VertexListPasses, ClustersAreMeasuredFromTheirFirstVertex) {
  // 1.2 is beyond 1 from 0, though within 1 of 0.6: a new group starts there.
  EXPECT_EQ(xs(merged(onXAxis({0, 0.6, 1.2, 1.8, 5}), 1.0)), (std::vector<double>{0.3, 1.5, 5}));
  // A group running to the end absorbs the last vertex, which is appended all the same.
  EXPECT_EQ(xs(merged(onXAxis({0, 10, 10.5}), 1.0)), (std::vector<double>{0, 10.25, 10.5}));
  EXPECT_EQ(mergeVertexClusters(nullptr, 0, 1.0), 0u);
}

// The passes as described, by the angle between the legs and the height |m - a| sin(angle);
// `ambiguous` marks a decision too near its limit for two ways of computing to agree.
Points referencePass(const Points& p, double threshold, bool& ambiguous) {
  if (p.size() <= 2) return p;
  Points out{p[0]};
  for (std::size_t k = 0; 2 * k + 2 < p.size(); ++k) {
    const ZcGeVector3d u = p[2 * k] - p[2 * k + 1], v = p[2 * k + 2] - p[2 * k + 1];
    const double angle = std::acos(std::clamp(u.dotProduct(v) / (u.length() * v.length()), -1.0, 1.0));
    const double height = std::fabs(u.length() * std::sin(angle));
    ambiguous = ambiguous || std::fabs(height - threshold) < 1e-6 * (1 + threshold) ||
                std::fabs(angle - kHairpinAngle) < 1e-6;
    if (height > threshold || angle < kHairpinAngle) out.push_back(p[2 * k + 1]);
    out.push_back(p[2 * k + 2]);
  }
  if (p.size() % 2 == 0) out.push_back(p.back());
  return out;
}

TEST(VertexListPasses, AgreeWithAnglesAndHeightsOnRandomPaths) {
  std::mt19937 rng(20261206);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    // Long and short steps with the odd turn back, at scales from 0.001 to 1000.
    const double scale = std::pow(10.0, unit(rng) * 3);
    Points path{{unit(rng) * 100, unit(rng) * 100, 0}};
    ZcGeVector3d heading(1, 0, 0);
    for (int i = 1, n = 2 + static_cast<int>((unit(rng) + 1) * 200); i < n; ++i) {
      if (unit(rng) > 0.9) heading = -heading;
      heading = (heading + ZcGeVector3d(unit(rng), unit(rng), 0.2 * unit(rng)) * 0.3).normal();
      path.push_back(path.back() + heading * scale * (unit(rng) > 0.5 ? 1.0 : 0.01));
    }
    const double threshold = scale * (unit(rng) + 1.0) * 0.05;
    bool ambiguous = false;
    Points expected = path;
    for (int i = 0; i < kStraighteningPasses; ++i) expected = referencePass(expected, threshold, ambiguous);
    if (ambiguous) continue;
    ++compared;
    Points actual = path;
    optimizeVertexList(actual, threshold);
    // The reference's vertices, merged; each within the radius of one of them (a centroid of
    // its group), the last one the path's own.
    const Points want = merged(expected, threshold);
    ASSERT_EQ(actual.size(), want.size()) << round;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      ASSERT_LE(actual[i].distanceTo(want[i]), 1e-9 * (1 + scale)) << round << " vertex " << i;
    }
    EXPECT_EQ(actual.back().x, path.back().x);
    EXPECT_EQ(actual.back().y, path.back().y);
    for (const ZcGePoint3d& q : actual) {
      double nearest = HUGE_VAL;
      for (const ZcGePoint3d& p : expected) nearest = std::min(nearest, p.distanceTo(q));
      EXPECT_LT(nearest, threshold + 1e-12) << round;
    }
  }
  EXPECT_GT(compared, 250);
}

}  // namespace
}  // namespace veltrace
