#include "zcad/db/ZcDbMText.h"

#include <cmath>
#include <limits>

#include "database/ConicGeometry.h"
#include "database/MTextLayout.h"
#include "database/MTextParser.h"
#include "database/PlanarTransform.h"
#include "database/TextStyleFont.h"
#include "database/ZcDbValidate.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

ZcRxObject* createMText() { return new ZcDbMText(); }

constexpr double kMinLineSpacing = 0.25;
constexpr double kMaxLineSpacing = 4.0;
// Relative difference below which two axis scales count as one uniform scale.
constexpr double kUniformTol = 1e-9;

ZcGeVector3d directionAt(const ZcGeVector3d& normal, double angle) {
  ZcGeVector3d x, y;
  vtcad::db::ocsAxes(normal, x, y);
  return x * std::cos(angle) + y * std::sin(angle);
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbMText, ZcDbEntity, L"AcDbMText", L"MTEXT", createMText)

namespace {
// Registered when the library loads, so that readers find the class by its names.
[[maybe_unused]] const bool registered = (ZcDbMText::desc(), true);
}  // namespace

// The measured text's box in the text's own axes (x along direction(), y up), relative to
// the location.
struct ZcDbMText::Box {
  double left = 0.0;
  double right = 0.0;
  double bottom = 0.0;
  double top = 0.0;
  int lines = 0;
  double width = 0.0;
  double height = 0.0;
};

ZcDbMText::ZcDbMText() {
  if (ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase()) {
    style_ = db->textstyle();
    if (std::isfinite(db->textsize()) && db->textsize() > 0.0) textHeight_ = db->textsize();
  }
}

ZcDbMText::~ZcDbMText() = default;

ZcGePoint3d ZcDbMText::location() const {
  assertReadEnabled();
  return location_;
}

Zcad::ErrorStatus ZcDbMText::setLocation(const ZcGePoint3d& location) {
  if (!zcdbFinite(location)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  location_ = location;
  return Zcad::eOk;
}

ZcGeVector3d ZcDbMText::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbMText::setNormal(const ZcGeVector3d& normal) {
  if (!zcdbFinite(normal) || normal.isZeroLength()) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  const double angle = vtcad::db::ocsAngleOf(normal_, direction_);
  normal_ = normal.normal();
  direction_ = directionAt(normal_, angle);
  return Zcad::eOk;
}

ZcGeVector3d ZcDbMText::direction() const {
  assertReadEnabled();
  return direction_;
}

Zcad::ErrorStatus ZcDbMText::setDirection(const ZcGeVector3d& direction) {
  if (!zcdbFinite(direction)) return Zcad::eInvalidInput;
  const ZcGeVector3d inPlane = direction - normal_ * direction.dotProduct(normal_);
  if (inPlane.isZeroLength()) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  // A direction that is a unit vector to the last bits (as read from a file) is kept as it is:
  // normalising it again moves its last digit, and a drawing saved twice would differ.
  const double length = inPlane.length();
  direction_ =
      std::abs(length - 1.0) <= 4.0 * std::numeric_limits<double>::epsilon() ? inPlane : inPlane / length;
  return Zcad::eOk;
}

double ZcDbMText::rotation() const {
  assertReadEnabled();
  return vtcad::db::ocsAngleOf(normal_, direction_);
}

Zcad::ErrorStatus ZcDbMText::setRotation(double rotation) {
  if (!std::isfinite(rotation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  direction_ = directionAt(normal_, rotation);
  return Zcad::eOk;
}

double ZcDbMText::width() const {
  assertReadEnabled();
  return width_;
}

Zcad::ErrorStatus ZcDbMText::setWidth(double width) {
  if (!std::isfinite(width) || width < 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  width_ = width;
  return Zcad::eOk;
}

double ZcDbMText::height() const {
  assertReadEnabled();
  return height_;
}

Zcad::ErrorStatus ZcDbMText::setHeight(double height) {
  if (!std::isfinite(height) || height < 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  height_ = height;
  return Zcad::eOk;
}

double ZcDbMText::textHeight() const {
  assertReadEnabled();
  return textHeight_;
}

Zcad::ErrorStatus ZcDbMText::setTextHeight(double height) {
  if (!std::isfinite(height) || height <= 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  textHeight_ = height;
  return Zcad::eOk;
}

ZcDbMText::AttachmentPoint ZcDbMText::attachment() const {
  assertReadEnabled();
  return attachment_;
}

Zcad::ErrorStatus ZcDbMText::setAttachment(AttachmentPoint attachment) {
  if (attachment < kTopLeft || attachment > kBottomRight) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  attachment_ = attachment;
  return Zcad::eOk;
}

double ZcDbMText::lineSpacingFactor() const {
  assertReadEnabled();
  return lineSpacingFactor_;
}

Zcad::ErrorStatus ZcDbMText::setLineSpacingFactor(double factor) {
  if (!std::isfinite(factor) || factor < kMinLineSpacing || factor > kMaxLineSpacing)
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  lineSpacingFactor_ = factor;
  return Zcad::eOk;
}

ZcDb::LineSpacingStyle ZcDbMText::lineSpacingStyle() const {
  assertReadEnabled();
  return lineSpacingStyle_;
}

Zcad::ErrorStatus ZcDbMText::setLineSpacingStyle(ZcDb::LineSpacingStyle style) {
  if (style != ZcDb::kAtLeast && style != ZcDb::kExactly) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  lineSpacingStyle_ = style;
  return Zcad::eOk;
}

ZcDbObjectId ZcDbMText::textStyle() const {
  assertReadEnabled();
  return style_;
}

Zcad::ErrorStatus ZcDbMText::setTextStyle(ZcDbObjectId styleId) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  style_ = styleId;
  return Zcad::eOk;
}

ZcString ZcDbMText::contents() const {
  assertReadEnabled();
  return contents_;
}

const ZTCHAR* ZcDbMText::contentsConst() const {
  assertReadEnabled();
  return contents_.kwszPtr();
}

Zcad::ErrorStatus ZcDbMText::setContents(const ZTCHAR* contents) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  contents_ = ZcString(contents);
  return Zcad::eOk;
}

ZcString ZcDbMText::text() const {
  assertReadEnabled();
  return vtcad::db::parseMText(contents_.str(), textHeight_, 1.0).plainText();
}

ZcDbMText::Box ZcDbMText::box() const {
  const vtcad::db::MTextLayoutResult layout = vtcad::db::layoutOfMText(*this, /*placeGlyphs=*/false).layout;

  Box b;
  b.lines = static_cast<int>(layout.lines.size());
  b.width = layout.width;
  b.height = layout.height;
  const int column = (attachment_ - 1) % 3;  // 0 left, 1 centre, 2 right
  const int row = (attachment_ - 1) / 3;     // 0 top, 1 middle, 2 bottom
  b.left = -0.5 * column * b.width;
  b.right = b.left + b.width;
  b.top = 0.5 * row * b.height;
  b.bottom = b.top - b.height;
  return b;
}

namespace vtcad::db {

MTextEntityLayout layoutOfMText(const ZcDbMText& mtext, bool placeGlyphs) {
  const TextStyleData style = readTextStyle(mtext.textStyle());
  MTextEntityLayout result;
  result.styleFont = style.font;
  result.contents = parseMText(mtext.contentsConst(), mtext.textHeight(), style.xScale);
  MTextLayoutParams params;
  params.styleFont = style.font;
  params.wrapWidth = mtext.width();
  params.lineSpacingFactor = mtext.lineSpacingFactor();
  params.lineSpacingAtLeast = mtext.lineSpacingStyle() == ZcDb::kAtLeast;
  params.textHeight = mtext.textHeight();
  params.placeGlyphs = placeGlyphs;
  result.layout = layoutMText(result.contents, params);
  return result;
}

}  // namespace vtcad::db

double ZcDbMText::actualWidth() const {
  assertReadEnabled();
  return box().width;
}

double ZcDbMText::actualHeight() const {
  assertReadEnabled();
  return box().height;
}

int ZcDbMText::lineCount() const {
  assertReadEnabled();
  return box().lines;
}

Zcad::ErrorStatus ZcDbMText::getBoundingPoints(ZcGePoint3dArray& points) const {
  assertReadEnabled();
  const Box b = box();
  if (b.lines == 0) return Zcad::eInvalidExtents;
  const ZcGeVector3d y = up();
  points.removeAll();
  points.append(location_ + direction_ * b.left + y * b.top);
  points.append(location_ + direction_ * b.right + y * b.top);
  points.append(location_ + direction_ * b.left + y * b.bottom);
  points.append(location_ + direction_ * b.right + y * b.bottom);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  ZcGePoint3dArray corners;
  const Zcad::ErrorStatus es = getBoundingPoints(corners);
  if (es != Zcad::eOk) return es;
  extents = ZcDbExtents();
  for (const ZcGePoint3d& corner : corners) extents.addPoint(corner);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(location_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::transformBy(const ZcGeMatrix3d& xform) {
  if (!vtcad::db::isFiniteAffine(xform)) return Zcad::eInvalidInput;
  if (vtcad::db::transformedPlaneNormal(xform, normal_).isZeroLength()) return Zcad::eInvalidInput;

  ZcGeMatrix3d matrix = xform;
  const ZcGeVector3d y = up();
  if (vtcad::db::linearDeterminant(matrix) < 0.0) {
    // MText stays readable: the mirror is undone inside the mirrored box.
    const Box b = box();
    const ZcGePoint3d center =
        location_ + direction_ * (0.5 * (b.left + b.right)) + y * (0.5 * (b.bottom + b.top));
    matrix = vtcad::db::readableMirror(matrix, center, direction_, y, normal_);
  }

  const ZcGeVector3d along = matrix * direction_;
  const ZcGeVector3d upImage = matrix * y;
  const double scale = along.length();
  const ZcGeVector3d newNormal = vtcad::db::transformedPlaneNormal(matrix, normal_);
  if (!(scale > 0.0) || newNormal.isZeroLength()) return Zcad::eInvalidInput;
  // Text height and wrap width take one scale: the axes must stay perpendicular and equal.
  const bool uniform = std::fabs(upImage.length() - scale) <= kUniformTol * scale &&
                       std::fabs(upImage.dotProduct(along)) <= kUniformTol * scale * scale;
  if (!uniform) return Zcad::eNotApplicable;

  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  location_ = matrix * location_;
  normal_ = newNormal;
  direction_ = along / scale;
  textHeight_ *= scale;
  width_ *= scale;
  height_ *= scale;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbMText::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbEntity::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(location_);
  filer->writeVector3d(normal_);
  filer->writeVector3d(direction_);
  filer->writeString(contents_.str());
  filer->writeSoftPointerId(style_);
  filer->writeDouble(width_);
  filer->writeDouble(height_);
  filer->writeDouble(textHeight_);
  filer->writeDouble(lineSpacingFactor_);
  filer->writeInt16(static_cast<Zdesk::Int16>(attachment_));
  filer->writeInt16(static_cast<Zdesk::Int16>(lineSpacingStyle_));
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbMText::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbEntity::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d location;
  ZcGeVector3d normal, direction;
  std::wstring contents;
  ZcDbObjectId style;
  double width = 0.0, height = 0.0, textHeight = 0.0, spacing = 0.0;
  Zdesk::Int16 attachment = 0, spacingStyle = 0;
  filer->readPoint3d(&location);
  filer->readVector3d(&normal);
  filer->readVector3d(&direction);
  filer->readString(&contents);
  filer->readSoftPointerId(&style);
  filer->readDouble(&width);
  filer->readDouble(&height);
  filer->readDouble(&textHeight);
  filer->readDouble(&spacing);
  filer->readInt16(&attachment);
  filer->readInt16(&spacingStyle);
  if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
  const bool valid = zcdbFinite(location) && zcdbFinite(normal) && !normal.isZeroLength() &&
                     zcdbFinite(direction) && !direction.isZeroLength() && std::isfinite(width) &&
                     width >= 0.0 && std::isfinite(height) && height >= 0.0 && std::isfinite(textHeight) &&
                     textHeight > 0.0 && std::isfinite(spacing) && spacing >= kMinLineSpacing &&
                     spacing <= kMaxLineSpacing && attachment >= kTopLeft && attachment <= kBottomRight &&
                     (spacingStyle == ZcDb::kAtLeast || spacingStyle == ZcDb::kExactly);
  if (!valid) return Zcad::eInvalidInput;
  location_ = location;
  normal_ = normal.normal();
  direction_ = direction.normal();
  contents_ = ZcString(std::move(contents));
  style_ = style;
  width_ = width;
  height_ = height;
  textHeight_ = textHeight;
  lineSpacingFactor_ = spacing;
  attachment_ = static_cast<AttachmentPoint>(attachment);
  lineSpacingStyle_ = static_cast<ZcDb::LineSpacingStyle>(spacingStyle);
  return Zcad::eOk;
}
