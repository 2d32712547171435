// ARC: three points (start, second, end); Center (center, start, then end, included Angle or
// chord Length); from the start point, Center or End first (then center, Angle, Direction or
// Radius). Arcs run counter-clockwise unless a negative angle asks for clockwise; a negative
// chord length or radius asks for the major arc. Enter at the first prompt continues from the
// end of the last line or arc, tangent to it.
//
// The arc lies parallel to the XY plane at the height of its start point (the center when
// the center is asked first). Input that makes no arc (coincident or collinear points, a
// chord longer than the diameter, an end straight ahead of the tangent) is answered with a
// message and draws nothing.
#include <memory>
#include <optional>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "commands/DrawGeometry.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

void drawArc(ZcDbDatabase* db, const std::optional<ArcSegment>& segment, double z) {
  // A bulge of 0 is a straight segment: no arc bends that way.
  if (!segment || segment->bulge == 0.0) {
    say(L"\nInvalid: no arc fits that input; nothing was drawn.");
    return;
  }
  CcwArc arc = ccwArcOf(*segment);
  if (!inRange({arc.center.x, arc.center.y, arc.radius})) return;
  ZcDbObjectId id = addEntity(
      db, std::make_unique<ZcDbArc>(raised(arc.center, z), arc.radius, arc.startAngle, arc.endAngle));
  if (id.isNull()) return;
  ZcGePoint3d end = raised(segment->end, z);
  ZcGeVector2d tangent = endTangentOf(*segment);
  rememberContinuation(db, id, {end, ZcGeVector3d(tangent.x, tangent.y, 0.0), /*afterArc=*/true});
  setLastPoint(end);
}

void fromStartAndCenter(ZcDbDatabase* db, const ZcGePoint3d& start, const ZcGePoint3d& center) {
  Answer<ZcGePoint3d> end = getPoint(&center, L"\nSpecify end point of arc or [Angle/chord Length]: ",
                                     {.bits = RSG_NONULL, .keywords = L"Angle Length"});
  if (end.isCancel()) return;
  if (end.isValue()) {
    drawArc(db, arcStartCenterEnd(flat(start), flat(center), flat(end.value)), start.z);
  } else if (end.is(L"Angle")) {
    Answer<double> sweep = getIncludedAngle(center, L"\nSpecify included angle: ", RSG_NONULL);
    if (sweep.isValue()) drawArc(db, arcStartCenterAngle(flat(start), flat(center), sweep.value), start.z);
  } else if (end.is(L"Length")) {
    Answer<double> chord = getDist(&start, L"\nSpecify length of chord: ", {.bits = RSG_NONULL | RSG_NOZERO});
    if (chord.isValue()) drawArc(db, arcStartCenterChord(flat(start), flat(center), chord.value), start.z);
  }
}

void fromStartAndEnd(ZcDbDatabase* db, const ZcGePoint3d& start) {
  Answer<ZcGePoint3d> endAnswer = getPoint(&start, L"\nSpecify end point of arc: ", {.bits = RSG_NONULL});
  if (!endAnswer.isValue()) return;
  ZcGePoint2d from = flat(start), to = flat(endAnswer.value);
  Answer<ZcGePoint3d> center =
      getPoint(&start, L"\nSpecify center point of arc or [Angle/Direction/Radius]: ",
               {.bits = RSG_NONULL, .keywords = L"Angle Direction Radius"});
  if (center.isCancel()) return;
  if (center.isValue()) {
    drawArc(db, arcStartCenterEnd(from, flat(center.value), to), start.z);
  } else if (center.is(L"Angle")) {
    Answer<double> sweep = getIncludedAngle(start, L"\nSpecify included angle: ", RSG_NONULL);
    if (sweep.isValue()) drawArc(db, arcStartEndAngle(from, to, sweep.value), start.z);
  } else if (center.is(L"Direction")) {
    Answer<double> direction =
        getAngle(&start, L"\nSpecify tangent direction for the start point of arc: ", {.bits = RSG_NONULL});
    if (direction.isValue()) drawArc(db, arcStartEndDirection(from, unitAt(direction.value), to), start.z);
  } else if (center.is(L"Radius")) {
    Answer<double> radius = getDist(&start, L"\nSpecify radius of arc: ", {.bits = RSG_NONULL | RSG_NOZERO});
    if (radius.isValue()) drawArc(db, arcStartEndRadius(from, to, radius.value), start.z);
  }
}

}  // namespace

void arcCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  for (;;) {
    Answer<ZcGePoint3d> start =
        getPoint(nullptr, L"\nSpecify start point of arc or [Center]: ", {.keywords = L"Center"});
    if (start.isCancel()) return;
    if (start.isNone()) {
      std::optional<Continuation> last = lastContinuation(db);
      if (!last) {
        say(L"\nNo line or arc to continue.");
        continue;
      }
      setLastPoint(last->end);
      Answer<ZcGePoint3d> end = getPoint(&last->end, L"\nSpecify end point of arc: ", {.bits = RSG_NONULL});
      if (!end.isValue()) return;
      ZcGeVector2d direction(last->direction.x, last->direction.y);
      drawArc(db, arcStartEndDirection(flat(last->end), direction, flat(end.value)), last->end.z);
      return;
    }
    if (start.is(L"Center")) {
      Answer<ZcGePoint3d> center =
          getPoint(nullptr, L"\nSpecify center point of arc: ", {.bits = RSG_NONULL});
      if (!center.isValue()) return;
      Answer<ZcGePoint3d> from =
          getPoint(&center.value, L"\nSpecify start point of arc: ", {.bits = RSG_NONULL});
      if (!from.isValue()) return;
      // The center was given first: its height is the arc's.
      ZcGePoint3d onPlane(from.value.x, from.value.y, center.value.z);
      fromStartAndCenter(db, onPlane, center.value);
      return;
    }
    if (!start.isValue()) return;
    Answer<ZcGePoint3d> second = getPoint(&start.value, L"\nSpecify second point of arc or [Center/End]: ",
                                          {.bits = RSG_NONULL, .keywords = L"Center End"});
    if (second.isCancel()) return;
    if (second.isValue()) {
      Answer<ZcGePoint3d> end =
          getPoint(&second.value, L"\nSpecify end point of arc: ", {.bits = RSG_NONULL});
      if (end.isValue()) {
        drawArc(db, arcThreePoints(flat(start.value), flat(second.value), flat(end.value)), start.value.z);
      }
    } else if (second.is(L"Center")) {
      Answer<ZcGePoint3d> center =
          getPoint(&start.value, L"\nSpecify center point of arc: ", {.bits = RSG_NONULL});
      if (center.isValue()) fromStartAndCenter(db, start.value, center.value);
    } else if (second.is(L"End")) {
      fromStartAndEnd(db, start.value);
    }
    return;
  }
}

}  // namespace vtcad::commands
