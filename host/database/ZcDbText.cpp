#include "zcad/db/ZcDbText.h"

#include <algorithm>
#include <cmath>

#include "database/ConicGeometry.h"
#include "database/FontService.h"
#include "database/PlanarTransform.h"
#include "database/TextCodes.h"
#include "database/TextStyleFont.h"
#include "database/ZcDbValidate.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

using vtcad::db::FontService;

ZcRxObject* createText() { return new ZcDbText(); }

constexpr double kMaxOblique = 85.0 * ZcGe::kPi / 180.0;
constexpr double kDefaultHeight = 0.2;

// The oblique angle as a signed slant in (-pi, pi].
double signedAngle(double angle) {
  const double a = vtcad::db::normalizeAngle(angle);
  return a > ZcGe::kPi ? a - ZcGe::kTwoPi : a;
}

ZcDbDatabase* databaseFor(const ZcDbObject* object, ZcDbObjectId styleId) {
  if (ZcDbDatabase* db = object->database()) return db;
  if (ZcDbDatabase* db = styleId.database()) return db;
  return zcdbHostApplicationServices()->workingDatabase();
}

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbText, ZcDbEntity, L"AcDbText", L"TEXT", createText)

namespace {
// Registered when the library loads, so that readers find the class by its names.
[[maybe_unused]] const bool registered = (ZcDbText::desc(), true);
}  // namespace

// The measured string in drawing units (height and width factor applied).
struct ZcDbText::Run {
  double width = 0.0;
  double bottom = 0.0;     // lowest ink below the baseline (0 or negative)
  double top = 0.0;        // cap height, or the highest ink if higher
  double descent = 0.0;    // the font's descender depth (positive)
  double unitWidth = 0.0;  // width at height 1 and width factor 1
  bool empty = true;
};

// The text's directions in world coordinates: `along` and `up` include the mirror flags, so
// a point (a, b) of the text's box is position + (a + b * shear) * along + b * up.
struct ZcDbText::Frame {
  ZcGeVector3d u;  // the rotation's direction, whatever the flags
  ZcGeVector3d along;
  ZcGeVector3d up;
  double shear = 0.0;

  ZcGePoint3d at(const ZcGePoint3d& origin, double a, double b) const {
    return origin + along * (a + b * shear) + up * b;
  }
};

ZcDbText::ZcDbText() = default;

ZcDbText::ZcDbText(const ZcGePoint3d& position, const ZTCHAR* text, ZcDbObjectId style, double height,
                   double rotation)
    : position_(zcdbFinite(position) ? position : ZcGePoint3d::kOrigin),
      alignmentPoint_(position_),
      text_(text),
      style_(style),
      rotation_(std::isfinite(rotation) ? vtcad::db::normalizeAngle(rotation) : 0.0) {
  ZcDbDatabase* working = zcdbHostApplicationServices()->workingDatabase();
  if (style_.isNull() && working) style_ = working->textstyle();
  if (std::isfinite(height) && height > 0.0) {
    height_ = height;
    return;
  }
  const vtcad::db::TextStyleData data = vtcad::db::readTextStyle(style_);
  ZcDbDatabase* db = databaseFor(this, style_);
  if (data.textSize > 0.0) {
    height_ = data.textSize;
  } else if (db && std::isfinite(db->textsize()) && db->textsize() > 0.0) {
    height_ = db->textsize();
  } else {
    height_ = kDefaultHeight;
  }
}

ZcDbText::~ZcDbText() = default;

ZcGePoint3d ZcDbText::position() const {
  assertReadEnabled();
  return position_;
}

Zcad::ErrorStatus ZcDbText::setPosition(const ZcGePoint3d& position) {
  if (!zcdbFinite(position)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  position_ = position;
  // Align and fit texts start at the position: it is one of their two defining points.
  if (horizontalMode_ == ZcDb::kTextAlign || horizontalMode_ == ZcDb::kTextFit) realign();
  return Zcad::eOk;
}

ZcGePoint3d ZcDbText::alignmentPoint() const {
  assertReadEnabled();
  return alignmentPoint_;
}

Zcad::ErrorStatus ZcDbText::setAlignmentPoint(const ZcGePoint3d& alignmentPoint) {
  if (!zcdbFinite(alignmentPoint)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  alignmentPoint_ = alignmentPoint;
  realign();
  return Zcad::eOk;
}

bool ZcDbText::isDefaultAlignment() const {
  assertReadEnabled();
  return horizontalMode_ == ZcDb::kTextLeft && verticalMode_ == ZcDb::kTextBase;
}

ZcGeVector3d ZcDbText::normal() const {
  assertReadEnabled();
  return normal_;
}

Zcad::ErrorStatus ZcDbText::setNormal(const ZcGeVector3d& normal) {
  if (!zcdbFinite(normal) || normal.isZeroLength()) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  normal_ = normal.normal();
  realign();
  return Zcad::eOk;
}

double ZcDbText::thickness() const {
  assertReadEnabled();
  return thickness_;
}

Zcad::ErrorStatus ZcDbText::setThickness(double thickness) {
  if (!std::isfinite(thickness)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  thickness_ = thickness;
  return Zcad::eOk;
}

double ZcDbText::oblique() const {
  assertReadEnabled();
  return oblique_;
}

Zcad::ErrorStatus ZcDbText::setOblique(double oblique) {
  if (!std::isfinite(oblique) || std::fabs(signedAngle(oblique)) > kMaxOblique + 1e-12)
    return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  oblique_ = vtcad::db::normalizeAngle(oblique);
  return Zcad::eOk;
}

double ZcDbText::rotation() const {
  assertReadEnabled();
  return rotation_;
}

Zcad::ErrorStatus ZcDbText::setRotation(double rotation) {
  if (!std::isfinite(rotation)) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  rotation_ = vtcad::db::normalizeAngle(rotation);
  realign();
  return Zcad::eOk;
}

double ZcDbText::height() const {
  assertReadEnabled();
  return height_;
}

Zcad::ErrorStatus ZcDbText::setHeight(double height) {
  // Zero is kept (drawings carry such texts); the text then measures nothing.
  if (!std::isfinite(height) || height < 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  height_ = height;
  realign();
  return Zcad::eOk;
}

double ZcDbText::widthFactor() const {
  assertReadEnabled();
  return widthFactor_;
}

Zcad::ErrorStatus ZcDbText::setWidthFactor(double widthFactor) {
  if (!std::isfinite(widthFactor) || widthFactor <= 0.0) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  widthFactor_ = widthFactor;
  realign();
  return Zcad::eOk;
}

ZcString ZcDbText::textString() const {
  assertReadEnabled();
  return text_;
}

const ZTCHAR* ZcDbText::textStringConst() const {
  assertReadEnabled();
  return text_.kwszPtr();
}

Zcad::ErrorStatus ZcDbText::setTextString(const ZTCHAR* text) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  text_ = ZcString(text);
  realign();
  return Zcad::eOk;
}

ZcDbObjectId ZcDbText::textStyle() const {
  assertReadEnabled();
  return style_;
}

Zcad::ErrorStatus ZcDbText::setTextStyle(ZcDbObjectId styleId) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  style_ = styleId;
  realign();
  return Zcad::eOk;
}

bool ZcDbText::isMirroredInX() const {
  assertReadEnabled();
  return mirroredInX_;
}

Zcad::ErrorStatus ZcDbText::mirrorInX(bool mirror) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  mirroredInX_ = mirror;
  realign();
  return Zcad::eOk;
}

bool ZcDbText::isMirroredInY() const {
  assertReadEnabled();
  return mirroredInY_;
}

Zcad::ErrorStatus ZcDbText::mirrorInY(bool mirror) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  mirroredInY_ = mirror;
  realign();
  return Zcad::eOk;
}

ZcDb::TextHorzMode ZcDbText::horizontalMode() const {
  assertReadEnabled();
  return horizontalMode_;
}

Zcad::ErrorStatus ZcDbText::setHorizontalMode(ZcDb::TextHorzMode mode) {
  if (mode < ZcDb::kTextLeft || mode > ZcDb::kTextFit) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  horizontalMode_ = mode;
  realign();
  return Zcad::eOk;
}

ZcDb::TextVertMode ZcDbText::verticalMode() const {
  assertReadEnabled();
  return verticalMode_;
}

Zcad::ErrorStatus ZcDbText::setVerticalMode(ZcDb::TextVertMode mode) {
  if (mode < ZcDb::kTextBase || mode > ZcDb::kTextTop) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  verticalMode_ = mode;
  realign();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::adjustAlignment(const ZcDbDatabase* /*db*/) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  realign();
  return Zcad::eOk;
}

ZcDbText::Run ZcDbText::measure() const {
  Run run;
  const vtcad::db::TextStyleData style = vtcad::db::readTextStyle(style_);
  FontService& fonts = FontService::instance();
  double bottom = 0.0;
  double top = 1.0;
  for (char32_t ch : vtcad::db::decodeTextCodes(text_.str())) {
    const vtcad::db::GlyphMetrics g = fonts.glyph(style.font, ch);
    run.unitWidth += g.advance;
    bottom = std::min(bottom, g.bottom);
    top = std::max(top, g.top);
    run.empty = false;
  }
  run.width = run.unitWidth * height_ * widthFactor_;
  run.bottom = bottom * height_;
  run.top = top * height_;
  run.descent = fonts.descent(style.font) * height_;
  return run;
}

ZcDbText::Frame ZcDbText::frame() const {
  Frame f;
  ZcGeVector3d x, y;
  vtcad::db::ocsAxes(normal_, x, y);
  f.u = x * std::cos(rotation_) + y * std::sin(rotation_);
  const ZcGeVector3d v = normal_.crossProduct(f.u);
  f.along = mirroredInX_ ? -f.u : f.u;
  f.up = mirroredInY_ ? -v : v;
  f.shear = std::tan(signedAngle(oblique_));
  return f;
}

void ZcDbText::realign() {
  if (horizontalMode_ == ZcDb::kTextLeft && verticalMode_ == ZcDb::kTextBase) return;
  const Run run = measure();

  if (horizontalMode_ == ZcDb::kTextAlign || horizontalMode_ == ZcDb::kTextFit) {
    ZcGeVector3d baseline = alignmentPoint_ - position_;
    baseline -= normal_ * baseline.dotProduct(normal_);
    const double length = baseline.length();
    // Coincident points or a string without width define nothing: keep what the text has.
    if (!(length > 0.0) || !(run.unitWidth > 0.0)) return;
    const ZcGeVector3d along = baseline / length;
    rotation_ = vtcad::db::ocsAngleOf(normal_, mirroredInX_ ? -along : along);
    if (horizontalMode_ == ZcDb::kTextAlign) {
      height_ = length / (run.unitWidth * widthFactor_);
    } else if (height_ > 0.0) {
      widthFactor_ = length / (run.unitWidth * height_);
    }
    return;
  }

  double a = 0.0;
  double b = 0.0;
  switch (horizontalMode_) {
    case ZcDb::kTextCenter:
      a = 0.5 * run.width;
      break;
    case ZcDb::kTextRight:
      a = run.width;
      break;
    case ZcDb::kTextMid:
      a = 0.5 * run.width;
      b = 0.5 * height_;
      break;
    default:
      break;
  }
  if (horizontalMode_ != ZcDb::kTextMid) {
    switch (verticalMode_) {
      case ZcDb::kTextBottom:
        b = -run.descent;
        break;
      case ZcDb::kTextVertMid:
        b = 0.5 * height_;
        break;
      case ZcDb::kTextTop:
        b = height_;
        break;
      default:
        break;
    }
  }
  const Frame f = frame();
  // The anchor (a, b) of the box sits on the alignment point (no shear: anchors are on the
  // text's upright axis, as CAD programs place them).
  position_ = alignmentPoint_ - f.along * a - f.up * b;
}

double ZcDbText::measuredWidth() const {
  assertReadEnabled();
  return measure().width;
}

Zcad::ErrorStatus ZcDbText::getBoundingPoints(ZcGePoint3dArray& points) const {
  assertReadEnabled();
  const Run run = measure();
  if (run.empty) return Zcad::eInvalidExtents;
  const Frame f = frame();
  points.removeAll();
  points.append(f.at(position_, 0.0, run.top));
  points.append(f.at(position_, run.width, run.top));
  points.append(f.at(position_, 0.0, run.bottom));
  points.append(f.at(position_, run.width, run.bottom));
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::getGeomExtents(ZcDbExtents& extents) const {
  assertReadEnabled();
  ZcGePoint3dArray corners;
  const Zcad::ErrorStatus es = getBoundingPoints(corners);
  if (es != Zcad::eOk) return es;
  extents = ZcDbExtents();
  const ZcGeVector3d extrusion = normal_ * thickness_;
  for (const ZcGePoint3d& corner : corners) {
    extents.addPoint(corner);
    if (thickness_ != 0.0) extents.addPoint(corner + extrusion);
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  assertReadEnabled();
  plane.set(position_, normal_);
  isPlanar = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::transformBy(const ZcGeMatrix3d& xform) {
  if (!vtcad::db::isFiniteAffine(xform)) return Zcad::eInvalidInput;
  if (vtcad::db::transformedPlaneNormal(xform, normal_).isZeroLength()) return Zcad::eInvalidInput;

  ZcGeMatrix3d matrix = xform;
  const ZcDbDatabase* db = databaseFor(this, style_);
  const bool mirrorText = db ? db->mirrtext() : false;
  if (vtcad::db::linearDeterminant(matrix) < 0.0 && !mirrorText) {
    // Keep the text readable: undo the mirror inside the mirrored box.
    const Run run = measure();
    const Frame f = frame();
    const ZcGePoint3d center = f.at(position_, 0.5 * run.width, 0.5 * (run.bottom + run.top));
    matrix = vtcad::db::readableMirror(matrix, center, f.along, f.up, normal_);
  }
  return transformWith(matrix);
}

Zcad::ErrorStatus ZcDbText::transformWith(const ZcGeMatrix3d& matrix) {
  const Frame f = frame();
  const ZcGeVector3d newNormal = vtcad::db::transformedPlaneNormal(matrix, normal_);
  const ZcGeVector3d along = matrix * f.along;
  const ZcGeVector3d up = matrix * f.up;
  const double alongLength = along.length();
  const ZcGeVector3d alongUnit = along.normal();
  const double k = up.dotProduct(alongUnit);
  const ZcGeVector3d upPerp = up - alongUnit * k;
  const double upLength = upPerp.length();
  if (newNormal.isZeroLength() || !(alongLength > 0.0) || !(upLength > 0.0)) return Zcad::eInvalidInput;

  // A non-uniform scale shears the glyphs: the slant takes it up (and refuses past 85 degrees).
  const double newOblique = std::atan((f.shear * alongLength + k) / upLength);
  if (!std::isfinite(newOblique) || std::fabs(newOblique) > kMaxOblique + 1e-12) return Zcad::eInvalidInput;

  bool mirroredInX = mirroredInX_;
  bool mirroredInY = mirroredInY_;
  if (vtcad::db::linearDeterminant(matrix) < 0.0) {
    // One flag toggles: the one whose result keeps the rotation's direction nearer the old
    // one (a mirror across the text's direction turns it upside down, one along it backwards).
    const ZcGeVector3d uIfBackwards = !mirroredInX ? -alongUnit : alongUnit;
    if (uIfBackwards.dotProduct(f.u) >= 0.0) {
      mirroredInX = !mirroredInX;
    } else {
      mirroredInY = !mirroredInY;
    }
  }
  const ZcGeVector3d u = mirroredInX ? -alongUnit : alongUnit;

  // Checked: from here on the transform succeeds.
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  position_ = matrix * position_;
  alignmentPoint_ = matrix * alignmentPoint_;
  thickness_ *= (matrix * normal_).dotProduct(newNormal);
  normal_ = newNormal;
  rotation_ = vtcad::db::ocsAngleOf(normal_, u);
  height_ *= upLength;
  widthFactor_ *= alongLength / upLength;
  oblique_ = vtcad::db::normalizeAngle(newOblique);
  mirroredInX_ = mirroredInX;
  mirroredInY_ = mirroredInY;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbText::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbEntity::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(position_);
  filer->writePoint3d(alignmentPoint_);
  filer->writeVector3d(normal_);
  filer->writeString(text_.str());
  filer->writeSoftPointerId(style_);
  filer->writeDouble(thickness_);
  filer->writeDouble(oblique_);
  filer->writeDouble(rotation_);
  filer->writeDouble(height_);
  filer->writeDouble(widthFactor_);
  filer->writeInt16(static_cast<Zdesk::Int16>(horizontalMode_));
  filer->writeInt16(static_cast<Zdesk::Int16>(verticalMode_));
  filer->writeInt16(static_cast<Zdesk::Int16>((mirroredInX_ ? 2 : 0) | (mirroredInY_ ? 4 : 0)));
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbText::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbEntity::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  ZcGePoint3d position, alignmentPoint;
  ZcGeVector3d normal;
  std::wstring text;
  ZcDbObjectId style;
  double thickness = 0.0, oblique = 0.0, rotation = 0.0, height = 0.0, widthFactor = 0.0;
  Zdesk::Int16 horizontal = 0, vertical = 0, flags = 0;
  filer->readPoint3d(&position);
  filer->readPoint3d(&alignmentPoint);
  filer->readVector3d(&normal);
  filer->readString(&text);
  filer->readSoftPointerId(&style);
  filer->readDouble(&thickness);
  filer->readDouble(&oblique);
  filer->readDouble(&rotation);
  filer->readDouble(&height);
  filer->readDouble(&widthFactor);
  filer->readInt16(&horizontal);
  filer->readInt16(&vertical);
  es = filer->readInt16(&flags);
  if (es != Zcad::eOk) return es;
  if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
  const bool valid = zcdbFinite(position) && zcdbFinite(alignmentPoint) && zcdbFinite(normal) &&
                     !normal.isZeroLength() && std::isfinite(thickness) && std::isfinite(oblique) &&
                     std::isfinite(rotation) && std::isfinite(height) && height >= 0.0 &&
                     std::isfinite(widthFactor) && widthFactor > 0.0 && horizontal >= ZcDb::kTextLeft &&
                     horizontal <= ZcDb::kTextFit && vertical >= ZcDb::kTextBase &&
                     vertical <= ZcDb::kTextTop;
  if (!valid) return Zcad::eInvalidInput;
  position_ = position;
  alignmentPoint_ = alignmentPoint;
  normal_ = normal.normal();
  text_ = ZcString(std::move(text));
  style_ = style;
  thickness_ = thickness;
  oblique_ = oblique;
  rotation_ = rotation;
  height_ = height;
  widthFactor_ = widthFactor;
  horizontalMode_ = static_cast<ZcDb::TextHorzMode>(horizontal);
  verticalMode_ = static_cast<ZcDb::TextVertMode>(vertical);
  mirroredInX_ = (flags & 2) != 0;
  mirroredInY_ = (flags & 4) != 0;
  return Zcad::eOk;
}
