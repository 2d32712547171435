#include "boundary/DrawingCurves.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "database/CurveChordSampler.h"
#include "database/CurvePieces.h"
#include "editor/BlockContents.h"
#include "editor/SelectableEntities.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGeCurve3d.h"
#include "zcad/ge/ZcGeInterval.h"

namespace vtcad::boundary {

namespace {

constexpr double kHalfTurn = 3.14159265358979323846;
// Bisections of a parametric piece's chord at most (2^12 chords per knot span).
constexpr int kMaxBisections = 12;
// A normal this close to the z axis is seen from straight above.
constexpr double kFlatNormal = 1e-12;

ZcGePoint2d plan(const ZcGePoint3d& p) { return {p.x, p.y}; }

bool finite(const ZcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Exactly the identity (a reference at the origin, unscaled, unturned): the curve is read as
// it is, without a copy.
bool isIdentity(const ZcGeMatrix3d& m) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      if (m(row, column) != (row == column ? 1.0 : 0.0)) return false;
  return true;
}

class Collector {
 public:
  explicit Collector(std::vector<PlanEdge>& edges) : edges_(edges) {}

  void addEntity(const ZcDbEntity& entity, const ZcGeMatrix3d& toWorld, int depth) {
    if (const ZcDbBlockReference* reference = ZcDbBlockReference::cast(&entity)) {
      addReference(*reference, toWorld, depth);
    } else if (const ZcDbCurve* curve = ZcDbCurve::cast(&entity)) {
      addCurve(*curve, toWorld);
    }
  }

 private:
  void straight(const ZcGePoint2d& a, const ZcGePoint2d& b) {
    if (finite(a) && finite(b) && !(a == b)) edges_.push_back({a, b, 0.0});
  }

  // An arc of the plan view, in pieces of at most half a turn (a polyline's segment may
  // sweep almost a whole one).
  void arc(const ZcGePoint2d& a, const ZcGePoint2d& b, double bulge) {
    if (!finite(a) || !finite(b) || !std::isfinite(bulge) || a == b) return;
    if (std::abs(bulge) <= 1.0) {
      edges_.push_back({a, b, bulge});
      return;
    }
    const db::BulgeSegment whole(a, b, bulge);
    const ZcGePoint2d middle = whole.pointAt(0.5);
    const double half = std::tan(whole.sweep() / 8.0);
    edges_.push_back({a, middle, half});
    edges_.push_back({middle, b, half});
  }

  void chain(const std::vector<ZcGePoint2d>& points) {
    for (size_t i = 0; i + 1 < points.size(); ++i) straight(points[i], points[i + 1]);
  }

  void addCurve(const ZcDbCurve& curve, const ZcGeMatrix3d& toWorld) {
    if (isIdentity(toWorld)) {
      addPieces(curve);
      return;
    }
    ZcDbEntity* raw = nullptr;
    if (curve.getTransformedCopy(toWorld, raw) == Zcad::eOk && raw) {
      const std::unique_ptr<ZcDbEntity> copy(raw);
      addPieces(*copy);
      return;
    }
    // A transform the curve kind cannot take (an arc stretched unevenly): its geometry,
    // carried by the matrix, as chords.
    ZcGeCurve3d* geRaw = nullptr;
    if (curve.getZcGeCurve(geRaw) != Zcad::eOk || !geRaw) return;
    const std::unique_ptr<ZcGeCurve3d> ge(geRaw);
    ge->transformBy(toWorld);
    ZcGeInterval range;
    ge->getInterval(range);
    ZcGeDoubleArray breaks;
    breaks.append(range.lowerBound());
    breaks.append(range.upperBound());
    ZcDbExtents box;
    if (curve.getGeomExtents(box) != Zcad::eOk) return;
    box.transformBy(toWorld);
    const double size = (box.maxPoint() - box.minPoint()).length();
    if (!(size > 0.0) || !std::isfinite(size)) return;
    const ZcGeDoubleArray params = db::chordSampleParams(*ge, breaks, kChordFraction * size,
                                                         /*maxSegments=*/1 << 16, /*piecesPerSpan=*/8);
    std::vector<ZcGePoint2d> points;
    for (int i = 0; i < params.length(); ++i) points.push_back(plan(ge->evalPoint(params[i])));
    chain(points);
  }

  void addPieces(const ZcDbEntity& entity) {
    const db::PieceListResult made = db::curvePieces(entity, /*extend=*/false);
    if (made.status != db::PieceListStatus::kOk) return;
    for (const db::CurvePiece& piece : made.list.pieces) {
      switch (piece.kind) {
        case db::CurvePiece::Kind::kSegment:
          addSegment(piece);
          break;
        case db::CurvePiece::Kind::kEllipse:
          addEllipse(piece);
          break;
        case db::CurvePiece::Kind::kParametric:
          addParametric(piece);
          break;
      }
    }
  }

  void addSegment(const db::CurvePiece& piece) {
    if (!piece.segment.isArc()) {
      straight(plan(piece.start3d), plan(piece.end3d));
      return;
    }
    const double nz = piece.plane.normal.z;
    if (1.0 - std::abs(nz) <= kFlatNormal) {
      // Seen from below, the arc turns the other way round.
      const double bulge = std::tan(piece.segment.sweep() / 4.0);
      arc(plan(piece.plane.toWorld(piece.segment.startPoint())),
          plan(piece.plane.toWorld(piece.segment.endPoint())), nz > 0.0 ? bulge : -bulge);
      return;
    }
    // A tilted arc is an ellipse in plan view.
    sampleParametric(piece, 0.0, 1.0, {});
  }

  void addEllipse(const db::CurvePiece& piece) {
    const ZcGeVector2d u(piece.major.x, piece.major.y), v(piece.minor.x, piece.minor.y);
    const double lu = u.length(), lv = v.length();
    const double turn = u.x * v.y - u.y * v.x;
    const bool circle = std::abs(lu - lv) <= 1e-12 * lu && std::abs(u.x * v.x + u.y * v.y) <= 1e-12 * lu * lv;
    if (circle && lu > 0.0) {
      // An ellipse of equal axes seen from above: exact arcs of at most a quarter turn.
      const ZcGePoint2d c = plan(piece.center);
      const int n =
          std::max(1, static_cast<int>(std::ceil((piece.p1 - piece.p0) / (kHalfTurn / 2.0) - 1e-12)));
      const double step = (piece.p1 - piece.p0) / n;
      const auto at = [&](double p) { return c + u * std::cos(p) + v * std::sin(p); };
      for (int i = 0; i < n; ++i) {
        const double sweep = turn > 0.0 ? step : -step;
        arc(at(piece.p0 + step * i), at(piece.p0 + step * (i + 1)), std::tan(sweep / 4.0));
      }
      return;
    }
    sampleParametric(piece, piece.p0, piece.p1, {});
  }

  void addParametric(const db::CurvePiece& piece) {
    sampleParametric(piece, piece.p0, piece.p1, piece.breaks);
  }

  // Chords over [p0, p1]: each span between breaks in 8 pieces, each halved while its middle
  // lies off the chord by more than the tolerance.
  void sampleParametric(const db::CurvePiece& piece, double p0, double p1,
                        const std::vector<double>& breaks) {
    std::vector<double> spans{p0};
    spans.insert(spans.end(), breaks.begin(), breaks.end());
    spans.push_back(p1);
    const double size = std::hypot(piece.box.hi[0] - piece.box.lo[0], piece.box.hi[1] - piece.box.lo[1]);
    const double tolerance = kChordFraction * (size > 0.0 && std::isfinite(size) ? size : 1.0);
    std::vector<ZcGePoint2d> points{plan(db::piecePoint(piece, p0))};
    for (size_t s = 0; s + 1 < spans.size(); ++s) {
      constexpr int kPieces = 8;
      for (int i = 0; i < kPieces; ++i) {
        const double a = spans[s] + (spans[s + 1] - spans[s]) * i / kPieces;
        const double b = spans[s] + (spans[s + 1] - spans[s]) * (i + 1) / kPieces;
        refine(piece, a, b, points.back(), plan(db::piecePoint(piece, b)), tolerance, 0, points);
      }
    }
    chain(points);
  }

  void refine(const db::CurvePiece& piece, double a, double b, const ZcGePoint2d& pa, const ZcGePoint2d& pb,
              double tolerance, int depth, std::vector<ZcGePoint2d>& points) {
    const double m = 0.5 * (a + b);
    const ZcGePoint2d pm = plan(db::piecePoint(piece, m));
    const ZcGeVector2d chord = pb - pa;
    const double length = chord.length();
    const double off = length > 0.0 ? std::abs(chord.x * (pm.y - pa.y) - chord.y * (pm.x - pa.x)) / length
                                    : (pm - pa).length();
    if (depth < kMaxBisections && off > tolerance) {
      refine(piece, a, m, pa, pm, tolerance, depth + 1, points);
      refine(piece, m, b, pm, pb, tolerance, depth + 1, points);
      return;
    }
    points.push_back(pb);
  }

  void addReference(const ZcDbBlockReference& reference, const ZcGeMatrix3d& toWorld, int depth) {
    if (depth >= kMaxNesting) return;
    editor::forEachBlockEntity(reference, toWorld, chain_,
                               [&](const ZcDbEntity& entity, const ZcGeMatrix3d& m) {
                                 if (editor::showsInBlock(entity, layers_)) addEntity(entity, m, depth + 1);
                                 return true;
                               });
  }

  std::vector<PlanEdge>& edges_;
  editor::LayerStates layers_;
  std::vector<ZcDbObjectId> chain_;
};

}  // namespace

void addEntityCurves(const ZcDbEntity& entity, const ZcGeMatrix3d& toWorld, std::vector<PlanEdge>& edges) {
  Collector(edges).addEntity(entity, toWorld, /*depth=*/0);
}

std::vector<PlanEdge> visibleCurves(ZcDbObjectId spaceId, const EntityCurves* leaveOut) {
  std::vector<PlanEdge> edges;
  std::vector<PlanEdge> own;
  Collector collector(edges);
  Collector ownCollector(own);
  for (const editor::SelectableEntity& item : editor::selectableEntities(spaceId)) {
    if (item.onOffLayer) continue;
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, item.id, ZcDb::kForRead) != Zcad::eOk) continue;
    const auto known = leaveOut ? leaveOut->find(item.id) : EntityCurves::const_iterator();
    if (leaveOut && known != leaveOut->end()) {
      own.clear();
      ownCollector.addEntity(*entity, ZcGeMatrix3d::kIdentity, /*depth=*/0);
      if (own != known->second) edges.insert(edges.end(), own.begin(), own.end());
    } else {
      collector.addEntity(*entity, ZcGeMatrix3d::kIdentity, /*depth=*/0);
    }
    entity->close();
  }
  return edges;
}

}  // namespace vtcad::boundary
