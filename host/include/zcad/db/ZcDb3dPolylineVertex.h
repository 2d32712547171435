#pragma once
// ZcDb3dPolylineVertex ("VERTEX"): a vertex of a ZcDb3dPolyline, a world point. vertexType()
// tells the vertices a user made (k3dSimpleVertex) from the frame of a spline-fit polyline
// (k3dControlVertex) and the points its fitting generated (k3dFitVertex). Non-finite
// positions answer eInvalidInput and change nothing.
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbVertex.h"

class ZcDb3dPolylineVertex : public ZcDbVertex {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDb3dPolylineVertex)
  ZCDB_DECLARE_VALUE_COPY(ZcDb3dPolylineVertex)

  ZcDb3dPolylineVertex();
  // A non-finite position is replaced by the origin (a constructor cannot answer a status).
  explicit ZcDb3dPolylineVertex(const ZcGePoint3d& position);
  ~ZcDb3dPolylineVertex() override;

  ZcDb::Vertex3dType vertexType() const;
  ZcGePoint3d position() const;
  Zcad::ErrorStatus setPosition(const ZcGePoint3d& position);

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDb3dPolylineVertex(const ZcDb3dPolylineVertex&) = default;
  ZcDb3dPolylineVertex& operator=(const ZcDb3dPolylineVertex&) = default;

 private:
  friend class ZcDb3dPolyline;
  friend class ZcDbFileAccess;

  ZcGePoint3d position_;
  ZcDb::Vertex3dType type_ = ZcDb::k3dSimpleVertex;
};
