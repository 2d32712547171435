#pragma once
// ZcDb2dPolyline ("POLYLINE"): the old-style 2-D polyline. Its vertices are ZcDb2dVertex
// objects in the object coordinate system of normal(), at elevation(); each carries the bulge
// and widths of the segment that leaves it.
//
// Vertex objects. Before the polyline is in a database it holds its vertices (appendVertex
// takes ownership; do not delete or close them). Once it is added, every vertex becomes a
// database object owned by the polyline, with its own id and handle, followed by a
// ZcDbSequenceEnd ("SEQEND"); vertices appended then are added to the database and left open
// for write for the caller to close. Erasing the polyline erases its vertices and end marker
// (and unerasing brings them back). A vertex erased on its own drops out of the polyline.
//
// Types and fitting (the vertices are made as a CAD host makes them):
// - k2dSimplePoly: the vertices as given, segments straight or bulged.
// - k2dFitCurvePoly (curveFit): a smooth curve through every frame vertex. Each frame vertex
//   gets its tangent (the tangent of the circle through it and its neighbours) and the bulge
//   of the first of two tangent arcs; one k2dCurveFitVertex is inserted per span where the
//   arcs meet.
// - k2dQuadSplinePoly / k2dCubicSplinePoly (splineFit): the frame vertices become
//   k2dSplineCtlVertex control vertices of a uniform B-spline (clamped when open, periodic
//   when closed) and the polyline shows it through k2dSplineFitVertex vertices: `segs`
//   segments per control-frame edge (the database's SPLINESEGS, 8 by default), that is
//   segs * (n - 1) + 1 fit vertices when open and segs * n when closed. As in drawing files,
//   the fit vertices come first in the vertex list and the control vertices after them.
// - straighten() removes the generated vertices and the bulges: the frame, straight.
// setPolyType and convertToPolyType both refit the frame to the new type. Vertices appended to
// a fitted polyline are taken as they are; call the fit again to include them in the curve.
//
// Curve queries answer on the displayed geometry: the fit vertices of a spline-fit polyline,
// every vertex with its bulge otherwise, parameter = index of that displayed vertex + fraction
// of its segment (see ZcDbPolyline.h). They read the vertices without opening them.
#include <memory>
#include <vector>

#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbObjectIterator.h"
#include "zcad/ge/ZcGeArrays.h"

class ZcDb2dVertex;
class ZcDbSequenceEnd;
class ZcDbPolyline;
namespace vtcad::db {
class PolylineVertexList;
}

class ZcDb2dPolyline : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDb2dPolyline)
  ZCDB_DECLARE_VALUE_COPY(ZcDb2dPolyline)

  ZcDb2dPolyline();
  // One vertex per point (x and y in object coordinates; z is ignored), with the default
  // widths and, when given, bulges[i]; fitted at once for the fit and spline types. Non-finite
  // values are replaced by 0 (a constructor cannot answer a status).
  ZcDb2dPolyline(ZcDb::Poly2dType type, ZcGePoint3dArray& vertices, double elevation = 0.0,
                 bool closed = false, double defStartWidth = 0.0, double defEndWidth = 0.0,
                 ZcGeDoubleArray* bulges = nullptr);
  ~ZcDb2dPolyline() override;

  ZcDb::Poly2dType polyType() const;
  Zcad::ErrorStatus setPolyType(ZcDb::Poly2dType type);
  Zcad::ErrorStatus convertToPolyType(ZcDb::Poly2dType type);

  // Closing or opening a fitted polyline refits it.
  Zcad::ErrorStatus makeClosed();
  Zcad::ErrorStatus makeOpen();
  bool isClosed() const override;

  double elevation() const;
  Zcad::ErrorStatus setElevation(double elevation);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  double defaultStartWidth() const;
  Zcad::ErrorStatus setDefaultStartWidth(double width);
  double defaultEndWidth() const;
  Zcad::ErrorStatus setDefaultEndWidth(double width);
  bool isLinetypeGenerationOn() const;
  Zcad::ErrorStatus setLinetypeGenerationOn();
  Zcad::ErrorStatus setLinetypeGenerationOff();

  // Vertices (see the file comment for ownership).
  Zcad::ErrorStatus appendVertex(ZcDb2dVertex* vertex);
  Zcad::ErrorStatus appendVertex(ZcDbObjectId& vertexId, ZcDb2dVertex* vertex);
  // Inserts newVertex after indexVertex (at the start when indexVertex is null).
  Zcad::ErrorStatus insertVertexAt(const ZcDb2dVertex* indexVertex, ZcDb2dVertex* newVertex);
  Zcad::ErrorStatus insertVertexAt(ZcDbObjectId& newVertexId, const ZcDbObjectId& indexVertexId,
                                   ZcDb2dVertex* newVertex);
  // Opens one of this polyline's vertices (eInvalidInput for an id it does not own).
  Zcad::ErrorStatus openVertex(ZcDb2dVertex*& vertex, ZcDbObjectId vertexId, ZcDb::OpenMode mode,
                               bool openErased = false) const;
  Zcad::ErrorStatus openSequenceEnd(ZcDbSequenceEnd*& sequenceEnd, ZcDb::OpenMode mode);
  // Every vertex in order (frame and generated); the caller deletes the iterator.
  ZcDbObjectIterator* vertexIterator() const;
  // The world point of one of this polyline's vertices (elevation and normal applied).
  ZcGePoint3d vertexPosition(const ZcDb2dVertex& vertex) const;

  // Fitting (see the file comment). splineFit() uses the polyline's spline type when it has
  // one (cubic otherwise) and the database's SPLINESEGS; segs is taken by its magnitude and
  // 0 answers eInvalidInput.
  Zcad::ErrorStatus splineFit();
  Zcad::ErrorStatus splineFit(ZcDb::Poly2dType splineType, Zdesk::Int16 segs);
  Zcad::ErrorStatus curveFit();
  Zcad::ErrorStatus straighten();

  // ZcDbCurve (on the displayed geometry).
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
  Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& givenPoint, const ZcGeVector3d& direction,
                                      ZcGePoint3d& pointOnCurve, bool extend = false) const override;
  Zcad::ErrorStatus getArea(double& area) const override;
  // Offsets of the displayed geometry as ZcDbPolyline's (simple polylines; a fitted source's
  // curve is offset as it is shown).
  Zcad::ErrorStatus getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const override;
  // Reverses the direction as ZcDbPolyline::reverseCurve does (a closed polyline keeps its
  // first vertex); a spline-fit polyline reverses its fit and its control vertices each.
  Zcad::ErrorStatus reverseCurve() override;
  // Exact: the rational degree-2 spline of the displayed vertices and bulges.
  Zcad::ErrorStatus getSpline(ZcDbSpline*& spline) const override;
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  // ZcDbEntity. transformBy follows ZcDbPolyline (in-plane similarity always, uneven scaling
  // only without arcs, eNotApplicable otherwise) and moves every vertex.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  void addedToDatabase() override;
  Zcad::ErrorStatus subErase(bool erasing) override;
  ZcDb2dPolyline(const ZcDb2dPolyline& other);
  ZcDb2dPolyline& operator=(const ZcDb2dPolyline& other);

 private:
  friend class ZcDbPolyline;
  friend class ZcDbFileAccess;
  // Implementation helpers (ZcDb2dPolyline.cpp).
  struct Impl;

  // A displayed vertex, as the lightweight polyline's conversion takes it.
  struct ShownVertex {
    ZcGePoint2d point;
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
  };
  Zcad::ErrorStatus shownVertices(std::vector<ShownVertex>& vertices) const;
  // Vertices and end marker, for a conversion that takes this polyline's id.
  ZcDbObjectIdArray ownedObjectIds() const;
  // After this polyline received an id by hand-over: its vertices join the database.
  void moveVerticesIntoDatabase();

  ZcDb::Poly2dType type_ = ZcDb::k2dSimplePoly;
  bool closed_ = false;
  bool plinegen_ = false;
  double elevation_ = 0.0;
  double thickness_ = 0.0;
  double defaultStartWidth_ = 0.0;
  double defaultEndWidth_ = 0.0;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  std::unique_ptr<vtcad::db::PolylineVertexList> vertices_;
};
