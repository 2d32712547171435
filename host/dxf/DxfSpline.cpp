// SPLINE: a NURBS curve ("100 AcDbSpline"): flags (1 closed, 2 periodic, 4 rational, 8 planar),
// degree, the counts of knots, control points and fit points, the knot, control-point and fit
// tolerances, the end tangents of the fit, then the knots, weights, control points and fit
// points, all in world coordinates. HELIX writes these same groups before its own, through
// this codec.
//
// What is taken from a file:
// - Control points and knots that make a curve are the geometry, exactly as the file has them.
//   Fit points beside them are kept as the spline's fit data, as they are: interpolating them
//   again could move the curve off the file's control points.
// - Without usable control data (none, or knots that do not match: "knot count mismatch"),
//   fit points rebuild the spline by interpolation, with a message when control data was
//   given and left out.
// - Knots missing altogether are made uniform and clamped, with a message. Weights that do
//   not match the control points are left out (the spline is then polynomial), with a
//   message; so are counts (72, 73, 74) that disagree with the values given, which never size
//   anything.
// - A spline with neither is dropped.
// The planar flag and the normal (210) are derived from the curve when writing.
#include <algorithm>
#include <optional>
#include <string>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/ge/ZcGePlane.h"

namespace vtcad::dxf {
namespace {

constexpr int kClosed = 1, kPeriodic = 2, kRational = 4, kPlanar = 8;
constexpr int kMaxDegree = 25;

// What a file gives of a spline, before it is checked.
struct SplineGroups {
  std::int64_t flags = 0;
  std::optional<std::int64_t> degree;
  std::optional<std::int64_t> knotCount, controlCount, fitCount;  // as declared (72, 73, 74)
  std::uint32_t countLines[3] = {0, 0, 0};
  double knotTol = 0.0, controlTol = 0.0, fitTol = 0.0;
  ZcGeVector3d startTangent, endTangent;
  ZcGeDoubleArray knots, weights;
  ZcGePoint3dArray control, fit;
  bool knotsDamaged = false, weightsDamaged = false, controlDamaged = false, fitDamaged = false;
};

size_t skipPointRest(std::span<const BodyGroup> body, size_t i, int code) {
  while (i + 1 < body.size() && (body[i + 1].tag.code == code + 10 || body[i + 1].tag.code == code + 20)) ++i;
  return i;
}

double tolerance(const Tag& tag, ReadContext& ctx) {
  std::optional<double> v = ctx.real(tag);
  if (v && *v >= 0.0) return *v;
  if (v) ctx.warn(tag, "negative spline tolerance " + std::string(tag.trimmed()) + " was read as 0");
  return 0.0;
}

// Uniform knots, clamped at both ends, for `count` control points of `degree`.
ZcGeDoubleArray clampedUniformKnots(int degree, int count) {
  ZcGeDoubleArray knots;
  const int spans = count - degree;
  for (int i = 0; i <= degree; ++i) knots.append(0.0);
  for (int i = 1; i < spans; ++i) knots.append(static_cast<double>(i));
  for (int i = 0; i <= degree; ++i) knots.append(static_cast<double>(spans));
  return knots;
}

void checkCount(ReadContext& ctx, const std::optional<std::int64_t>& declared, int given, std::uint32_t line,
                const char* what) {
  if (declared && *declared != given) {
    ctx.warn(line, "spline says it has " + std::to_string(*declared) + " " + what + " and has " +
                       std::to_string(given));
  }
}

// Sets the control data; false (with a message) when it makes no curve.
bool setControlData(ZcDbSpline& spline, SplineGroups& s, std::uint32_t line, ReadContext& ctx) {
  const int n = s.control.length();
  int degree = 0;
  if (s.degree) {
    degree = static_cast<int>(std::clamp<std::int64_t>(*s.degree, -1, kMaxDegree + 1));
  } else if (!s.knots.isEmpty()) {
    degree = s.knots.length() - n - 1;  // what the knot count implies
  } else {
    degree = std::min(3, n - 1);
  }
  if (degree < 1 || degree > kMaxDegree || n < degree + 1) {
    ctx.warn(line, "spline of degree " + std::to_string(degree) + " with " + std::to_string(n) +
                       " control points makes no curve");
    return false;
  }
  if (s.knotsDamaged) return false;
  if (s.knots.isEmpty()) {
    ctx.warn(line, "spline without knots: uniform knots were made");
    s.knots = clampedUniformKnots(degree, n);
  }
  bool rational = false;
  if (!s.weights.isEmpty() && !s.weightsDamaged) {
    const bool positive = std::all_of(s.weights.begin(), s.weights.end(), [](double w) { return w > 0.0; });
    if (s.weights.length() != n || !positive) {
      ctx.warn(line, "spline weights (" + std::to_string(s.weights.length()) + " for " + std::to_string(n) +
                         " control points) were left out");
    } else {
      rational = (s.flags & kRational) != 0 ||
                 std::any_of(s.weights.begin(), s.weights.end(), [](double w) { return w != 1.0; });
    }
  }
  const bool periodic = (s.flags & kPeriodic) != 0;
  const bool closed = (s.flags & kClosed) != 0;
  const ZcGeDoubleArray& weights = rational ? s.weights : ZcGeDoubleArray();
  if (spline.setNurbsData(degree, rational, closed, periodic, s.control, s.knots, weights, s.controlTol,
                          s.knotTol) == Zcad::eOk)
    return true;
  // One period of knots without the periodic flag: the flag was forgotten.
  if (!periodic && s.knots.length() == n + 1 &&
      spline.setNurbsData(degree, rational, closed, /*periodic=*/true, s.control, s.knots, weights,
                          s.controlTol, s.knotTol) == Zcad::eOk)
    return true;
  ctx.warn(line, "spline knots do not match its control points (" + std::to_string(s.knots.length()) +
                     " knots, " + std::to_string(n) + " control points, degree " + std::to_string(degree) +
                     ")");
  return false;
}

class SplineCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "SPLINE"; }
  ZcRxClass* rxClass() const override { return ZcDbSpline::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbSpline"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbSpline; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& spline = static_cast<ZcDbSpline&>(obj);
    SplineGroups s;
    const std::uint32_t line = body.empty() ? 0 : body.front().tag.line;
    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      switch (g.tag.code) {
        case 10:
        case 11: {
          ReadContext::PointRead p = ctx.point(body, i);
          const bool control = g.tag.code == 10;
          if (!p.point) {
            (control ? s.controlDamaged : s.fitDamaged) = true;
            i = skipPointRest(body, i, g.tag.code);
            continue;
          }
          (control ? s.control : s.fit).append(*p.point);
          i += p.taken - 1;
          continue;
        }
        case 12:
        case 13: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) {
            i = skipPointRest(body, i, g.tag.code);
            continue;  // the tangent is then estimated
          }
          (g.tag.code == 12 ? s.startTangent : s.endTangent) = p.point->asVector();
          i += p.taken - 1;
          continue;
        }
        case 40:
        case 41: {
          std::optional<double> v = ctx.real(g.tag);
          const bool knot = g.tag.code == 40;
          if (!v) {
            (knot ? s.knotsDamaged : s.weightsDamaged) = true;
          } else {
            (knot ? s.knots : s.weights).append(*v);
          }
          continue;
        }
        case 42:
          s.knotTol = tolerance(g.tag, ctx);
          continue;
        case 43:
          s.controlTol = tolerance(g.tag, ctx);
          continue;
        case 44:
          s.fitTol = tolerance(g.tag, ctx);
          continue;
        case 70:
          // Written from the curve: an unreadable flag or degree is left out (the context said
          // why), not kept.
          if (auto v = ctx.integer(g.tag)) s.flags = *v;
          continue;
        case 71:
          if (auto v = ctx.integer(g.tag)) s.degree = *v;
          continue;
        case 72:
        case 73:
        case 74: {
          std::optional<std::int64_t> v = ctx.integer(g.tag);
          (g.tag.code == 72 ? s.knotCount : g.tag.code == 73 ? s.controlCount : s.fitCount) = v;
          s.countLines[g.tag.code - 72] = g.tag.line;
          continue;
        }
        case 210: {
          // The plane is the curve's own; the normal is written from it.
          ReadContext::PointRead p = ctx.point(body, i);
          i = p.point ? i + p.taken - 1 : skipPointRest(body, i, 210);
          continue;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }
    checkCount(ctx, s.knotCount, s.knots.length(), s.countLines[0], "knots");
    checkCount(ctx, s.controlCount, s.control.length(), s.countLines[1], "control points");
    checkCount(ctx, s.fitCount, s.fit.length(), s.countLines[2], "fit points");

    const bool fitUsable = s.fit.length() >= 2 && !s.fitDamaged;
    if (s.fitDamaged) ctx.lose(line, "spline fit points could not all be read and were left out");
    bool nurbs = false;
    if (s.controlDamaged) {
      ctx.lose(line, "spline control points could not all be read");
    } else if (!s.control.isEmpty()) {
      nurbs = setControlData(spline, s, line, ctx);
    }
    if (nurbs) {
      if (fitUsable) ZcDbFileAccess::setSplineFitData(&spline, s.fit, s.startTangent, s.endTangent, s.fitTol);
      return true;
    }
    if (fitUsable) {
      // A closed fit spline lists its points once; the database closes a fit spline whose
      // last point repeats the first.
      if ((s.flags & kClosed) != 0 && s.fit.first() != s.fit.last() && s.startTangent.isZeroLength() &&
          s.endTangent.isZeroLength())
        s.fit.append(s.fit.first());
      if (spline.setFitData(s.fit, /*degree=*/3, s.fitTol, s.startTangent, s.endTangent) == Zcad::eOk) {
        if (!s.control.isEmpty() || s.controlDamaged)
          ctx.warn(line, "spline was rebuilt from its fit points");
        return true;
      }
    }
    ctx.warn(line, "spline without usable control points or fit points");
    return false;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& spline = static_cast<const ZcDbSpline&>(obj);
    int degree = 0;
    bool rational = false, closed = false, periodic = false;
    ZcGePoint3dArray control;
    ZcGeDoubleArray knots, weights;
    double controlTol = 0.0, knotTol = 0.0;
    spline.getNurbsData(degree, rational, closed, periodic, control, knots, weights, controlTol, knotTol);
    ZcGePoint3dArray fit;
    int fitDegree = 0;
    double fitTol = 0.0;
    bool tangentsExist = false;
    ZcGeVector3d startTangent, endTangent;
    const bool hasFit =
        spline.getFitData(fit, fitDegree, fitTol, tangentsExist, startTangent, endTangent) == Zcad::eOk;
    ZcGePlane plane;
    bool planar = false;
    spline.getPlane(plane, planar);

    ctx.beginSubclass("AcDbSpline");
    if (planar) ctx.point(210, plane.normal());
    ctx.integer(70, (closed ? kClosed : 0) | (periodic ? kPeriodic : 0) | (rational ? kRational : 0) |
                        (planar ? kPlanar : 0));
    ctx.integer(71, degree);
    ctx.integer(72, knots.length());
    ctx.integer(73, control.length());
    ctx.integer(74, hasFit ? fit.length() : 0);
    ctx.real(42, knotTol);
    ctx.real(43, controlTol);
    if (hasFit) {
      ctx.real(44, fitTol);
      if (!startTangent.isZeroLength()) ctx.point(12, startTangent);
      if (!endTangent.isZeroLength()) ctx.point(13, endTangent);
    }
    for (double knot : knots) ctx.real(40, knot);
    if (rational) {
      for (double weight : weights) ctx.real(41, weight);
    }
    for (const ZcGePoint3d& p : control) ctx.point(10, p);
    if (hasFit) {
      for (const ZcGePoint3d& p : fit) ctx.point(11, p);
    }
  }
};

}  // namespace

const ObjectCodec& splineCodec() {
  static const SplineCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
