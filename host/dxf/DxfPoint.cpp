// POINT: position (world coordinates), thickness, extrusion direction, and the angle of the
// display symbol's x axis (degrees in the file, radians in ZcDbPoint). A point without a
// position is dropped.
#include <optional>

#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::dxf {
namespace {

bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

class PointCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "POINT"; }
  ZcRxClass* rxClass() const override { return ZcDbPoint::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbPoint"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbPoint; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& point = static_cast<ZcDbPoint&>(obj);
    bool positioned = false;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // the context said why
          point.setPosition(*p.point);
          positioned = true;
          i += p.taken - 1;
          continue;
        }
        case 39:
          if (auto v = ctx.real(g.tag)) {
            point.setThickness(*v);
            continue;
          }
          break;
        case 50:
          if (auto v = ctx.real(g.tag)) {
            point.setEcsRotation(radiansFromDegrees(*v));
            continue;
          }
          break;
        case 210:
          if (size_t taken = ctx.extrusion(obj, body, i, "point",
                                           [&](const ZcGeVector3d& n) { return point.setNormal(n); })) {
            i += taken - 1;
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    if (!positioned) {
      ctx.warn(body.empty() ? 0 : body.front().tag.line, "point without a position (group 10)");
      return false;
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& point = static_cast<const ZcDbPoint&>(obj);
    ctx.beginSubclass("AcDbPoint");
    ctx.point(10, point.position());
    if (point.thickness() != 0.0) ctx.real(39, point.thickness());
    if (!isWorldNormal(point.normal())) ctx.point(210, point.normal());
    if (point.ecsRotation() != 0.0) ctx.real(50, degreesFromRadians(point.ecsRotation()));
  }
};

}  // namespace

const ObjectCodec& pointCodec() {
  static const PointCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
