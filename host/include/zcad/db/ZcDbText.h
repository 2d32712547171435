#pragma once
// ZcDbText: a single line of text ("TEXT").
//
// Placement. position() is the start of the baseline (world coordinates). For the default
// alignment (left, baseline) it is where the text is; for every other alignment the
// alignment point is where the text is, and the position is derived from it with the measured
// width of the string: changing the alignment point, the modes, the string, the height, the
// width factor, the rotation, the style or the mirror flags moves the position (as
// adjustAlignment() does). setPosition() on such a text stores the point until the next of
// those changes. "Align" and "fit" texts run from position() to alignmentPoint(): their
// rotation and their height (align) or width factor (fit) follow from the two points.
//
// Measure. Widths are real font metrics (docs/fonts.md): a text of height h has capital
// letters h high. The box of the text runs along the baseline over the advance widths of its
// characters and from the lowest descender (or the baseline) to the cap height (or the
// highest glyph, if higher). %%c, %%d, %%p are measured as Ø, °, ±; %%u, %%o and %%k draw
// nothing.
//
// Mirroring. isMirroredInX draws the text backwards (reading against its direction),
// isMirroredInY upside down. transformBy() with a mirror follows the database's MIRRTEXT: 1
// mirrors the text (toggling one of the flags); 0, the default, keeps it readable: the text
// then reads in its usual direction inside the mirrored place of its box.
//
// Bad input: non-finite numbers, a zero normal, a negative height, a width factor that is not
// positive or an oblique angle beyond 85 degrees are refused with eInvalidInput and change
// nothing. An empty string is allowed; it has no extents (eInvalidExtents).
#include "zcad/ZcString.h"
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbEntity.h"

class ZcDbText : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbText)
  ZCDB_DECLARE_VALUE_COPY(ZcDbText)

  // Height 0.2, style null (measured with the default shape font), at the origin.
  ZcDbText();
  // A null style takes the working database's current style; a height of 0 (or one that is
  // not finite and positive) takes the style's fixed height, else the database's TEXTSIZE.
  ZcDbText(const ZcGePoint3d& position, const ZTCHAR* text, ZcDbObjectId style = ZcDbObjectId::kNull,
           double height = 0.0, double rotation = 0.0);
  ~ZcDbText() override;

  ZcGePoint3d position() const;
  Zcad::ErrorStatus setPosition(const ZcGePoint3d& position);
  ZcGePoint3d alignmentPoint() const;
  Zcad::ErrorStatus setAlignmentPoint(const ZcGePoint3d& alignmentPoint);
  // Left and baseline: the position is the placement point.
  bool isDefaultAlignment() const;

  ZcGeVector3d normal() const;
  Zcad::ErrorStatus setNormal(const ZcGeVector3d& normal);
  double thickness() const;
  Zcad::ErrorStatus setThickness(double thickness);
  // Slant of the characters in radians, kept in [0, 2*pi) (-15 degrees is 345 degrees).
  double oblique() const;
  Zcad::ErrorStatus setOblique(double oblique);
  // Angle of the baseline from the x axis of the normal's object coordinate system.
  double rotation() const;
  Zcad::ErrorStatus setRotation(double rotation);
  double height() const;
  Zcad::ErrorStatus setHeight(double height);
  double widthFactor() const;
  Zcad::ErrorStatus setWidthFactor(double widthFactor);

  // The string with its %% codes, as stored.
  ZcString textString() const;
  // The same, owned by the text: valid until the string changes.
  const ZTCHAR* textStringConst() const;
  Zcad::ErrorStatus setTextString(const ZTCHAR* text);

  ZcDbObjectId textStyle() const;
  Zcad::ErrorStatus setTextStyle(ZcDbObjectId styleId);

  bool isMirroredInX() const;
  Zcad::ErrorStatus mirrorInX(bool mirror);
  bool isMirroredInY() const;
  Zcad::ErrorStatus mirrorInY(bool mirror);

  ZcDb::TextHorzMode horizontalMode() const;
  Zcad::ErrorStatus setHorizontalMode(ZcDb::TextHorzMode mode);
  ZcDb::TextVertMode verticalMode() const;
  Zcad::ErrorStatus setVerticalMode(ZcDb::TextVertMode mode);

  // Derives the position (and, for align and fit, rotation and height or width factor) from
  // the alignment point with the current font metrics. `db` is unused: the style id knows
  // its database.
  Zcad::ErrorStatus adjustAlignment(const ZcDbDatabase* db = nullptr);

  // Width of the string along the baseline (height and width factor applied).
  double measuredWidth() const;
  // Corners of the text's box in world coordinates: top-left, top-right, bottom-left,
  // bottom-right as the text reads. eInvalidExtents for an empty string.
  Zcad::ErrorStatus getBoundingPoints(ZcGePoint3dArray& points) const;

  Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
  Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform) override;
  Zcad::ErrorStatus getPlane(ZcGePlane& plane, bool& isPlanar) const override;

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbText(const ZcDbText&) = default;
  ZcDbText& operator=(const ZcDbText&) = default;

 private:
  struct Run;
  struct Frame;
  Run measure() const;
  Frame frame() const;
  void realign();
  Zcad::ErrorStatus transformWith(const ZcGeMatrix3d& xform);

  ZcGePoint3d position_;
  ZcGePoint3d alignmentPoint_;
  ZcGeVector3d normal_ = ZcGeVector3d::kZAxis;
  ZcString text_;
  ZcDbObjectId style_;
  double thickness_ = 0.0;
  double oblique_ = 0.0;
  double rotation_ = 0.0;
  double height_ = 0.2;
  double widthFactor_ = 1.0;
  ZcDb::TextHorzMode horizontalMode_ = ZcDb::kTextLeft;
  ZcDb::TextVertMode verticalMode_ = ZcDb::kTextBase;
  bool mirroredInX_ = false;
  bool mirroredInY_ = false;
};
