#pragma once
// ZcDbEntity: an object that lives in a block (model space, paper space or a block
// definition) and has a geometric meaning.
#include "zcad/ZcString.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/ge/ZcGeMatrix3d.h"
#include "zcad/ge/ZcGePlane.h"

class ZcDbEntity : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbEntity)
  ~ZcDbEntity() override;

  // The block table record that owns the entity.
  ZcDbObjectId blockId() const { return ownerId(); }

  // Layer, by name or by layer table record id. setLayer refuses a layer that the entity's
  // database (or the working database for a new entity) does not have: eKeyNotFound.
  // Layer name; "0" for an entity that has no layer of a database yet.
  ZcString layer() const;
  ZcDbObjectId layerId() const { return layerId_; }
  Zcad::ErrorStatus setLayer(const ZTCHAR* layerName, bool doSubents = true);
  Zcad::ErrorStatus setLayer(ZcDbObjectId layerId, bool doSubents = true);

  ZcCmColor color() const { return color_; }
  Zcad::ErrorStatus setColor(const ZcCmColor& color, bool doSubents = true);
  Zdesk::UInt16 colorIndex() const { return color_.colorIndex(); }
  Zcad::ErrorStatus setColorIndex(Zdesk::UInt16 colorIndex, bool doSubents = true);

  ZcString linetype() const;
  ZcDbObjectId linetypeId() const { return linetypeId_; }
  Zcad::ErrorStatus setLinetype(ZcDbObjectId linetypeId, bool doSubents = true);
  Zcad::ErrorStatus setLinetype(const ZTCHAR* linetypeName, bool doSubents = true);
  double linetypeScale() const { return linetypeScale_; }
  Zcad::ErrorStatus setLinetypeScale(double scale, bool doSubents = true);
  ZcDb::LineWeight lineWeight() const { return static_cast<ZcDb::LineWeight>(lineWeight_); }
  Zcad::ErrorStatus setLineWeight(ZcDb::LineWeight weight, bool doSubents = true);

  ZcDb::Visibility visibility() const { return static_cast<ZcDb::Visibility>(visibility_); }
  Zcad::ErrorStatus setVisibility(ZcDb::Visibility visibility, bool doSubents = true);

  // Current layer, colour, linetype, linetype scale and line weight of the database
  // (the working database when null).
  void setDatabaseDefaults(ZcDbDatabase* db = nullptr);
  // Same properties as another entity.
  Zcad::ErrorStatus setPropertiesFrom(const ZcDbEntity* entity, bool doSubents = true);

  // Geometry.
  virtual Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const;
  virtual Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform);
  // A transformed copy (not in a database). Entities whose kind cannot take the transform
  // (a circle under non-uniform scaling) answer the nearest kind that can.
  virtual Zcad::ErrorStatus getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const;
  virtual Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const;
  bool isPlanar() const;

  // Points where this entity meets `entity`, in world coordinates, appended to `points`.
  // intType says which operands count beyond their ends. Entities without curve geometry
  // answer eNotApplicable; a null or non-finite argument eInvalidInput.
  virtual Zcad::ErrorStatus intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                          ZcGePoint3dArray& points, Zdesk::GsMarker thisGsMarker = 0,
                                          Zdesk::GsMarker otherGsMarker = 0) const;
  // As above, both entities seen projected onto projPlane along its normal; the points
  // answered lie on this entity.
  virtual Zcad::ErrorStatus intersectWith(const ZcDbEntity* entity, ZcDb::Intersect intType,
                                          const ZcGePlane& projPlane, ZcGePoint3dArray& points,
                                          Zdesk::GsMarker thisGsMarker = 0,
                                          Zdesk::GsMarker otherGsMarker = 0) const;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbEntity();
  ZcDbEntity(const ZcDbEntity&) = default;
  ZcDbEntity& operator=(const ZcDbEntity&) = default;

 private:
  friend class ZcDbFileAccess;
  // Layer and linetype are table record ids, as in the drawing file: a plain entity must
  // stay small. A null id means layer "0" / linetype "ByLayer" (an entity not yet given a
  // database's defaults).
  ZcDbObjectId layerId_;
  ZcDbObjectId linetypeId_;
  ZcCmColor color_;
  double linetypeScale_ = 1.0;
  Zdesk::Int16 lineWeight_ = ZcDb::kLnWtByLayer;
  Zdesk::UInt8 visibility_ = ZcDb::kVisible;
};
