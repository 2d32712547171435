#pragma once
// ZcDbPolyline: the lightweight polyline ("LWPOLYLINE"). Its vertices are 2-D points in the
// entity's object coordinate system (the plane of normal(), raised by elevation()), each
// with the bulge and the start and end widths of the segment that leaves it. Bulge =
// tan(sweep / 4), positive for an arc turning counter-clockwise seen from the normal.
//
// Widths: a vertex added with a negative width has no width of its own and takes the current
// constant width. setConstantWidth sets every vertex's widths.
//
// Curve interface. Parameter = vertex index + fraction of the segment's arc length: segment i
// spans [i, i + 1], a closed polyline has numVerts() segments (the last one closes it), an
// open one numVerts() - 1. Distances are answered from cumulative segment lengths cached on
// first use (rebuilt after any change), so getDistAtParam is O(1) and getParamAtDist /
// getPointAtDist are O(log n). A polyline of one vertex is a point; zero-length segments are
// kept and answered (zero derivative, no NaN); an empty polyline answers eDegenerateGeometry.
//
// transformBy keeps a polyline a polyline: rotations, translations, uniform scaling and
// mirroring (which negates the bulges seen from the kept normal) always work; a transform that
// scales the polyline's plane unevenly (or shears it) works only when every segment is straight
// and answers eNotApplicable, leaving the polyline unchanged, when it has arcs. A transform
// that flattens the plane to a line answers eNotApplicable too.
//
// Conversion with old-style polylines (ids can be handed over, so references stay valid):
// - convertTo(pline, transferId): this polyline (open for write and in a database when
//   transferId) gives a new ZcDb2dPolyline of the simple type its vertices, bulges, widths,
//   elevation, normal, thickness, closed flag, linetype generation and entity properties.
//   With transferId the new polyline takes over this one's id, handle and place and the call
//   answers eObjectToBeDeleted: the caller deletes this object and closes the new one.
//   Without it the new polyline is not in a database and the call answers eOk. On failure
//   pline is null.
// - convertFrom(entity, transferId): this new polyline (not in a database) takes the
//   displayed geometry of an old-style 2-D polyline (simple, curve-fit: every vertex with its
//   bulge; spline-fit: the fit vertices) and its properties. With transferId the 2-D
//   polyline must be open for write in a database: it hands its id over to this polyline, is
//   deleted together with its vertices by this call, and `entity` is set to this polyline,
//   which is now open for write (the caller closes it). Failure answers a status and
//   changes neither object (the caller deletes this one and closes the entity).
#include <vector>

#include "zcad/db/ZcDbCurve.h"
#include "zcad/ge/ZcGeCircArc2d.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/ge/ZcGeLineSeg2d.h"
#include "zcad/ge/ZcGeLineSeg3d.h"

class ZcDb2dPolyline;

class ZcDbPolyline : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbPolyline)
  ZCDB_DECLARE_VALUE_COPY(ZcDbPolyline)

  enum SegType : int { kLine = 0, kArc = 1, kCoincident = 2, kPoint = 3, kEmpty = 4 };

  // Reserves room for numVerts vertices (none are added).
  explicit ZcDbPolyline(unsigned int numVerts = 0);
  ~ZcDbPolyline() override;

  // Vertices. Indices past the end answer eInvalidIndex; non-finite input eInvalidInput.
  // addVertexAt inserts before `index`; an index past the end appends.
  Zcad::ErrorStatus addVertexAt(unsigned int index, const ZcGePoint2d& point, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Zcad::ErrorStatus removeVertexAt(unsigned int index);
  unsigned int numVerts() const;
  Zcad::ErrorStatus getPointAt(unsigned int index, ZcGePoint2d& point) const;
  // The vertex in world coordinates (elevation and normal applied).
  Zcad::ErrorStatus getPointAt(unsigned int index, ZcGePoint3d& point) const;
  Zcad::ErrorStatus setPointAt(unsigned int index, const ZcGePoint2d& point);
  Zcad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Zcad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Zcad::ErrorStatus getStartWidthAt(unsigned int index, double& startWidth) const;
  Zcad::ErrorStatus getEndWidthAt(unsigned int index, double& endWidth) const;
  Zcad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  // Negative widths answer eNegativeValueNotAllowed.
  Zcad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  // eOk and the width when every vertex has the same start and end width; otherwise
  // eNotApplicable and 0.
  Zcad::ErrorStatus getConstantWidth(double& width) const;
  Zcad::ErrorStatus setConstantWidth(double width);
  // Empties the polyline (reuse false) or keeps its first numVerts vertices (reuse true).
  void reset(bool reuse, unsigned int numVerts);
  void minimizeMemory() {}
  void maximizeMemory() {}

  // Whole-polyline properties.
  double elevation() const;
  Zcad::ErrorStatus setElevation(double elevation);
  ZcGeVector3d normal() const;
  // A zero or non-finite normal answers eInvalidInput; others are normalised.
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  bool isClosed() const override;
  void setClosed(bool closed);
  bool hasPlinegen() const;
  void setPlinegen(bool plinegen);
  bool isOnlyLines() const;
  bool hasBulges() const;
  bool hasWidth() const;

  // Segments. segType(i) is kCoincident for a zero-length segment, kPoint for a polyline of
  // one vertex, kEmpty for an index without a segment. getLineSegAt answers eNotApplicable
  // for an arc segment and getArcSegAt for a straight one; eInvalidIndex without a segment.
  SegType segType(unsigned int index) const;
  Zcad::ErrorStatus getLineSegAt(unsigned int index, ZcGeLineSeg2d& line) const;
  Zcad::ErrorStatus getLineSegAt(unsigned int index, ZcGeLineSeg3d& line) const;
  Zcad::ErrorStatus getArcSegAt(unsigned int index, ZcGeCircArc2d& arc) const;
  Zcad::ErrorStatus getArcSegAt(unsigned int index, ZcGeCircArc3d& arc) const;
  // True when the object-coordinate point lies on segment `index`; param is then the
  // polyline parameter of the point.
  bool onSegAt(unsigned int index, const ZcGePoint2d& point, double& param) const;

  // Conversion with old-style polylines (see the file comment).
  Zcad::ErrorStatus convertFrom(ZcDbEntity*& entity, bool transferId = true);
  Zcad::ErrorStatus convertTo(ZcDb2dPolyline*& pline, bool transferId = true) const;

  // ZcDbCurve.
  bool isPeriodic() const override { return false; }
  Zcad::ErrorStatus getStartParam(double& param) const override;
  Zcad::ErrorStatus getEndParam(double& param) const override;
  Zcad::ErrorStatus getStartPoint(ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getEndPoint(ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
  Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Zcad::ErrorStatus getDistAtPoint(const ZcGePoint3d& point, double& dist) const override;
  Zcad::ErrorStatus getPointAtDist(double dist, ZcGePoint3d& point) const override;
  Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& firstDeriv) const override;
  Zcad::ErrorStatus getFirstDeriv(const ZcGePoint3d& point, ZcGeVector3d& firstDeriv) const override;
  Zcad::ErrorStatus getSecondDeriv(double param, ZcGeVector3d& secDeriv) const override;
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, ZcGePoint3d& pointOnCurve,
                                      bool extend = false) const override;
  // Seen along `direction` (the form with a direction ignores extend).
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                      ZcGePoint3d& pointOnCurve, bool extend = false) const override;
  Zcad::ErrorStatus getArea(double& area) const override;
  // Exact offsets (straight segments stay straight, arcs stay arcs): one new polyline per
  // piece, positive distances to the right of the direction of travel seen from the normal.
  // eInvalidInput for a zero or non-finite distance, eDegenerateGeometry without two distinct
  // vertices; eOk with no curves when the offset leaves nothing.
  Zcad::ErrorStatus getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const override;
  // Reverses the direction: the vertices run backwards (a closed polyline keeps its first
  // vertex, so its start point stays); each segment keeps its geometry, so its bulge is
  // negated and its start and end widths swap.
  Zcad::ErrorStatus reverseCurve() override;
  // The exact rational degree-2 spline of the vertices and bulges (knot parameter i is vertex i).
  Zcad::ErrorStatus getSpline(ZcDbSpline*& spline) const override;
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  // ZcDbObject.
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbPolyline(const ZcDbPolyline&) = default;
  ZcDbPolyline& operator=(const ZcDbPolyline&) = default;

 private:
  // The curve queries' view of the vertices (defined in ZcDbPolyline.cpp).
  struct Geometry;
  // Every modifier starts here: checks the open state (eNotOpenForWrite for a resident
  // polyline not open for write) and drops the length cache.
  Zcad::ErrorStatus beginModify();
  bool hasSegment(unsigned int index) const;
  const std::vector<double>& cumulativeLengths() const;

  // One entry per vertex in each array (parallel arrays, so the curve queries can view the
  // points and bulges without copying them).
  std::vector<ZcGePoint2d> points_;
  std::vector<double> bulges_;
  std::vector<double> startWidths_;
  std::vector<double> endWidths_;
  double constantWidth_ = 0.0;
  double elevation_ = 0.0;
  double thickness_ = 0.0;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  bool closed_ = false;
  bool plinegen_ = false;

  // Cumulative segment lengths, built by the first distance query after a change. Copies
  // carry it with the vertices it was built from, so it stays right after copy and undo.
  mutable std::vector<double> lengthCache_;
  mutable bool lengthCacheValid_ = false;
};
