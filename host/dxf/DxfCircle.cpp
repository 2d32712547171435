// CIRCLE: centre, radius, thickness, extrusion direction. The file gives the centre in the
// object coordinate system (OCS) of the extrusion direction; ZcDbCircle holds it in world
// coordinates.
//
// Radius <= 0 (drawings by other programs contain both): a zero radius is kept, as the
// database allows it (the circle is then its centre point, answered as such and written
// back unchanged). A negative radius r draws the same points as |r| (the circle run from
// the opposite point), so it is read as |r| with a message. A missing or unreadable centre
// or radius drops the circle.
#include <cmath>
#include <optional>
#include <string>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::dxf {
namespace {

// Exactly the world z axis: points are taken as they are, without rounding through a matrix.
bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

std::uint32_t firstLine(std::span<const BodyGroup> body) { return body.empty() ? 0 : body.front().tag.line; }

class CircleCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "CIRCLE"; }
  ZcRxClass* rxClass() const override { return ZcDbCircle::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbCircle"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbCircle; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& circle = static_cast<ZcDbCircle&>(obj);
    std::optional<ZcGePoint3d> center;
    std::optional<double> radius;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // a circle that is nowhere (the context said why)
          center = *p.point;
          i += p.taken - 1;
          continue;
        }
        case 40:
          radius = ctx.real(g.tag);
          if (!radius) return false;
          if (*radius < 0.0) {
            ctx.warn(g.tag, "circle radius " + std::string(g.tag.trimmed()) + " was read as its magnitude");
            radius = -*radius;
          }
          continue;
        case 39:
          if (auto v = ctx.real(g.tag)) {
            circle.setThickness(*v);
            continue;
          }
          break;
        case 210:
          if (size_t taken = ctx.extrusion(obj, body, i, "circle",
                                           [&](const ZcGeVector3d& n) { return circle.setNormal(n); })) {
            i += taken - 1;
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    if (!center || !radius) {
      ctx.warn(firstLine(body),
               center ? "circle without a radius (group 40)" : "circle without a centre (group 10)");
      return false;
    }
    const ZcGeVector3d normal = circle.normal();
    circle.setCenter(isWorldNormal(normal) ? *center : ZcGeMatrix3d().setToPlaneToWorld(normal) * *center);
    circle.setRadius(*radius);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& circle = static_cast<const ZcDbCircle&>(obj);
    const ZcGeVector3d normal = circle.normal();
    ctx.beginSubclass("AcDbCircle");
    if (circle.thickness() != 0.0) ctx.real(39, circle.thickness());
    ctx.point(10, isWorldNormal(normal) ? circle.center()
                                        : ZcGeMatrix3d().setToWorldToPlane(normal) * circle.center());
    ctx.real(40, circle.radius());
    if (!isWorldNormal(normal)) ctx.point(210, normal);
  }
};

}  // namespace

const ObjectCodec& circleCodec() {
  static const CircleCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
