#pragma once
// Plane geometry of the drawing commands: the arcs ARC and PLINE build from their many kinds
// of input, and the circle CIRCLE's Ttr option fits between two objects. Everything works in
// the XY plane; the commands put the result at the height of its first point.
//
// Arcs are given the way a polyline holds a segment: from the point the user started at to
// the point the user ended at, with bulge = tan(sweep / 4), positive when the arc turns
// counter-clockwise. A bulge of 0 is a straight segment. Constructions answer nothing for
// input that makes no arc (coincident points, an end behind the start tangent, a chord
// longer than the diameter), never a half-valid result.
#include <optional>
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGeVector2d.h"

namespace vtcad::commands::draw {

// Points closer than this (relative to the size of the construction, at least in absolute
// terms near the origin) count as the same point.
inline constexpr double kSamePoint = 1e-9;

// Angle of `v` from the X axis in (-pi, pi]; 0 for the zero vector.
double directionAngle(const ZcGeVector2d& v);
ZcGeVector2d unitAt(double angle);

struct ArcSegment {
  ZcGePoint2d start;
  ZcGePoint2d end;
  double bulge = 0.0;
};

// Included angle of a bulge (positive counter-clockwise).
double sweepOfBulge(double bulge);
// Directions in which a segment leaves its start and arrives at its end (unit vectors; the
// chord direction for a straight segment).
ZcGeVector2d startTangentOf(const ArcSegment& segment);
ZcGeVector2d endTangentOf(const ArcSegment& segment);

// A counter-clockwise arc of a circle, as the database's arcs hold it.
struct CcwArc {
  ZcGePoint2d center;
  double radius = 0.0;
  double startAngle = 0.0;
  double endAngle = 0.0;
};
// The circle arc of a segment with a non-zero bulge and distinct ends: an arc that turns
// clockwise runs counter-clockwise from the segment's end to its start.
CcwArc ccwArcOf(const ArcSegment& segment);

// The arc leaving `start` along `tangent` and ending at `end`. A bulge of 0 when `end` lies
// ahead on the tangent line; nothing when it lies behind it (a full turn) or on `start`.
std::optional<ArcSegment> arcStartEndDirection(const ZcGePoint2d& start, const ZcGeVector2d& tangent,
                                               const ZcGePoint2d& end);
// From `start` through `onArc` to `end`; nothing when the three are collinear or two coincide.
std::optional<ArcSegment> arcThreePoints(const ZcGePoint2d& start, const ZcGePoint2d& onArc,
                                         const ZcGePoint2d& end);
// About `center` counter-clockwise from `start` until the ray from the center through
// `endRay`; nothing when that ray is the start's own (no arc, or a full circle) or a point
// coincides with the center.
std::optional<ArcSegment> arcStartCenterEnd(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                            const ZcGePoint2d& endRay);
// About `center` from `start` through the included angle (negative: clockwise); nothing for
// a zero or full-turn angle or a start on the center.
std::optional<ArcSegment> arcStartCenterAngle(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                              double sweep);
// About `center` counter-clockwise from `start` to the point a chord of length |chord| away:
// the minor arc for a positive chord, the major one for a negative; nothing when the chord is
// zero or longer than the diameter.
std::optional<ArcSegment> arcStartCenterChord(const ZcGePoint2d& start, const ZcGePoint2d& center,
                                              double chord);
// From `start` to `end` through the included angle (negative: clockwise).
std::optional<ArcSegment> arcStartEndAngle(const ZcGePoint2d& start, const ZcGePoint2d& end, double sweep);
// From `start` counter-clockwise to `end` on a circle of |radius|: the minor arc for a
// positive radius, the major one for a negative; nothing when the chord exceeds the diameter.
std::optional<ArcSegment> arcStartEndRadius(const ZcGePoint2d& start, const ZcGePoint2d& end, double radius);

struct Circle2d {
  ZcGePoint2d center;
  double radius = 0.0;
};

// An object a Ttr circle touches: the infinite line through two points or a full circle, and
// the point where the user picked it (the touching point nearest the picks wins).
struct TangentObject {
  enum class Kind { kLine, kCircle } kind = Kind::kLine;
  ZcGePoint2d lineFrom;
  ZcGePoint2d lineTo;
  Circle2d circle;
  ZcGePoint2d pick;
};
// Where the circle of `radius` about `center` touches the object.
ZcGePoint2d touchingPoint(const TangentObject& object, const ZcGePoint2d& center, double radius);
// The circles of `radius` tangent to both objects. Between parallel lines two radii apart,
// where every circle along the middle fits, the one centered between the picks.
std::vector<Circle2d> circlesTangentToBoth(const TangentObject& first, const TangentObject& second,
                                           double radius);
// The one of them whose touching points lie nearest the pick points; nothing when there is
// none.
std::optional<Circle2d> circleTangentToBoth(const TangentObject& first, const TangentObject& second,
                                            double radius);

}  // namespace vtcad::commands::draw
