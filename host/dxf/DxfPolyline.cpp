// POLYLINE: the old-style polyline, followed in the file by its VERTEX records and a SEQEND.
// "100 AcDb2dPolyline" (ZcDb2dPolyline) or "100 AcDb3dPolyline" (ZcDb3dPolyline): the
// obsolete "vertices follow" flag (66), a dummy point whose z is the elevation of a 2-D
// polyline, thickness, flags (1 closed, 2 curve-fit, 4 spline-fit, 8 3-D, 16 polygon mesh,
// 64 polyface mesh, 128 linetype generation), default widths, the curve type of a spline fit
// (75: 5 quadratic, 6 cubic) and the extrusion direction. R12 files give the same groups
// without subclass markers.
//
// The vertices and the end marker are objects of the database, read by the VERTEX and SEQEND
// codecs and adopted here with the file's handles. A fitted polyline is taken as the file has
// it, fitted vertices included: nothing is refitted. Polyface and polygon meshes have no class
// in the database: create() answers null and the reader keeps them, with their vertices, as
// the file has them.
#include <optional>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbSequenceEnd.h"

namespace vtcad::dxf {
namespace {

constexpr int kClosed = 1, kCurveFit = 2, kSplineFit = 4, k3d = 8, kPolygonMesh = 16, kPolyfaceMesh = 64,
              kPlinegen = 128;
constexpr int kQuadratic = 5, kCubic = 6;

bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

size_t skipPointRest(std::span<const BodyGroup> body, size_t i, int code) {
  while (i + 1 < body.size() && (body[i + 1].tag.code == code + 10 || body[i + 1].tag.code == code + 20)) ++i;
  return i;
}

enum class Kind { k2d, k3d, kMesh };

// What the record is: its subclass marker says, else (R12) its flags.
Kind kindOf(std::span<const Tag> record) {
  std::int64_t flags = 0;
  bool sawFlags = false;
  for (const Tag& tag : record) {
    if (tag.code == 100) {
      std::string_view name = tag.trimmed();
      if (name == "AcDb2dPolyline") return Kind::k2d;
      if (name == "AcDb3dPolyline") return Kind::k3d;
      if (name == "AcDbPolyFaceMesh" || name == "AcDbPolygonMesh") return Kind::kMesh;
    } else if (tag.code == 70 && !sawFlags) {
      flags = tag.toInt().value_or(0);
      sawFlags = true;
    } else if (tag.code >= 1000) {
      break;  // extended data
    }
  }
  if ((flags & (kPolygonMesh | kPolyfaceMesh)) != 0) return Kind::kMesh;
  return (flags & k3d) != 0 ? Kind::k3d : Kind::k2d;
}

// Turns a vertex of the other kind (a file that left out or set the 3-D vertex flag by
// mistake) into one of the polyline's kind at the same position; null when it already fits.
ZcDbVertex* convertedVertex(const ZcDbEntity& pline, ZcDbVertex& vertex) {
  ZcDbVertex* converted = nullptr;
  if (ZcDb3dPolyline::cast(&pline)) {
    const ZcDb2dVertex* v2 = ZcDb2dVertex::cast(&vertex);
    if (!v2) return nullptr;
    auto* v3 = new ZcDb3dPolylineVertex(v2->position());
    if (v2->vertexType() == ZcDb::k2dSplineFitVertex) ZcDbFileAccess::setVertexType(v3, ZcDb::k3dFitVertex);
    if (v2->vertexType() == ZcDb::k2dSplineCtlVertex)
      ZcDbFileAccess::setVertexType(v3, ZcDb::k3dControlVertex);
    converted = v3;
  } else {
    const ZcDb3dPolylineVertex* v3 = ZcDb3dPolylineVertex::cast(&vertex);
    if (!v3) return nullptr;
    auto* v2 = new ZcDb2dVertex(v3->position());
    if (v3->vertexType() == ZcDb::k3dFitVertex) ZcDbFileAccess::setVertexType(v2, ZcDb::k2dSplineFitVertex);
    if (v3->vertexType() == ZcDb::k3dControlVertex)
      ZcDbFileAccess::setVertexType(v2, ZcDb::k2dSplineCtlVertex);
    converted = v2;
  }
  converted->setPropertiesFrom(&vertex);
  return converted;
}

class PolylineCodec final : public ObjectCodec {
 public:
  explicit PolylineCodec(bool writes3d) : writes3d_(writes3d) {}

  std::string_view dxfName() const override { return "POLYLINE"; }
  ZcRxClass* rxClass() const override { return writes3d_ ? ZcDb3dPolyline::desc() : ZcDb2dPolyline::desc(); }
  SubclassNames subclasses(const ZcDbObject& obj) const override {
    if (ZcDb3dPolyline::cast(&obj)) return {"AcDb3dPolyline"};
    return {"AcDb2dPolyline"};
  }

  ZcDbObject* create(std::span<const Tag> record, ReadContext&) const override {
    ZcDbEntity* pline = nullptr;
    switch (kindOf(record)) {
      case Kind::kMesh:
        return nullptr;
      case Kind::k3d:
        pline = new ZcDb3dPolyline;
        break;
      case Kind::k2d:
        pline = new ZcDb2dPolyline;
        break;
    }
    ZcDbFileAccess::takeEndMarkerFromFile(pline);
    return pline;
  }

  Followers followers(const ZcDbObject&, std::span<const Tag>) const override { return Followers::kObjects; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto* pline2d = ZcDb2dPolyline::cast(&obj);
    auto* pline3d = ZcDb3dPolyline::cast(&obj);
    std::int64_t flags = 0;
    std::int64_t curveType = 0;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 66:
          continue;  // "vertices follow": they always do, and it is always written
        case 10: {
          // The dummy point: only its z, the elevation of a 2-D polyline, means something.
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) {
            i = skipPointRest(body, i, 10);
            continue;
          }
          if (pline2d) pline2d->setElevation(p.point->z);
          i += p.taken - 1;
          continue;
        }
        case 70:
        case 75:
          // Written from the polyline's form: an unreadable one is left out (the context said
          // why), not kept.
          if (auto v = ctx.integer(g.tag)) (g.tag.code == 70 ? flags : curveType) = *v;
          continue;
        case 39:
          if (auto v = ctx.real(g.tag); v && pline2d) {
            pline2d->setThickness(*v);
            continue;
          }
          break;
        case 40:
        case 41:
          if (!pline2d) break;
          if (auto v = ctx.real(g.tag)) {
            const Zcad::ErrorStatus es =
                g.tag.code == 40 ? pline2d->setDefaultStartWidth(*v) : pline2d->setDefaultEndWidth(*v);
            if (es != Zcad::eOk)
              ctx.warn(g.tag, "negative polyline width " + std::string(g.tag.trimmed()) + " left out");
            continue;
          }
          break;
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point || !pline2d) break;  // a 3-D polyline has no plane: kept as it was
          if (pline2d->setNormal(p.point->asVector()) != Zcad::eOk) {
            ctx.warn(g.tag, "polyline: the extrusion direction was refused and kept as it was");
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
    const bool closed = (flags & kClosed) != 0;
    if (pline3d) {
      const ZcDb::Poly3dType type = (flags & kSplineFit) == 0 ? ZcDb::k3dSimplePoly
                                    : curveType == kQuadratic ? ZcDb::k3dQuadSplinePoly
                                                              : ZcDb::k3dCubicSplinePoly;
      ZcDbFileAccess::setPolylineForm(pline3d, type, closed);
      return true;
    }
    const ZcDb::Poly2dType type =
        (flags & kSplineFit) != 0
            ? (curveType == kQuadratic ? ZcDb::k2dQuadSplinePoly : ZcDb::k2dCubicSplinePoly)
        : (flags & kCurveFit) != 0 ? ZcDb::k2dFitCurvePoly
                                   : ZcDb::k2dSimplePoly;
    ZcDbFileAccess::setPolylineForm(pline2d, type, closed);
    if ((flags & kPlinegen) != 0) pline2d->setLinetypeGenerationOn();
    return true;
  }

  // `follower` null: the file's vertices ended without a SEQEND, and the polyline makes its
  // own end marker.
  bool adoptFollower(ZcDbObject& owner, ZcDbObject* follower, std::uint64_t handle,
                     ReadContext&) const override {
    auto& pline = static_cast<ZcDbEntity&>(owner);
    if (!follower) {
      ZcDbFileAccess::completePolyline(&pline);
      return true;
    }
    if (auto* end = ZcDbSequenceEnd::cast(follower)) {
      return ZcDbFileAccess::setPolylineEndMarker(&pline, end, ZcDbHandle(handle)) == Zcad::eOk;
    }
    auto* vertex = ZcDbVertex::cast(follower);
    if (!vertex) return false;  // a mesh vertex (kept as a record) in a polyline
    ZcDbVertex* converted = convertedVertex(pline, *vertex);
    ZcDbVertex* adopted = converted ? converted : vertex;
    Zcad::ErrorStatus es = ZcDbFileAccess::appendPolylineVertex(&pline, adopted, ZcDbHandle(handle));
    if (es == Zcad::eHandleInUse) es = ZcDbFileAccess::appendPolylineVertex(&pline, adopted, ZcDbHandle());
    if (es != Zcad::eOk) {
      delete converted;
      return false;
    }
    if (converted) delete follower;  // the database holds its converted copy
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    if (const auto* pline3d = ZcDb3dPolyline::cast(&obj)) {
      const ZcDb::Poly3dType type = pline3d->polyType();
      ctx.beginSubclass("AcDb3dPolyline");
      ctx.integer(66, 1);
      ctx.point(10, ZcGePoint3d::kOrigin);
      ctx.integer(70,
                  k3d | (pline3d->isClosed() ? kClosed : 0) | (type != ZcDb::k3dSimplePoly ? kSplineFit : 0));
      if (type != ZcDb::k3dSimplePoly) ctx.integer(75, type == ZcDb::k3dQuadSplinePoly ? kQuadratic : kCubic);
      return;
    }
    const auto& pline = static_cast<const ZcDb2dPolyline&>(obj);
    const ZcDb::Poly2dType type = pline.polyType();
    const bool spline = type == ZcDb::k2dQuadSplinePoly || type == ZcDb::k2dCubicSplinePoly;
    ctx.beginSubclass("AcDb2dPolyline");
    ctx.integer(66, 1);
    ctx.point(10, ZcGePoint3d(0.0, 0.0, pline.elevation()));
    if (pline.thickness() != 0.0) ctx.real(39, pline.thickness());
    ctx.integer(70, (pline.isClosed() ? kClosed : 0) | (type == ZcDb::k2dFitCurvePoly ? kCurveFit : 0) |
                        (spline ? kSplineFit : 0) | (pline.isLinetypeGenerationOn() ? kPlinegen : 0));
    if (pline.defaultStartWidth() != 0.0) ctx.real(40, pline.defaultStartWidth());
    if (pline.defaultEndWidth() != 0.0) ctx.real(41, pline.defaultEndWidth());
    if (spline) ctx.integer(75, type == ZcDb::k2dQuadSplinePoly ? kQuadratic : kCubic);
    if (!isWorldNormal(pline.normal())) ctx.point(210, pline.normal());
  }

  void writeFollowers(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& pline = static_cast<const ZcDbEntity&>(obj);
    ZcDbObjectIterator* it = nullptr;
    if (const auto* pline3d = ZcDb3dPolyline::cast(&obj)) {
      it = pline3d->vertexIterator();
    } else {
      it = static_cast<const ZcDb2dPolyline&>(obj).vertexIterator();
    }
    // Erased vertices are passed over by writeObject.
    for (it->start(); !it->done(); it->step(/*backwards=*/false, /*skipDeleted=*/false)) {
      ctx.writeObject(it->objectId());
    }
    delete it;
    const ZcDbObjectId end = ZcDbFileAccess::polylineEndMarker(&pline);
    if (!end.isNull()) {
      ctx.writeObject(end);
      return;
    }
    // No end marker (the file had none and the reader did not make one): the record still
    // closes the vertices, without a handle of its own.
    ctx.out().write(0, "SEQEND");
    ctx.handle(330, obj.objectId());
    ctx.out().write(100, "AcDbEntity");
    const std::wstring layer = ctx.recordName(pline.layerId());
    ctx.text(8, layer.empty() ? std::wstring(L"0") : layer);
  }

 private:
  bool writes3d_;
};

}  // namespace

const ObjectCodec& polylineCodec() {
  static const PolylineCodec codec(/*writes3d=*/false);
  return codec;
}

const ObjectCodec& polyline3dCodec() {
  static const PolylineCodec codec(/*writes3d=*/true);
  return codec;
}

}  // namespace vtcad::dxf
