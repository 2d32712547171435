// ARC: a CIRCLE's groups ("100 AcDbCircle": thickness, centre, radius, extrusion direction)
// followed by the start and end angles ("100 AcDbArc", degrees in the file, radians in
// ZcDbArc). The centre is in the object coordinate system (OCS) of the extrusion direction
// in the file and in world coordinates in ZcDbArc; the angles are OCS angles in both.
//
// Radius <= 0, as for CIRCLE: zero is kept (the arc is its centre point); a negative radius r
// draws the same points as |r| with both angles half a turn further, and is read so with a
// message. A missing centre, radius or angle drops the arc.
#include <cmath>
#include <optional>
#include <string>

#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::dxf {
namespace {

// Exactly the world z axis: points are taken as they are, without rounding through a matrix.
bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

std::uint32_t firstLine(std::span<const BodyGroup> body) { return body.empty() ? 0 : body.front().tag.line; }

class ArcCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "ARC"; }
  ZcRxClass* rxClass() const override { return ZcDbArc::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbCircle", "AcDbArc"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbArc; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& arc = static_cast<ZcDbArc&>(obj);
    std::optional<ZcGePoint3d> center;
    std::optional<double> radius, startAngle, endAngle;
    bool negativeRadius = false;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // an arc that is nowhere (the context said why)
          center = *p.point;
          i += p.taken - 1;
          continue;
        }
        case 40:
          radius = ctx.real(g.tag);
          if (!radius) return false;
          negativeRadius = *radius < 0.0;
          if (negativeRadius) {
            ctx.warn(g.tag, "arc radius " + std::string(g.tag.trimmed()) +
                                " was read as its magnitude, the angles turned by half a turn");
            radius = -*radius;
          }
          continue;
        case 50:
        case 51: {
          std::optional<double> degrees = ctx.real(g.tag);
          if (!degrees) return false;
          (g.tag.code == 50 ? startAngle : endAngle) = radiansFromDegrees(*degrees);
          continue;
        }
        case 39:
          if (auto v = ctx.real(g.tag)) {
            arc.setThickness(*v);
            continue;
          }
          break;
        case 210:
          if (size_t taken = ctx.extrusion(obj, body, i, "arc",
                                           [&](const ZcGeVector3d& n) { return arc.setNormal(n); })) {
            i += taken - 1;
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    const char* missing = !center       ? "a centre (group 10)"
                          : !radius     ? "a radius (group 40)"
                          : !startAngle ? "a start angle (group 50)"
                          : !endAngle   ? "an end angle (group 51)"
                                        : nullptr;
    if (missing) {
      ctx.warn(firstLine(body), std::string("arc without ") + missing);
      return false;
    }
    // Angles a whole number of turns apart (0 and 360) are one angle to ZcDbArc: a zero sweep,
    // the arc shrunk to its start point. Kept so (a full turn is a CIRCLE), but said.
    const double sweepTurns = (*endAngle - *startAngle) / ZcGe::kTwoPi;
    if (sweepTurns != 0.0 && std::fabs(sweepTurns - std::round(sweepTurns)) < 1e-12) {
      ctx.warn(firstLine(body), "arc of a whole turn was kept as an arc of no sweep (its start point)");
    }
    const ZcGeVector3d normal = arc.normal();
    arc.setCenter(isWorldNormal(normal) ? *center : ZcGeMatrix3d().setToPlaneToWorld(normal) * *center);
    arc.setRadius(*radius);
    const double turn = negativeRadius ? ZcGe::kPi : 0.0;
    arc.setStartAngle(*startAngle + turn);
    arc.setEndAngle(*endAngle + turn);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& arc = static_cast<const ZcDbArc&>(obj);
    const ZcGeVector3d normal = arc.normal();
    ctx.beginSubclass("AcDbCircle");
    if (arc.thickness() != 0.0) ctx.real(39, arc.thickness());
    ctx.point(10,
              isWorldNormal(normal) ? arc.center() : ZcGeMatrix3d().setToWorldToPlane(normal) * arc.center());
    ctx.real(40, arc.radius());
    if (!isWorldNormal(normal)) ctx.point(210, normal);
    ctx.beginSubclass("AcDbArc");
    ctx.real(50, degreesFromRadians(arc.startAngle()));
    ctx.real(51, degreesFromRadians(arc.endAngle()));
  }
};

}  // namespace

const ObjectCodec& arcCodec() {
  static const ArcCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
