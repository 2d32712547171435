#include "database/HatchEdgeGeometry.h"

#include <algorithm>
#include <cmath>

#include "database/BulgeSegment.h"
#include "database/ConicGeometry.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeKnotVector.h"

namespace vtcad::db {
namespace {

// Relative tolerance for a plane map to count as a similarity.
constexpr double kSimilarityTol = 1e-9;

ZcGeVector2d perp(const ZcGeVector2d& v) { return {-v.y, v.x}; }

ZcGeVector3d placed(const ZcGeMatrix3d& toWorld, const ZcGeVector2d& v) {
  return toWorld * ZcGeVector3d(v.x, v.y, 0.0);
}
ZcGePoint3d placed(const ZcGeMatrix3d& toWorld, const ZcGePoint2d& p) {
  return toWorld * ZcGePoint3d(p.x, p.y, 0.0);
}

double cross(const ZcGePoint2d& p, const ZcGeVector2d& v) { return p.x * v.y - p.y * v.x; }

// Angle start brought into [0, 2*pi) with the sweep kept.
void normalizeRange(double& start, double& end) {
  const double sweep = end - start;
  start = normalizeAngle(start);
  end = start + sweep;
}

}  // namespace

ZcGePoint2d ConicPiece::pointAt(double t) const { return center + a * std::cos(t) + b * std::sin(t); }

ConicPiece conicOf(const ZcDbHatchEdge& edge) {
  ConicPiece piece;
  piece.center = edge.center();
  const double s = edge.isCounterClockwise() ? 1.0 : -1.0;
  if (edge.type() == ZcDbHatchEdge::kEllArc) {
    piece.a = edge.majorAxis();
    piece.b = perp(edge.majorAxis()) * (s * edge.minorMajorRatio());
  } else {
    piece.a = ZcGeVector2d(edge.radius(), 0.0);
    piece.b = ZcGeVector2d(0.0, s * edge.radius());
  }
  piece.t0 = edge.startAngle();
  piece.t1 = edge.endAngle();
  return piece;
}

bool conicOfBulge(const ZcGePoint2d& start, const ZcGePoint2d& end, double bulge, ConicPiece& piece) {
  const BulgeSegment segment(start, end, bulge);
  if (!segment.isArc()) return false;
  const double r = segment.radius();
  piece.center = segment.center();
  piece.a = ZcGeVector2d(r, 0.0);
  piece.b = ZcGeVector2d(0.0, r);
  piece.t0 = segment.startAngle();
  piece.t1 = piece.t0 + segment.sweep();
  return true;
}

ZcGeNurbCurve3d splineCurveOf(const ZcDbHatchEdge& edge, const ZcGeMatrix3d& toWorld) {
  if (edge.type() != ZcDbHatchEdge::kSpline || edge.controlPoints().isEmpty() || !edge.isValid()) {
    return ZcGeNurbCurve3d();
  }
  ZcGePoint3dArray points;
  for (const ZcGePoint2d& p : edge.controlPoints()) points.append(placed(toWorld, p));
  const ZcGeKnotVector knots(edge.knots());
  if (edge.isRational())
    return ZcGeNurbCurve3d(edge.degree(), knots, points, edge.weights(), edge.isPeriodic());
  return ZcGeNurbCurve3d(edge.degree(), knots, points, edge.isPeriodic());
}

ZcGeMatrix3d hatchPlaneToWorld(const ZcGeVector3d& normal, double elevation) {
  ZcGeVector3d x, y;
  ocsAxes(normal, x, y);
  ZcGeMatrix3d matrix;
  matrix.setCoordSystem(ZcGePoint3d::kOrigin + normal * elevation, x, y, normal);
  return matrix;
}

void addConicPieceExtents(const ConicPiece& piece, const ZcGeMatrix3d& toWorld, ZcDbExtents& extents) {
  addConicExtents(extents, placed(toWorld, piece.center), placed(toWorld, piece.a), placed(toWorld, piece.b),
                  std::min(piece.t0, piece.t1), std::max(piece.t0, piece.t1));
}

void addEdgeExtents(const ZcDbHatchEdge& edge, const ZcGeMatrix3d& toWorld, ZcDbExtents& extents) {
  switch (edge.type()) {
    case ZcDbHatchEdge::kLine:
      extents.addPoint(placed(toWorld, edge.startPoint()));
      extents.addPoint(placed(toWorld, edge.endPoint()));
      return;
    case ZcDbHatchEdge::kCirArc:
    case ZcDbHatchEdge::kEllArc:
      addConicPieceExtents(conicOf(edge), toWorld, extents);
      return;
    case ZcDbHatchEdge::kSpline: {
      const ZcGeNurbCurve3d curve = splineCurveOf(edge, toWorld);
      ZcGePoint3d lo, hi;
      if (curve.isValid() && curve.getExtents(lo, hi)) {
        extents.addPoint(lo);
        extents.addPoint(hi);
        return;
      }
      // Fit points only: the curve passes through them; their box is the best we know.
      for (const ZcGePoint2d& p : edge.fitPoints()) extents.addPoint(placed(toWorld, p));
      return;
    }
  }
}

double doubleSweptArea(const ConicPiece& piece) {
  // x dy - y dx of c + a cos t + b sin t is c x (-a sin t + b cos t) dt + (a x b) dt.
  const ZcGeVector2d delta = piece.a * (std::cos(piece.t1) - std::cos(piece.t0)) +
                             piece.b * (std::sin(piece.t1) - std::sin(piece.t0));
  return cross(piece.center, delta) + piece.a.crossProduct(piece.b) * (piece.t1 - piece.t0);
}

double doubleSweptArea(const ZcGePoint2d& start, const ZcGePoint2d& end) {
  return cross(start, end.asVector());
}

double doubleSweptArea(const ZcDbHatchEdge& edge) {
  switch (edge.type()) {
    case ZcDbHatchEdge::kLine:
      return doubleSweptArea(edge.startPoint(), edge.endPoint());
    case ZcDbHatchEdge::kCirArc:
    case ZcDbHatchEdge::kEllArc:
      return doubleSweptArea(conicOf(edge));
    case ZcDbHatchEdge::kSpline: {
      std::vector<ZcGePoint2d> points;
      sampleEdge(edge, /*perPiece=*/32, points);
      double sum = 0.0;
      for (size_t i = 1; i < points.size(); ++i) sum += doubleSweptArea(points[i - 1], points[i]);
      return sum;
    }
  }
  return 0.0;
}

void sampleConic(const ConicPiece& piece, int count, std::vector<ZcGePoint2d>& points) {
  const int n = std::max(count, 1);
  for (int i = 0; i <= n; ++i) points.push_back(piece.pointAt(piece.t0 + (piece.t1 - piece.t0) * i / n));
}

void sampleEdge(const ZcDbHatchEdge& edge, int perPiece, std::vector<ZcGePoint2d>& points) {
  switch (edge.type()) {
    case ZcDbHatchEdge::kLine:
      points.push_back(edge.startPoint());
      points.push_back(edge.endPoint());
      return;
    case ZcDbHatchEdge::kCirArc:
    case ZcDbHatchEdge::kEllArc:
      sampleConic(conicOf(edge), perPiece, points);
      return;
    case ZcDbHatchEdge::kSpline: {
      const ZcGeNurbCurve3d curve = splineCurveOf(edge);
      if (!curve.isValid()) {
        // Fit points only: the polygon through them.
        for (const ZcGePoint2d& p : edge.fitPoints()) points.push_back(p);
        return;
      }
      ZcGeInterval range;
      curve.getInterval(range);
      const int spans = std::max(1, curve.knots().numIntervals());
      const int n = spans * std::max(perPiece, 1);
      const double t0 = range.lowerBound();
      const double t1 = range.upperBound();
      for (int i = 0; i <= n; ++i) points.push_back(curve.evalPoint(t0 + (t1 - t0) * i / n).convert2d());
      return;
    }
  }
}

bool PlaneMap::isSimilarity() const {
  const double l0 = col0.length();
  const double l1 = col1.length();
  return std::fabs(l0 - l1) <= kSimilarityTol * std::max(l0, l1) &&
         std::fabs(col0.dotProduct(col1)) <= kSimilarityTol * l0 * l1;
}

ZcDbHatchEdge transformedEdge(const ZcDbHatchEdge& edge, const PlaneMap& map) {
  switch (edge.type()) {
    case ZcDbHatchEdge::kLine:
      return ZcDbHatchEdge::line(map.apply(edge.startPoint()), map.apply(edge.endPoint()));
    case ZcDbHatchEdge::kCirArc:
    case ZcDbHatchEdge::kEllArc: {
      const ConicPiece piece = conicOf(edge);
      const ZcGePoint2d center = map.apply(piece.center);
      const ZcGeVector2d a = map.apply(piece.a);
      const ZcGeVector2d b = map.apply(piece.b);
      const bool ccw = a.crossProduct(b) > 0.0;
      if (edge.type() == ZcDbHatchEdge::kCirArc && map.isSimilarity()) {
        // c + r (cos t e(alpha) + s sin t perp(e(alpha))): angles move by s * alpha.
        const double alpha = std::atan2(a.y, a.x);
        double t0 = piece.t0 + (ccw ? alpha : -alpha);
        double t1 = t0 + (piece.t1 - piece.t0);
        normalizeRange(t0, t1);
        return ZcDbHatchEdge::circularArc(center, a.length(), t0, t1, ccw);
      }
      const ConicAxes axes = principalAxes(ZcGeVector3d(a.x, a.y, 0.0), ZcGeVector3d(b.x, b.y, 0.0));
      const ZcGeVector2d major = axes.major.convert2d();
      const double majorLength = major.length();
      const double ratio = majorLength > 0.0 ? std::min(1.0, axes.minor.length() / majorLength) : 1.0;
      double t0 = piece.t0 - axes.shift;
      double t1 = piece.t1 - axes.shift;
      normalizeRange(t0, t1);
      return ZcDbHatchEdge::ellipticalArc(center, major, ratio, t0, t1,
                                          major.crossProduct(axes.minor.convert2d()) > 0.0);
    }
    case ZcDbHatchEdge::kSpline: {
      ZcGePoint2dArray controlPoints, fitPoints;
      for (const ZcGePoint2d& p : edge.controlPoints()) controlPoints.append(map.apply(p));
      for (const ZcGePoint2d& p : edge.fitPoints()) fitPoints.append(map.apply(p));
      return ZcDbHatchEdge::spline(edge.degree(), edge.isRational(), edge.isPeriodic(), edge.knots(),
                                   controlPoints, edge.weights(), fitPoints, map.apply(edge.startTangent()),
                                   map.apply(edge.endTangent()));
    }
  }
  return edge;
}

}  // namespace vtcad::db
