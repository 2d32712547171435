#pragma once
// ZcDbPoint: a point entity at `position` (world coordinates), extruded by thickness along its
// normal. ecsRotation is the angle of the point's display symbol about the normal, measured in
// the object coordinate system of the normal (it has no effect on the geometry).
//
// Input: setters refuse non-finite values and a zero normal with eInvalidInput and store
// nothing; a normal is stored normalised. The constructor keeps the origin for a non-finite
// position.
#include "zcad/db/ZcDbEntity.h"

class ZcDbPoint : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbPoint)
  ZCDB_DECLARE_VALUE_COPY(ZcDbPoint)

  ZcDbPoint();
  explicit ZcDbPoint(const ZcGePoint3d& position);
  ~ZcDbPoint() override;

  ZcGePoint3d position() const;
  Zcad::ErrorStatus setPosition(const ZcGePoint3d& position);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double ecsRotation() const;
  Zcad::ErrorStatus setEcsRotation(double rotation);

  // Extents: the point, and its extruded copy when the thickness is not 0. transformBy
  // takes every affine matrix; the normal and the symbol's direction follow it.
  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbPoint(const ZcDbPoint&) = default;
  ZcDbPoint& operator=(const ZcDbPoint&) = default;

 private:
  ZcGePoint3d position_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  double thickness_ = 0.0;
  double ecsRotation_ = 0.0;
};
