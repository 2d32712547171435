#include "commands/DrawGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "zcad/ge/ZcGe.h"

namespace vtcad::commands::draw {

namespace {

// Angles this close to 0 or to a full turn make no arc.
constexpr double kAngleTolerance = 1e-12;

double cross(const ZcGeVector2d& a, const ZcGeVector2d& b) { return a.x * b.y - a.y * b.x; }
ZcGeVector2d leftNormal(const ZcGeVector2d& v) { return {-v.y, v.x}; }

// The distance below which two points of a construction of this size are the same.
double tolerance(double size) { return kSamePoint * std::max(1.0, size); }
double sizeOf(const ZcGePoint2d& p) { return std::max(std::abs(p.x), std::abs(p.y)); }
bool samePoint(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  return a.distanceTo(b) <= tolerance(std::max(sizeOf(a), sizeOf(b)));
}

double wrapPositive(double angle) {
  double wrapped = std::fmod(angle, ZcGe::kTwoPi);
  if (wrapped < 0.0) wrapped += ZcGe::kTwoPi;
  // fmod of a tiny negative angle plus a full turn rounds to exactly 2*pi.
  return wrapped >= ZcGe::kTwoPi ? 0.0 : wrapped;
}

bool isArcSweep(double sweep) {
  return std::abs(sweep) > kAngleTolerance && std::abs(sweep) < ZcGe::kTwoPi - kAngleTolerance;
}

// The straight lines and circles whose points lie `offset` away from an object: a Ttr
// circle's center lies on one of them for each object it touches.
struct Offsets {
  struct Line {
    ZcGePoint2d point;
    ZcGeVector2d direction;  // unit
  };
  std::vector<Line> lines;
  std::vector<Circle2d> circles;
};

Offsets offsetsOf(const TangentObject& object, double offset) {
  Offsets out;
  if (object.kind == TangentObject::Kind::kLine) {
    ZcGeVector2d along = object.lineTo - object.lineFrom;
    double length = along.length();
    if (!(length > 0.0)) return out;  // degenerate: a zero-length line has no direction
    along /= length;
    ZcGeVector2d side = leftNormal(along) * offset;
    out.lines.push_back({object.lineFrom + side, along});
    out.lines.push_back({object.lineFrom - side, along});
    return out;
  }
  double radius = object.circle.radius;
  out.circles.push_back({object.circle.center, radius + offset});
  // Same radius: the inner offset shrinks to the center, where a touching circle would be
  // the object itself.
  double inner = std::abs(radius - offset);
  if (inner > tolerance(radius + offset)) out.circles.push_back({object.circle.center, inner});
  return out;
}

void intersect(const Offsets::Line& a, const Offsets::Line& b, std::vector<ZcGePoint2d>& out) {
  double denominator = cross(a.direction, b.direction);
  if (std::abs(denominator) <= kAngleTolerance) return;  // parallel lines never meet
  double s = cross(b.point - a.point, b.direction) / denominator;
  out.push_back(a.point + a.direction * s);
}

bool onSameLine(const Offsets::Line& a, const Offsets::Line& b) {
  if (std::abs(cross(a.direction, b.direction)) > kAngleTolerance) return false;
  return std::abs(cross(b.point - a.point, a.direction)) <= tolerance(sizeOf(a.point) + sizeOf(b.point));
}

void intersect(const Offsets::Line& line, const Circle2d& circle, std::vector<ZcGePoint2d>& out) {
  double along = (circle.center - line.point).dotProduct(line.direction);
  ZcGePoint2d foot = line.point + line.direction * along;
  double away = foot.distanceTo(circle.center);
  double tol = tolerance(circle.radius + sizeOf(circle.center));
  if (away > circle.radius + tol) return;
  double half = std::sqrt(std::max(0.0, circle.radius * circle.radius - away * away));
  out.push_back(foot + line.direction * half);
  if (half > tol) out.push_back(foot - line.direction * half);
}

void intersect(const Circle2d& a, const Circle2d& b, std::vector<ZcGePoint2d>& out) {
  ZcGeVector2d between = b.center - a.center;
  double d = between.length();
  double tol = tolerance(a.radius + b.radius + sizeOf(a.center));
  if (d <= tol) return;  // concentric circles meet everywhere or nowhere
  if (d > a.radius + b.radius + tol || d < std::abs(a.radius - b.radius) - tol) return;
  double along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2.0 * d);
  double half = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
  ZcGeVector2d unit = between / d;
  ZcGePoint2d base = a.center + unit * along;
  out.push_back(base + leftNormal(unit) * half);
  if (half > tol) out.push_back(base - leftNormal(unit) * half);
}

}  // namespace

double directionAngle(const ZcGeVector2d& v) {
  if (v.x == 0.0 && v.y == 0.0) return 0.0;
  return std::atan2(v.y, v.x);
}

ZcGeVector2d unitAt(double angle) { return {std::cos(angle), std::sin(angle)}; }

double sweepOfBulge(double bulge) { return 4.0 * std::atan(bulge); }

ZcGeVector2d startTangentOf(const ArcSegment& segment) {
  double chord = directionAngle(segment.end - segment.start);
  return unitAt(chord - sweepOfBulge(segment.bulge) / 2.0);
}

ZcGeVector2d endTangentOf(const ArcSegment& segment) {
  double chord = directionAngle(segment.end - segment.start);
  return unitAt(chord + sweepOfBulge(segment.bulge) / 2.0);
}

CcwArc ccwArcOf(const ArcSegment& segment) {
  ZcGeVector2d chord = segment.end - segment.start;
  double length = chord.length();
  double b = segment.bulge;
  ZcGePoint2d middle = segment.start + chord * 0.5;
  // With s the sweep, the center lies (length / 2) * cot(s / 2) to the left of the chord's
  // middle; in terms of b = tan(s / 4) that is length * (1 - b^2) / (4 b).
  CcwArc arc;
  arc.center = middle + leftNormal(chord / length) * (length * (1.0 - b * b) / (4.0 * b));
  arc.radius = length * (1.0 + b * b) / (4.0 * std::abs(b));
  const ZcGePoint2d& from = b > 0.0 ? segment.start : segment.end;
  const ZcGePoint2d& to = b > 0.0 ? segment.end : segment.start;
  arc.startAngle = wrapPositive(directionAngle(from - arc.center));
  arc.endAngle = wrapPositive(directionAngle(to - arc.center));
  return arc;
}

std::optional<ArcSegment> arcStartEndDirection(const ZcGePoint2d& start, const ZcGeVector2d& tangent,
                                               const ZcGePoint2d& end) {
  if (samePoint(start, end) || tangent.length() == 0.0) return std::nullopt;
  ZcGeVector2d chord = end - start;
  // The chord turns from the tangent by half the sweep.
  double half = std::atan2(cross(tangent, chord), tangent.dotProduct(chord));
  if (std::abs(half) >= ZcGe::kPi - 1e-9) return std::nullopt;  // behind the start: a full turn
  return ArcSegment{start, end, std::tan(half / 2.0)};
}

std::optional<ArcSegment> arcThreePoints(const ZcGePoint2d& start, const ZcGePoint2d& onArc,
                                         const ZcGePoint2d& end) {
  if (samePoint(start, onArc) || samePoint(onArc, end) || samePoint(start, end)) return std::nullopt;
  ZcGeVector2d toStart = start - onArc;
  ZcGeVector2d toEnd = end - onArc;
  double turn = cross(toEnd, toStart);  // positive when start -> onArc -> end turns left
  if (std::abs(turn) <= kSamePoint * toStart.length() * toEnd.length()) return std::nullopt;  // collinear
  // The angle at the middle point is inscribed over the arc not holding it, so the arc that
  // holds it sweeps 2 * (pi - inscribed): b = tan(sweep / 4) = cot(inscribed / 2).
  double inscribed = std::atan2(std::abs(turn), toStart.dotProduct(toEnd));
  double bulge = 1.0 / std::tan(inscribed / 2.0);
  return ArcSegment{start, end, turn > 0.0 ? bulge : -bulge};
}

std::optional<ArcSegment> arcStartCenterEnd(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                            const ZcGePoint2d& endRay) {
  if (samePoint(start, center) || samePoint(endRay, center)) return std::nullopt;
  double from = directionAngle(start - center);
  double sweep = wrapPositive(directionAngle(endRay - center) - from);
  if (!isArcSweep(sweep)) return std::nullopt;
  return arcStartCenterAngle(start, center, sweep);
}

std::optional<ArcSegment> arcStartCenterAngle(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                              double sweep) {
  if (samePoint(start, center) || !isArcSweep(sweep)) return std::nullopt;
  double radius = start.distanceTo(center);
  ZcGePoint2d end = center + unitAt(directionAngle(start - center) + sweep) * radius;
  return ArcSegment{start, end, std::tan(sweep / 4.0)};
}

std::optional<ArcSegment> arcStartCenterChord(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                              double chord) {
  double radius = start.distanceTo(center);
  if (!(radius > tolerance(sizeOf(center))) || std::abs(chord) <= tolerance(radius)) return std::nullopt;
  double ratio = std::abs(chord) / (2.0 * radius);
  if (ratio > 1.0 + kSamePoint) return std::nullopt;
  double minor = 2.0 * std::asin(std::min(1.0, ratio));
  return arcStartCenterAngle(start, center, chord > 0.0 ? minor : ZcGe::kTwoPi - minor);
}

std::optional<ArcSegment> arcStartEndAngle(const ZcGePoint2d& start, const ZcGePoint2d& end, double sweep) {
  if (samePoint(start, end) || !isArcSweep(sweep)) return std::nullopt;
  return ArcSegment{start, end, std::tan(sweep / 4.0)};
}

std::optional<ArcSegment> arcStartEndRadius(const ZcGePoint2d& start, const ZcGePoint2d& end, double radius) {
  if (samePoint(start, end) || radius == 0.0 || !std::isfinite(radius)) return std::nullopt;
  double ratio = start.distanceTo(end) / (2.0 * std::abs(radius));
  if (ratio > 1.0 + kSamePoint) return std::nullopt;
  double minor = 2.0 * std::asin(std::min(1.0, ratio));
  return arcStartEndAngle(start, end, radius > 0.0 ? minor : ZcGe::kTwoPi - minor);
}

ZcGePoint2d touchingPoint(const TangentObject& object, const ZcGePoint2d& center, double radius) {
  if (object.kind == TangentObject::Kind::kLine) {
    ZcGeVector2d along = object.lineTo - object.lineFrom;
    double length = along.length();
    if (!(length > 0.0)) return object.lineFrom;
    along /= length;
    return object.lineFrom + along * (center - object.lineFrom).dotProduct(along);
  }
  const Circle2d& circle = object.circle;
  ZcGeVector2d away = center - circle.center;
  double distance = away.length();
  if (!(distance > 0.0)) return circle.center + ZcGeVector2d(circle.radius, 0.0);  // concentric: any point
  ZcGeVector2d unit = away / distance;
  // Outside, the near side touches; around the object (or inside it), whichever side lies
  // the radius away.
  ZcGePoint2d nearSide = circle.center + unit * circle.radius;
  ZcGePoint2d farSide = circle.center - unit * circle.radius;
  return std::abs(nearSide.distanceTo(center) - radius) <= std::abs(farSide.distanceTo(center) - radius)
             ? nearSide
             : farSide;
}

std::vector<Circle2d> circlesTangentToBoth(const TangentObject& first, const TangentObject& second,
                                           double radius) {
  std::vector<ZcGePoint2d> centers;
  if (!(radius > 0.0)) return {};
  Offsets a = offsetsOf(first, radius);
  Offsets b = offsetsOf(second, radius);
  for (const Offsets::Line& la : a.lines) {
    for (const Offsets::Line& lb : b.lines) {
      intersect(la, lb, centers);
      // Parallel lines exactly two radii apart: every point of the middle line is a center.
      // The one between the picks is the circle the user points at.
      if (onSameLine(la, lb)) {
        ZcGePoint2d between = first.pick + (second.pick - first.pick) * 0.5;
        centers.push_back(la.point + la.direction * (between - la.point).dotProduct(la.direction));
      }
    }
    for (const Circle2d& cb : b.circles) intersect(la, cb, centers);
  }
  for (const Circle2d& ca : a.circles) {
    for (const Offsets::Line& lb : b.lines) intersect(lb, ca, centers);
    for (const Circle2d& cb : b.circles) intersect(ca, cb, centers);
  }
  std::vector<Circle2d> circles;
  circles.reserve(centers.size());
  for (const ZcGePoint2d& center : centers) circles.push_back({center, radius});
  return circles;
}

std::optional<Circle2d> circleTangentToBoth(const TangentObject& first, const TangentObject& second,
                                            double radius) {
  std::optional<Circle2d> best;
  double bestScore = std::numeric_limits<double>::infinity();
  for (const Circle2d& circle : circlesTangentToBoth(first, second, radius)) {
    double score = touchingPoint(first, circle.center, radius).distanceTo(first.pick) +
                   touchingPoint(second, circle.center, radius).distanceTo(second.pick);
    if (score < bestScore) {
      bestScore = score;
      best = circle;
    }
  }
  return best;
}

}  // namespace vtcad::commands::draw
