#pragma once
// HatchEdgeGeometry: hatch boundaries as curves, for their extents, areas and transforms.
//
// A hatch loop is a chain of pieces in the hatch's plane: straight segments, conic arcs
// c + a cos t + b sin t over [t0, t1] (circular and elliptical edges, bulged polyline
// segments) and splines. Pieces are 2-D; toWorld() places them in space.
#include <vector>

#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbHatchEdge.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGeNurbCurve3d.h"

namespace vtcad::db {

// c + a cos t + b sin t, traversed from t0 to t1 (t1 may be below t0 for a clockwise bulge).
struct ConicPiece {
  ZcGePoint2d center;
  ZcGeVector2d a;
  ZcGeVector2d b;
  double t0 = 0.0;
  double t1 = 0.0;

  ZcGePoint2d pointAt(double t) const;
};

// The conic of a circular or elliptical edge.
ConicPiece conicOf(const ZcDbHatchEdge& edge);
// The arc of a bulged polyline segment; false for a straight (or zero-length) segment.
bool conicOfBulge(const ZcGePoint2d& start, const ZcGePoint2d& end, double bulge, ConicPiece& piece);

// The spline edge as a curve in space (its 2-D points placed by `toWorld`); invalid when the
// edge holds fit points only.
ZcGeNurbCurve3d splineCurveOf(const ZcDbHatchEdge& edge,
                              const ZcGeMatrix3d& toWorld = ZcGeMatrix3d::kIdentity);

// Plane coordinates (x, y, elevation) of the normal's object coordinate system to world.
ZcGeMatrix3d hatchPlaneToWorld(const ZcGeVector3d& normal, double elevation);

// Adds the exact box of a piece placed by `toWorld`.
void addConicPieceExtents(const ConicPiece& piece, const ZcGeMatrix3d& toWorld, ZcDbExtents& extents);
void addEdgeExtents(const ZcDbHatchEdge& edge, const ZcGeMatrix3d& toWorld, ZcDbExtents& extents);

// Twice the signed area swept from the origin (the integral of x dy - y dx): summed over a
// closed loop it is twice the loop's signed area.
double doubleSweptArea(const ConicPiece& piece);
double doubleSweptArea(const ZcGePoint2d& start, const ZcGePoint2d& end);
double doubleSweptArea(const ZcDbHatchEdge& edge);

// Points along the edge from its start to its end, both included (for nesting tests and
// spline areas); `perPiece` points per conic or per spline knot span.
void sampleEdge(const ZcDbHatchEdge& edge, int perPiece, std::vector<ZcGePoint2d>& points);
void sampleConic(const ConicPiece& piece, int count, std::vector<ZcGePoint2d>& points);

// The edge under the plane's affine map p -> origin + linear * p (columns col0, col1).
// Circular arcs become elliptical arcs when the map is not a similarity.
struct PlaneMap {
  ZcGeVector2d col0{1.0, 0.0};
  ZcGeVector2d col1{0.0, 1.0};
  ZcGeVector2d origin;

  ZcGePoint2d apply(const ZcGePoint2d& p) const {
    return ZcGePoint2d(origin.x, origin.y) + col0 * p.x + col1 * p.y;
  }
  ZcGeVector2d apply(const ZcGeVector2d& v) const { return col0 * v.x + col1 * v.y; }
  double det() const { return col0.crossProduct(col1); }
  // Equal perpendicular columns: circles stay circles.
  bool isSimilarity() const;
};
ZcDbHatchEdge transformedEdge(const ZcDbHatchEdge& edge, const PlaneMap& map);

}  // namespace vtcad::db
