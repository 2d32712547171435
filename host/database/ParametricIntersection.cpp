#include "database/ParametricIntersection.h"

#include <algorithm>
#include <cmath>

#include "zcad/ge/ZcGe.h"

namespace vtcad::db {
namespace {

// Halvings of a meeting chunk pair before Newton starts.
constexpr int kRefineDepth = 6;
constexpr int kMaxIterations = 100;
// Newton starts per pair of curves: coincident curves meet in every chunk, and past this
// they are taken as found.
constexpr int kMaxStarts = 20000;

struct Chunk {
  double lo = 0.0;
  double hi = 0.0;
  Box3d box;
};

Chunk makeChunk(const ParamCurve& c, double lo, double hi, double tol) {
  Chunk chunk{lo, hi, {}};
  ZcGePoint3d p[5];
  for (int i = 0; i < 5; ++i) {
    p[i] = c.point(lo + (hi - lo) * i / 4.0);
    chunk.box.add(p[i]);
  }
  double deviation = 0.0;
  for (int i = 1; i < 4; ++i) {
    const ZcGePoint3d mid = p[i - 1] + (p[i + 1] - p[i - 1]) * 0.5;
    deviation = std::max(deviation, mid.distanceTo(p[i]));
  }
  chunk.box.inflate(2.0 * deviation + tol);
  return chunk;
}

std::vector<Chunk> chunksOf(const ParamCurve& c, double tol) {
  std::vector<double> cuts;
  cuts.push_back(c.lo);
  for (double b : c.breaks)
    if (b > cuts.back() && b < c.hi) cuts.push_back(b);
  cuts.push_back(c.hi);
  std::vector<Chunk> chunks;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const int n = std::max(1, c.chunksPerSpan);
    for (int k = 0; k < n; ++k) {
      const double a = cuts[i] + (cuts[i + 1] - cuts[i]) * k / n;
      const double b = cuts[i] + (cuts[i + 1] - cuts[i]) * (k + 1) / n;
      chunks.push_back(makeChunk(c, a, b, tol));
    }
  }
  return chunks;
}

// The point of B nearest to A(s), from t on (projection steps: the distances here are far
// below B's radius of curvature, so each step gains many digits).
double footOn(const ParamCurve& a, const ParamCurve& b, double s, double t) {
  const ZcGePoint3d p = a.point(s);
  for (int it = 0; it < 8; ++it) {
    const ZcGeVector3d db = b.deriv(t);
    const double bb = db.dotProduct(db);
    if (bb == 0.0) break;
    t = std::clamp(t + (p - b.point(t)).dotProduct(db) / bb, b.lo, b.hi);
  }
  return t;
}

// A tangent point is ill-conditioned along the common tangent: every point within
// sqrt(tol / curvature) of it lies within tol of both curves. Take the parameter where the
// distance between the curves is least (golden section over `window` around s), so that
// every start near one tangent point ends at the same place.
void centreTangentPoint(const ParamCurve& a, const ParamCurve& b, double window, double& s, double& t) {
  double lo = std::max(a.lo, s - window), hi = std::min(a.hi, s + window);
  double tl = t, th = t;
  auto gap = [&](double x, double& tf) {
    tf = footOn(a, b, x, tf);
    return a.point(x).distanceTo(b.point(tf));
  };
  constexpr double kGolden = 0.3819660112501051;
  double x1 = lo + (hi - lo) * kGolden, x2 = hi - (hi - lo) * kGolden;
  double f1 = gap(x1, tl), f2 = gap(x2, th);
  for (int it = 0; it < 90 && hi - lo > 1e-16 * (a.hi - a.lo); ++it) {
    if (f1 <= f2) {
      hi = x2;
      x2 = x1;
      f2 = f1;
      th = tl;
      x1 = lo + (hi - lo) * kGolden;
      f1 = gap(x1, tl);
    } else {
      lo = x1;
      x1 = x2;
      f1 = f2;
      tl = th;
      x2 = hi - (hi - lo) * kGolden;
      f2 = gap(x2, th);
    }
  }
  s = f1 <= f2 ? x1 : x2;
  t = f1 <= f2 ? tl : th;
}

// Gauss-Newton on |A(s) - B(t)|^2 within the ranges; true when the curves meet at (s, t).
// Near-parallel tangents at the end: the tangent point is centred (see above).
bool refine(const ParamCurve& a, const ParamCurve& b, double tol, double window, double& s, double& t) {
  const double spanA = a.hi - a.lo, spanB = b.hi - b.lo;
  for (int it = 0; it < kMaxIterations; ++it) {
    const ZcGeVector3d r = a.point(s) - b.point(t);
    const ZcGeVector3d da = a.deriv(s), db = b.deriv(t);
    const double aa = da.dotProduct(da), bb = db.dotProduct(db), ab = da.dotProduct(db);
    const double ra = da.dotProduct(r), rb = db.dotProduct(r);
    double ds = 0.0, dt = 0.0;
    const double det = aa * bb - ab * ab;
    if (det > 1e-14 * aa * bb) {
      ds = (ab * rb - bb * ra) / det;
      dt = (aa * rb - ab * ra) / det;
    } else {
      // Parallel tangents: step each onto the other's point.
      ds = aa > 0.0 ? -ra / aa : 0.0;
      dt = bb > 0.0 ? rb / bb : 0.0;
    }
    const double s1 = std::clamp(s + ds, a.lo, a.hi), t1 = std::clamp(t + dt, b.lo, b.hi);
    const bool settled = std::abs(s1 - s) <= 1e-15 * spanA && std::abs(t1 - t) <= 1e-15 * spanB;
    s = s1;
    t = t1;
    if (settled) break;
  }
  const ZcGeVector3d da = a.deriv(s), db = b.deriv(t);
  const double sine = da.crossProduct(db).length() / std::max(da.length() * db.length(), 1e-300);
  if (sine < 1e-3) centreTangentPoint(a, b, window, s, t);
  return a.point(s).distanceTo(b.point(t)) <= tol;
}

struct Solver {
  const ParamCurve& a;
  const ParamCurve& b;
  double tol;
  int starts = 0;
  std::vector<ParamHit> hits;

  void add(double s, double t) {
    const ZcGePoint3d p = a.point(s);
    for (const ParamHit& h : hits)
      if (a.point(h.s).distanceTo(p) <= 100.0 * tol) return;
    hits.push_back({s, t});
  }

  void pair(const Chunk& ca, const Chunk& cb, int depth) {
    if (!ca.box.overlaps(cb.box) || starts >= kMaxStarts) return;
    if (depth == 0) {
      ++starts;
      double s = (ca.lo + ca.hi) / 2.0, t = (cb.lo + cb.hi) / 2.0;
      if (refine(a, b, tol, ca.hi - ca.lo, s, t)) add(s, t);
      return;
    }
    if (ca.box.diagonal() >= cb.box.diagonal()) {
      const double m = (ca.lo + ca.hi) / 2.0;
      pair(makeChunk(a, ca.lo, m, tol), cb, depth - 1);
      pair(makeChunk(a, m, ca.hi, tol), cb, depth - 1);
    } else {
      const double m = (cb.lo + cb.hi) / 2.0;
      pair(ca, makeChunk(b, cb.lo, m, tol), depth - 1);
      pair(ca, makeChunk(b, m, cb.hi, tol), depth - 1);
    }
  }
};

}  // namespace

std::vector<ParamHit> solveParametric(const ParamCurve& first, const ParamCurve& second, double tol) {
  Solver solver{first, second, tol, 0, {}};
  if (!(first.hi >= first.lo) || !(second.hi >= second.lo)) return {};
  const std::vector<Chunk> ca = chunksOf(first, tol);
  const std::vector<Chunk> cb = chunksOf(second, tol);
  for (const Chunk& x : ca)
    for (const Chunk& y : cb) solver.pair(x, y, kRefineDepth);
  return solver.hits;
}

ParamCurve paramCurveOf(const CurvePiece& piece, const Box3d& reach) {
  ParamCurve c;
  c.point = [&piece](double p) { return piecePoint(piece, p); };
  c.deriv = [&piece](double p) { return pieceDeriv(piece, p); };
  switch (piece.kind) {
    case CurvePiece::Kind::kSegment:
      if (piece.segment.isArc()) {
        c.lo = 0.0;
        c.hi = piece.extension.any() ? ZcGe::kTwoPi / std::abs(piece.segment.sweep()) : 1.0;
        c.chunksPerSpan =
            std::max(2, static_cast<int>(
                            std::ceil(8.0 * (c.hi - c.lo) * std::abs(piece.segment.sweep()) / ZcGe::kTwoPi)));
      } else {
        c.lo = 0.0;
        c.hi = 1.0;
        if (piece.extension.any() && !reach.isEmpty()) {
          // The parameters of the reach's corners bound where the line can meet it.
          const ZcGeVector3d u = piece.end3d - piece.start3d;
          const double uu = u.dotProduct(u);
          double lo = 0.0, hi = 1.0;
          if (uu > 0.0) {
            for (int k = 0; k < 8; ++k) {
              const ZcGePoint3d corner(reach.lo[0] + (k & 1 ? reach.hi[0] - reach.lo[0] : 0.0),
                                       reach.lo[1] + (k & 2 ? reach.hi[1] - reach.lo[1] : 0.0),
                                       reach.lo[2] + (k & 4 ? reach.hi[2] - reach.lo[2] : 0.0));
              const double t = (corner - piece.start3d).dotProduct(u) / uu;
              lo = std::min(lo, t);
              hi = std::max(hi, t);
            }
          }
          if (piece.extension.beforeStart) c.lo = lo;
          if (piece.extension.afterEnd) c.hi = hi;
        }
      }
      break;
    case CurvePiece::Kind::kEllipse:
      c.lo = piece.p0;
      c.hi = piece.p1;
      c.chunksPerSpan = std::max(4, static_cast<int>(std::ceil(32.0 * (c.hi - c.lo) / ZcGe::kTwoPi)));
      break;
    case CurvePiece::Kind::kParametric:
      c.lo = piece.p0;
      c.hi = piece.p1;
      c.breaks = piece.breaks;
      c.chunksPerSpan = piece.breaks.empty() ? 32 : 8;
      break;
  }
  return c;
}

void intersectParametric(const CurvePiece& first, const CurvePiece& second, double tol,
                         PiecePairResult& out) {
  const ParamCurve a = paramCurveOf(first, second.box);
  const ParamCurve b = paramCurveOf(second, first.box);
  for (const ParamHit& h : solveParametric(a, b, tol)) {
    const ZcGePoint3d pa = a.point(h.s), pb = b.point(h.t);
    out.crossings.push_back({pa + (pb - pa) * 0.5, h.s, h.t});
  }
}

}  // namespace vtcad::db
