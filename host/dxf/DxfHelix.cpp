// HELIX: the spline it is drawn as ("100 AcDbSpline", read and written by the SPLINE codec),
// then its own parameters ("100 AcDbHelix"): release numbers, axis base point, start point,
// axis vector, radius, turns, turn height, handedness (1 right: counter-clockwise about the
// axis) and the constrained quantity. All in world coordinates.
//
// Group 40 is the top radius: the base radius is the start point's distance from the axis,
// so the file needs no other. Without it the top radius is taken from the end of the file's
// spline (the base radius when that has none).
//
// ZcDbHelix regenerates its spline from the parameters, so the file's spline only serves for
// that top radius; a spline whose data is damaged is reported by the SPLINE codec and does
// not drop the helix. A helix without its axis, start point, turns or turn height, or with a
// number of turns the database refuses, is dropped.
#include <optional>
#include <string>
#include <vector>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbHelix.h"

namespace vtcad::dxf {
namespace {

// Slots of an entity's codec subclasses start after the head (0) and AcDbEntity (1).
constexpr std::uint16_t kHelixSlot = 3;
// The release of the helix groups written (the one files of the R2013 format carry).
constexpr int kMajorRelease = 27, kMaintenanceRelease = 1;

class HelixCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "HELIX"; }
  ZcRxClass* rxClass() const override { return ZcDbHelix::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbSpline", "AcDbHelix"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbHelix; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& helix = static_cast<ZcDbHelix&>(obj);
    std::vector<BodyGroup> splineGroups, helixGroups;
    for (const BodyGroup& g : body) (g.slot == kHelixSlot ? helixGroups : splineGroups).push_back(g);
    const std::uint32_t line = body.empty() ? 0 : body.front().tag.line;
    std::optional<ZcGePoint3d> splineEnd;
    if (splineCodec().read(obj, splineGroups, ctx)) {
      ZcGePoint3d end;
      if (helix.getEndPoint(end) == Zcad::eOk) splineEnd = end;
    }

    std::optional<ZcGePoint3d> axisPoint, startPoint;
    std::optional<ZcGeVector3d> axisVector;
    std::optional<double> topRadius, turns, turnHeight;
    bool counterClockwise = true;
    ZcDbHelix::ConstrainType constrain = ZcDbHelix::kTurnHeight;
    std::span<const BodyGroup> groups(helixGroups);
    for (size_t i = 0; i < groups.size(); ++i) {
      const BodyGroup& g = groups[i];
      switch (g.tag.code) {
        case 10:
        case 11:
        case 12: {
          ReadContext::PointRead p = ctx.point(groups, i);
          if (!p.point) return false;  // the context said why
          if (g.tag.code == 12) {
            axisVector = p.point->asVector();
          } else {
            (g.tag.code == 10 ? axisPoint : startPoint) = *p.point;
          }
          i += p.taken - 1;
          continue;
        }
        case 40:
        case 41:
        case 42: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) return false;
          (g.tag.code == 40 ? topRadius : g.tag.code == 41 ? turns : turnHeight) = *v;
          continue;
        }
        case 90:
        case 91:
          continue;  // the release of the groups: written as this codec writes them
        case 290:
          // Always written: an unreadable value is left out (the context said why), not kept.
          if (auto v = ctx.integer(g.tag)) counterClockwise = *v != 0;
          continue;
        case 280:
          if (auto v = ctx.integer(g.tag)) {
            if (*v >= ZcDbHelix::kTurnHeight && *v <= ZcDbHelix::kHeight) {
              constrain = static_cast<ZcDbHelix::ConstrainType>(*v);
            } else {
              ctx.warn(g.tag, "helix constraint " + std::to_string(*v) + " is none of 0, 1, 2; 0 was taken");
            }
          }
          continue;
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    const char* missing = !axisPoint    ? "an axis base point (group 10)"
                          : !startPoint ? "a start point (group 11)"
                          : !axisVector ? "an axis vector (group 12)"
                          : !turns      ? "a number of turns (group 41)"
                          : !turnHeight ? "a turn height (group 42)"
                                        : nullptr;
    if (missing) {
      ctx.warn(line, std::string("helix without ") + missing);
      return false;
    }
    // The turn height stays while the turns are set, and the other way round.
    helix.setConstrain(ZcDbHelix::kTurnHeight);
    if (helix.setAxisVector(*axisVector) != Zcad::eOk) {
      ctx.warn(line, "helix with a zero axis vector");
      return false;
    }
    helix.setAxisPoint(*axisPoint, /*moveStartPoint=*/true);
    helix.setStartPoint(*startPoint);
    if (!topRadius && splineEnd) {
      const ZcGeVector3d offset = *splineEnd - *axisPoint;
      topRadius = (offset - helix.axisVector() * offset.dotProduct(helix.axisVector())).length();
    }
    if (topRadius && helix.setTopRadius(*topRadius) != Zcad::eOk) {
      ctx.warn(line, "helix radius " + std::to_string(*topRadius) + " was refused; the base radius is used");
      topRadius.reset();
    }
    if (!topRadius) helix.setTopRadius(helix.baseRadius());
    if (helix.setTurns(*turns) != Zcad::eOk) {
      ctx.warn(line, "helix of " + std::to_string(*turns) + " turns");
      return false;
    }
    helix.setTurnHeight(*turnHeight);
    helix.setTwist(counterClockwise);
    helix.setConstrain(constrain);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& helix = static_cast<const ZcDbHelix&>(obj);
    splineCodec().write(obj, ctx);
    ctx.beginSubclass("AcDbHelix");
    ctx.integer(90, kMajorRelease);
    ctx.integer(91, kMaintenanceRelease);
    ctx.point(10, helix.axisPoint());
    ctx.point(11, helix.startPoint());
    ctx.point(12, helix.axisVector());
    ctx.real(40, helix.topRadius());
    ctx.real(41, helix.turns());
    ctx.real(42, helix.turnHeight());
    ctx.integer(290, helix.twist() ? 1 : 0);
    ctx.integer(280, helix.constrain());
  }
};

}  // namespace

const ObjectCodec& helixCodec() {
  static const HelixCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
