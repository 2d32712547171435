// HATCH: boundary loops in the hatch's plane (its object coordinate system at its elevation,
// as the file and ZcDbHatch both hold them) and the pattern's name and placement. The groups
// from the pattern definition lines on (78), the seed points (98) and the gradient (450...)
// are kept: they come after every group written here, so they are written back in place.
// The source boundary objects of each loop (97, 330...) are kept in a slot of their own and
// written inside their loop.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "database/ConicGeometry.h"
#include "database/ZcDbFileAccess.h"
#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/ge/ZcGe.h"

namespace vtcad::dxf {
namespace {

// The source boundary references of the loops, kept out of the subclass slots: for each loop
// in order a (97, count) group and its 330 groups. Never written by the kept-group writer.
constexpr std::uint16_t kLoopSourcesSlot = 0xFFE0;
// The slot of the AcDbHatch groups (after the head and AcDbEntity).
constexpr std::uint16_t kHatchSlot = 2;

// Reads the boundary data group by group in the order the format lays it out. A group that
// is not where the layout puts it breaks the structure (the rest cannot be found); a number
// that does not parse only spoils its loop.
class Cursor {
 public:
  Cursor(std::span<const BodyGroup> body, size_t at, ReadContext& ctx) : body_(body), i_(at), ctx_(ctx) {}

  size_t index() const { return i_; }
  bool at(int code) const { return i_ < body_.size() && body_[i_].tag.code == code; }
  bool atEnd() const { return i_ >= body_.size(); }
  const BodyGroup* current() const { return atEnd() ? nullptr : &body_[i_]; }
  const BodyGroup* peek(size_t ahead) const {
    return i_ + ahead < body_.size() ? &body_[i_ + ahead] : nullptr;
  }
  // A broken structure, with the group found instead of `code` (for the message).
  bool broken() const { return broken_; }
  int expected() const { return expected_; }
  // A malformed number in the current loop.
  bool spoiled() const { return spoiled_; }
  void resetSpoiled() { spoiled_ = false; }

  bool real(int code, double& out) {
    if (!require(code)) return false;
    if (std::optional<double> v = ctx_.real(body_[i_].tag)) {
      out = *v;
    } else {
      spoiled_ = true;
    }
    ++i_;
    return true;
  }
  bool integer(int code, std::int64_t& out) {
    if (!require(code)) return false;
    if (std::optional<std::int64_t> v = ctx_.integer(body_[i_].tag)) {
      out = *v;
    } else {
      spoiled_ = true;
    }
    ++i_;
    return true;
  }
  // A count: a negative one breaks the structure (nothing can be read after it).
  bool count(int code, std::int64_t& out) {
    out = 0;
    if (!integer(code, out)) return false;
    if (out < 0) {
      broken_ = true;
      expected_ = code;
      return false;
    }
    return true;
  }
  bool point(int code, ZcGePoint2d& out) { return real(code, out.x) && real(code + 10, out.y); }
  void skip() { ++i_; }

 private:
  bool require(int code) {
    if (at(code)) return true;
    if (!broken_) expected_ = code;
    broken_ = true;
    return false;
  }

  std::span<const BodyGroup> body_;
  size_t i_;
  ReadContext& ctx_;
  bool broken_ = false;
  bool spoiled_ = false;
  int expected_ = 0;
};

std::optional<ZcDbHatchEdge> readSpline(Cursor& cur, bool lastEdge) {
  std::int64_t degree = 0, rational = 0, periodic = 0, knotCount = 0, pointCount = 0;
  if (!cur.integer(94, degree)) return std::nullopt;
  if (cur.at(73) && !cur.integer(73, rational)) return std::nullopt;
  if (cur.at(74) && !cur.integer(74, periodic)) return std::nullopt;
  if (!cur.count(95, knotCount) || !cur.count(96, pointCount)) return std::nullopt;
  ZcGeDoubleArray knots, weights;
  ZcGePoint2dArray points, fitPoints;
  // Counts are not trusted for reserving: each value takes a group of the record.
  for (std::int64_t k = 0; k < knotCount; ++k) {
    double knot = 0.0;
    if (!cur.real(40, knot)) return std::nullopt;
    knots.append(knot);
  }
  for (std::int64_t k = 0; k < pointCount; ++k) {
    ZcGePoint2d p;
    if (!cur.point(10, p)) return std::nullopt;
    points.append(p);
    double w = 1.0;
    if (cur.at(42)) {
      if (!cur.real(42, w)) return std::nullopt;
      weights.append(w);
    }
  }
  // Weights may also follow all the control points.
  while (weights.isEmpty() && cur.at(42) && weights.length() < points.length()) {
    double w = 1.0;
    if (!cur.real(42, w)) return std::nullopt;
    weights.append(w);
  }
  while (cur.at(42) && weights.length() < points.length()) {
    double w = 1.0;
    if (!cur.real(42, w)) return std::nullopt;
    weights.append(w);
  }
  if (rational != 0 && weights.isEmpty()) {
    for (int k = 0; k < points.length(); ++k) weights.append(1.0);  // the format's default weight
  }
  // Fit data (R2010 and later). On the last edge a 97 may instead be the loop's count of
  // source objects (older files): fit data when fit points or the loop's own 97 follow it.
  ZcGeVector2d startTangent, endTangent;
  if (cur.at(97)) {
    const BodyGroup* next = cur.peek(1);
    const bool fitData = !lastEdge || (next && (next->tag.code == 11 || next->tag.code == 97));
    if (fitData) {
      std::int64_t fitCount = 0;
      if (!cur.count(97, fitCount)) return std::nullopt;
      for (std::int64_t k = 0; k < fitCount; ++k) {
        ZcGePoint2d p;
        if (!cur.point(11, p)) return std::nullopt;
        fitPoints.append(p);
      }
      ZcGePoint2d t;
      if (cur.at(12)) {
        if (!cur.point(12, t)) return std::nullopt;
        startTangent = t.asVector();
      }
      if (cur.at(13)) {
        if (!cur.point(13, t)) return std::nullopt;
        endTangent = t.asVector();
      }
    }
  }
  const int deg = static_cast<int>(std::clamp<std::int64_t>(degree, -1, 1000));
  return ZcDbHatchEdge::spline(deg, rational != 0, periodic != 0, knots, points, weights, fitPoints,
                               startTangent, endTangent);
}

std::optional<ZcDbHatchEdge> readEdge(Cursor& cur, bool lastEdge) {
  std::int64_t type = 0;
  if (!cur.integer(72, type)) return std::nullopt;
  ZcGePoint2d a, b;
  double radius = 0.0, start = 0.0, end = 0.0;
  std::int64_t ccw = 1;
  switch (type) {
    case ZcDbHatchEdge::kLine:
      if (!cur.point(10, a) || !cur.point(11, b)) return std::nullopt;
      return ZcDbHatchEdge::line(a, b);
    case ZcDbHatchEdge::kCirArc:
      if (!cur.point(10, a) || !cur.real(40, radius) || !cur.real(50, start) || !cur.real(51, end)) {
        return std::nullopt;
      }
      if (cur.at(73) && !cur.integer(73, ccw)) return std::nullopt;
      return ZcDbHatchEdge::circularArc(a, radius, start * kRadiansPerDegree, end * kRadiansPerDegree,
                                        ccw != 0);
    case ZcDbHatchEdge::kEllArc:
      if (!cur.point(10, a) || !cur.point(11, b) || !cur.real(40, radius) || !cur.real(50, start) ||
          !cur.real(51, end)) {
        return std::nullopt;
      }
      if (cur.at(73) && !cur.integer(73, ccw)) return std::nullopt;
      return ZcDbHatchEdge::ellipticalArc(a, b.asVector(), radius, start * kRadiansPerDegree,
                                          end * kRadiansPerDegree, ccw != 0);
    case ZcDbHatchEdge::kSpline:
      return readSpline(cur, lastEdge);
    default:
      return std::nullopt;  // an unknown edge type: its groups cannot be told from the next edge's
  }
}

// Reads `pathCount` loops into the hatch starting at the cursor. False when the structure is
// broken (the context has been told where).
bool readLoops(ZcDbHatch& hatch, std::int64_t pathCount, Cursor& cur, ReadContext& ctx,
               std::vector<ZcDbKeptGroup>& sources, bool& anySources) {
  for (std::int64_t n = 0; n < pathCount; ++n) {
    const BodyGroup* first = cur.current();
    cur.resetSpoiled();
    std::int64_t type = 0;
    if (!cur.integer(92, type)) return false;  // also when the record ends early
    Zdesk::Int32 loopType = static_cast<Zdesk::Int32>(type & 0x7FFFFFFF);
    Zcad::ErrorStatus status = Zcad::eOk;
    if (type & ZcDbHatch::kPolyline) {
      std::int64_t flag = 0, count = 0;
      while (cur.at(72) || cur.at(73)) {
        if (!cur.integer(cur.at(72) ? 72 : 73, flag)) return false;
      }
      if (!cur.count(93, count)) return false;
      ZcGePoint2dArray vertices;
      ZcGeDoubleArray bulges;
      for (std::int64_t k = 0; k < count; ++k) {
        ZcGePoint2d p;
        double bulge = 0.0;
        if (!cur.point(10, p)) return false;
        if (cur.at(42) && !cur.real(42, bulge)) return false;
        vertices.append(p);
        bulges.append(bulge);
      }
      if (!cur.spoiled()) status = hatch.appendLoop(loopType, vertices, bulges);
    } else {
      std::int64_t count = 0;
      if (!cur.count(93, count)) return false;
      ZcDbHatchEdgeArray edges;
      for (std::int64_t k = 0; k < count; ++k) {
        std::optional<ZcDbHatchEdge> edge = readEdge(cur, /*lastEdge=*/k + 1 == count);
        if (!edge) {
          if (!cur.broken()) {
            ctx.warn(first->tag,
                     "hatch: boundary path " + std::to_string(n + 1) + " has an unknown edge type");
          }
          return false;
        }
        edges.append(*edge);
      }
      if (!cur.spoiled()) status = hatch.appendLoop(loopType, edges);
    }
    // Source boundary objects of the loop: references to objects kept as groups.
    std::vector<ZcDbKeptGroup> loopSources;
    if (cur.at(97)) {
      std::int64_t sourceCount = 0;
      if (!cur.count(97, sourceCount)) return false;
      for (std::int64_t k = 0; k < sourceCount && cur.at(330); ++k) {
        const Tag& tag = cur.current()->tag;
        loopSources.push_back(
            ZcDbKeptGroup{330, kLoopSourcesSlot, std::string(tag.trimmed()), ctx.idOfHandle(tag)});
        cur.skip();
      }
    }
    if (cur.spoiled() || status != Zcad::eOk) {
      ctx.lose(first->tag, "hatch: boundary path " + std::to_string(n + 1) + " is invalid and was left out");
      continue;
    }
    sources.push_back(
        ZcDbKeptGroup{97, kLoopSourcesSlot, std::to_string(loopSources.size()), ZcDbObjectId()});
    anySources = anySources || !loopSources.empty();
    for (ZcDbKeptGroup& g : loopSources) sources.push_back(std::move(g));
  }
  return true;
}

class HatchCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "HATCH"; }
  ZcRxClass* rxClass() const override { return ZcDbHatch::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbHatch"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbHatch; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& hatch = static_cast<ZcDbHatch&>(obj);
    std::optional<std::wstring> name;
    const BodyGroup* nameAt = nullptr;
    std::optional<std::int64_t> patternType;
    bool solid = false;
    bool loopsRead = false;
    std::vector<ZcDbKeptGroup> sources;
    bool anySources = false;
    // Scale and spacing share group 41: which one it is depends on the pattern type (76),
    // which comes after it.
    std::optional<double> scaleOrSpace;
    size_t scaleAt = 0;

    auto refused = [&](size_t at, size_t taken, const char* what) {
      ctx.warn(body[at].tag, std::string("hatch: the ") + what + " was refused and kept as it was");
      for (const BodyGroup& kept : body.subspan(at, taken)) ctx.keep(obj, kept);
    };

    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10: {
          if (loopsRead) break;  // a seed point: kept
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) break;
          // The elevation point: only its z means something.
          if (hatch.setElevation(p.point->z) != Zcad::eOk) refused(i, p.taken, "elevation");
          i += p.taken - 1;
          continue;
        }
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) break;
          if (hatch.setNormal(p.point->asVector()) != Zcad::eOk) refused(i, p.taken, "extrusion direction");
          i += p.taken - 1;
          continue;
        }
        case 2:
          name = ctx.text(g.tag);
          nameAt = &g;
          continue;
        case 70:
        case 71:
        case 75:
        case 76:
        case 77: {
          std::optional<std::int64_t> v = ctx.integer(g.tag);
          if (!v) break;
          if (g.tag.code == 70) {
            solid = *v != 0;
          } else if (g.tag.code == 71) {
            hatch.setAssociative(*v != 0);
          } else if (g.tag.code == 75) {
            if (*v < ZcDbHatch::kNormal || *v > ZcDbHatch::kIgnore) {
              refused(i, 1, "hatch style");
            } else {
              hatch.setHatchStyle(static_cast<ZcDbHatch::HatchStyle>(*v));
            }
          } else if (g.tag.code == 76) {
            if (*v < ZcDbHatch::kUserDefined || *v > ZcDbHatch::kCustomDefined) {
              refused(i, 1, "pattern type");
            } else {
              patternType = *v;
            }
          } else {
            hatch.setPatternDouble(*v != 0);
          }
          continue;
        }
        case 52: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          hatch.setPatternAngle(*v * kRadiansPerDegree);
          continue;
        }
        case 41: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          scaleOrSpace = *v;
          scaleAt = i;
          continue;
        }
        case 91: {
          if (loopsRead) break;
          std::optional<std::int64_t> count = ctx.integer(g.tag);
          if (!count || *count < 0) {
            ctx.warn(g.tag, "hatch: the number of boundary paths is unusable");
            return false;
          }
          Cursor cur(body, i + 1, ctx);
          if (!readLoops(hatch, *count, cur, ctx, sources, anySources)) {
            if (cur.broken()) {
              const BodyGroup* at = cur.current();
              ctx.warn(at ? at->tag.line : g.tag.line,
                       "hatch: the boundary data is damaged (group " + std::to_string(cur.expected()) +
                           " expected" + (at ? ", " + std::to_string(at->tag.code) + " found)" : ")"));
            }
            return false;
          }
          loopsRead = true;
          i = cur.index() - 1;
          continue;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }

    // The type and name go together; "SOLID" makes a solid fill whatever group 70 says.
    const auto type = static_cast<ZcDbHatch::HatchPatternType>(patternType.value_or(hatch.patternType()));
    std::wstring pattern = name.value_or(std::wstring(hatch.patternName().kwszPtr()));
    if (solid && pattern.empty()) pattern = L"SOLID";
    if (hatch.setPattern(type, pattern.c_str()) != Zcad::eOk && nameAt) {
      ctx.warn(nameAt->tag, "hatch: the pattern was refused and kept as it was");
      ctx.keep(obj, *nameAt);
    }
    if (scaleOrSpace) {
      const Zcad::ErrorStatus status = hatch.patternType() == ZcDbHatch::kUserDefined
                                           ? hatch.setPatternSpace(*scaleOrSpace)
                                           : hatch.setPatternScale(*scaleOrSpace);
      if (status != Zcad::eOk) refused(scaleAt, 1, "pattern scale");
    }
    if (anySources) {
      std::vector<ZcDbKeptGroup>& kept = ZcDbFileAccess::keptGroupsForWrite(&obj);
      for (ZcDbKeptGroup& g : sources) kept.push_back(std::move(g));
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& hatch = static_cast<const ZcDbHatch&>(obj);
    ctx.beginSubclass("AcDbHatch");
    ctx.point(10, ZcGePoint3d(0.0, 0.0, hatch.elevation()));
    ctx.point(210, hatch.normal());
    ctx.text(2, std::wstring(hatch.patternName().kwszPtr()));
    ctx.integer(70, hatch.isSolidFill() ? 1 : 0);
    ctx.integer(71, hatch.associative() ? 1 : 0);
    ctx.integer(91, hatch.numLoops());
    const std::vector<const ZcDbKeptGroup*> sources = loopSources(obj, hatch.numLoops());
    size_t nextSource = 0;
    for (int n = 0; n < hatch.numLoops(); ++n) {
      writeLoop(hatch, n, ctx);
      // This loop's (97, count) and its references; "97 0" when the loops no longer match.
      if (sources.empty()) {
        ctx.integer(97, 0);
        continue;
      }
      const ZcDbKeptGroup& countGroup = *sources[nextSource++];
      ctx.text(97, countGroup.value);
      while (nextSource < sources.size() && sources[nextSource]->code == 330) {
        ctx.handle(330, sources[nextSource++]->ref);
      }
    }
    ctx.integer(75, hatch.hatchStyle());
    ctx.integer(76, hatch.patternType());
    ctx.real(52, degreesOf(hatch.patternAngle(), hatch.patternAngle(), [](double degrees) {
               return vtcad::db::normalizeAngle(degrees * kRadiansPerDegree);
             }));
    ctx.real(41,
             hatch.patternType() == ZcDbHatch::kUserDefined ? hatch.patternSpace() : hatch.patternScale());
    ctx.integer(77, hatch.patternDouble() ? 1 : 0);
    // A hatch that did not come from a file (or whose file left them out) still declares its
    // pattern lines and seed points, as readers expect; kept ones are written after this.
    if (!hasKeptTail(obj)) {
      if (!hatch.isSolidFill()) ctx.integer(78, 0);
      ctx.integer(98, 0);
    }
  }

 private:
  // The kept source groups in order, when they describe exactly `loopCount` loops (one 97
  // each, followed by as many 330 groups as it says); else none.
  static std::vector<const ZcDbKeptGroup*> loopSources(const ZcDbObject& obj, int loopCount) {
    std::vector<const ZcDbKeptGroup*> groups;
    const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj);
    if (!kept) return groups;
    int loops = 0;
    size_t expected330 = 0;
    for (const ZcDbKeptGroup& g : *kept) {
      if (g.slot != kLoopSourcesSlot) continue;
      if (g.code == 97) {
        if (expected330 != 0) return {};
        std::optional<std::int64_t> n = parseInt(g.value);
        if (!n || *n < 0) return {};
        expected330 = static_cast<size_t>(*n);
        ++loops;
      } else if (g.code == 330 && expected330 > 0) {
        --expected330;
      } else {
        return {};
      }
      groups.push_back(&g);
    }
    if (loops != loopCount || expected330 != 0) return {};
    return groups;
  }

  // Pattern lines, pixel size, seed points or gradient kept from the file.
  static bool hasKeptTail(const ZcDbObject& obj) {
    const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj);
    return kept && std::any_of(kept->begin(), kept->end(), [](const ZcDbKeptGroup& g) {
             return (g.slot == kHatchSlot || g.slot == kNoMarkers) &&
                    (g.code == 78 || g.code == 47 || g.code == 98 || g.code >= 450);
           });
  }

  // Edge angles are read without normalizing: their degrees as they are.
  static double arcDegrees(double radians) {
    return degreesOf(radians, radians, [](double degrees) { return degrees * kRadiansPerDegree; });
  }

  static void writeLoop(const ZcDbHatch& hatch, int n, WriteContext& ctx) {
    const Zdesk::Int32 type = hatch.loopTypeAt(n);
    ctx.integer(92, type);
    Zdesk::Int32 ignored = 0;
    if (type & ZcDbHatch::kPolyline) {
      ZcGePoint2dArray vertices;
      ZcGeDoubleArray bulges;
      hatch.getLoopAt(n, ignored, vertices, bulges);
      const bool hasBulges = std::any_of(bulges.begin(), bulges.end(), [](double b) { return b != 0.0; });
      ctx.integer(72, hasBulges ? 1 : 0);
      ctx.integer(73, 1);  // polyline loops are closed: the last vertex joins the first
      ctx.integer(93, vertices.length());
      for (int k = 0; k < vertices.length(); ++k) {
        ctx.point2d(10, vertices[k]);
        if (hasBulges) ctx.real(42, k < bulges.length() ? bulges[k] : 0.0);
      }
      return;
    }
    ZcDbHatchEdgeArray edges;
    hatch.getLoopAt(n, ignored, edges);
    ctx.integer(93, edges.length());
    for (const ZcDbHatchEdge& edge : edges) {
      ctx.integer(72, edge.type());
      switch (edge.type()) {
        case ZcDbHatchEdge::kLine:
          ctx.point2d(10, edge.startPoint());
          ctx.point2d(11, edge.endPoint());
          break;
        case ZcDbHatchEdge::kCirArc:
          ctx.point2d(10, edge.center());
          ctx.real(40, edge.radius());
          ctx.real(50, arcDegrees(edge.startAngle()));
          ctx.real(51, arcDegrees(edge.endAngle()));
          ctx.integer(73, edge.isCounterClockwise() ? 1 : 0);
          break;
        case ZcDbHatchEdge::kEllArc:
          ctx.point2d(10, edge.center());
          ctx.point2d(11, ZcGePoint2d::kOrigin + edge.majorAxis());
          ctx.real(40, edge.minorMajorRatio());
          ctx.real(50, arcDegrees(edge.startAngle()));
          ctx.real(51, arcDegrees(edge.endAngle()));
          ctx.integer(73, edge.isCounterClockwise() ? 1 : 0);
          break;
        case ZcDbHatchEdge::kSpline: {
          ctx.integer(94, edge.degree());
          ctx.integer(73, edge.isRational() ? 1 : 0);
          ctx.integer(74, edge.isPeriodic() ? 1 : 0);
          ctx.integer(95, edge.knots().length());
          ctx.integer(96, edge.controlPoints().length());
          for (double knot : edge.knots()) ctx.real(40, knot);
          const bool weighted = edge.isRational() && edge.weights().length() == edge.controlPoints().length();
          for (int k = 0; k < edge.controlPoints().length(); ++k) {
            ctx.point2d(10, edge.controlPoints()[k]);
            if (weighted) ctx.real(42, edge.weights()[k]);
          }
          ctx.integer(97, edge.fitPoints().length());
          for (const ZcGePoint2d& p : edge.fitPoints()) ctx.point2d(11, p);
          if (!edge.fitPoints().isEmpty()) {
            ctx.point2d(12, ZcGePoint2d::kOrigin + edge.startTangent());
            ctx.point2d(13, ZcGePoint2d::kOrigin + edge.endTangent());
          }
          break;
        }
      }
    }
  }
};

}  // namespace

const ObjectCodec& hatchCodec() {
  static const HatchCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
