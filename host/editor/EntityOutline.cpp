#include "editor/EntityOutline.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>

#include "database/CurveChordSampler.h"
#include "database/HatchEdgeGeometry.h"
#include "editor/BlockContents.h"
#include "editor/SelectableEntities.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/ge/ZcGeInterval.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace vtcad::editor {

std::size_t EntityOutline::vertexCount() const {
  std::size_t count = 0;
  for (const OutlinePart& part : parts) count += part.points.size();
  return count;
}

namespace {

// Pieces a conic or a cubic knot span starts with before the worst ones are halved: enough
// to see a full turn or an S bend. Straight and quadratic spans (polylines, bulges) start
// whole: a bulge arc of any sweep shows its deviation at its quarter points.
constexpr int kCurvedPieces = 4;

// How much the map stretches plan-view distances at most: the largest singular value of
// the rows that give x and y. Chords within tolerance / stretch of a curve in block
// coordinates stay within tolerance in the world.
double planStretch(const ZcGeMatrix3d& m) {
  double p = 0.0, q = 0.0, r = 0.0;
  for (int column = 0; column < 3; ++column) {
    p += m(0, column) * m(0, column);
    q += m(0, column) * m(1, column);
    r += m(1, column) * m(1, column);
  }
  const double half = 0.5 * (p - r);
  return std::sqrt(0.5 * (p + r) + std::sqrt(half * half + q * q));
}

using Points = std::vector<ZcGePoint3d>;

class OutlineBuilder {
 public:
  OutlineBuilder(double tolerance, const OutlineLimits& limits)
      : tolerance_(tolerance), remaining_(limits.maxVertices), maxNesting_(limits.maxNesting) {}

  void addEntity(const ZcDbEntity& entity, const ZcGeMatrix3d& toWorld, int depth) {
    if (const ZcDbBlockReference* reference = ZcDbBlockReference::cast(&entity)) {
      addReference(*reference, toWorld, depth);
    } else if (const ZcDbLine* line = ZcDbLine::cast(&entity)) {
      addPoints({line->startPoint(), line->endPoint()}, /*closed=*/false, toWorld);
    } else if (const ZcDbCurve* curve = ZcDbCurve::cast(&entity)) {
      addCurveEntity(*curve, toWorld);
    } else if (const ZcDbPoint* point = ZcDbPoint::cast(&entity)) {
      addPoints({point->position()}, /*closed=*/false, toWorld);
    } else if (const ZcDbText* text = ZcDbText::cast(&entity)) {
      ZcGePoint3dArray corners;
      if (!addTextBox(text->getBoundingPoints(corners), corners, toWorld)) addExtentsBox(entity, toWorld);
    } else if (const ZcDbMText* mtext = ZcDbMText::cast(&entity)) {
      ZcGePoint3dArray corners;
      if (!addTextBox(mtext->getBoundingPoints(corners), corners, toWorld)) addExtentsBox(entity, toWorld);
    } else if (const ZcDbHatch* hatch = ZcDbHatch::cast(&entity)) {
      addHatch(*hatch, toWorld);
    } else {
      addExtentsBox(entity, toWorld);
    }
  }

  EntityOutline finish() {
    if (nonFinite_ || (outline_.parts.empty() && !truncated_)) return EntityOutline{};
    outline_.status = truncated_ ? OutlineStatus::kTruncated : OutlineStatus::kComplete;
    return std::move(outline_);
  }

 private:
  // Takes `count` vertices from the budget; false (and the outline marked cut short) when
  // there are not that many left.
  bool spend(std::size_t count) {
    if (count > remaining_) {
      truncated_ = true;
      remaining_ = 0;
      return false;
    }
    remaining_ -= count;
    return true;
  }

  // Vertices a sampling may still make; 0 (and the outline cut short here) when fewer than
  // the two a chord needs are left.
  std::size_t samplingRoom() {
    if (remaining_ < 2) {
      truncated_ = true;
      return 0;
    }
    return std::min<std::size_t>(remaining_, INT_MAX);
  }

  // Adds a part whose vertices were already paid for.
  void emit(const Points& local, bool closed, const ZcGeMatrix3d& toWorld, int fillRegion = 0) {
    if (local.empty()) return;
    OutlinePart part;
    part.closed = closed;
    part.fillRegion = fillRegion;
    part.points.reserve(local.size());
    for (const ZcGePoint3d& p : local) {
      const ZcGePoint2d world = (toWorld * p).convert2d();
      if (!zcgeIsFinite(world)) nonFinite_ = true;
      part.points.push_back(world);
    }
    outline_.parts.push_back(std::move(part));
  }

  void addPoints(const Points& local, bool closed, const ZcGeMatrix3d& toWorld, int fillRegion = 0) {
    if (spend(local.size())) emit(local, closed, toWorld, fillRegion);
  }

  // The chord tolerance in the coordinates `toWorld` maps from. A map that flattens the
  // plan view to nothing (stretch 0) makes any tolerance good enough.
  double localTolerance(const ZcGeMatrix3d& toWorld) const {
    const double stretch = planStretch(toWorld);
    if (!(stretch > 0.0) || !std::isfinite(stretch)) return std::numeric_limits<double>::infinity();
    return tolerance_ / stretch;
  }

  // Appends the curve's chord polygon to `points` (paid for).
  void sampleCurve(const ZcGeCurve3d& curve, const ZcGeMatrix3d& toWorld, Points& points) {
    ZcGeInterval range;
    curve.getInterval(range);
    const double start = range.lowerBound(), end = range.upperBound();
    if (!std::isfinite(start) || !std::isfinite(end)) {
      nonFinite_ = true;
      return;
    }
    ZcGeDoubleArray breaks;
    breaks.append(start);
    int piecesPerSpan = kCurvedPieces;
    if (curve.type() == ZcGe::kLineSeg3d) {
      piecesPerSpan = 1;
    } else if (curve.type() == ZcGe::kNurbCurve3d) {
      const auto& nurbs = static_cast<const ZcGeNurbCurve3d&>(curve);
      if (nurbs.degree() <= 2) piecesPerSpan = 1;
      ZcGeDoubleArray knots;
      nurbs.knots().getDistinctKnots(knots);
      for (int i = 0; i < knots.length(); ++i)
        if (knots[i] > start && knots[i] < end) breaks.append(knots[i]);
    }
    breaks.append(end);
    const std::size_t room = samplingRoom();
    if (room == 0) return;
    const int maxSegments = static_cast<int>(room - 1);
    const ZcGeDoubleArray params =
        db::chordSampleParams(curve, breaks, localTolerance(toWorld), maxSegments, piecesPerSpan);
    // A curve that needs more segments than the budget has left is sampled coarser, whole.
    spend(static_cast<std::size_t>(params.length()));
    for (int i = 0; i < params.length(); ++i) points.push_back(curve.evalPoint(params[i]));
  }

  // A conic, in parameter steps whose chords stay within tolerance: the chord of a circle of
  // radius R over a step d deviates R (1 - cos(d / 2)) = 2 R sin^2(d / 4), and an ellipse is
  // the affine image of its circle, so its largest semi-axis bounds the deviation. (The sine
  // form keeps tolerances far below the radius from rounding the step to 0.)
  void sampleConic(const db::ConicPiece& piece, const ZcGeMatrix3d& planeToLocal, const ZcGeMatrix3d& toWorld,
                   Points& points) {
    const double radius = std::max(piece.a.length(), piece.b.length());
    const double sweep = std::abs(piece.t1 - piece.t0);
    if (!std::isfinite(radius) || !std::isfinite(sweep)) {
      nonFinite_ = true;
      return;
    }
    const std::size_t room = samplingRoom();
    if (room == 0) return;
    const double ratio = std::min(localTolerance(toWorld) / radius, 1.0);
    const double step = 4.0 * std::asin(std::sqrt(0.5 * ratio));
    const double allowed = static_cast<double>(room - 1);
    // Sampled coarser, whole, when the budget has not room for the tolerance.
    const double pieces = step > 0.0 ? std::clamp(std::ceil(sweep / step), 1.0, allowed) : allowed;
    std::vector<ZcGePoint2d> planar;
    db::sampleConic(piece, static_cast<int>(pieces), planar);
    spend(planar.size());
    for (const ZcGePoint2d& p : planar) points.push_back(planeToLocal * p.convert3d());
  }

  // A closed curve ends where it starts: the part closes instead of repeating the point.
  static bool closeUp(Points& points) {
    if (points.size() <= 3 || !points.front().isEqualTo(points.back())) return false;
    points.pop_back();
    return true;
  }

  void addCurveEntity(const ZcDbCurve& curve, const ZcGeMatrix3d& toWorld) {
    ZcGeCurve3d* raw = nullptr;
    if (curve.getZcGeCurve(raw) == Zcad::eOk && raw) {
      const std::unique_ptr<ZcGeCurve3d> geCurve(raw);
      if (geCurve->isValid()) {
        Points points;
        sampleCurve(*geCurve, toWorld, points);
        const bool closed = curve.isClosed() && closeUp(points);
        emit(points, closed, toWorld);
        return;
      }
    }
    // No curve form: a circle of radius 0, an arc of no sweep, a polyline of one vertex.
    ZcGePoint3d point;
    if (curve.getStartPoint(point) == Zcad::eOk) {
      addPoints({point}, /*closed=*/false, toWorld);
    } else {
      addExtentsBox(curve, toWorld);
    }
  }

  // Corners come top-left, top-right, bottom-left, bottom-right; false when there are none
  // (an empty string).
  bool addTextBox(Zcad::ErrorStatus status, const ZcGePoint3dArray& corners, const ZcGeMatrix3d& toWorld) {
    if (status != Zcad::eOk || corners.length() != 4) return false;
    addPoints({corners[0], corners[1], corners[3], corners[2]}, /*closed=*/true, toWorld, ++lastFillRegion_);
    return true;
  }

  void addExtentsBox(const ZcDbEntity& entity, const ZcGeMatrix3d& toWorld) {
    ZcDbExtents extents;
    if (entity.getGeomExtents(extents) != Zcad::eOk || extents.isEmpty()) return;
    // The plan-view rectangle around the box's eight corners as the map places them.
    extents.transformBy(toWorld);
    const ZcGePoint3d& lo = extents.minPoint();
    const ZcGePoint3d& hi = extents.maxPoint();
    addPoints({lo, ZcGePoint3d(hi.x, lo.y, 0.0), hi, ZcGePoint3d(lo.x, hi.y, 0.0)}, /*closed=*/true,
              ZcGeMatrix3d::kIdentity);
  }

  void addHatch(const ZcDbHatch& hatch, const ZcGeMatrix3d& toWorld) {
    const ZcGeMatrix3d planeToLocal = db::hatchPlaneToWorld(hatch.normal(), hatch.elevation());
    const int fillRegion = hatch.isSolidFill() ? ++lastFillRegion_ : 0;
    for (int i = 0; i < hatch.numLoops() && !truncated_; ++i) {
      Points loop;
      Zdesk::Int32 type = 0;
      if ((hatch.loopTypeAt(i) & ZcDbHatch::kPolyline) != 0) {
        ZcGePoint2dArray vertices;
        ZcGeDoubleArray bulges;
        if (hatch.getLoopAt(i, type, vertices, bulges) != Zcad::eOk) continue;
        sampleBulgeLoop(vertices, bulges, hatch.normal(), planeToLocal, toWorld, loop);
      } else {
        ZcDbHatchEdgeArray edges;
        if (hatch.getLoopAt(i, type, edges) != Zcad::eOk) continue;
        // The edges chain end to end; a gap between two is bridged as a fill would bridge it.
        for (int e = 0; e < edges.length() && !truncated_; ++e) {
          const std::size_t before = loop.size();
          sampleHatchEdge(edges[e], planeToLocal, toWorld, loop);
          if (before > 0 && loop.size() > before && loop[before - 1].isEqualTo(loop[before]))
            loop.erase(loop.begin() + static_cast<std::ptrdiff_t>(before));
        }
      }
      closeUp(loop);
      emit(loop, /*closed=*/loop.size() > 2, toWorld, fillRegion);
    }
  }

  void sampleBulgeLoop(const ZcGePoint2dArray& vertices, const ZcGeDoubleArray& bulges,
                       const ZcGeVector3d& normal, const ZcGeMatrix3d& planeToLocal,
                       const ZcGeMatrix3d& toWorld, Points& points) {
    ZcGePoint3dArray local;
    for (int v = 0; v < vertices.length(); ++v) local.append(planeToLocal * vertices[v].convert3d());
    if (local.length() == 1) {
      if (spend(1)) points.push_back(local[0]);
      return;
    }
    const ZcGeNurbCurve3d curve = ZcGeNurbCurve3d::fromBulgePolyline(local, bulges, /*closed=*/true, normal);
    if (curve.isValid()) sampleCurve(curve, toWorld, points);
  }

  void sampleHatchEdge(const ZcDbHatchEdge& edge, const ZcGeMatrix3d& planeToLocal,
                       const ZcGeMatrix3d& toWorld, Points& points) {
    std::vector<ZcGePoint2d> planar;
    switch (edge.type()) {
      case ZcDbHatchEdge::kLine:
        planar = {edge.startPoint(), edge.endPoint()};
        break;
      case ZcDbHatchEdge::kCirArc:
      case ZcDbHatchEdge::kEllArc:
        sampleConic(db::conicOf(edge), planeToLocal, toWorld, points);
        return;
      case ZcDbHatchEdge::kSpline: {
        const ZcGeNurbCurve3d curve = db::splineCurveOf(edge, planeToLocal);
        if (curve.isValid()) {
          sampleCurve(curve, toWorld, points);
          return;
        }
        // Fit points only: the polygon through them.
        for (int i = 0; i < edge.fitPoints().length(); ++i) planar.push_back(edge.fitPoints()[i]);
        break;
      }
    }
    if (!spend(planar.size())) return;
    for (const ZcGePoint2d& p : planar) points.push_back(planeToLocal * p.convert3d());
  }

  // Whether an entity inside a block shows: visible, and on a layer that is on and thawed
  // (entities on layer "0" show as the reference does, which was decided above them).
  void addReference(const ZcDbBlockReference& reference, const ZcGeMatrix3d& toWorld, int depth) {
    if (depth >= maxNesting_) {
      truncated_ = true;
      return;
    }
    // Every entity visited costs one from the budget, drawn or not: the walk stays bounded
    // even for blocks of references to empty blocks.
    forEachBlockEntity(reference, toWorld, chain_, [&](const ZcDbEntity& entity, const ZcGeMatrix3d& m) {
      if (!spend(1)) return false;
      if (showsInBlock(entity, layers_)) addEntity(entity, m, depth + 1);
      return !nonFinite_;
    });
  }

  double tolerance_;
  std::size_t remaining_;
  int maxNesting_;
  bool truncated_ = false;
  bool nonFinite_ = false;
  int lastFillRegion_ = 0;
  EntityOutline outline_;
  std::vector<ZcDbObjectId> chain_;
  LayerStates layers_;
};

}  // namespace

EntityOutline entityOutline(const ZcDbEntity& entity, double chordTolerance, const OutlineLimits& limits) {
  if (!(chordTolerance > 0.0) || !std::isfinite(chordTolerance)) return {};
  OutlineBuilder builder(chordTolerance, limits);
  builder.addEntity(entity, ZcGeMatrix3d::kIdentity, /*depth=*/0);
  return builder.finish();
}

}  // namespace vtcad::editor
