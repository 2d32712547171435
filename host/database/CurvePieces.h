#pragma once
// CurvePieces: the curve of an entity as a chain of simple pieces, the unit the intersections
// work on. Lines and polyline segments become straight pieces, arcs and circles circular
// pieces (a circle, or an arc sweeping more than half a turn, in several, so no bulge grows
// unbounded), ellipses elliptical pieces and splines (helices too) one parametric piece that
// is evaluated through the entity itself.
//
// Pieces follow the curve's own order; each knows its index, so a place on the curve is
// (piece index + parameter on the piece), increasing along the curve. That is how overlaps
// found piece by piece are joined again.
//
// Extension (the extend modes of intersectWith): a line becomes its infinite line, an arc or
// a circle its full circle, an elliptical arc its full ellipse, and an open polyline's first
// and last segments continue beyond its ends along their carriers (straight: on the side of
// the free end only; arcs: their full circle). Splines and closed polylines do not extend.
#include <vector>

#include "database/BulgeSegment.h"
#include "database/PolylineChain.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbEntity;
class ZcDbCurve;

namespace vtcad::db {

struct Box3d {
  double lo[3] = {1e300, 1e300, 1e300};
  double hi[3] = {-1e300, -1e300, -1e300};
  void add(const ZcGePoint3d& p);
  void add(const Box3d& other);
  void inflate(double margin);
  bool isEmpty() const { return lo[0] > hi[0]; }
  bool overlaps(const Box3d& other) const;
  double diagonal() const;
};

// How far a piece extends beyond its own ends (straight pieces; circular and elliptical ones
// extend to the whole closed carrier when either flag is set).
struct PieceExtension {
  bool beforeStart = false;
  bool afterEnd = false;
  bool any() const { return beforeStart || afterEnd; }
};

struct CurvePiece {
  enum class Kind {
    kSegment,     // straight or circular, in `plane` (straight ones also in 3-D: start3d/end3d)
    kEllipse,     // center + major cos(p) + minor sin(p), p in [p0, p1]
    kParametric,  // the entity's own parameterisation over [p0, p1]
  };
  Kind kind = Kind::kSegment;
  int index = 0;

  // kSegment. A straight segment of a 3-D polyline or a line has a plane too (any one holding
  // it), so that it can be told whether it lies in another piece's plane.
  PolylinePlane plane;
  BulgeSegment segment{ZcGePoint2d::kOrigin, ZcGePoint2d::kOrigin, 0.0};
  ZcGePoint3d start3d;
  ZcGePoint3d end3d;
  PieceExtension extension;

  // kEllipse
  ZcGePoint3d center;
  ZcGeVector3d major;
  ZcGeVector3d minor;

  // kEllipse, kParametric
  double p0 = 0.0;
  double p1 = 0.0;
  const ZcDbCurve* curve = nullptr;
  std::vector<double> breaks;  // kParametric: knots inside (p0, p1) where it may bend sharply

  Box3d box;  // of the bounded piece (extensions are not in it)

  bool isStraight() const { return kind == Kind::kSegment && !segment.isArc(); }
  bool isCircular() const { return kind == Kind::kSegment && segment.isArc(); }
  ZcGeVector3d normal() const;  // of the plane of a segment or an ellipse
};

struct CurvePieceList {
  std::vector<CurvePiece> pieces;
  bool closed = false;  // the pieces form a closed loop (a wrap-around overlap joins up)
  int numPlaces = 0;    // the places run over [0, numPlaces]
  Box3d box;
};

enum class PieceListStatus { kOk, kNotACurve, kDegenerate };

struct PieceListResult {
  PieceListStatus status = PieceListStatus::kOk;
  CurvePieceList list;
};

// The pieces of an entity (world coordinates); `extend` applies the extension rules above.
PieceListResult curvePieces(const ZcDbEntity& entity, bool extend);

// Points of pieces (the parameter runs over the piece's own range; straight and circular
// pieces use BulgeSegment's t, extended ones may run beyond [0, 1]).
ZcGePoint3d piecePoint(const CurvePiece& piece, double param);
ZcGeVector3d pieceDeriv(const CurvePiece& piece, double param);

}  // namespace vtcad::db
