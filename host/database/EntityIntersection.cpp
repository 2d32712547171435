// ZcDbEntity::intersectWith: the intersections of two entities' curve geometry.
#include "zcad/db/ZcDbEntity.h"

Zcad::ErrorStatus ZcDbEntity::intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                            ZcGePoint3dArray& points, Zdesk::GsMarker /*thisGsMarker*/,
                                            Zdesk::GsMarker /*otherGsMarker*/) const {
  (void)entity;
  (void)intType;
  (void)points;
  return Zcad::eNotImplementedYet;
}

Zcad::ErrorStatus ZcDbEntity::intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                            const ZcGePlane& projPlane, ZcGePoint3dArray& points,
                                            Zdesk::GsMarker /*thisGsMarker*/,
                                            Zdesk::GsMarker /*otherGsMarker*/) const {
  (void)entity;
  (void)intType;
  (void)projPlane;
  (void)points;
  return Zcad::eNotImplementedYet;
}
