#pragma once
// ZcDbVertex: base of the vertices of old-style polylines (ZcDb2dVertex, ZcDb3dPolylineVertex).
// A vertex is an entity of its own: once its polyline is in a database every vertex has its
// own id and handle and is owned by the polyline (ownerId() is the polyline's id); before
// that the polyline holds it.
#include "zcad/db/ZcDbEntity.h"

class ZcDbVertex : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbVertex)
  ~ZcDbVertex() override;

 protected:
  ZcDbVertex();
  ZcDbVertex(const ZcDbVertex&) = default;
  ZcDbVertex& operator=(const ZcDbVertex&) = default;
};
