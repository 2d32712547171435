// TEXT: a single line of text. Its points are in the object coordinate system of its
// extrusion direction in the file and in world coordinates in ZcDbText.
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "database/ConicGeometry.h"
#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::dxf {
namespace {

// Exactly the world z axis: then the object coordinate system is the world one and points
// are taken as they are, without rounding through a matrix.
bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

ZcGePoint3d ocsToWorld(const ZcGePoint3d& p, const ZcGeVector3d& normal) {
  return isWorldNormal(normal) ? p : ZcGeMatrix3d::planeToWorld(normal) * p;
}

ZcGePoint3d worldToOcs(const ZcGePoint3d& p, const ZcGeVector3d& normal) {
  return isWorldNormal(normal) ? p : ZcGeMatrix3d::worldToPlane(normal) * p;
}

// Generation flags (group 71).
constexpr int kBackward = 2;
constexpr int kUpsideDown = 4;

// A value read from the file with the groups it came from, so that a value the text refuses
// can be kept as it was.
template <typename T>
struct Read {
  std::optional<T> value;
  std::span<const BodyGroup> groups;
  void set(T v, std::span<const BodyGroup> from) {
    value = v;
    groups = from;
  }
};

class TextCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "TEXT"; }
  ZcRxClass* rxClass() const override { return ZcDbText::desc(); }
  // The vertical alignment sits in a second AcDbText section of its own.
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbText", "AcDbText"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbText; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& text = static_cast<ZcDbText&>(obj);
    Read<ZcGePoint3d> position, alignment;
    Read<ZcGeVector3d> normal;
    Read<double> thickness, height, rotation, widthFactor, oblique;
    Read<int> horizontal, vertical;
    std::optional<int> flags;
    std::optional<std::wstring> string;
    std::optional<ZcDbObjectId> style;

    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      const std::span<const BodyGroup> one = body.subspan(i, 1);
      switch (g.tag.code) {
        case 10:
        case 11:
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) {
            // Without its placement the text is nowhere: dropped (the context said why).
            if (g.tag.code == 10) return false;
            break;
          }
          const std::span<const BodyGroup> groups = body.subspan(i, p.taken);
          if (g.tag.code == 10) {
            position.set(*p.point, groups);
          } else if (g.tag.code == 11) {
            alignment.set(*p.point, groups);
          } else {
            normal.set(p.point->asVector(), groups);
          }
          i += p.taken - 1;
          continue;
        }
        case 1:
          string = ctx.text(g.tag);
          continue;
        case 7: {
          const std::wstring name = ctx.text(g.tag);
          if (name.empty()) break;  // no style to name: kept
          style = ctx.textStyleNamed(name, g.tag);
          continue;
        }
        case 39:
        case 40:
        case 41:
        case 50:
        case 51: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          Read<double>& target = g.tag.code == 39   ? thickness
                                 : g.tag.code == 40 ? height
                                 : g.tag.code == 41 ? widthFactor
                                 : g.tag.code == 50 ? rotation
                                                    : oblique;
          target.set(*v, one);
          continue;
        }
        case 71:
        case 72:
        case 73: {
          std::optional<std::int64_t> v = ctx.integer(g.tag);
          if (!v) break;
          const bool inRange = g.tag.code == 71   ? (*v >= 0 && *v <= 0xFFFF)
                               : g.tag.code == 72 ? (*v >= ZcDb::kTextLeft && *v <= ZcDb::kTextFit)
                                                  : (*v >= ZcDb::kTextBase && *v <= ZcDb::kTextTop);
          if (!inRange) {
            ctx.warn(g.tag, "text: group " + std::to_string(g.tag.code) + " value " + std::to_string(*v) +
                                " is out of range and was kept as it was");
            break;
          }
          if (g.tag.code == 71) {
            flags = static_cast<int>(*v);
          } else {
            (g.tag.code == 72 ? horizontal : vertical).set(static_cast<int>(*v), one);
          }
          continue;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }

    // A setter that refuses the file's value leaves the text as it is; the groups are kept.
    auto apply = [&](const auto& read, Zcad::ErrorStatus status, const char* what) {
      if (status == Zcad::eOk || read.groups.empty()) return;
      ctx.warn(read.groups.front().tag, std::string("text: the ") + what + " was refused and kept as it was");
      for (const BodyGroup& kept : read.groups) ctx.keep(obj, kept);
    };
    // Order matters: every property the placement depends on comes before the points, the
    // file's position last so that it is kept as the file has it.
    if (normal.value) apply(normal, text.setNormal(*normal.value), "extrusion direction");
    if (thickness.value) apply(thickness, text.setThickness(*thickness.value), "thickness");
    if (string) text.setTextString(string->c_str());
    text.setTextStyle(style ? *style : ctx.standardTextStyle());
    if (height.value) apply(height, text.setHeight(*height.value), "height");
    if (widthFactor.value) apply(widthFactor, text.setWidthFactor(*widthFactor.value), "width factor");
    if (oblique.value) apply(oblique, text.setOblique(*oblique.value * kRadiansPerDegree), "oblique angle");
    if (rotation.value) apply(rotation, text.setRotation(*rotation.value * kRadiansPerDegree), "rotation");
    if (flags) {
      text.mirrorInX((*flags & kBackward) != 0);
      text.mirrorInY((*flags & kUpsideDown) != 0);
    }
    if (horizontal.value) text.setHorizontalMode(static_cast<ZcDb::TextHorzMode>(*horizontal.value));
    if (vertical.value) text.setVerticalMode(static_cast<ZcDb::TextVertMode>(*vertical.value));

    const ZcGeVector3d n = text.normal();
    const ZcGePoint3d start = ocsToWorld(position.value.value_or(ZcGePoint3d::kOrigin), n);
    // An aligned text without its second point is aligned on its first (as CAD programs read it).
    text.setAlignmentPoint(alignment.value ? ocsToWorld(*alignment.value, n) : start);
    text.setPosition(start);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& text = static_cast<const ZcDbText&>(obj);
    const ZcGeVector3d n = text.normal();
    ctx.beginSubclass("AcDbText");
    if (text.thickness() != 0.0) ctx.real(39, text.thickness());
    ctx.point(10, worldToOcs(text.position(), n));
    ctx.real(40, text.height());
    ctx.text(1, std::wstring_view(text.textStringConst()));
    auto normalized = [](double degrees) { return vtcad::db::normalizeAngle(degrees * kRadiansPerDegree); };
    if (text.rotation() != 0.0) ctx.real(50, degreesOf(text.rotation(), text.rotation(), normalized));
    if (text.widthFactor() != 1.0) ctx.real(41, text.widthFactor());
    if (text.oblique() != 0.0) {
      // Kept in [0, 2*pi) by the text; files say -15 rather than 345 degrees.
      const double oblique = text.oblique() > ZcGe::kPi ? text.oblique() - ZcGe::kTwoPi : text.oblique();
      ctx.real(51, degreesOf(text.oblique(), oblique, normalized));
    }
    const std::string_view style = ctx.recordNameUtf8(text.textStyle());
    if (!style.empty()) ctx.text(7, style);
    const int flags = (text.isMirroredInX() ? kBackward : 0) | (text.isMirroredInY() ? kUpsideDown : 0);
    if (flags != 0) ctx.integer(71, flags);
    if (text.horizontalMode() != ZcDb::kTextLeft) ctx.integer(72, text.horizontalMode());
    if (!text.isDefaultAlignment()) ctx.point(11, worldToOcs(text.alignmentPoint(), n));
    if (!isWorldNormal(n)) ctx.point(210, n);
    ctx.beginSubclass("AcDbText");
    if (text.verticalMode() != ZcDb::kTextBase) ctx.integer(73, text.verticalMode());
  }
};

}  // namespace

const ObjectCodec& textCodec() {
  static const TextCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
