#include "database/PolylineOffset.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "database/BoxTree.h"
#include "database/BulgeSegment.h"
#include "database/BulgeSegmentDistance.h"
#include "database/BulgeSegmentIntersection.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

// Below this sweep an arc's parameter is read from the point's place along its chord: the
// centre of a nearly straight arc lies too far away for angles about it to be accurate.
constexpr double kFlatSweep = 1e-4;

// How far (in tolerances) two raw segments' ends may be moved along them to a shallow crossing.
constexpr double kMaxCrossingSlack = 1e4;

double distance(const ZcGePoint2d& a, const ZcGePoint2d& b) { return std::hypot(a.x - b.x, a.y - b.y); }

ZcGeVector2d rightNormal(const ZcGeVector2d& tangent) {
  const double len = std::hypot(tangent.x, tangent.y);
  return {tangent.y / len, -tangent.x / len};
}

double bulgeOf(double sweep) { return std::tan(0.25 * sweep); }

// Signed angle from u to v in (-pi, pi].
double turnAngle(const ZcGeVector2d& u, const ZcGeVector2d& v) {
  return std::atan2(u.x * v.y - u.y * v.x, u.x * v.x + u.y * v.y);
}

// Parameter of a point on the segment's carrier: 0 at the start, 1 at the end, beyond them
// on the extensions. An arc's carrier point in the gap of its circle belongs to the nearer
// end's extension.
double carrierParam(const BulgeSegment& seg, const ZcGePoint2d& p) {
  const ZcGePoint2d start = seg.startPoint();
  if (std::fabs(seg.sweep()) < kFlatSweep) {
    const ZcGeVector2d chord = seg.endPoint() - start;
    const double len2 = chord.x * chord.x + chord.y * chord.y;
    if (len2 == 0.0) return 0.0;
    // The point at parameter t lies at (1 + sin(sweep (t - 1/2)) / sin(sweep / 2)) / 2 of the
    // chord along it; inverted, so that a point far out on the extension keeps its place.
    const double along = ((p - start).x * chord.x + (p - start).y * chord.y) / len2;
    if (!seg.isArc()) return along;
    const double half = 0.5 * seg.sweep();
    return 0.5 + std::asin(std::clamp((2.0 * along - 1.0) * std::sin(half), -1.0, 1.0)) / seg.sweep();
  }
  const ZcGePoint2d c = seg.center();
  double theta = turnAngle(start - c, p - c) * (seg.sweep() > 0.0 ? 1.0 : -1.0);  // in the arc's sense
  if (theta < 0.0) theta += ZcGe::kTwoPi;
  const double span = std::fabs(seg.sweep());
  if (theta <= span) return theta / span;
  const double after = theta - span;
  const double before = ZcGe::kTwoPi - theta;
  return after <= before ? 1.0 + after / span : -before / span;
}

// One source segment moved sideways, before it is joined to its neighbours.
struct RawSegment {
  ZcGePoint2d start;
  ZcGePoint2d end;
  double sweep = 0.0;  // the offset arc's sweep (the source's), 0 when straight
  bool collapsed = false;
  ZcGePoint2d sourceEnd;  // the source vertex the next join turns about

  BulgeSegment segment() const { return BulgeSegment(start, end, bulgeOf(sweep)); }

  double paramOf(const ZcGePoint2d& p) const { return carrierParam(segment(), p); }
};

RawSegment moveSideways(const BulgeSegment& source, double d) {
  RawSegment raw;
  raw.sourceEnd = source.endPoint();
  const ZcGePoint2d a = source.startPoint();
  const ZcGePoint2d b = source.endPoint();
  // Each end moves along its own normal, so no centre is needed and nearly straight arcs
  // stay exact. The moved ends of an arc lie on the concentric circle of radius r +- d.
  raw.start = a + rightNormal(source.firstDeriv(0.0)) * d;
  raw.end = b + rightNormal(source.firstDeriv(1.0)) * d;
  if (!source.isArc()) return raw;
  // A counter-clockwise arc has its outside to the right.
  const double radius = source.radius() + (source.sweep() > 0.0 ? d : -d);
  if (radius > 0.0 && std::fabs(source.sweep()) >= BulgeSegment::kMinSweep) {
    raw.sweep = source.sweep();
  } else {
    // Collapsed past the centre: the moved ends swap sides, join them straight.
    raw.collapsed = true;
  }
  return raw;
}

enum class Connector { kNone, kRound, kStraight };

// How segment `first` ends and `second` begins where they meet.
struct Joint {
  ZcGePoint2d endOfFirst;
  double tFirst = 1.0;
  ZcGePoint2d startOfSecond;
  double tSecond = 0.0;
  Connector connector = Connector::kNone;
  double connectorBulge = 0.0;
};

Joint joinSegments(const RawSegment& first, const RawSegment& second, double d, double tol) {
  Joint joint;
  joint.endOfFirst = first.end;
  joint.startOfSecond = second.start;
  if (distance(first.end, second.start) <= tol) {
    // Tangent continuation (or a straight run): one point.
    joint.startOfSecond = first.end;
    return joint;
  }
  const ZcGePoint2d vertex = first.sourceEnd;
  auto round = [&] {
    // About the source vertex in the sense that leaves the first segment forwards: counter-
    // clockwise on the right side, clockwise on the left (a reversal's half turn included).
    double angle = turnAngle(first.end - vertex, second.start - vertex) * (d > 0.0 ? 1.0 : -1.0);
    if (angle <= 0.0) angle += ZcGe::kTwoPi;
    angle = std::min(angle, ZcGe::kTwoPi - 1e-9);  // a full turn would need an infinite bulge
    joint.connector = Connector::kRound;
    joint.connectorBulge = bulgeOf(d > 0.0 ? angle : -angle);
  };
  auto straight = [&] { joint.connector = Connector::kStraight; };
  if (first.collapsed || second.collapsed) {
    // A collapsed arc's moved ends are known; going round the vertex the long way from a
    // concave corner would draw most of a circle about it, and the parts of that circle no
    // other part of the source comes near would stay, on the wrong side of the source.
    if (turnAngle(first.end - vertex, second.start - vertex) * d > 0.0) {
      round();
    } else {
      straight();
    }
    return joint;
  }
  const SegmentIntersection meet = intersectSegments(first.segment(), second.segment(), tol,
                                                     SegmentExtent::kCarrier, SegmentExtent::kCarrier);
  if (meet.relation != SegmentRelation::kCrossing) {
    round();  // parallel lines, separated or concentric circles
    return joint;
  }
  // The carriers' common point nearest the corner.
  const SegmentHit* best = &meet.hits[0];
  for (int k = 1; k < meet.count; ++k) {
    if (distance(meet.hits[k].point, vertex) < distance(best->point, vertex)) best = &meet.hits[k];
  }
  const ZcGePoint2d p = best->point;
  const double t1 = first.paramOf(p);
  const double t2 = second.paramOf(p);
  // Where the carriers cross at a small angle the crossing is known along them only to
  // tol / sin(angle): ends that miss it by less than that meet there (else a connector a
  // fraction of a millimetre long would stand in the way of the clean-up).
  const ZcGeVector2d u = first.segment().firstDeriv(1.0), v = second.segment().firstDeriv(0.0);
  const double lengths = std::hypot(u.x, u.y) * std::hypot(v.x, v.y);
  const double sine = lengths > 0.0 ? std::fabs(u.x * v.y - u.y * v.x) / lengths : 1.0;
  const double along = std::min(tol / std::max(sine, 1e-12), kMaxCrossingSlack * tol);
  const double slack = along / std::max(tol, first.segment().length());
  const double slack2 = along / std::max(tol, second.segment().length());
  const bool onFirst = t1 >= -slack && t1 <= 1.0 + slack;
  const bool onSecond = t2 >= -slack2 && t2 <= 1.0 + slack2;
  if (onFirst && onSecond) {
    joint.endOfFirst = p;
    joint.tFirst = t1;
    joint.startOfSecond = p;
    joint.tSecond = t2;
    return joint;
  }
  // A gap on the convex side is rounded, as the true offset is (sharp corners come after the
  // clean-up); on the concave side a straight connector does, since the clean-up cuts it away
  // with the loop it makes.
  const bool convex = turnAngle(first.end - vertex, second.start - vertex) * d > 0.0;
  if (convex) {
    round();
  } else {
    straight();
  }
  return joint;
}

// What a segment of the raw offset is: a moved source segment (or a connector), or a round
// join about a source vertex, which the finished offset may replace by a sharp corner.
struct PathSegmentInfo {
  bool roundJoin = false;
  ZcGePoint2d vertex;
};

struct RawPath {
  std::vector<OffsetVertex> vertices;
  std::vector<PathSegmentInfo> info;  // one per segment
};

// The raw offset as a vertex list; consecutive points closer than tol merge.
class PathBuilder {
 public:
  explicit PathBuilder(double tol) : tol_(tol) {}
  void add(const ZcGePoint2d& from, const ZcGePoint2d& to, double bulge, PathSegmentInfo info = {}) {
    if (path_.vertices.empty()) path_.vertices.push_back({from, 0.0});
    if (distance(path_.vertices.back().point, to) <= tol_) return;  // a zero-length piece
    path_.vertices.back().bulge = bulge;
    path_.vertices.push_back({to, 0.0});
    path_.info.push_back(info);
  }
  RawPath finish(bool closed) {
    std::vector<OffsetVertex>& v = path_.vertices;
    if (closed && v.size() > 1 && distance(v.back().point, v.front().point) <= tol_) {
      v.pop_back();  // the closing segment is implied: it is the last one added
    } else if (closed && v.size() > 1) {
      path_.info.push_back({});  // a straight closing segment
    }
    return std::move(path_);
  }

 private:
  double tol_;
  RawPath path_;
};

RawPath rawOffset(const std::vector<BulgeSegment>& source, bool closed, double d, double tol) {
  const int n = static_cast<int>(source.size());
  std::vector<RawSegment> raw;
  raw.reserve(n);
  for (const BulgeSegment& seg : source) raw.push_back(moveSideways(seg, d));
  const int joints = closed ? n : n - 1;
  std::vector<Joint> joint(joints);
  for (int k = 0; k < joints; ++k) joint[k] = joinSegments(raw[k], raw[(k + 1) % n], d, tol);

  PathBuilder path(tol);
  for (int i = 0; i < n; ++i) {
    const RawSegment& seg = raw[i];
    const bool hasStartJoint = closed || i > 0;
    const Joint* before = hasStartJoint ? &joint[(i - 1 + n) % n] : nullptr;
    const Joint* after = (closed || i < n - 1) ? &joint[i] : nullptr;
    const ZcGePoint2d from = before ? before->startOfSecond : seg.start;
    const double t0 = before ? before->tSecond : 0.0;
    const ZcGePoint2d to = after ? after->endOfFirst : seg.end;
    const double t1 = after ? after->tFirst : 1.0;
    // A trimmed arc keeps its centre: its sweep follows the parameters. A segment trimmed from
    // both ends past each other runs backwards (the clean-up drops it).
    double sweep = seg.sweep * (t1 - t0);
    if (std::fabs(sweep) >= ZcGe::kTwoPi) sweep = 0.0;  // cannot happen for joints found above
    path.add(from, to, bulgeOf(sweep));
    if (after && after->connector == Connector::kRound) {
      path.add(after->endOfFirst, after->startOfSecond, after->connectorBulge,
               {/*roundJoin=*/true, seg.sourceEnd});
    } else if (after && after->connector == Connector::kStraight) {
      path.add(after->endOfFirst, after->startOfSecond, 0.0);
    }
  }
  return path.finish(closed);
}

std::vector<BulgeSegment> segmentsOf(const std::vector<OffsetVertex>& v, bool closed) {
  std::vector<BulgeSegment> segments;
  const size_t n = v.size();
  const size_t count = closed ? n : (n > 0 ? n - 1 : 0);
  segments.reserve(count);
  for (size_t i = 0; i < count; ++i) segments.emplace_back(v[i].point, v[(i + 1) % n].point, v[i].bulge);
  return segments;
}

// Split points get one id per location, so the two passes of the raw offset through one
// crossing meet at the same id and the pieces are stitched by ids, not by coordinates.
class PointIds {
 public:
  explicit PointIds(double tol) : tol_(tol), cell_(4.0 * tol) {}
  int idOf(const ZcGePoint2d& p) {
    const std::int64_t cx = cellOf(p.x);
    const std::int64_t cy = cellOf(p.y);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const auto range = cells_.equal_range(key(cx + dx, cy + dy));
        for (auto it = range.first; it != range.second; ++it) {
          if (distance(points_[it->second], p) <= tol_) return it->second;
        }
      }
    }
    const int id = static_cast<int>(points_.size());
    points_.push_back(p);
    cells_.emplace(key(cx, cy), id);
    return id;
  }
  const ZcGePoint2d& point(int id) const { return points_[id]; }

 private:
  std::int64_t cellOf(double v) const { return static_cast<std::int64_t>(std::floor(v / cell_)); }
  static std::uint64_t key(std::int64_t x, std::int64_t y) {
    return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
  }
  double tol_;
  double cell_;
  std::vector<ZcGePoint2d> points_;
  std::unordered_multimap<std::uint64_t, int> cells_;
};

struct Split {
  int segment = 0;
  double t = 0.0;
  int id = 0;
};

// A stretch of one raw segment, between exact end points.
struct Stretch {
  int segment = 0;
  double t0 = 0.0;
  double t1 = 1.0;
  ZcGePoint2d from;
  ZcGePoint2d to;
};

struct Piece {
  std::vector<Stretch> stretches;
  int startId = -1;
  int endId = -1;
  bool valid = false;
};

constexpr int kPathStart = -1;
constexpr int kPathEnd = -2;

// The boundary of every source segment's neighbourhood of radius |d|, as segments: its copies
// moved by d and by -d, and the circle of radius |d| about each vertex. Extra cuts cost only
// time, missed ones lose offset: where the offset runs almost along a boundary and meets it
// next to the boundary's end, the crossing could fall just beyond that end. So an arc's copies
// are whole circles (where their radius stays positive) and a line's copies reach |d| beyond
// its ends. Circles are given as two half circles.
std::vector<BulgeSegment> neighbourhoodBoundaries(const std::vector<BulgeSegment>& source, bool closed,
                                                  double d) {
  std::vector<BulgeSegment> out;
  out.reserve(6 * source.size() + 2);
  const double r = std::fabs(d);
  auto circle = [&](const ZcGePoint2d& c, double radius) {
    const ZcGePoint2d east(c.x + radius, c.y), west(c.x - radius, c.y);
    out.emplace_back(east, west, 1.0);
    out.emplace_back(west, east, 1.0);
  };
  for (const BulgeSegment& seg : source) {
    if (seg.isArc()) {
      for (const double radius : {seg.radius() + r, seg.radius() - r}) {
        if (radius > 0.0) circle(seg.center(), radius);
      }
    } else {
      const ZcGeVector2d along = (seg.endPoint() - seg.startPoint()) / seg.chordLength() * r;
      for (const double side : {d, -d}) {
        const ZcGeVector2d shift = rightNormal(seg.firstDeriv(0.0)) * side;
        out.emplace_back(seg.startPoint() + shift - along, seg.endPoint() + shift + along, 0.0);
      }
    }
    circle(seg.startPoint(), r);
  }
  if (!closed && !source.empty()) circle(source.back().endPoint(), r);
  return out;
}

// Besides its self-intersections, the raw offset is cut where it crosses a `cutter`: the
// boundaries of the source segments' neighbourhoods (neighbourhoodBoundaries), so that no
// piece runs partly nearer to the source than |d| and partly not. A cutter lying along a
// segment (its own moved copy) cuts nothing. Segments marked in `uncut` lie clear of the
// source as a whole, or wholly within one source segment's neighbourhood: no cutter can
// separate anything on them (most segments, and most of the work cutters would cost).
std::vector<Split> findSplits(const std::vector<BulgeSegment>& segs, bool closed,
                              const std::vector<BulgeSegment>& cutters, const std::vector<bool>& uncut,
                              double tol, PointIds& ids) {
  const int m = static_cast<int>(segs.size());
  std::vector<Box2d> boxes;
  boxes.reserve(m);
  for (const BulgeSegment& s : segs) boxes.push_back(boxOf(s).expanded(tol));
  const BoxTree tree(boxes);
  std::vector<Split> splits;
  auto addSplit = [&](int segment, double t, int id) {
    const BulgeSegment& s = segs[segment];
    const ZcGePoint2d& p = ids.point(id);
    // A split at a segment's end is the next segment's start (an open path's end stays).
    if (distance(p, s.endPoint()) <= tol) {
      if (segment + 1 < m) {
        splits.push_back({segment + 1, 0.0, id});
        return;
      }
      if (closed) {
        splits.push_back({0, 0.0, id});
        return;
      }
      t = 1.0;
    } else if (distance(p, s.startPoint()) <= tol) {
      t = 0.0;
    }
    splits.push_back({segment, t, id});
  };
  for (int i = 0; i < m; ++i) {
    tree.query(boxes[i], [&](int j) {
      if (j <= i) return true;
      const SegmentIntersection meet = intersectSegments(segs[i], segs[j], tol);
      const bool nextTo = j == i + 1;
      const bool wrapsTo = closed && i == 0 && j == m - 1;
      for (int k = 0; k < meet.count; ++k) {
        const ZcGePoint2d& p = meet.hits[k].point;
        // Neighbours share their common vertex; that is no crossing.
        if (nextTo && distance(p, segs[i].endPoint()) <= tol) continue;
        if (wrapsTo && distance(p, segs[i].startPoint()) <= tol) continue;
        const int id = ids.idOf(p);
        addSplit(i, meet.hits[k].tFirst, id);
        addSplit(j, meet.hits[k].tSecond, id);
      }
      return true;
    });
  }
  for (const BulgeSegment& other : cutters) {
    tree.query(boxOf(other).expanded(tol), [&](int i) {
      if (!uncut.empty() && uncut[i]) return true;
      const SegmentIntersection meet = intersectSegments(segs[i], other, tol);
      if (meet.relation == SegmentRelation::kOverlapping) return true;
      for (int k = 0; k < meet.count; ++k) addSplit(i, meet.hits[k].tFirst, ids.idOf(meet.hits[k].point));
      return true;
    });
  }
  std::sort(splits.begin(), splits.end(), [](const Split& a, const Split& b) {
    return a.segment != b.segment ? a.segment < b.segment : a.t < b.t;
  });
  splits.erase(
      std::unique(splits.begin(), splits.end(),
                  [](const Split& a, const Split& b) { return a.segment == b.segment && a.id == b.id; }),
      splits.end());
  return splits;
}

// The pieces of the raw path between consecutive splits.
std::vector<Piece> cutPieces(const std::vector<BulgeSegment>& segs, bool closed,
                             const std::vector<Split>& splits, const PointIds& ids) {
  const int m = static_cast<int>(segs.size());
  std::vector<Piece> pieces;
  // Walks from (segment a, t a, point pa) forward to (segment b, t b, point pb). A closed
  // path cut at one point only is walked all the way round (wholeLoop).
  auto walk = [&](int a, double ta, const ZcGePoint2d& pa, int b, double tb, const ZcGePoint2d& pb,
                  bool wholeLoop) {
    Piece piece;
    if (a == b && tb >= ta && !wholeLoop) {
      piece.stretches.push_back({a, ta, tb, pa, pb});
      return piece;
    }
    // Splits at segment ends make no empty stretches: they would stand between a round join
    // and its neighbours.
    if (ta < 1.0) piece.stretches.push_back({a, ta, 1.0, pa, segs[a].endPoint()});
    for (int s = (a + 1) % m; s != b; s = (s + 1) % m) {
      piece.stretches.push_back({s, 0.0, 1.0, segs[s].startPoint(), segs[s].endPoint()});
    }
    if (tb > 0.0 || piece.stretches.empty())
      piece.stretches.push_back({b, 0.0, tb, segs[b].startPoint(), pb});
    return piece;
  };
  if (!closed) {
    int a = 0;
    double ta = 0.0;
    ZcGePoint2d pa = segs[0].startPoint();
    int startId = kPathStart;
    for (const Split& split : splits) {
      Piece piece = walk(a, ta, pa, split.segment, split.t, ids.point(split.id), /*wholeLoop=*/false);
      piece.startId = startId;
      piece.endId = split.id;
      pieces.push_back(std::move(piece));
      a = split.segment;
      ta = split.t;
      pa = ids.point(split.id);
      startId = split.id;
    }
    Piece tail = walk(a, ta, pa, m - 1, 1.0, segs[m - 1].endPoint(), /*wholeLoop=*/false);
    tail.startId = startId;
    tail.endId = kPathEnd;
    pieces.push_back(std::move(tail));
    return pieces;
  }
  const int count = static_cast<int>(splits.size());
  for (int k = 0; k < count; ++k) {
    const Split& from = splits[k];
    const Split& to = splits[(k + 1) % count];
    Piece piece = walk(from.segment, from.t, ids.point(from.id), to.segment, to.t, ids.point(to.id),
                       /*wholeLoop=*/count == 1);
    piece.startId = from.id;
    piece.endId = to.id;
    pieces.push_back(std::move(piece));
  }
  return pieces;
}

BulgeSegment stretchSegment(const Stretch& s, const std::vector<BulgeSegment>& segs) {
  return BulgeSegment(s.from, s.to, bulgeOf(segs[s.segment].sweep() * (s.t1 - s.t0)));
}

// Answers whether a segment keeps at least `reach` from every source segment.
class SourceClearance {
 public:
  SourceClearance(const std::vector<BulgeSegment>& source, double reach, double tol)
      : source_(source), tree_(boxesOf(source)), reach_(reach), tol_(tol) {}

  bool clear(const BulgeSegment& seg) const {
    if (seg.isPoint()) return true;
    return tree_.query(boxOf(seg).expanded(reach_),
                       [&](int j) { return segmentDistance(seg, source_[j], tol_) >= reach_; });
  }
  // Answers whether the whole segment lies nearer than `reach` to one source segment: a disk
  // holding it (the one on its chord for an arc of at most a half turn, else its circle's)
  // whose centre is nearer to that segment than reach by more than the disk's radius.
  bool deepInside(const BulgeSegment& seg) const {
    const bool minor = !seg.isArc() || std::fabs(seg.sweep()) <= ZcGe::kPi;
    const ZcGePoint2d a = seg.startPoint(), b = seg.endPoint();
    const ZcGePoint2d centre = minor ? ZcGePoint2d(0.5 * (a.x + b.x), 0.5 * (a.y + b.y)) : seg.center();
    const double radius = minor ? 0.5 * seg.chordLength() : seg.radius();
    if (radius >= reach_) return false;
    const ZcGePoint2d lo(centre.x - reach_, centre.y - reach_), hi(centre.x + reach_, centre.y + reach_);
    bool inside = false;
    tree_.query(Box2d::around(lo, hi), [&](int j) {
      inside = pointSegmentDistance(centre, source_[j]) + radius < reach_;
      return !inside;
    });
    return inside;
  }
  bool clear(const Piece& piece, const std::vector<BulgeSegment>& path) const {
    return std::all_of(piece.stretches.begin(), piece.stretches.end(),
                       [&](const Stretch& s) { return clear(stretchSegment(s, path)); });
  }

 private:
  static std::vector<Box2d> boxesOf(const std::vector<BulgeSegment>& segments) {
    std::vector<Box2d> boxes;
    boxes.reserve(segments.size());
    for (const BulgeSegment& s : segments) boxes.push_back(boxOf(s));
    return boxes;
  }
  const std::vector<BulgeSegment>& source_;
  BoxTree tree_;
  double reach_;
  double tol_;
};

// Joins the kept pieces end to start at their split points. At a crossing passed twice, the
// piece that follows on the path is preferred, so a figure eight stays one curve.
// A closed offset is made of loops only: a kept piece that no kept piece follows, or none
// leads into, cannot be part of one (it ends where the other side's offset cut it off).
// Such pieces are dropped until none is left, so the stitching below cannot run into them.
void dropDeadEnds(std::vector<Piece>& pieces) {
  std::unordered_map<int, int> starting, ending;  // id -> kept pieces starting / ending there
  std::unordered_multimap<int, int> startsAt, endsAt;
  const int count = static_cast<int>(pieces.size());
  for (int k = 0; k < count; ++k) {
    if (!pieces[k].valid) continue;
    ++starting[pieces[k].startId];
    ++ending[pieces[k].endId];
    startsAt.emplace(pieces[k].startId, k);
    endsAt.emplace(pieces[k].endId, k);
  }
  std::vector<int> queue;
  auto dead = [&](int k) {
    return pieces[k].valid && (starting[pieces[k].endId] == 0 || ending[pieces[k].startId] == 0);
  };
  for (int k = 0; k < count; ++k) {
    if (dead(k)) queue.push_back(k);
  }
  while (!queue.empty()) {
    const int k = queue.back();
    queue.pop_back();
    if (!pieces[k].valid) continue;
    pieces[k].valid = false;
    --starting[pieces[k].startId];
    --ending[pieces[k].endId];
    // Who led into this piece may now lead nowhere; who followed it may now have no lead.
    auto [b0, e0] = endsAt.equal_range(pieces[k].startId);
    for (auto it = b0; it != e0; ++it) {
      if (dead(it->second)) queue.push_back(it->second);
    }
    auto [b1, e1] = startsAt.equal_range(pieces[k].endId);
    for (auto it = b1; it != e1; ++it) {
      if (dead(it->second)) queue.push_back(it->second);
    }
  }
}

// Where the source is a thin spike with a curved side, the offset of that side seen from the
// other side (the dual path, walked backwards) bulges out past this side's offset for a short
// way: there the boundary leaves the raw path, which then has a kept piece ending at a split
// that no kept piece leaves, and one starting where none ends. The dual's kept pieces that
// join exactly such a pair of splits are added, reversed, with their segments numbered after
// the path's (segmentBase). Only the pieces needed: the rest of the dual is the other side's
// offset and no part of this one.
// Answers the dual's segments when bridges were added (the stitching numbers them after the
// path's), none when no dead end asked for the dual at all.
std::vector<BulgeSegment> addBridges(std::vector<Piece>& pieces, const std::vector<BulgeSegment>& path,
                                     const std::vector<BulgeSegment>& source, bool closed, double d,
                                     const std::vector<BulgeSegment>& cutters,
                                     const SourceClearance& clearance, double tol, PointIds& ids) {
  std::unordered_set<int> starts, ends;
  for (const Piece& p : pieces) {
    if (!p.valid) continue;
    starts.insert(p.startId);
    ends.insert(p.endId);
  }
  auto deadEnd = [&](int id) { return id >= 0 && ends.count(id) && !starts.count(id); };
  auto lead = [&](int id) { return id >= 0 && starts.count(id) && !ends.count(id); };
  if (std::none_of(pieces.begin(), pieces.end(), [&](const Piece& p) { return p.valid && deadEnd(p.endId); }))
    return {};
  std::vector<BulgeSegment> dual = segmentsOf(rawOffset(source, closed, -d, tol).vertices, closed);
  std::vector<BulgeSegment> dualCutters = cutters;
  dualCutters.insert(dualCutters.end(), path.begin(), path.end());
  const std::vector<Split> splits = findSplits(dual, closed, dualCutters, /*uncut=*/{}, tol, ids);
  if (splits.empty()) return {};
  const int segmentBase = static_cast<int>(path.size());
  // The dual's kept pieces walked backwards, by the id they start at.
  std::vector<Piece> reversed;
  std::unordered_multimap<int, int> startingAt;
  for (const Piece& piece : cutPieces(dual, closed, splits, ids)) {
    if (piece.startId < 0 || piece.endId < 0 || !clearance.clear(piece, dual)) continue;
    Piece back;
    back.startId = piece.endId;
    back.endId = piece.startId;
    back.valid = true;
    for (auto it = piece.stretches.rbegin(); it != piece.stretches.rend(); ++it)
      back.stretches.push_back({it->segment + segmentBase, it->t1, it->t0, it->to, it->from});
    startingAt.emplace(back.startId, static_cast<int>(reversed.size()));
    reversed.push_back(std::move(back));
  }
  // From each dead end, the first chain of them (breadth first, a few pieces at most: a bridge
  // is short) that reaches a split where a kept piece starts and none ends.
  constexpr int kMaxBridgePieces = 8;
  std::vector<bool> taken(reversed.size(), false);
  std::vector<int> deadEnds;
  for (const Piece& p : pieces)
    if (p.valid && deadEnd(p.endId)) deadEnds.push_back(p.endId);
  for (const int from : deadEnds) {
    std::vector<std::pair<int, int>> queue;  // (reversed piece, index of the one before it)
    for (auto [it, last] = startingAt.equal_range(from); it != last; ++it) queue.push_back({it->second, -1});
    for (size_t q = 0; q < queue.size() && q < 64 * kMaxBridgePieces; ++q) {
      const int k = queue[q].first;
      if (lead(reversed[k].endId)) {
        for (int at = static_cast<int>(q); at >= 0; at = queue[at].second) {
          if (!taken[queue[at].first]) pieces.push_back(reversed[queue[at].first]);
          taken[queue[at].first] = true;
        }
        break;
      }
      int depth = 0;
      for (int at = static_cast<int>(q); at >= 0; at = queue[at].second) ++depth;
      if (depth >= kMaxBridgePieces) continue;
      for (auto [it, last] = startingAt.equal_range(reversed[k].endId); it != last; ++it)
        queue.push_back({it->second, static_cast<int>(q)});
    }
  }
  if (std::none_of(taken.begin(), taken.end(), [](bool t) { return t; })) return {};
  return dual;
}

// The corner where the carriers of two raw segments meet beyond the end of the first one's
// stretch (at firstEnd) and before the start of the second one's (at secondStart), when it
// lies within reach of the source vertex. The carriers are the whole raw segments, not the
// stretches: a short stretch of an arc is nearly straight, and its parameters, read along its
// chord, would put an extension far along it off the arc's circle.
struct Corner {
  bool found = false;
  ZcGePoint2d point;
  double tFirst = 1.0;   // on the first raw segment
  double tSecond = 0.0;  // on the second
};

Corner sharpCorner(const BulgeSegment& first, double firstEnd, const BulgeSegment& second, double secondStart,
                   const ZcGePoint2d& vertex, double d, double tol) {
  Corner corner;
  const SegmentIntersection meet =
      intersectSegments(first, second, tol, SegmentExtent::kCarrier, SegmentExtent::kCarrier);
  if (meet.relation != SegmentRelation::kCrossing) return corner;  // parallel, or circles apart
  const SegmentHit* best = &meet.hits[0];
  for (int k = 1; k < meet.count; ++k) {
    if (distance(meet.hits[k].point, vertex) < distance(best->point, vertex)) best = &meet.hits[k];
  }
  const double t1 = carrierParam(first, best->point);
  const double t2 = carrierParam(second, best->point);
  const double slack1 = tol / std::max(tol, first.length());
  const double slack2 = tol / std::max(tol, second.length());
  if (t1 < firstEnd - slack1 || t2 > secondStart + slack2) return corner;
  if (distance(best->point, vertex) > kMaxCornerReach * std::fabs(d)) return corner;
  corner.found = true;
  corner.point = best->point;
  corner.tFirst = std::max(t1, firstEnd);
  corner.tSecond = std::min(t2, secondStart);
  return corner;
}

std::vector<OffsetPiece> stitch(std::vector<Piece>& pieces, const std::vector<BulgeSegment>& path,
                                const std::vector<PathSegmentInfo>& info, const SourceClearance& clearance,
                                bool closedPath, double d, double tol) {
  if (closedPath) dropDeadEnds(pieces);
  const int count = static_cast<int>(pieces.size());
  std::unordered_multimap<int, int> startingAt;
  std::vector<bool> hasPredecessor(count, false);
  for (int k = 0; k < count; ++k) {
    if (pieces[k].valid) startingAt.emplace(pieces[k].startId, k);
  }
  for (int k = 0; k < count; ++k) {
    if (!pieces[k].valid || pieces[k].endId < 0) continue;
    const auto range = startingAt.equal_range(pieces[k].endId);
    for (auto it = range.first; it != range.second; ++it) hasPredecessor[it->second] = true;
  }
  std::vector<bool> used(count, false);
  std::vector<OffsetPiece> result;
  auto emit = [&](const std::vector<int>& chain, bool loop) {
    if (chain.empty() || (closedPath && !loop)) return;  // an unclosed leftover of a closed offset is noise
    std::vector<Stretch> stretches;
    for (const int k : chain) {
      for (const Stretch& s : pieces[k].stretches) {
        // Two stretches of one segment meeting at a split inside it are one stretch again.
        if (!stretches.empty() && stretches.back().segment == s.segment && stretches.back().t1 == s.t0 &&
            s.t0 > 0.0) {
          stretches.back().t1 = s.t1;
          stretches.back().to = s.to;
        } else {
          stretches.push_back(s);
        }
      }
    }
    if (loop && stretches.size() > 1 && stretches.back().segment == stretches.front().segment &&
        stretches.back().t1 == stretches.front().t0 && stretches.front().t0 > 0.0) {
      stretches.front().t0 = stretches.back().t0;
      stretches.front().from = stretches.back().from;
      stretches.pop_back();
    }
    // Round joins that came through whole become sharp corners where their neighbours'
    // extensions meet, as a draughtsman expects of an offset rectangle.
    const int ns = static_cast<int>(stretches.size());
    std::vector<bool> dropped(ns, false);
    auto whole = [&](const Stretch& s) { return s.t0 == 0.0 && s.t1 == 1.0; };
    for (int k = 0; k < ns && ns >= 3; ++k) {
      if (!info[stretches[k].segment].roundJoin || !whole(stretches[k])) continue;
      if (!loop && (k == 0 || k == ns - 1)) continue;
      const int prev = (k - 1 + ns) % ns;
      const int next = (k + 1) % ns;
      if (dropped[prev] || info[stretches[prev].segment].roundJoin || info[stretches[next].segment].roundJoin)
        continue;
      // Next to a bridge (walked backwards) the corner search would look the wrong way.
      if (stretches[prev].t1 < stretches[prev].t0 || stretches[next].t1 < stretches[next].t0) continue;
      Stretch& a = stretches[prev];
      Stretch& b = stretches[next];
      const Corner corner = sharpCorner(path[a.segment], a.t1, path[b.segment], b.t0,
                                        info[stretches[k].segment].vertex, d, tol);
      if (!corner.found) continue;  // the carriers miss each other or meet too far out: stays round
      const double t1 = corner.tFirst;
      const double t0 = corner.tSecond;
      // A corner that would reach into another part's distance stays round.
      const BulgeSegment outOfA(a.to, corner.point, bulgeOf(path[a.segment].sweep() * (t1 - a.t1)));
      const BulgeSegment intoB(corner.point, b.from, bulgeOf(path[b.segment].sweep() * (b.t0 - t0)));
      if (!clearance.clear(outOfA) || !clearance.clear(intoB)) continue;
      a.t1 = t1;
      a.to = corner.point;
      b.t0 = t0;
      b.from = corner.point;
      dropped[k] = true;
    }
    OffsetPiece out;
    out.closed = loop;
    for (int k = 0; k < ns; ++k) {
      if (dropped[k]) continue;
      const Stretch& s = stretches[k];
      if (distance(s.from, s.to) <= tol) continue;
      out.vertices.push_back({s.from, bulgeOf(path[s.segment].sweep() * (s.t1 - s.t0))});
    }
    if (out.vertices.empty()) return;
    if (!loop) out.vertices.push_back({stretches.back().to, 0.0});
    if (out.vertices.size() >= 2) result.push_back(std::move(out));
  };
  // Follows pieces from `first` until the chain ends; where it comes back to a point it passed,
  // the pieces from there on are a loop of their own (what is left of the chain is an open
  // piece unless it closes later: a stray piece leading into a loop, as the other side's
  // offset cuts it off, is left as an open lead-in).
  auto chainFrom = [&](int first) {
    std::vector<int> chain;
    std::unordered_map<int, size_t> passed;  // start id -> position in chain
    int k = first;
    while (true) {
      used[k] = true;
      passed.emplace(pieces[k].startId, chain.size());
      chain.push_back(k);
      const int end = pieces[k].endId;
      if (end < 0) break;
      if (const auto again = passed.find(end); again != passed.end()) {
        // A loop closed at a point the chain passed: it is emitted, and the chain goes on
        // from that point (where the offset touches itself, the rest of it may go on there).
        const size_t at = again->second;
        emit(std::vector<int>(chain.begin() + static_cast<std::ptrdiff_t>(at), chain.end()), /*loop=*/true);
        chain.resize(at);
        std::erase_if(passed, [at](const auto& entry) { return entry.second >= at; });
        if (chain.empty()) return;
      }
      const int following = (k + 1) % count;
      int next = -1;
      const auto range = startingAt.equal_range(end);
      for (auto it = range.first; it != range.second; ++it) {
        if (used[it->second]) continue;
        if (it->second == following) {
          next = following;
          break;
        }
        if (next < 0) next = it->second;
      }
      if (next < 0) break;
      k = next;
    }
    emit(chain, /*loop=*/false);
  };
  for (int k = 0; k < count; ++k) {
    if (pieces[k].valid && !used[k] && !hasPredecessor[k]) chainFrom(k);
  }
  for (int k = 0; k < count; ++k) {
    if (pieces[k].valid && !used[k]) chainFrom(k);
  }
  return result;
}

}  // namespace

PolylineOffsetResult offsetPolyline(const std::vector<OffsetVertex>& vertices, bool closed, double d) {
  PolylineOffsetResult result;
  if (!std::isfinite(d) || d == 0.0) {
    result.outcome = OffsetOutcome::kInvalidDistance;
    return result;
  }
  Box2d extents;
  bool firstPoint = true;
  for (const OffsetVertex& v : vertices) {
    if (!std::isfinite(v.point.x) || !std::isfinite(v.point.y) || !std::isfinite(v.bulge)) {
      result.outcome = OffsetOutcome::kInvalidInput;
      return result;
    }
    if (firstPoint) extents = Box2d::around(v.point, v.point);
    extents.add(v.point);
    firstPoint = false;
  }
  const double size = firstPoint ? 0.0 : extents.diagonal();
  const double tol = 1e-9 * std::max(size, std::fabs(d));

  // Coincident neighbours carry no segment; a closed polyline's repeated first vertex neither.
  std::vector<OffsetVertex> clean;
  clean.reserve(vertices.size());
  for (const OffsetVertex& v : vertices) {
    if (!clean.empty() && distance(clean.back().point, v.point) <= tol) {
      clean.back().bulge = v.bulge;  // the segment that really leaves the point is the later one
      continue;
    }
    clean.push_back(v);
  }
  if (closed && clean.size() > 1 && distance(clean.back().point, clean.front().point) <= tol)
    clean.pop_back();
  if (clean.size() < 2) {
    result.outcome = OffsetOutcome::kDegenerate;
    return result;
  }
  const std::vector<BulgeSegment> source = segmentsOf(clean, closed);

  const RawPath rawPath = rawOffset(source, closed, d, tol);
  const std::vector<OffsetVertex>& raw = rawPath.vertices;
  if (raw.size() < 2) return result;  // everything collapsed into a point
  const std::vector<BulgeSegment> path = segmentsOf(raw, closed);

  PointIds ids(tol);
  const std::vector<BulgeSegment> cutters = neighbourhoodBoundaries(source, closed, d);
  // A piece may dip twice the tolerance nearer: where it crosses a cutter almost tangentially
  // the crossing is placed within the tolerance of the carriers, and the bit up to it dips
  // that deep.
  const SourceClearance clearance(source, std::max(0.0, std::fabs(d) - 2.0 * tol), tol);
  std::vector<bool> segmentClear(path.size()), uncut(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    segmentClear[i] = clearance.clear(path[i]);
    uncut[i] = segmentClear[i] || clearance.deepInside(path[i]);
  }
  const std::vector<Split> splits = findSplits(path, closed, cutters, uncut, tol, ids);
  std::vector<Piece> pieces;
  if (splits.empty()) {
    Piece whole;
    for (int s = 0; s < static_cast<int>(path.size()); ++s) {
      whole.stretches.push_back({s, 0.0, 1.0, path[s].startPoint(), path[s].endPoint()});
    }
    whole.startId = closed ? 0 : kPathStart;
    whole.endId = closed ? 0 : kPathEnd;
    pieces.push_back(std::move(whole));
  } else {
    pieces = cutPieces(path, closed, splits, ids);
  }

  // A stretch of a segment that keeps its distance as a whole keeps it too.
  for (Piece& piece : pieces) {
    piece.valid = std::all_of(piece.stretches.begin(), piece.stretches.end(), [&](const Stretch& st) {
      return segmentClear[st.segment] || clearance.clear(stretchSegment(st, path));
    });
  }
  const std::vector<BulgeSegment> dual =
      addBridges(pieces, path, source, closed, d, cutters, clearance, tol, ids);
  if (dual.empty()) {
    result.pieces = stitch(pieces, path, rawPath.info, clearance, closed, d, tol);
    return result;
  }
  // The stitching reads bridges' segments after the path's.
  std::vector<BulgeSegment> both = path;
  both.insert(both.end(), dual.begin(), dual.end());
  std::vector<PathSegmentInfo> info = rawPath.info;
  info.resize(both.size());
  result.pieces = stitch(pieces, both, info, clearance, closed, d, tol);
  return result;
}

}  // namespace vtcad::db
