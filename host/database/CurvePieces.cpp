#include "database/CurvePieces.h"

#include <algorithm>
#include <cmath>

#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::db {

void Box3d::add(const ZcGePoint3d& p) {
  const double c[3] = {p.x, p.y, p.z};
  for (int k = 0; k < 3; ++k) {
    lo[k] = std::min(lo[k], c[k]);
    hi[k] = std::max(hi[k], c[k]);
  }
}

void Box3d::add(const Box3d& other) {
  for (int k = 0; k < 3; ++k) {
    lo[k] = std::min(lo[k], other.lo[k]);
    hi[k] = std::max(hi[k], other.hi[k]);
  }
}

void Box3d::inflate(double margin) {
  if (isEmpty()) return;
  for (int k = 0; k < 3; ++k) {
    lo[k] -= margin;
    hi[k] += margin;
  }
}

bool Box3d::overlaps(const Box3d& other) const {
  for (int k = 0; k < 3; ++k)
    if (lo[k] > other.hi[k] || other.lo[k] > hi[k]) return false;
  return true;
}

double Box3d::diagonal() const {
  if (isEmpty()) return 0.0;
  return std::sqrt((hi[0] - lo[0]) * (hi[0] - lo[0]) + (hi[1] - lo[1]) * (hi[1] - lo[1]) +
                   (hi[2] - lo[2]) * (hi[2] - lo[2]));
}

ZcGeVector3d CurvePiece::normal() const {
  if (kind == Kind::kEllipse) {
    const ZcGeVector3d n = major.crossProduct(minor);
    const double len = n.length();
    return len > 0.0 ? n / len : ZcGeVector3d::kZAxis;
  }
  return plane.normal;
}

ZcGePoint3d piecePoint(const CurvePiece& piece, double param) {
  switch (piece.kind) {
    case CurvePiece::Kind::kSegment:
      if (!piece.segment.isArc()) return piece.start3d + (piece.end3d - piece.start3d) * param;
      return piece.plane.toWorld(piece.segment.pointAtExtended(param));
    case CurvePiece::Kind::kEllipse:
      return piece.center + piece.major * std::cos(param) + piece.minor * std::sin(param);
    case CurvePiece::Kind::kParametric: {
      ZcGePoint3d p;
      piece.curve->getPointAtParam(std::clamp(param, piece.p0, piece.p1), p);
      return p;
    }
  }
  return ZcGePoint3d::kOrigin;
}

ZcGeVector3d pieceDeriv(const CurvePiece& piece, double param) {
  switch (piece.kind) {
    case CurvePiece::Kind::kSegment:
      if (!piece.segment.isArc()) return piece.end3d - piece.start3d;
      return piece.plane.toWorld(piece.segment.firstDeriv(param));
    case CurvePiece::Kind::kEllipse:
      return piece.minor * std::cos(param) - piece.major * std::sin(param);
    case CurvePiece::Kind::kParametric: {
      ZcGeVector3d d;
      piece.curve->getFirstDeriv(std::clamp(param, piece.p0, piece.p1), d);
      return d;
    }
  }
  return ZcGeVector3d(0.0, 0.0, 0.0);
}

namespace {

constexpr double kHalfTurn = ZcGe::kPi;

// The box of a straight or circular piece: its ends and middle, widened by the sagitta (an
// arc of at most half a turn lies within that).
void boxSegment(CurvePiece& piece) {
  piece.box = Box3d();
  const ZcGePoint3d a = piecePoint(piece, 0.0);
  const ZcGePoint3d b = piecePoint(piece, 1.0);
  piece.box.add(a);
  piece.box.add(b);
  if (piece.segment.isArc()) {
    const ZcGePoint3d m = piecePoint(piece, 0.5);
    piece.box.add(m);
    piece.box.inflate((m - (a + (b - a) * 0.5)).length());
  }
}

// A plane holding the straight segment a-b (any one: the segment is all that matters).
PolylinePlane planeHolding(const ZcGePoint3d& a, const ZcGePoint3d& b, const ZcGeVector3d& preferred) {
  ZcGeVector3d d = b - a;
  ZcGeVector3d n = preferred;
  const double len = d.length();
  if (len > 0.0) {
    d = d / len;
    n = preferred - d * preferred.dotProduct(d);
    if (n.length() < 1e-6) n = d.perpVector();
  }
  PolylinePlane plane = PolylinePlane::fromNormal(n, 0.0);
  plane.elevation = plane.heightOf(a);
  return plane;
}

CurvePiece straightPiece(const ZcGePoint3d& a, const ZcGePoint3d& b, const ZcGeVector3d& preferredNormal,
                         int index) {
  CurvePiece piece;
  piece.index = index;
  piece.plane = planeHolding(a, b, preferredNormal);
  piece.segment = BulgeSegment(piece.plane.toPlane(a), piece.plane.toPlane(b), 0.0);
  piece.start3d = a;
  piece.end3d = b;
  boxSegment(piece);
  return piece;
}

// A planar segment (object coordinates of `plane`) as a piece; straight ones keep their
// world ends.
CurvePiece planarPiece(const PolylinePlane& plane, const ZcGePoint2d& a, const ZcGePoint2d& b, double bulge,
                       int index) {
  CurvePiece piece;
  piece.index = index;
  piece.plane = plane;
  piece.segment = BulgeSegment(a, b, bulge);
  piece.start3d = plane.toWorld(a);
  piece.end3d = plane.toWorld(b);
  boxSegment(piece);
  return piece;
}

// A circular arc around `center` (object coordinates) from angle `start` sweeping `sweep`
// counter-clockwise, in pieces of at most half a turn; the places are 0 .. pieces.
void addCircularPieces(CurvePieceList& list, const PolylinePlane& plane, const ZcGePoint2d& center,
                       double radius, double start, double sweep) {
  const int n = std::max(1, static_cast<int>(std::ceil(sweep / kHalfTurn - 1e-12)));
  const double step = sweep / n;
  const double bulge = std::tan(step / 4.0);
  for (int i = 0; i < n; ++i) {
    const double a0 = start + step * i;
    const double a1 = start + step * (i + 1);
    const ZcGePoint2d p0(center.x + radius * std::cos(a0), center.y + radius * std::sin(a0));
    const ZcGePoint2d p1(center.x + radius * std::cos(a1), center.y + radius * std::sin(a1));
    list.pieces.push_back(planarPiece(plane, p0, p1, bulge, i));
  }
  list.numPlaces = n;
}

PolylinePlane planeOf(const ZcGeVector3d& normal, const ZcGePoint3d& through) {
  PolylinePlane plane = PolylinePlane::fromNormal(normal, 0.0);
  plane.elevation = plane.heightOf(through);
  return plane;
}

// Polyline segments: the first and last of an open polyline extend at their free ends.
void markPolylineEnds(CurvePieceList& list, bool extend) {
  if (!extend || list.closed || list.pieces.empty()) return;
  list.pieces.front().extension.beforeStart = true;
  list.pieces.back().extension.afterEnd = true;
}

// The bulge of a displayed segment from its ends and its middle (the parameter is
// proportional to arc length, so the middle parameter is the arc's middle): the signed
// sagitta over half the chord.
double bulgeFromMiddle(const ZcGePoint2d& a, const ZcGePoint2d& b, const ZcGePoint2d& m) {
  const ZcGeVector2d c = b - a;
  const double c2 = c.x * c.x + c.y * c.y;
  if (c2 == 0.0) return 0.0;
  const ZcGeVector2d h(m.x - (a.x + b.x) / 2.0, m.y - (a.y + b.y) / 2.0);
  const double sagitta = -(c.x * h.y - c.y * h.x) / std::sqrt(c2);
  return 2.0 * sagitta / std::sqrt(c2);
}

PieceListResult degenerate() {
  PieceListResult r;
  r.status = PieceListStatus::kDegenerate;
  return r;
}

}  // namespace

PieceListResult curvePieces(const ZcDbEntity& entity, bool extend) {
  PieceListResult result;
  CurvePieceList& list = result.list;

  if (const ZcDbLine* line = ZcDbLine::cast(&entity)) {
    list.pieces.push_back(straightPiece(line->startPoint(), line->endPoint(), line->normal(), 0));
    list.pieces.back().extension = {extend, extend};
    list.numPlaces = 1;
  } else if (const ZcDbCircle* circle = ZcDbCircle::cast(&entity)) {
    if (!(circle->radius() > 0.0)) return degenerate();
    const PolylinePlane plane = planeOf(circle->normal(), circle->center());
    addCircularPieces(list, plane, plane.toPlane(circle->center()), circle->radius(), 0.0, ZcGe::kTwoPi);
    list.closed = true;
  } else if (const ZcDbArc* arc = ZcDbArc::cast(&entity)) {
    if (!(arc->radius() > 0.0)) return degenerate();
    const PolylinePlane plane = planeOf(arc->normal(), arc->center());
    const ZcGePoint2d c = plane.toPlane(arc->center());
    ZcGePoint3d s;
    arc->getStartPoint(s);
    const ZcGePoint2d s2 = plane.toPlane(s);
    const double start = std::atan2(s2.y - c.y, s2.x - c.x);
    double sweep = arc->endAngle() - arc->startAngle();
    while (sweep <= 0.0) sweep += ZcGe::kTwoPi;
    while (sweep > ZcGe::kTwoPi) sweep -= ZcGe::kTwoPi;
    addCircularPieces(list, plane, c, arc->radius(), start, sweep);
    if (extend) {
      // The full circle: one piece is enough, its carrier is the circle.
      list.pieces.resize(1);
      list.pieces[0].extension = {true, true};
    }
  } else if (const ZcDbEllipse* ellipse = ZcDbEllipse::cast(&entity)) {
    if (ellipse->isNull()) return degenerate();
    CurvePiece piece;
    piece.kind = CurvePiece::Kind::kEllipse;
    piece.center = ellipse->center();
    piece.major = ellipse->majorAxis();
    piece.minor = ellipse->minorAxis();
    ellipse->getStartParam(piece.p0);
    ellipse->getEndParam(piece.p1);
    const bool full = ellipse->isClosed();
    if (full || extend) {
      piece.p1 = piece.p0 + ZcGe::kTwoPi;
      piece.extension = {extend && !full, extend && !full};
    } else {
      while (piece.p1 <= piece.p0) piece.p1 += ZcGe::kTwoPi;
    }
    // The whole ellipse's box holds any arc of it.
    for (int k = 0; k < 3; ++k) {
      const double c[3] = {piece.center.x, piece.center.y, piece.center.z};
      const double a[3] = {piece.major.x, piece.major.y, piece.major.z};
      const double b[3] = {piece.minor.x, piece.minor.y, piece.minor.z};
      const double half = std::hypot(a[k], b[k]);
      piece.box.lo[k] = c[k] - half;
      piece.box.hi[k] = c[k] + half;
    }
    list.pieces.push_back(piece);
    list.closed = full;
    list.numPlaces = 1;
  } else if (const ZcDbSpline* spline = ZcDbSpline::cast(&entity)) {
    if (spline->isNull()) return degenerate();
    CurvePiece piece;
    piece.kind = CurvePiece::Kind::kParametric;
    piece.curve = spline;
    spline->getStartParam(piece.p0);
    spline->getEndParam(piece.p1);
    if (!(piece.p1 > piece.p0)) return degenerate();
    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    ZcGePoint3dArray controlPoints;
    ZcGeDoubleArray knots, weights;
    double controlPtTol = 0.0, knotTol = 0.0;
    if (spline->getNurbsData(degree, rational, closed, periodic, controlPoints, knots, weights, controlPtTol,
                             knotTol) == Zcad::eOk) {
      for (int i = 0; i < knots.length(); ++i) {
        const double k = knots[i];
        if (k > piece.p0 && k < piece.p1 && (piece.breaks.empty() || k > piece.breaks.back()))
          piece.breaks.push_back(k);
      }
      // The control polygon holds the curve (weights are positive).
      for (int i = 0; i < controlPoints.length(); ++i) piece.box.add(controlPoints[i]);
    }
    ZcDbExtents ext;
    if (piece.box.isEmpty() && spline->getGeomExtents(ext) == Zcad::eOk) {
      piece.box.add(ext.minPoint());
      piece.box.add(ext.maxPoint());
    }
    list.pieces.push_back(piece);
    list.closed = spline->isClosed();
    list.numPlaces = 1;
  } else if (const ZcDbPolyline* pl = ZcDbPolyline::cast(&entity)) {
    const int n = static_cast<int>(pl->numVerts());
    if (n == 0) return degenerate();
    const PolylinePlane plane = PolylinePlane::fromNormal(pl->normal(), pl->elevation());
    list.closed = pl->isClosed() && n > 1;
    const int segments = list.closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
      ZcGePoint2d a, b;
      double bulge = 0.0;
      pl->getPointAt(i, a);
      pl->getPointAt((i + 1) % n, b);
      pl->getBulgeAt(i, bulge);
      list.pieces.push_back(planarPiece(plane, a, b, bulge, i));
    }
    if (segments == 0) {
      ZcGePoint2d a;
      pl->getPointAt(0, a);
      list.pieces.push_back(planarPiece(plane, a, a, 0.0, 0));
    }
    list.numPlaces = std::max(segments, 1);
    markPolylineEnds(list, extend);
  } else if (const ZcDb2dPolyline* pl2 = ZcDb2dPolyline::cast(&entity)) {
    double endParam = 0.0;
    if (pl2->getEndParam(endParam) != Zcad::eOk) return degenerate();
    const PolylinePlane plane = PolylinePlane::fromNormal(pl2->normal(), pl2->elevation());
    const int segments = static_cast<int>(std::lround(endParam));
    list.closed = pl2->isClosed() && segments > 1;
    auto at = [&](double param) {
      ZcGePoint3d p;
      pl2->getPointAtParam(param, p);
      return plane.toPlane(p);
    };
    for (int i = 0; i < segments; ++i) {
      const ZcGePoint2d a = at(i), b = at(i + 1.0);
      list.pieces.push_back(planarPiece(plane, a, b, bulgeFromMiddle(a, b, at(i + 0.5)), i));
    }
    if (segments == 0) list.pieces.push_back(planarPiece(plane, at(0.0), at(0.0), 0.0, 0));
    list.numPlaces = std::max(segments, 1);
    markPolylineEnds(list, extend);
  } else if (const ZcDb3dPolyline* pl3 = ZcDb3dPolyline::cast(&entity)) {
    double endParam = 0.0;
    if (pl3->getEndParam(endParam) != Zcad::eOk) return degenerate();
    const int segments = static_cast<int>(std::lround(endParam));
    list.closed = pl3->isClosed() && segments > 1;
    auto at = [&](double param) {
      ZcGePoint3d p;
      pl3->getPointAtParam(param, p);
      return p;
    };
    for (int i = 0; i < segments; ++i)
      list.pieces.push_back(straightPiece(at(i), at(i + 1.0), ZcGeVector3d::kZAxis, i));
    if (segments == 0) list.pieces.push_back(straightPiece(at(0.0), at(0.0), ZcGeVector3d::kZAxis, 0));
    list.numPlaces = std::max(segments, 1);
    markPolylineEnds(list, extend);
  } else {
    result.status = PieceListStatus::kNotACurve;
    return result;
  }
  for (const CurvePiece& piece : list.pieces) list.box.add(piece.box);
  return result;
}

}  // namespace vtcad::db
