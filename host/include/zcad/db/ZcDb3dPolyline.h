#pragma once
// ZcDb3dPolyline ("POLYLINE"): a polyline of straight segments through world points, its
// vertices ZcDb3dPolylineVertex objects. The vertex-object model is ZcDb2dPolyline's: held
// by the polyline outside a database, owned database objects with a ZcDbSequenceEnd inside
// one, erased and unerased with the polyline.
//
// Types: k3dSimplePoly shows its vertices. k3dQuadSplinePoly / k3dCubicSplinePoly keep the
// frame as k3dControlVertex control vertices of a uniform B-spline (clamped when open,
// periodic when closed) and show it through k3dFitVertex vertices, SPLINESEGS (8 by default)
// segments per control-frame edge, fit vertices first in the list. straighten() removes the
// fit vertices. The constructor with a spline type fits at once (with the working database's
// SPLINESEGS when the polyline is not in a database yet).
//
// Curve queries answer on the displayed segments (the fit vertices of a spline-fit polyline,
// every vertex otherwise). getSpline answers the curve's own spline: the B-spline of the
// control vertices for the spline types (the same curve the fit vertices sample), a degree-1
// spline through the vertices for a simple polyline. transformBy takes any affine transform.
#include <memory>

#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbObjectIterator.h"
#include "zcad/ge/ZcGeArrays.h"

class ZcDb3dPolylineVertex;
class ZcDbSequenceEnd;
namespace vtcad::db {
class PolylineVertexList;
}

class ZcDb3dPolyline : public ZcDbCurve {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDb3dPolyline)
  ZCDB_DECLARE_VALUE_COPY(ZcDb3dPolyline)

  ZcDb3dPolyline();
  // One vertex per point (non-finite coordinates are replaced by 0: a constructor cannot
  // answer a status), fitted at once for the spline types.
  ZcDb3dPolyline(ZcDb::Poly3dType type, ZcGePoint3dArray& vertices, bool closed = false);
  ~ZcDb3dPolyline() override;

  ZcDb::Poly3dType polyType() const;
  Zcad::ErrorStatus setPolyType(ZcDb::Poly3dType type);
  Zcad::ErrorStatus convertToPolyType(ZcDb::Poly3dType type);
  // splineFit() uses the polyline's spline type (cubic for a simple polyline) and SPLINESEGS;
  // segs is taken by its magnitude and 0 answers eInvalidInput.
  Zcad::ErrorStatus splineFit();
  Zcad::ErrorStatus splineFit(ZcDb::Poly3dType splineType, Zdesk::Int16 segs);
  Zcad::ErrorStatus straighten();

  // Closing or opening a spline-fit polyline refits it.
  Zcad::ErrorStatus makeClosed();
  Zcad::ErrorStatus makeOpen();
  bool isClosed() const override;

  Zcad::ErrorStatus appendVertex(ZcDb3dPolylineVertex* vertex);
  Zcad::ErrorStatus appendVertex(ZcDbObjectId& vertexId, ZcDb3dPolylineVertex* vertex);
  // Inserts newVertex after indexVertex (at the start when indexVertex is null).
  Zcad::ErrorStatus insertVertexAt(const ZcDb3dPolylineVertex* indexVertex, ZcDb3dPolylineVertex* newVertex);
  Zcad::ErrorStatus insertVertexAt(ZcDbObjectId& newVertexId, const ZcDbObjectId& indexVertexId,
                                   ZcDb3dPolylineVertex* newVertex);
  Zcad::ErrorStatus openVertex(ZcDb3dPolylineVertex*& vertex, ZcDbObjectId vertexId, ZcDb::OpenMode mode,
                               bool openErased = false) const;
  Zcad::ErrorStatus openSequenceEnd(ZcDbSequenceEnd*& sequenceEnd, ZcDb::OpenMode mode);
  ZcDbObjectIterator* vertexIterator() const;

  // ZcDbCurve (on the displayed segments).
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
  // Offsets in the polyline's plane (seen from above: its normal taken upwards), as new simple
  // 3-D polylines; eNonPlanarEntity when the vertices do not lie in one plane.
  Zcad::ErrorStatus getOffsetCurves(double offsetDist, ZcDbVoidPtrArray& offsetCurves) const override;
  Zcad::ErrorStatus reverseCurve() override;
  Zcad::ErrorStatus getSpline(ZcDbSpline*& spline) const override;
  Zcad::ErrorStatus getZcGeCurve(ZcGeCurve3d*& curve, const ZcGeTol& tol = ZcGeContext::gTol) const override;

  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  void addedToDatabase() override;
  Zcad::ErrorStatus subErase(bool erasing) override;
  ZcDb3dPolyline(const ZcDb3dPolyline& other);
  ZcDb3dPolyline& operator=(const ZcDb3dPolyline& other);

 private:
  friend class ZcDbFileAccess;
  struct Impl;

  ZcDb::Poly3dType type_ = ZcDb::k3dSimplePoly;
  bool closed_ = false;
  std::unique_ptr<vtcad::db::PolylineVertexList> vertices_;
};
