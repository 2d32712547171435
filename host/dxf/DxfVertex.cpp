// VERTEX: a vertex of an old-style polyline ("100 AcDbVertex", then "100 AcDb2dVertex" or
// "100 AcDb3dPolylineVertex"), read here and adopted by the POLYLINE codec. A 2-D vertex has
// its point in the polyline's object coordinate system, start and end width and bulge of the
// segment that leaves it, the tangent direction of a curve fit (degrees in the file, radians
// in ZcDb2dVertex) and an identifier; a 3-D vertex its world point. Flags: 1 made by curve
// fitting, 2 tangent given, 8 made by spline fitting, 16 spline frame control point, 32 vertex
// of a 3-D polyline, 64 of a polygon mesh, 128 of a polyface mesh. Mesh vertices and face
// records have no class: create() answers null (they stay with their mesh, which the reader
// keeps whole). A vertex without a point is left out.
#include <cstdint>
#include <optional>
#include <string>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::dxf {
namespace {

constexpr int kCurveFitVertex = 1, kTangentGiven = 2, kSplineFitVertex = 8, kSplineFrame = 16, k3dVertex = 32,
              kPolygonMeshVertex = 64, kPolyfaceVertex = 128;

enum class Kind { k2d, k3d, kMesh };

// What the record is: its subclass marker says, else (R12) its flags.
Kind kindOf(std::span<const Tag> record) {
  std::int64_t flags = 0;
  bool sawFlags = false;
  for (const Tag& tag : record) {
    if (tag.code == 100) {
      std::string_view name = tag.trimmed();
      if (name == "AcDb2dVertex") return Kind::k2d;
      if (name == "AcDb3dPolylineVertex") return Kind::k3d;
      if (name == "AcDbPolyFaceMeshVertex" || name == "AcDbPolygonMeshVertex" || name == "AcDbFaceRecord") {
        return Kind::kMesh;
      }
    } else if (tag.code == 70 && !sawFlags) {
      flags = tag.toInt().value_or(0);
      sawFlags = true;
    } else if (tag.code >= 1000) {
      break;  // extended data
    }
  }
  if ((flags & (kPolygonMeshVertex | kPolyfaceVertex)) != 0) return Kind::kMesh;
  return (flags & k3dVertex) != 0 ? Kind::k3d : Kind::k2d;
}

class VertexCodec final : public ObjectCodec {
 public:
  explicit VertexCodec(bool writes3d) : writes3d_(writes3d) {}

  std::string_view dxfName() const override { return "VERTEX"; }
  ZcRxClass* rxClass() const override {
    return writes3d_ ? ZcDb3dPolylineVertex::desc() : ZcDb2dVertex::desc();
  }
  SubclassNames subclasses(const ZcDbObject& obj) const override {
    if (ZcDb3dPolylineVertex::cast(&obj)) return {"AcDbVertex", "AcDb3dPolylineVertex"};
    return {"AcDbVertex", "AcDb2dVertex"};
  }

  ZcDbObject* create(std::span<const Tag> record, ReadContext&) const override {
    switch (kindOf(record)) {
      case Kind::k2d:
        return new ZcDb2dVertex;
      case Kind::k3d:
        return new ZcDb3dPolylineVertex;
      case Kind::kMesh:
        break;
    }
    return nullptr;
  }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    if (auto* v3 = ZcDb3dPolylineVertex::cast(&obj)) return read3d(*v3, body, ctx);
    return read2d(static_cast<ZcDb2dVertex&>(obj), body, ctx);
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    ctx.beginSubclass("AcDbVertex");
    if (const auto* v3 = ZcDb3dPolylineVertex::cast(&obj)) {
      ctx.beginSubclass("AcDb3dPolylineVertex");
      ctx.point(10, v3->position());
      const ZcDb::Vertex3dType type = v3->vertexType();
      ctx.integer(70, k3dVertex | (type == ZcDb::k3dFitVertex       ? kSplineFitVertex
                                   : type == ZcDb::k3dControlVertex ? kSplineFrame
                                                                    : 0));
      return;
    }
    const auto& v = static_cast<const ZcDb2dVertex&>(obj);
    const ZcDb::Vertex2dType type = v.vertexType();
    ctx.beginSubclass("AcDb2dVertex");
    ctx.point(10, v.position());
    if (v.startWidth() != 0.0) ctx.real(40, v.startWidth());
    if (v.endWidth() != 0.0) ctx.real(41, v.endWidth());
    if (v.bulge() != 0.0) ctx.real(42, v.bulge());
    ctx.integer(70, (type == ZcDb::k2dCurveFitVertex    ? kCurveFitVertex
                     : type == ZcDb::k2dSplineFitVertex ? kSplineFitVertex
                     : type == ZcDb::k2dSplineCtlVertex ? kSplineFrame
                                                        : 0) |
                        (v.isTangentUsed() ? kTangentGiven : 0));
    if (v.isTangentUsed()) ctx.real(50, degreesFromRadians(v.tangent()));
    if (v.vertexIdentifier() != 0) ctx.integer(91, v.vertexIdentifier());
  }

 private:
  static bool read2d(ZcDb2dVertex& vertex, std::span<const BodyGroup> body, ReadContext& ctx) {
    bool positioned = false;
    std::int64_t flags = 0;
    std::optional<double> tangent;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // the context said why
          vertex.setPosition(*p.point);
          positioned = true;
          i += p.taken - 1;
          continue;
        }
        case 40:
        case 41:
        case 42: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          const Zcad::ErrorStatus es = g.tag.code == 40   ? vertex.setStartWidth(*v)
                                       : g.tag.code == 41 ? vertex.setEndWidth(*v)
                                                          : vertex.setBulge(*v);
          if (es != Zcad::eOk)
            ctx.warn(g.tag, "negative polyline width " + std::string(g.tag.trimmed()) + " left out");
          continue;
        }
        case 50:
          tangent = ctx.real(g.tag);
          if (!tangent) break;
          continue;
        case 70:
          // Always written: an unreadable one is left out (the context said why), not kept.
          if (auto v = ctx.integer(g.tag)) flags = *v;
          continue;
        case 91:
          if (auto v = ctx.integer(g.tag); v && *v >= INT32_MIN && *v <= INT32_MAX) {
            vertex.setVertexIdentifier(static_cast<Zdesk::Int32>(*v));
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(vertex, g);
    }
    if (!positioned) {
      ctx.warn(body.empty() ? 0 : body.front().tag.line, "vertex without a point (group 10)");
      return false;
    }
    if (tangent) vertex.setTangent(radiansFromDegrees(*tangent));
    if ((flags & kTangentGiven) != 0) {
      vertex.useTangent();
    } else {
      vertex.ignoreTangent();
    }
    ZcDbFileAccess::setVertexType(&vertex, (flags & kCurveFitVertex) != 0    ? ZcDb::k2dCurveFitVertex
                                           : (flags & kSplineFitVertex) != 0 ? ZcDb::k2dSplineFitVertex
                                           : (flags & kSplineFrame) != 0     ? ZcDb::k2dSplineCtlVertex
                                                                             : ZcDb::k2dVertex);
    return true;
  }

  static bool read3d(ZcDb3dPolylineVertex& vertex, std::span<const BodyGroup> body, ReadContext& ctx) {
    bool positioned = false;
    std::int64_t flags = 0;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) return false;  // the context said why
          vertex.setPosition(*p.point);
          positioned = true;
          i += p.taken - 1;
          continue;
        }
        case 70:
          // Always written: an unreadable one is left out (the context said why), not kept.
          if (auto v = ctx.integer(g.tag)) flags = *v;
          continue;
        default:
          break;
      }
      ctx.keep(vertex, g);
    }
    if (!positioned) {
      ctx.warn(body.empty() ? 0 : body.front().tag.line, "vertex without a point (group 10)");
      return false;
    }
    ZcDbFileAccess::setVertexType(&vertex, (flags & kSplineFitVertex) != 0 ? ZcDb::k3dFitVertex
                                           : (flags & kSplineFrame) != 0   ? ZcDb::k3dControlVertex
                                                                           : ZcDb::k3dSimpleVertex);
    return true;
  }

  bool writes3d_;
};

}  // namespace

const ObjectCodec& vertexCodec() {
  static const VertexCodec codec(/*writes3d=*/false);
  return codec;
}

const ObjectCodec& vertex3dCodec() {
  static const VertexCodec codec(/*writes3d=*/true);
  return codec;
}

}  // namespace vtcad::dxf
