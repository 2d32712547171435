// LWPOLYLINE: the lightweight polyline. Vertex count, flags (1 closed, 128 linetype
// generation), constant width, elevation, thickness, then per vertex its point (object
// coordinates, as ZcDbPolyline holds them) followed by its own start and end width and bulge,
// and the extrusion direction.
//
// The vertex count of group 90 is only checked against the vertices that come (a damaged
// count never sizes anything). A vertex whose point cannot be read is left out with its
// widths and bulge; a polyline without any vertex is dropped. Vertex identifiers (91) are
// not held by ZcDbPolyline and are not written back: kept as groups they would be written
// after the last vertex and be taken for its own.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbPolyline.h"

namespace vtcad::dxf {
namespace {

bool isWorldNormal(const ZcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z > 0.0; }

struct Vertex {
  ZcGePoint2d point;
  double bulge = 0.0;
  double startWidth = -1.0;  // negative: none of its own (the constant width applies)
  double endWidth = -1.0;
};

// Skips the y and z groups of a point whose x could not be read, so that they are not kept.
size_t skipPointRest(std::span<const BodyGroup> body, size_t i, int code) {
  while (i + 1 < body.size() && (body[i + 1].tag.code == code + 10 || body[i + 1].tag.code == code + 20)) ++i;
  return i;
}

unsigned vertexGroups(std::span<const Tag> record) {
  return static_cast<unsigned>(
      std::count_if(record.begin(), record.end(), [](const Tag& tag) { return tag.code == 10; }));
}

class LwPolylineCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "LWPOLYLINE"; }
  ZcRxClass* rxClass() const override { return ZcDbPolyline::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbPolyline"}; }
  ZcDbObject* create(std::span<const Tag> record, ReadContext&) const override {
    // Room for the vertices the record has (not the count it declares, which may be
    // damaged): the vertex arrays are then allocated once, not grown vertex by vertex.
    return new ZcDbPolyline(vertexGroups(record));
  }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& pline = static_cast<ZcDbPolyline&>(obj);
    std::vector<Vertex> vertices;
    vertices.reserve(static_cast<size_t>(
        std::count_if(body.begin(), body.end(), [](const BodyGroup& g) { return g.tag.code == 10; })));
    std::optional<std::int64_t> declaredCount;
    std::uint32_t countLine = body.empty() ? 0 : body.front().tag.line;
    bool skippingVertex = false;  // the groups of a vertex left out
    bool warnedStray = false;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) {
            ctx.lose(g.tag, "polyline vertex left out");
            i = skipPointRest(body, i, 10);
            skippingVertex = true;
            continue;
          }
          vertices.push_back(Vertex{ZcGePoint2d(p.point->x, p.point->y)});
          skippingVertex = false;
          i += p.taken - 1;
          continue;
        }
        case 40:
        case 41:
        case 42: {
          if (skippingVertex) continue;
          if (vertices.empty()) {
            if (!warnedStray) ctx.warn(g.tag, "polyline width or bulge before the first vertex was left out");
            warnedStray = true;
            continue;
          }
          std::optional<double> v = ctx.real(g.tag);
          if (!v) continue;  // the context said why; the vertex keeps its default
          Vertex& vertex = vertices.back();
          if (g.tag.code == 42) {
            vertex.bulge = *v;
          } else if (*v < 0.0) {
            ctx.warn(g.tag, "negative polyline width " + std::string(g.tag.trimmed()) + " left out");
          } else {
            (g.tag.code == 40 ? vertex.startWidth : vertex.endWidth) = *v;
          }
          continue;
        }
        case 91:
          continue;  // vertex identifier (see the file comment)
        case 90:
          declaredCount = ctx.integer(g.tag);
          countLine = g.tag.line;
          continue;
        case 70:
          // Always written: an unreadable one is left out (the context said why), not kept.
          if (auto v = ctx.integer(g.tag)) {
            pline.setClosed((*v & 1) != 0);
            pline.setPlinegen((*v & 128) != 0);
          }
          continue;
        case 43: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          if (pline.setConstantWidth(*v) != Zcad::eOk) {
            ctx.warn(g.tag, "negative polyline width " + std::string(g.tag.trimmed()) + " left out");
          }
          continue;
        }
        case 38:
          if (auto v = ctx.real(g.tag)) {
            pline.setElevation(*v);
            continue;
          }
          break;
        case 39:
          if (auto v = ctx.real(g.tag)) {
            pline.setThickness(*v);
            continue;
          }
          break;
        case 210:
          if (size_t taken = ctx.extrusion(obj, body, i, "polyline",
                                           [&](const ZcGeVector3d& n) { return pline.setNormal(n); })) {
            i += taken - 1;
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    if (vertices.empty()) {
      ctx.warn(countLine, "polyline without vertices");
      return false;
    }
    if (declaredCount && *declaredCount != static_cast<std::int64_t>(vertices.size())) {
      ctx.warn(countLine, "polyline says it has " + std::to_string(*declaredCount) + " vertices and has " +
                              std::to_string(vertices.size()));
    }
    for (const Vertex& v : vertices) {
      pline.addVertexAt(pline.numVerts(), v.point, v.bulge, v.startWidth, v.endWidth);
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& pline = static_cast<const ZcDbPolyline&>(obj);
    const unsigned int n = pline.numVerts();
    double constantWidth = 0.0;
    const bool constant = pline.getConstantWidth(constantWidth) == Zcad::eOk;
    ctx.beginSubclass("AcDbPolyline");
    ctx.integer(90, n);
    ctx.integer(70, (pline.isClosed() ? 1 : 0) | (pline.hasPlinegen() ? 128 : 0));
    if (constant) ctx.real(43, constantWidth);
    if (pline.elevation() != 0.0) ctx.real(38, pline.elevation());
    if (pline.thickness() != 0.0) ctx.real(39, pline.thickness());
    for (unsigned int i = 0; i < n; ++i) {
      ZcGePoint2d point;
      double bulge = 0.0, startWidth = 0.0, endWidth = 0.0;
      pline.getPointAt(i, point);
      pline.getBulgeAt(i, bulge);
      pline.getWidthsAt(i, startWidth, endWidth);
      ctx.point2d(10, point);
      if (!constant) {
        ctx.real(40, startWidth);
        ctx.real(41, endWidth);
      }
      if (bulge != 0.0) ctx.real(42, bulge);
    }
    if (!isWorldNormal(pline.normal())) ctx.point(210, pline.normal());
  }
};

}  // namespace

const ObjectCodec& lwPolylineCodec() {
  static const LwPolylineCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
