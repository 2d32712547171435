// ZcDbEntity::intersectWith: the intersections of two entities' curve geometry.
//
// Both curves are cut into pieces (CurvePieces.h); every pair of pieces whose boxes meet is
// intersected (PieceIntersection.h). Common stretches found piece by piece are joined along
// this entity's curve, so two polylines overlapping over several segments report the two ends
// of the whole stretch, and two coincident closed curves report nothing. Points closer than
// the tolerance (1e-9 of the two curves' size) are one point. Entities that are not curves
// (block references included) answer eNotApplicable; see docs/intersections.md.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "database/CurvePieces.h"
#include "database/ParametricIntersection.h"
#include "database/PieceIntersection.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ge/ZcGePlane.h"

using vtcad::db::Box3d;
using vtcad::db::CurvePiece;
using vtcad::db::CurvePieceList;
using vtcad::db::PieceListResult;
using vtcad::db::PieceListStatus;

namespace {

// Relative tolerance of the points (of the two curves' size).
constexpr double kRelativeTolerance = 1e-9;

// A place on this entity's curve (piece index + parameter) and the point there.
struct Found {
  double place = 0.0;
  ZcGePoint3d point;
};

struct Stretch {
  Found lo;
  Found hi;
  // Strictly inside (a stretch across a closed curve's start has hi below lo).
  bool contains(double place) const {
    constexpr double kPlaceTol = 1e-9;
    if (lo.place <= hi.place) return place > lo.place + kPlaceTol && place < hi.place - kPlaceTol;
    return place > lo.place + kPlaceTol || place < hi.place - kPlaceTol;
  }
};

// Points told apart by tol: a hash of cells of size tol, each point compared with the points
// of its own and the neighbouring cells.
class PointSet {
 public:
  explicit PointSet(double tol) : tol_(tol) {}

  bool insert(const ZcGePoint3d& p) {
    const int64_t cx = cell(p.x), cy = cell(p.y), cz = cell(p.z);
    for (int64_t dx = -1; dx <= 1; ++dx)
      for (int64_t dy = -1; dy <= 1; ++dy)
        for (int64_t dz = -1; dz <= 1; ++dz) {
          auto it = cells_.find(key(cx + dx, cy + dy, cz + dz));
          if (it == cells_.end()) continue;
          for (const ZcGePoint3d& q : it->second)
            if (q.distanceTo(p) <= tol_) return false;
        }
    cells_[key(cx, cy, cz)].push_back(p);
    return true;
  }

 private:
  int64_t cell(double v) const { return static_cast<int64_t>(std::floor(v / tol_)); }
  static uint64_t key(int64_t x, int64_t y, int64_t z) {
    return static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
           static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^
           static_cast<uint64_t>(z) * 0x165667B19E3779F9ull;
  }

  double tol_;
  std::unordered_map<uint64_t, std::vector<ZcGePoint3d>> cells_;
};

Zcad::ErrorStatus statusOf(const PieceListResult& r) {
  switch (r.status) {
    case PieceListStatus::kOk:
      return Zcad::eOk;
    case PieceListStatus::kNotACurve:
      return Zcad::eNotApplicable;
    case PieceListStatus::kDegenerate:
      return Zcad::eDegenerateGeometry;
  }
  return Zcad::eNotApplicable;
}

double toleranceFor(const CurvePieceList& a, const CurvePieceList& b) {
  Box3d both = a.box;
  both.add(b.box);
  const double size = both.diagonal();
  return std::max(size * kRelativeTolerance, 1e-300);
}

// Both operands as pieces, each extended as the mode asks, and the tolerance of the pair.
struct Operands {
  Zcad::ErrorStatus status = Zcad::eOk;
  CurvePieceList mine, theirs;
  double tol = 0.0;
};

Operands operandsOf(const ZcDbEntity& self, const ZcDbEntity& other, ZcDb::Intersect intType) {
  const bool extendThis = intType == ZcDb::kExtendThis || intType == ZcDb::kExtendBoth;
  const bool extendArg = intType == ZcDb::kExtendArg || intType == ZcDb::kExtendBoth;
  Operands out;
  PieceListResult mine = vtcad::db::curvePieces(self, extendThis);
  if (mine.status != PieceListStatus::kOk) {
    out.status = statusOf(mine);
    return out;
  }
  PieceListResult theirs = vtcad::db::curvePieces(other, extendArg);
  if (theirs.status != PieceListStatus::kOk) {
    out.status = statusOf(theirs);
    return out;
  }
  out.mine = std::move(mine.list);
  out.theirs = std::move(theirs.list);
  out.tol = toleranceFor(out.mine, out.theirs);
  return out;
}

// An extended piece reaches beyond its box.
bool mayMeet(const CurvePiece& a, const CurvePiece& b) {
  return a.extension.any() || b.extension.any() || a.box.overlaps(b.box);
}

// Common stretches joined along the curve (and across a closed curve's start); a stretch
// covering a whole closed curve has no ends and is dropped.
std::vector<Stretch> joinStretches(std::vector<Stretch> stretches, const CurvePieceList& curve) {
  constexpr double kPlaceTol = 1e-9;
  std::sort(stretches.begin(), stretches.end(),
            [](const Stretch& x, const Stretch& y) { return x.lo.place < y.lo.place; });
  std::vector<Stretch> joined;
  for (const Stretch& s : stretches) {
    if (!joined.empty() && s.lo.place <= joined.back().hi.place + kPlaceTol) {
      if (s.hi.place > joined.back().hi.place) joined.back().hi = s.hi;
    } else {
      joined.push_back(s);
    }
  }
  if (curve.closed && !joined.empty()) {
    const double end = curve.numPlaces;
    if (joined.size() == 1 && joined[0].lo.place <= kPlaceTol && joined[0].hi.place >= end - kPlaceTol)
      return {};
    if (joined.size() > 1 && joined.front().lo.place <= kPlaceTol &&
        joined.back().hi.place >= end - kPlaceTol) {
      joined.front().lo = joined.back().lo;
      joined.pop_back();
    }
  }
  return joined;
}

// Appends the points found, in order along this entity's curve, each once.
void appendOnce(std::vector<Found>& found, double tol, ZcGePoint3dArray& points) {
  std::sort(found.begin(), found.end(), [](const Found& x, const Found& y) { return x.place < y.place; });
  PointSet seen(tol);
  for (const Found& f : found)
    if (seen.insert(f.point)) points.append(f.point);
}

}  // namespace

Zcad::ErrorStatus ZcDbEntity::intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                            ZcGePoint3dArray& points, Zdesk::GsMarker /*thisGsMarker*/,
                                            Zdesk::GsMarker /*otherGsMarker*/) const {
  if (entity == nullptr) return Zcad::eNullEntityPointer;
  const Operands both = operandsOf(*this, *entity, intType);
  if (both.status != Zcad::eOk) return both.status;
  const CurvePieceList& a = both.mine;
  const CurvePieceList& b = both.theirs;
  const double tol = both.tol;

  std::vector<Found> found;
  std::vector<Stretch> stretches;
  vtcad::db::PiecePairResult pair;
  for (const CurvePiece& pa : a.pieces) {
    for (const CurvePiece& pb : b.pieces) {
      if (!mayMeet(pa, pb)) continue;
      pair.crossings.clear();
      pair.overlapEnds.clear();
      vtcad::db::intersectPieces(pa, pb, tol, pair);
      for (const vtcad::db::PieceHit& h : pair.crossings) found.push_back({pa.index + h.tFirst, h.point});
      for (size_t k = 0; k + 1 < pair.overlapEnds.size(); k += 2) {
        Found lo{pa.index + pair.overlapEnds[k].tFirst, pair.overlapEnds[k].point};
        Found hi{pa.index + pair.overlapEnds[k + 1].tFirst, pair.overlapEnds[k + 1].point};
        if (hi.place < lo.place) std::swap(lo, hi);
        stretches.push_back({lo, hi});
      }
    }
  }
  const bool anyStretch = !stretches.empty();
  const std::vector<Stretch> joined = joinStretches(std::move(stretches), a);
  if (anyStretch && joined.empty()) return Zcad::eOk;  // the same closed curve: no ends
  // Pieces touching inside a common stretch (at vertices along it) are part of it.
  std::erase_if(found, [&](const Found& f) {
    return std::any_of(joined.begin(), joined.end(), [&](const Stretch& s) { return s.contains(f.place); });
  });
  for (const Stretch& s : joined) {
    found.push_back(s.lo);
    found.push_back(s.hi);
  }
  appendOnce(found, tol, points);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                            const ZcGePlane& projPlane, ZcGePoint3dArray& points,
                                            Zdesk::GsMarker /*thisGsMarker*/,
                                            Zdesk::GsMarker /*otherGsMarker*/) const {
  if (entity == nullptr) return Zcad::eNullEntityPointer;
  if (!projPlane.isValid()) return Zcad::eInvalidInput;
  const Operands both = operandsOf(*this, *entity, intType);
  if (both.status != Zcad::eOk) return both.status;
  const CurvePieceList& a = both.mine;
  const CurvePieceList& b = both.theirs;
  const double tol = both.tol;

  // Along the plane's normal onto the plane.
  const ZcGeVector3d n = projPlane.normal();
  const ZcGePoint3d origin = projPlane.origin();
  auto project = [&](const ZcGePoint3d& p) { return p - n * (p - origin).dotProduct(n); };
  auto projectBox = [&](const Box3d& box) {
    Box3d out;
    for (int k = 0; k < 8; ++k)
      out.add(project(ZcGePoint3d(k & 1 ? box.hi[0] : box.lo[0], k & 2 ? box.hi[1] : box.lo[1],
                                  k & 4 ? box.hi[2] : box.lo[2])));
    return out;
  };
  auto projected = [&](const CurvePiece& piece, const Box3d& reach) {
    vtcad::db::ParamCurve c = vtcad::db::paramCurveOf(piece, reach);
    auto point = c.point;
    auto deriv = c.deriv;
    c.point = [point, project](double t) { return project(point(t)); };
    c.deriv = [deriv, n](double t) {
      const ZcGeVector3d d = deriv(t);
      return d - n * d.dotProduct(n);
    };
    return c;
  };

  std::vector<Found> found;
  for (const CurvePiece& pa : a.pieces) {
    const Box3d boxA = projectBox(pa.box);
    for (const CurvePiece& pb : b.pieces) {
      const Box3d boxB = projectBox(pb.box);
      if (!pa.extension.any() && !pb.extension.any() && !boxA.overlaps(boxB)) continue;
      // The reach of an extended line: the other piece's box (unprojected, so that the
      // parameters of its corners cover the part of the line seen over it).
      const vtcad::db::ParamCurve ca = projected(pa, pb.box);
      const vtcad::db::ParamCurve cb = projected(pb, pa.box);
      for (const vtcad::db::ParamHit& h : vtcad::db::solveParametric(ca, cb, tol))
        found.push_back({pa.index + h.s, vtcad::db::piecePoint(pa, h.s)});
    }
  }
  appendOnce(found, tol, points);
  return Zcad::eOk;
}
