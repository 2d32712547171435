#pragma once
// PolylineChain: the curve of a polyline of any kind as a chain of segments, and the curve
// queries (ZcDbCurve's interface) every polyline class answers through it.
//
// A chain is a view: it points at the caller's vertex arrays and copies nothing, so a
// lightweight polyline of 100 000 vertices can answer a query without rebuilding anything.
// Planar chains (lightweight and 2-D polylines) hold object-coordinate points and bulges and
// map them to the world through their PolylinePlane; spatial chains (3-D polylines) hold
// world points joined by straight segments.
//
// Parameters: segment i spans [i, i + 1] and the fraction inside a segment is proportional to
// its arc length, so a distance maps to a parameter linearly inside a segment. An open chain
// of n vertices has n - 1 segments, a closed one n (the last joins vertex n - 1 to vertex 0);
// a chain of one vertex has none and answers its vertex for parameter 0 and distance 0.
// An empty chain answers eDegenerateGeometry.
//
// Distances go through ChainLengths, the cumulative segment lengths: building it is linear,
// each distance query afterwards is a binary search.
#include <vector>

#include "database/BulgeSegment.h"
#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

namespace vtcad::db {

// The plane of a planar polyline: the object coordinate system of `normal` (its x axis by the
// drawing format's arbitrary-axis rule) raised by `elevation` along the normal.
struct PolylinePlane {
  ZcGeVector3d xAxis = ZcGeVector3d::kXAxis;
  ZcGeVector3d yAxis = ZcGeVector3d::kYAxis;
  ZcGeVector3d normal = ZcGeVector3d::kZAxis;
  double elevation = 0.0;

  static PolylinePlane fromNormal(const ZcGeVector3d& normal, double elevation);
  ZcGePoint3d toWorld(const ZcGePoint2d& point) const;
  ZcGeVector3d toWorld(const ZcGeVector2d& vector) const;
  // Object coordinates of the point's orthogonal projection onto the plane.
  ZcGePoint2d toPlane(const ZcGePoint3d& point) const;
  // Height of the point above the plane's origin along the normal (its object z).
  double heightOf(const ZcGePoint3d& point) const;
};

// How an affine matrix maps the plane of a planar polyline. A polyline stays a polyline when
// the plane is not flattened; its arcs stay circular only when the plane is scaled evenly
// without shear (conformal). The target normal keeps the side the transformed normal points
// to, so a mirror turns the plane over (flipped): arcs then run the other way round the kept
// normal and their bulges change sign.
struct PlaneMapping {
  // eInvalidInput for a non-finite matrix, eNotApplicable for a perspective one or one that
  // flattens the plane.
  Zcad::ErrorStatus status = Zcad::eOk;
  ZcGeMatrix3d matrix;
  PolylinePlane source;
  PolylinePlane target;
  bool conformal = true;
  bool flipped = false;
  double widthScale = 1.0;      // geometric mean of the two in-plane scales
  double thicknessScale = 1.0;  // of the extrusion along the normal

  static PlaneMapping of(const ZcGeMatrix3d& matrix, const PolylinePlane& source);
  ZcGePoint2d map(const ZcGePoint2d& point) const;
  // Direction angle (object coordinates) of the image of a direction.
  double mapAngle(double angle) const;
};

// Reversal of a polyline's vertex list. An open polyline's vertices simply run backwards; a
// closed one keeps its first vertex (so its start point stays) and runs the others backwards.
// Each new segment is an old one run backwards: its bulge changes sign, its widths swap ends.
struct PolylineReversal {
  // Old index of the vertex that becomes vertex j.
  static int vertexFrom(int j, int n, bool closed) { return closed ? (n - j) % n : n - 1 - j; }
  // Old index of the segment that becomes segment j (for an open polyline's last vertex,
  // which starts no segment, its own unused data).
  static int segmentFrom(int j, int n, bool closed) {
    if (closed) return n - 1 - j;
    return j + 1 < n ? n - 2 - j : n - 1;
  }
};

class PolylineChain;

// Cumulative segment lengths of a chain: cumulative[i] is the length of segments 0 .. i-1.
// A view over a vector the caller keeps (a lightweight polyline keeps it as its cache).
class ChainLengths {
 public:
  static void build(const PolylineChain& chain, std::vector<double>& cumulative);
  explicit ChainLengths(const std::vector<double>& cumulative) : cumulative_(cumulative) {}

  double total() const { return cumulative_.empty() ? 0.0 : cumulative_.back(); }
  double distAt(int segment, double t) const;
  // Segment and fraction at a distance clamped to [0, total()]: O(log n). Zero-length
  // segments are passed over, so t is well defined.
  void locate(double dist, int& segment, double& t) const;

 private:
  const std::vector<double>& cumulative_;
};

class PolylineChain {
 public:
  // `bulges` may be null (all straight). The arrays must outlive the chain.
  static PolylineChain planar(const ZcGePoint2d* points, const double* bulges, int numVerts, bool closed,
                              const PolylinePlane& plane);
  static PolylineChain spatial(const ZcGePoint3d* points, int numVerts, bool closed);

  int numVerts() const { return numVerts_; }
  int numSegments() const;
  bool isClosed() const { return closed_; }
  bool isPlanar() const { return points2d_ != nullptr; }
  const PolylinePlane& plane() const { return plane_; }

  ZcGePoint3d vertexPoint(int index) const;
  // The segment in object coordinates (planar chains only).
  BulgeSegment planarSegment(int segment) const;
  double segmentLength(int segment) const;
  ZcGePoint3d pointAt(int segment, double t) const;
  ZcGeVector3d firstDeriv(int segment, double t) const;
  ZcGeVector3d secondDeriv(int segment, double t) const;
  // Segment and fraction of a parameter; false when it is outside [0, numSegments()] beyond
  // the curve queries' tolerance (CurveQueryRules.h) or the chain is empty.
  bool locateParam(double param, int& segment, double& t) const;

  // The ZcDbCurve queries (see ZcDbCurve.h for their contracts).
  Zcad::ErrorStatus getEndParam(double& param) const;
  Zcad::ErrorStatus getStartPoint(ZcGePoint3d& point) const;
  Zcad::ErrorStatus getEndPoint(ZcGePoint3d& point) const;
  Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const;
  Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const;
  Zcad::ErrorStatus getDistAtParam(const ChainLengths& lengths, double param, double& dist) const;
  Zcad::ErrorStatus getParamAtDist(const ChainLengths& lengths, double dist, double& param) const;
  Zcad::ErrorStatus getPointAtDist(const ChainLengths& lengths, double dist, ZcGePoint3d& point) const;
  Zcad::ErrorStatus getDistAtPoint(const ChainLengths& lengths, const ZcGePoint3d& point, double& dist) const;
  Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const;
  Zcad::ErrorStatus getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& deriv) const;
  Zcad::ErrorStatus getSecondDeriv(double param, ZcGeVector3d& deriv) const;
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                      bool extend) const;
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                      ZcGePoint3d& pointOnCurve) const;
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const;
  // Area enclosed, closing an open chain with its chord; bulge segments count exactly. A
  // spatial chain answers the area of its vector-area polygon (its planar area when planar).
  Zcad::ErrorStatus getArea(double& area) const;
  // Signed area (planar chains: positive when counter-clockwise seen from the normal).
  double signedArea() const;

  // Closest point over all segments: segment, fraction and the point (world). With extend,
  // the first and last segments of an open chain continue beyond its ends (t outside [0, 1]).
  void closestPoint(const ZcGePoint3d& point, bool extend, int& segment, double& t,
                    ZcGePoint3d& result) const;

 private:
  PolylineChain() = default;
  ZcGePoint3d extendedPointAt(int segment, double t) const;
  double pointTolerance() const;

  const ZcGePoint2d* points2d_ = nullptr;
  const double* bulges_ = nullptr;
  const ZcGePoint3d* points3d_ = nullptr;
  int numVerts_ = 0;
  bool closed_ = false;
  PolylinePlane plane_;
};

}  // namespace vtcad::db
