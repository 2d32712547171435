// ELLIPSE: centre, end point of the major axis relative to the centre, extrusion direction
// (world coordinates all), ratio of the minor to the major axis, start and end parameters
// (radians, unlike the angles of other entities).
//
// Repairs: a ratio above 1 means the axes were given the other way round: the minor axis
// becomes the major one (ratio 1/r, parameters a quarter turn back), which draws the same
// points. A ratio below the smallest the database takes (1e-6) is raised to it. A missing or
// zero axis, a ratio <= 0 or an axis off the plane of the extrusion direction drops the
// ellipse: there is no telling what was meant.
#include <cmath>
#include <optional>
#include <string>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::dxf {
namespace {

constexpr double kMinRatio = 1e-6;

bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

std::uint32_t firstLine(std::span<const BodyGroup> body) { return body.empty() ? 0 : body.front().tag.line; }

class EllipseCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "ELLIPSE"; }
  ZcRxClass* rxClass() const override { return ZcDbEllipse::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbEllipse"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbEllipse; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& ellipse = static_cast<ZcDbEllipse&>(obj);
    std::optional<ZcGePoint3d> center;
    std::optional<ZcGeVector3d> major;
    std::optional<double> ratio;
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    double startParam = 0.0, endParam = ZcGe::kTwoPi;
    std::uint32_t ratioLine = firstLine(body);
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10:
        case 11: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // the context said why
          if (g.tag.code == 10) {
            center = *p.point;
          } else {
            major = p.point->asVector();
          }
          i += p.taken - 1;
          continue;
        }
        case 40:
          ratio = ctx.real(g.tag);
          if (!ratio) return false;
          ratioLine = g.tag.line;
          continue;
        case 41:
        case 42:
          // Always written: an unreadable one is left out (the context said why), not kept.
          if (auto v = ctx.real(g.tag)) (g.tag.code == 41 ? startParam : endParam) = *v;
          continue;
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) break;
          const double length = p.point->asVector().length();
          if (std::isfinite(length) && length > 0.0) {
            normal = p.point->asVector() / length;
          } else {
            ctx.warn(g.tag, "ellipse: the extrusion direction was refused and kept as it was");
            for (const BodyGroup& kept : body.subspan(i, p.taken)) ctx.keep(obj, kept);
          }
          i += p.taken - 1;
          continue;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    const char* missing = !center  ? "a centre (group 10)"
                          : !major ? "a major axis (group 11)"
                          : !ratio ? "an axis ratio (group 40)"
                                   : nullptr;
    if (missing) {
      ctx.warn(firstLine(body), std::string("ellipse without ") + missing);
      return false;
    }
    if (!(*ratio > 0.0) || major->isZeroLength()) {
      ctx.warn(ratioLine, "ellipse with a zero axis was left out");
      return false;
    }
    if (*ratio > 1.0) {
      // The minor axis is the longer one: it becomes the major axis. With a = unit major,
      // b = normal x a, the curve c + A cos t + B sin t is c + B cos t' - A sin t' with
      // t' = t - pi/2, and -A is the new minor axis (normal x B scaled).
      ctx.warn(ratioLine, "ellipse axis ratio " + std::to_string(*ratio) + " above 1: the axes were swapped");
      *major = normal.crossProduct(*major) * *ratio;
      *ratio = 1.0 / *ratio;
      startParam -= ZcGe::kHalfPi;
      endParam -= ZcGe::kHalfPi;
    }
    if (*ratio < kMinRatio) {
      ctx.warn(ratioLine, "ellipse axis ratio " + std::to_string(*ratio) + " was raised to 1e-06");
      *ratio = kMinRatio;
    }
    if (ellipse.set(*center, normal, *major, *ratio) != Zcad::eOk) {
      ctx.warn(firstLine(body),
               "ellipse whose major axis is off the plane of its extrusion direction was left out");
      return false;
    }
    ellipse.setStartParam(startParam);
    ellipse.setEndParam(endParam);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& ellipse = static_cast<const ZcDbEllipse&>(obj);
    double startParam = 0.0, endParam = ZcGe::kTwoPi;
    ellipse.getStartParam(startParam);
    ellipse.getEndParam(endParam);
    ctx.beginSubclass("AcDbEllipse");
    ctx.point(10, ellipse.center());
    ctx.point(11, ellipse.majorAxis());
    if (!isWorldNormal(ellipse.normal())) ctx.point(210, ellipse.normal());
    ctx.real(40, ellipse.radiusRatio());
    ctx.real(41, startParam);
    ctx.real(42, endParam);
  }
};

}  // namespace

const ObjectCodec& ellipseCodec() {
  static const EllipseCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
