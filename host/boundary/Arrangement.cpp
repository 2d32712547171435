#include "boundary/Arrangement.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "database/BulgeSegment.h"
#include "database/BulgeSegmentIntersection.h"

namespace vtcad::boundary {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Tangent directions closer than this (radians) leave a vertex together: they are told
// apart by curvature. Numerical tangents at a computed touching point agree to about this.
constexpr double kTangentTie = 1e-8;

struct Box {
  double lo[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
  double hi[2] = {-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  void add(const ZcGePoint2d& p) {
    lo[0] = std::min(lo[0], p.x);
    lo[1] = std::min(lo[1], p.y);
    hi[0] = std::max(hi[0], p.x);
    hi[1] = std::max(hi[1], p.y);
  }
};

// The box of a segment: its ends, and for an arc the circle's box (loose, never too small).
Box boxOf(const db::BulgeSegment& segment) {
  Box box;
  box.add(segment.startPoint());
  box.add(segment.endPoint());
  if (segment.isArc()) {
    const ZcGePoint2d c = segment.center();
    const double r = segment.radius();
    box.add({c.x - r, c.y - r});
    box.add({c.x + r, c.y + r});
  }
  return box;
}

struct Hit {
  double t = 0.0;
  int vertex = -1;
};

struct Source {
  db::BulgeSegment segment;
  Box box;
  std::vector<Hit> hits;
};

// Points merged within the tolerance: a grid of cells one tolerance wide, each point looked
// for in its cell and the eight around it.
class VertexGrid {
 public:
  VertexGrid(double tolerance, std::vector<ZcGePoint2d>& points) : tolerance_(tolerance), points_(points) {}

  int vertexAt(const ZcGePoint2d& p) {
    const std::int64_t cx = cellOf(p.x), cy = cellOf(p.y);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const auto found = cells_.find(key(cx + dx, cy + dy));
        if (found == cells_.end()) continue;
        for (int id : found->second)
          if ((points_[static_cast<size_t>(id)] - p).length() <= tolerance_) return id;
      }
    }
    const int id = static_cast<int>(points_.size());
    points_.push_back(p);
    cells_[key(cx, cy)].push_back(id);
    return id;
  }

 private:
  std::int64_t cellOf(double v) const { return static_cast<std::int64_t>(std::floor(v / tolerance_)); }
  static std::uint64_t key(std::int64_t x, std::int64_t y) {
    return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
  }

  double tolerance_;
  std::vector<ZcGePoint2d>& points_;
  std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

// A piece of a source between two vertices, in the source's direction.
struct Piece {
  int from = 0;
  int to = 0;
  double bulge = 0.0;
  int source = 0;
};

// Half-edge h runs along piece h / 2, forwards when h is even.
int twinOf(int h) { return h ^ 1; }

struct Walk {
  std::vector<int> cycleOf;              // per half-edge
  std::vector<std::vector<int>> cycles;  // half-edges in walking order
};

class Planar {
 public:
  Planar(const std::vector<ZcGePoint2d>& points, const std::vector<Piece>& pieces)
      : points_(points), pieces_(pieces) {}

  int origin(int h) const {
    const Piece& p = pieces_[static_cast<size_t>(h / 2)];
    return h % 2 == 0 ? p.from : p.to;
  }
  int target(int h) const { return origin(twinOf(h)); }
  double bulge(int h) const {
    const double b = pieces_[static_cast<size_t>(h / 2)].bulge;
    return h % 2 == 0 ? b : -b;
  }

  Walk walk() const {
    const size_t halfEdges = pieces_.size() * 2;
    std::vector<std::vector<int>> around(points_.size());
    for (int h = 0; h < static_cast<int>(halfEdges); ++h) around[static_cast<size_t>(origin(h))].push_back(h);
    std::vector<int> position(halfEdges, 0);
    for (std::vector<int>& leaving : around) {
      sortCounterClockwise(leaving);
      for (size_t i = 0; i < leaving.size(); ++i)
        position[static_cast<size_t>(leaving[i])] = static_cast<int>(i);
    }
    std::vector<int> next(halfEdges, -1);
    for (int h = 0; h < static_cast<int>(halfEdges); ++h) {
      const std::vector<int>& at = around[static_cast<size_t>(target(h))];
      const int n = static_cast<int>(at.size());
      next[static_cast<size_t>(h)] =
          at[static_cast<size_t>((position[static_cast<size_t>(twinOf(h))] - 1 + n) % n)];
    }
    Walk walk;
    walk.cycleOf.assign(halfEdges, -1);
    for (int start = 0; start < static_cast<int>(halfEdges); ++start) {
      if (walk.cycleOf[static_cast<size_t>(start)] >= 0) continue;
      const int id = static_cast<int>(walk.cycles.size());
      std::vector<int> cycle;
      for (int h = start; walk.cycleOf[static_cast<size_t>(h)] < 0; h = next[static_cast<size_t>(h)]) {
        walk.cycleOf[static_cast<size_t>(h)] = id;
        cycle.push_back(h);
      }
      // The successor map is a permutation, so a walk closes where it started.
      assert(walk.cycleOf[static_cast<size_t>(start)] == id);
      walk.cycles.push_back(std::move(cycle));
    }
    return walk;
  }

 private:
  struct Leaving {
    int halfEdge;
    double angle;
    double curvature;  // signed: positive turning left
  };

  void sortCounterClockwise(std::vector<int>& leaving) const {
    std::vector<Leaving> keyed;
    keyed.reserve(leaving.size());
    for (int h : leaving) {
      const ZcGeVector2d chord =
          points_[static_cast<size_t>(target(h))] - points_[static_cast<size_t>(origin(h))];
      const double b = bulge(h);
      // The tangent at the start turns from the chord by half the sweep (2 atan(bulge)), to
      // the right for a counter-clockwise arc.
      double angle = std::atan2(chord.y, chord.x) - 2.0 * std::atan(b);
      angle = std::fmod(angle + 4.0 * kPi, 2.0 * kPi);
      const double length = chord.length();
      const double curvature = length > 0.0 ? 4.0 * b / (length * (1.0 + b * b)) : 0.0;
      keyed.push_back({h, angle, curvature});
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const Leaving& a, const Leaving& b) { return a.angle < b.angle; });
    // Tangent ties: the one that turns right the most comes first (it lies below the others
    // just after the vertex). A tie across the 0/2pi seam is put together first.
    if (keyed.size() > 1 && keyed.back().angle - 2.0 * kPi > keyed.front().angle - kTangentTie) {
      size_t wrap = keyed.size() - 1;
      while (wrap > 0 && keyed[wrap - 1].angle - 2.0 * kPi > keyed.front().angle - kTangentTie) --wrap;
      std::rotate(keyed.begin(), keyed.begin() + static_cast<std::ptrdiff_t>(wrap), keyed.end());
      for (size_t i = 0; i < keyed.size() - wrap; ++i) keyed[i].angle -= 2.0 * kPi;
    }
    for (size_t begin = 0; begin < keyed.size();) {
      size_t end = begin + 1;
      while (end < keyed.size() && keyed[end].angle - keyed[begin].angle < kTangentTie) ++end;
      std::sort(keyed.begin() + static_cast<std::ptrdiff_t>(begin),
                keyed.begin() + static_cast<std::ptrdiff_t>(end),
                [](const Leaving& a, const Leaving& b) { return a.curvature < b.curvature; });
      begin = end;
    }
    for (size_t i = 0; i < keyed.size(); ++i) leaving[i] = keyed[i].halfEdge;
  }

  const std::vector<ZcGePoint2d>& points_;
  const std::vector<Piece>& pieces_;
};

double toleranceFor(const std::vector<PlanEdge>& edges) {
  Box box;
  double largest = 0.0;
  for (const PlanEdge& e : edges) {
    box.add(e.start);
    box.add(e.end);
    largest =
        std::max({largest, std::abs(e.start.x), std::abs(e.start.y), std::abs(e.end.x), std::abs(e.end.y)});
  }
  if (edges.empty()) return 1e-12;
  const double diagonal = std::hypot(box.hi[0] - box.lo[0], box.hi[1] - box.lo[1]);
  const double tolerance = std::max(1e-9 * diagonal, 64.0 * std::numeric_limits<double>::epsilon() * largest);
  return tolerance > 0.0 ? tolerance : 1e-12;
}

int findRoot(std::vector<int>& parent, int i) {
  while (parent[static_cast<size_t>(i)] != i) {
    parent[static_cast<size_t>(i)] = parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
    i = parent[static_cast<size_t>(i)];
  }
  return i;
}

bool isFinite(const PlanEdge& e) {
  return std::isfinite(e.start.x) && std::isfinite(e.start.y) && std::isfinite(e.end.x) &&
         std::isfinite(e.end.y) && std::isfinite(e.bulge);
}

// Degenerate case: an edge with a non-finite number bounds nothing (and would spoil the
// tolerance of all the others).
std::vector<PlanEdge> finiteEdges(const std::vector<PlanEdge>& edges) {
  std::vector<PlanEdge> kept;
  kept.reserve(edges.size());
  std::copy_if(edges.begin(), edges.end(), std::back_inserter(kept), isFinite);
  return kept;
}

}  // namespace

Arrangement::Arrangement(const std::vector<PlanEdge>& input) {
  const std::vector<PlanEdge> edges = finiteEdges(input);
  tolerance_ = toleranceFor(edges);
  std::vector<Source> sources;
  sources.reserve(edges.size());
  for (const PlanEdge& e : edges) {
    db::BulgeSegment segment(e.start, e.end, e.bulge);
    if (segment.chordLength() <= tolerance_) continue;  // degenerate case: a point bounds nothing
    const Box box = boxOf(segment);
    sources.push_back({segment, box, {}});
  }

  // 1, 2: the ends first, so that vertices sit on drawn end points.
  std::vector<ZcGePoint2d> points;
  VertexGrid grid(tolerance_, points);
  for (Source& s : sources) {
    s.hits.push_back({0.0, grid.vertexAt(s.segment.startPoint())});
    s.hits.push_back({1.0, grid.vertexAt(s.segment.endPoint())});
  }
  std::vector<size_t> byLeft(sources.size());
  std::iota(byLeft.begin(), byLeft.end(), size_t{0});
  std::sort(byLeft.begin(), byLeft.end(),
            [&](size_t a, size_t b) { return sources[a].box.lo[0] < sources[b].box.lo[0]; });
  for (size_t i = 0; i < byLeft.size(); ++i) {
    Source& a = sources[byLeft[i]];
    for (size_t j = i + 1; j < byLeft.size(); ++j) {
      Source& b = sources[byLeft[j]];
      if (b.box.lo[0] > a.box.hi[0] + tolerance_) break;
      if (b.box.lo[1] > a.box.hi[1] + tolerance_ || a.box.lo[1] > b.box.hi[1] + tolerance_) continue;
      const db::SegmentIntersection meet = db::intersectSegments(a.segment, b.segment, tolerance_);
      for (int k = 0; k < meet.count; ++k) {
        const int vertex = grid.vertexAt(meet.hits[k].point);
        a.hits.push_back({meet.hits[k].tFirst, vertex});
        b.hits.push_back({meet.hits[k].tSecond, vertex});
      }
    }
  }

  // Cut every source at its hits; 3: a piece drawn twice is kept once.
  std::vector<Piece> pieces;
  std::unordered_map<std::uint64_t, std::vector<size_t>> between;
  for (size_t s = 0; s < sources.size(); ++s) {
    Source& source = sources[s];
    std::sort(source.hits.begin(), source.hits.end(), [](const Hit& x, const Hit& y) { return x.t < y.t; });
    const double sweep = source.segment.sweep();
    for (size_t k = 0; k + 1 < source.hits.size(); ++k) {
      const Hit& from = source.hits[k];
      const Hit& to = source.hits[k + 1];
      if (from.vertex == to.vertex) continue;
      const Piece piece{from.vertex, to.vertex, std::tan(sweep * (to.t - from.t) / 4.0), static_cast<int>(s)};
      const int lowV = std::min(piece.from, piece.to), highV = std::max(piece.from, piece.to);
      const double along = piece.from == lowV ? piece.bulge : -piece.bulge;
      const double chord =
          (points[static_cast<size_t>(piece.to)] - points[static_cast<size_t>(piece.from)]).length();
      std::vector<size_t>& same =
          between[static_cast<std::uint64_t>(lowV) << 32 | static_cast<std::uint32_t>(highV)];
      const bool twice = std::any_of(same.begin(), same.end(), [&](size_t other) {
        const Piece& o = pieces[other];
        const double otherAlong = o.from == lowV ? o.bulge : -o.bulge;
        // The sagittas differ by about chord * |bulge difference| / 2.
        return chord * std::abs(along - otherAlong) <= 2.0 * tolerance_;
      });
      if (twice) continue;
      same.push_back(pieces.size());
      pieces.push_back(piece);
    }
  }

  // 4, 5: walk, drop the pieces with one face on both sides, walk again.
  Walk walk = Planar(points, pieces).walk();
  std::vector<Piece> bounding;
  for (size_t e = 0; e < pieces.size(); ++e)
    if (walk.cycleOf[2 * e] != walk.cycleOf[2 * e + 1]) bounding.push_back(pieces[e]);
  pieces = std::move(bounding);
  const Planar planar(points, pieces);
  walk = planar.walk();

  // Connected groups, for the islands.
  std::vector<int> group(points.size());
  std::iota(group.begin(), group.end(), 0);
  for (const Piece& p : pieces) group[static_cast<size_t>(findRoot(group, p.from))] = findRoot(group, p.to);

  struct Outline {
    Ring ring;
    int group;
  };
  std::vector<Outline> outlines;
  std::vector<int> faceGroup;
  for (const std::vector<int>& cycle : walk.cycles) {
    // Consecutive pieces of one source in the same direction join into one segment. The ring
    // starts where a new source begins, so no join straddles its first vertex.
    const auto joins = [&](int before, int after) {
      return pieces[static_cast<size_t>(before / 2)].source ==
                 pieces[static_cast<size_t>(after / 2)].source &&
             before % 2 == after % 2;
    };
    const size_t n = cycle.size();
    size_t first = 0;
    while (first < n && joins(cycle[(first + n - 1) % n], cycle[first])) ++first;
    if (first == n)
      first = 0;  // degenerate case: every join holds (cannot close with pieces of at most half a turn)
    Ring ring;
    double sweep = 0.0;
    for (size_t k = 0; k < n; ++k) {
      const int h = cycle[(first + k) % n];
      if (k == 0 || !joins(cycle[(first + k + n - 1) % n], h)) {
        if (!ring.vertices.empty()) ring.vertices.back().bulge = std::tan(sweep / 4.0);
        ring.vertices.push_back({points[static_cast<size_t>(planar.origin(h))], 0.0});
        sweep = 0.0;
      }
      sweep += 4.0 * std::atan(planar.bulge(h));
    }
    ring.vertices.back().bulge = std::tan(sweep / 4.0);
    const double area = ring.signedArea();
    const int g = findRoot(group, planar.origin(cycle.front()));
    // Degenerate case: a loop of no area (two pieces that deduplication could not tell
    // apart from each other) bounds nothing.
    if (std::abs(area) <= tolerance_ * tolerance_) continue;
    if (area > 0.0) {
      Face face;
      face.ring = std::move(ring);
      face.area = area;
      Box box;
      for (size_t k = 0; k < face.ring.vertices.size(); ++k) {
        const RingVertex& v = face.ring.vertices[k];
        const ZcGePoint2d& to = face.ring.vertices[(k + 1) % face.ring.vertices.size()].point;
        const Box piece = boxOf(db::BulgeSegment(v.point, to, v.bulge));
        box.add({piece.lo[0], piece.lo[1]});
        box.add({piece.hi[0], piece.hi[1]});
      }
      std::copy(std::begin(box.lo), std::end(box.lo), std::begin(face.lo));
      std::copy(std::begin(box.hi), std::end(box.hi), std::begin(face.hi));
      faces_.push_back(std::move(face));
      faceGroup.push_back(g);
    } else {
      outlines.push_back({ring.reversed(), g});
    }
  }

  // Each outline goes to the smallest face of another group around one of its points
  // (groups do not cross, so one point stands for the whole group).
  for (size_t o = 0; o < outlines.size(); ++o) {
    const ZcGePoint2d& probe = outlines[o].ring.vertices.front().point;
    long best = -1;
    for (size_t f = 0; f < faces_.size(); ++f) {
      const Face& face = faces_[f];
      if (faceGroup[f] == outlines[o].group) continue;
      if (probe.x < face.lo[0] || probe.x > face.hi[0] || probe.y < face.lo[1] || probe.y > face.hi[1])
        continue;
      if (best >= 0 && faces_[static_cast<size_t>(best)].area <= face.area) continue;
      if (face.ring.contains(probe)) best = static_cast<long>(f);
    }
    if (best >= 0) faces_[static_cast<size_t>(best)].islands.push_back(o);
    outlines_.push_back(std::move(outlines[o].ring));
  }
}

long Arrangement::faceAt(const ZcGePoint2d& point) const {
  long best = -1;
  for (size_t f = 0; f < faces_.size(); ++f) {
    const Face& face = faces_[f];
    if (point.x < face.lo[0] || point.x > face.hi[0] || point.y < face.lo[1] || point.y > face.hi[1])
      continue;
    if (best >= 0 && faces_[static_cast<size_t>(best)].area <= face.area) continue;
    if (face.ring.contains(point)) best = static_cast<long>(f);
  }
  return best;
}

}  // namespace vtcad::boundary
