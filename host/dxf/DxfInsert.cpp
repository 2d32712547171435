// INSERT: a reference to a block by name. Its position is in the object coordinate system of
// its extrusion direction in the file and in world coordinates in ZcDbBlockReference. The
// ATTRIB records and the SEQEND after it ("66 1") are kept as they are and written back
// after it; the array groups of a multiple insertion (70, 71, 44, 45) are kept as groups.
#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "database/ConicGeometry.h"
#include "database/ZcDbFileAccess.h"
#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeMatrix3d.h"

namespace vtcad::dxf {
namespace {

// Exactly the world z axis: points are taken as they are, without rounding through a matrix.
bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

// The one subclass slot: groups of either marker are read into it and kept in it.
constexpr std::uint16_t kInsertSlot = 2;

// A multiple insertion (MINSERT): more than one column or row kept from the file.
bool isMultiple(const ZcDbObject& obj) {
  const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj);
  return kept && std::any_of(kept->begin(), kept->end(), [](const ZcDbKeptGroup& g) {
           if (g.slot != kInsertSlot || (g.code != 70 && g.code != 71)) return false;
           std::optional<std::int64_t> n = parseInt(g.value);
           return n && *n > 1;
         });
}

bool hasFollowingRecords(const ZcDbObject& obj) {
  const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj);
  return kept && std::any_of(kept->begin(), kept->end(),
                             [](const ZcDbKeptGroup& g) { return g.slot == kFollowingRecordsSlot; });
}

class InsertCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "INSERT"; }
  ZcRxClass* rxClass() const override { return ZcDbBlockReference::desc(); }
  // A multiple insertion is an INSERT with the marker AcDbMInsertBlock instead of
  // AcDbBlockReference. An object being read (not in a database yet) takes either; read()
  // keeps every group in the first slot, so a written object has one slot, named as its
  // kept column and row counts say.
  SubclassNames subclasses(const ZcDbObject& obj) const override {
    if (obj.objectId().isNull()) return {"AcDbBlockReference", "AcDbMInsertBlock"};
    return {isMultiple(obj) ? "AcDbMInsertBlock" : "AcDbBlockReference"};
  }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbBlockReference; }

  Followers followers(const ZcDbObject&, std::span<const Tag> record) const override {
    for (const Tag& tag : record) {
      if (tag.code != 66) continue;
      std::optional<std::int64_t> v = tag.toInt();
      return v && *v != 0 ? Followers::kKeptRecords : Followers::kNone;
    }
    return Followers::kNone;
  }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& ref = static_cast<ZcDbBlockReference&>(obj);
    std::optional<ZcGePoint3d> position;
    ZcGeScale3d scale(1.0);
    std::optional<size_t> nameAt;
    std::optional<size_t> scaleAt[3];
    std::optional<size_t> rotationAt;
    std::optional<double> rotation;

    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 2:
          nameAt = i;
          continue;
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // an insertion that is nowhere: dropped (the context said why)
          position = *p.point;
          i += p.taken - 1;
          continue;
        }
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) break;
          if (ref.setNormal(p.point->asVector()) != Zcad::eOk) {
            ctx.warn(g.tag, "insert: the extrusion direction was refused and kept as it was");
            for (const BodyGroup& kept : body.subspan(i, p.taken)) ctx.keep(obj, kept.tag, kInsertSlot);
          }
          i += p.taken - 1;
          continue;
        }
        case 41:
        case 42:
        case 43: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          scale[g.tag.code - 41] = *v;
          scaleAt[g.tag.code - 41] = i;
          continue;
        }
        case 50:
          rotation = ctx.real(g.tag);
          if (!rotation) break;
          rotationAt = i;
          continue;
        case 66:
          // Whether attributes follow: the reader asked followers(); written from what is kept.
          continue;
        default:
          break;
      }
      ctx.keep(obj, g.tag, kInsertSlot);
    }

    if (!nameAt) {
      ctx.warn(body.empty() ? 0 : body.front().tag.line, "insert without a block name (group 2)");
      return false;
    }
    const Tag& nameTag = body[*nameAt].tag;
    const std::wstring name = ctx.text(nameTag);
    const ZcDbObjectId block = ctx.blockNamed(name);
    if (block.isNull() || ref.setBlockTableRecord(block) != Zcad::eOk) {
      ctx.warn(nameTag, "insert of block '" + wideToUtf8(name) + "', which does not exist");
      return false;
    }
    const ZcGeVector3d n = ref.normal();
    const ZcGePoint3d at = position.value_or(ZcGePoint3d::kOrigin);
    ref.setPosition(isWorldNormal(n) ? at : ZcGeMatrix3d::planeToWorld(n) * at);
    if (ref.setScaleFactors(scale) != Zcad::eOk) {
      // A zero factor: the insertion keeps unit scale, the file's factors are kept as groups.
      bool warned = false;
      for (const std::optional<size_t>& factorAt : scaleAt) {
        if (!factorAt) continue;
        if (!warned)
          ctx.warn(body[*factorAt].tag, "insert: a scale factor of 0 was refused and kept as it was");
        warned = true;
        ctx.keep(obj, body[*factorAt].tag, kInsertSlot);
      }
    }
    if (rotation && ref.setRotation(*rotation * kRadiansPerDegree) != Zcad::eOk)
      ctx.keep(obj, body[*rotationAt].tag, kInsertSlot);
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& ref = static_cast<const ZcDbBlockReference&>(obj);
    const ZcGeVector3d n = ref.normal();
    ctx.beginSubclass(isMultiple(obj) ? "AcDbMInsertBlock" : "AcDbBlockReference");
    if (hasFollowingRecords(obj)) ctx.integer(66, 1);
    ctx.text(2, ctx.recordNameUtf8(ref.blockTableRecord()));
    ctx.point(10, isWorldNormal(n) ? ref.position() : ZcGeMatrix3d::worldToPlane(n) * ref.position());
    const ZcGeScale3d scale = ref.scaleFactors();
    if (scale.sx != 1.0) ctx.real(41, scale.sx);
    if (scale.sy != 1.0) ctx.real(42, scale.sy);
    if (scale.sz != 1.0) ctx.real(43, scale.sz);
    if (ref.rotation() != 0.0) {
      ctx.real(50, degreesOf(ref.rotation(), ref.rotation(), [](double degrees) {
                 return vtcad::db::normalizeAngle(degrees * kRadiansPerDegree);
               }));
    }
    if (!isWorldNormal(n)) ctx.point(210, n);
  }
};

}  // namespace

const ObjectCodec& insertCodec() {
  static const InsertCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
