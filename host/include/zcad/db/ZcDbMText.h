#pragma once
// ZcDbMText: paragraphs of formatted text ("MTEXT").
//
// Contents are kept verbatim, inline codes included (\P paragraph, \~ no-break space,
// {\fArial|b0;...} font switches, \H height, \S stacking, \U+XXXX, ...). text() gives them
// without formatting. The size is measured from the contents with real font metrics
// (docs/fonts.md): paragraphs wrap at width() when it is above 0 (between words, and between
// any two CJK characters); lines are 5/3 * lineSpacingFactor * textHeight apart.
//
// Placement. location() is the attachment point of the text's box: kTopLeft puts the box
// below and right of it, kMiddleCenter centres it, and so on. The box is actualWidth() wide
// (the widest line) and actualHeight() high (the first line's cap height to the last
// baseline, and the last line's descenders), along direction() in the plane of normal().
//
// Mirroring never makes MText unreadable: transformBy() with a mirror puts the text, reading
// as usual, into the mirrored place of its box. Non-uniform scaling is refused (eNotApplicable).
//
// Bad input: non-finite numbers, zero or non-positive text heights, negative widths, line
// spacing factors outside [0.25, 4], attachments outside 1..9, zero directions or normals are
// refused with eInvalidInput and change nothing. Empty contents have no extents
// (eInvalidExtents).
#include "zcad/ZcString.h"
#include "zcad/db/ZcDbEntity.h"

namespace ZcDb {
enum LineSpacingStyle : int { kAtLeast = 1, kExactly = 2 };
}  // namespace ZcDb

class ZcDbMText : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbMText)
  ZCDB_DECLARE_VALUE_COPY(ZcDbMText)

  enum AttachmentPoint : int {
    kTopLeft = 1,
    kTopCenter = 2,
    kTopRight = 3,
    kMiddleLeft = 4,
    kMiddleCenter = 5,
    kMiddleRight = 6,
    kBottomLeft = 7,
    kBottomCenter = 8,
    kBottomRight = 9,
  };

  // Top-left at the origin, no wrapping; the working database's current text style and
  // TEXTSIZE when there is one (else style null and height 0.2).
  ZcDbMText();
  ~ZcDbMText() override;

  ZcGePoint3d location() const;
  Zcad::ErrorStatus setLocation(const ZcGePoint3d& location);
  ZcGeVector3d normal() const;
  // Keeps the rotation angle (in the new normal's object coordinate system).
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  // Unit x axis of the text in world coordinates.
  ZcGeVector3d direction() const;
  // Projected into the text's plane; a direction along the normal is refused.
  Zcad::ErrorStatus setDirection(const ZcGeVector3d& direction);
  // Angle of direction() from the x axis of the normal's object coordinate system.
  double rotation() const;
  Zcad::ErrorStatus setRotation(double rotation);

  // Wrap width; 0: no wrapping.
  double width() const;
  Zcad::ErrorStatus setWidth(double width);
  // Height of the column as the user framed it (kept, not used for measuring).
  double height() const;
  Zcad::ErrorStatus setHeight(double height);
  double textHeight() const;
  Zcad::ErrorStatus setTextHeight(double height);
  AttachmentPoint attachment() const;
  Zcad::ErrorStatus setAttachment(AttachmentPoint attachment);
  double lineSpacingFactor() const;
  Zcad::ErrorStatus setLineSpacingFactor(double factor);
  ZcDb::LineSpacingStyle lineSpacingStyle() const;
  Zcad::ErrorStatus setLineSpacingStyle(ZcDb::LineSpacingStyle style);
  ZcDbObjectId textStyle() const;
  Zcad::ErrorStatus setTextStyle(ZcDbObjectId styleId);

  ZcString contents() const;
  const ZTCHAR* contentsConst() const;
  Zcad::ErrorStatus setContents(const ZTCHAR* contents);
  // Contents without formatting: paragraphs end with '\n', stacks read "top/bottom".
  ZcString text() const;

  // Measured size (see the file comment).
  double actualWidth() const;
  double actualHeight() const;
  // Number of lines after wrapping.
  int lineCount() const;
  // Corners of the box in world coordinates: top-left, top-right, bottom-left, bottom-right.
  Zcad::ErrorStatus getBoundingPoints(ZcGePoint3dArray& points) const;

  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbMText(const ZcDbMText&) = default;
  ZcDbMText& operator=(const ZcDbMText&) = default;

 private:
  struct Box;
  Box box() const;
  ZcGeVector3d up() const { return normal_.crossProduct(direction_); }

  ZcGePoint3d location_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  ZcGeVector3d direction_ = ZcGeVector3d::kXAxis;
  ZcString contents_;
  ZcDbObjectId style_;
  double width_ = 0.0;
  double height_ = 0.0;
  double textHeight_ = 0.2;
  double lineSpacingFactor_ = 1.0;
  AttachmentPoint attachment_ = kTopLeft;
  ZcDb::LineSpacingStyle lineSpacingStyle_ = ZcDb::kAtLeast;
};
