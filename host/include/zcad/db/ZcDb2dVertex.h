#pragma once
// ZcDb2dVertex ("VERTEX"): a vertex of a ZcDb2dPolyline. Its position is in the polyline's
// object coordinate system; the polyline's elevation gives the height (the position's z is
// kept as given and not used), ZcDb2dPolyline::vertexPosition gives the world point.
//
// The bulge and widths belong to the segment that leaves the vertex. vertexType() tells the
// vertices a user made (k2dVertex) from those the polyline's fitting made: spline-fit
// polylines keep their frame as k2dSplineCtlVertex and show k2dSplineFitVertex vertices,
// curve-fit polylines insert k2dCurveFitVertex vertices. Non-finite input answers
// eInvalidInput and changes nothing.
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbVertex.h"

class ZcDb2dVertex : public ZcDbVertex {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDb2dVertex)
  ZCDB_DECLARE_VALUE_COPY(ZcDb2dVertex)

  ZcDb2dVertex();
  // Non-finite values are replaced by 0 (a constructor cannot answer a status).
  explicit ZcDb2dVertex(const ZcGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                        double endWidth = 0.0, double tangent = 0.0, Zdesk::Int32 vertexIdentifier = 0);
  ~ZcDb2dVertex() override;

  ZcDb::Vertex2dType vertexType() const;
  ZcGePoint3d position() const;
  Zcad::ErrorStatus setPosition(const ZcGePoint3d& position);
  double bulge() const;
  Zcad::ErrorStatus setBulge(double bulge);
  double startWidth() const;
  // Negative widths answer eNegativeValueNotAllowed.
  Zcad::ErrorStatus setStartWidth(double width);
  double endWidth() const;
  Zcad::ErrorStatus setEndWidth(double width);
  // Tangent direction (an angle in the object coordinate system) of a curve fit through the
  // vertex; setTangent also marks it used.
  double tangent() const;
  Zcad::ErrorStatus setTangent(double tangent);
  bool isTangentUsed() const;
  Zcad::ErrorStatus useTangent();
  Zcad::ErrorStatus ignoreTangent();
  Zdesk::Int32 vertexIdentifier() const;
  Zcad::ErrorStatus setVertexIdentifier(Zdesk::Int32 identifier);

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDb2dVertex(const ZcDb2dVertex&) = default;
  ZcDb2dVertex& operator=(const ZcDb2dVertex&) = default;

 private:
  // The polyline reads its vertices without opening them (it is open itself) and sets the
  // types its fitting gives them.
  friend class ZcDb2dPolyline;
  friend class ZcDbFileAccess;

  ZcGePoint3d position_;
  double bulge_ = 0.0;
  double startWidth_ = 0.0;
  double endWidth_ = 0.0;
  double tangent_ = 0.0;
  Zdesk::Int32 vertexIdentifier_ = 0;
  ZcDb::Vertex2dType type_ = ZcDb::k2dVertex;
  bool tangentUsed_ = false;
};
