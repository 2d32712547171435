#pragma once
// ZcDbBlockReference: an insertion of a block definition ("INSERT").
//
// The block's entities appear through blockTransform(): the block's base point (its record's
// origin) goes to position(), scaled by scaleFactors() along the block's axes, turned by
// rotation() about the normal, in the plane of normal() (the x axis of the normal's object
// coordinate system is rotation 0).
//
// Extents are those of the block's visible entities carried through the transform (each
// entity's own transformed extents, so an arc stays an arc under rotation), and of nested
// references recursively. A block that inserts itself, directly or through others, is
// expanded once per chain: the inner insertion contributes nothing, so the extents stay
// finite. Nesting deeper than kMaxNesting is cut there too.
//
// transformBy composes with the insertion's transform: mirrors become negative x scale
// factors and non-uniform scaling along the block's axes lands in the scale factors. A
// transform that would shear the block (non-uniform scaling across its axes) cannot be held
// by an insertion: eNotApplicable, nothing changed.
//
// Attributes (ATTRIB entities following an insertion) are not supported here; the drawing
// file reader keeps them as data it does not interpret.
//
// Bad input: non-finite numbers, a zero scale factor or a zero normal are refused with
// eInvalidInput and change nothing.
#include "zcad/db/ZcDbEntity.h"
#include "zcad/ge/ZcGeScale3d.h"

class ZcDbBlockReference : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbBlockReference)
  ZCDB_DECLARE_VALUE_COPY(ZcDbBlockReference)

  static constexpr int kMaxNesting = 64;

  ZcDbBlockReference();
  ZcDbBlockReference(const ZcGePoint3d& position, ZcDbObjectId blockTableRecord);
  ~ZcDbBlockReference() override;

  ZcDbObjectId blockTableRecord() const;
  virtual Zcad::ErrorStatus setBlockTableRecord(ZcDbObjectId blockTableRecord);
  ZcGePoint3d position() const;
  virtual Zcad::ErrorStatus setPosition(const ZcGePoint3d& position);
  ZcGeScale3d scaleFactors() const;
  virtual Zcad::ErrorStatus setScaleFactors(const ZcGeScale3d& scale);
  double rotation() const;
  virtual Zcad::ErrorStatus setRotation(double rotation);
  ZcGeVector3d normal() const;
  virtual Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);

  // Block coordinates to world coordinates (reads the block's origin: a record that cannot
  // be opened counts as based at the origin).
  ZcGeMatrix3d blockTransform() const;
  // Position, scale factors, rotation and normal from a matrix of that shape; a matrix that
  // shears or flattens the block is refused (eNotApplicable, eInvalidInput).
  virtual Zcad::ErrorStatus setBlockTransform(const ZcGeMatrix3d& transform);

  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbBlockReference(const ZcDbBlockReference&) = default;
  ZcDbBlockReference& operator=(const ZcDbBlockReference&) = default;

 private:
  ZcGePoint3d blockOrigin() const;
  // Sets position, normal, rotation and scale factors from a block-to-world matrix; the y
  // factor gets the sign ySign.
  Zcad::ErrorStatus decompose(const ZcGeMatrix3d& transform, const ZcGeVector3d& newNormal, double ySign);

  ZcGePoint3d position_;
  ZcDbObjectId blockTableRecord_;
  ZcGeScale3d scale_;
  double rotation_ = 0.0;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
};
