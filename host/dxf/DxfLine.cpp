// LINE: start and end point, thickness, extrusion direction.
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbLine.h"

namespace vtcad::dxf {
namespace {

class LineCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "LINE"; }
  ZcRxClass* rxClass() const override { return ZcDbLine::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbLine"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbLine; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& line = static_cast<ZcDbLine&>(obj);
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10:
        case 11: {
          // A line without its points is no line: dropped (the context said why).
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;
          g.tag.code == 10 ? line.setStartPoint(*p.point) : line.setEndPoint(*p.point);
          i += p.taken - 1;
          continue;
        }
        case 39:
          if (auto v = ctx.real(g.tag)) {
            line.setThickness(*v);
            continue;
          }
          break;
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (p.point && line.setNormal(p.point->asVector()) == Zcad::eOk) {
            i += p.taken - 1;
            continue;
          }
          break;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& line = static_cast<const ZcDbLine&>(obj);
    ctx.beginSubclass("AcDbLine");
    if (line.thickness() != 0.0) ctx.real(39, line.thickness());
    ctx.point(10, line.startPoint());
    ctx.point(11, line.endPoint());
    if (line.normal() != ZcGeVector3d::kZAxis) ctx.point(210, line.normal());
  }
};

}  // namespace

const ObjectCodec& lineCodec() {
  static const LineCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
