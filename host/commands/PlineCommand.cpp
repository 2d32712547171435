// PLINE: one lightweight polyline of straight and arc segments with widths.
//
// Line mode takes next points, Length (a segment continuing the last one's direction), Arc,
// Close, Undo, Width and Halfwidth. Arc mode continues tangentially by default (the endpoint
// alone fixes the arc) and offers the other ways to fix an arc: Angle, CEnter, Direction,
// Radius, Second pt, and CLose with a tangent arc. Widths apply to the next segment (which
// tapers from the starting to the ending width); the segments after it keep the ending width,
// which PLINEWID remembers for the next polyline.
//
// The polyline lies parallel to the XY plane at the height of its start point (later points
// are taken straight down onto that plane). It goes into the drawing when the command ends:
// Enter, Close or a cancel keep what was drawn; a start point alone draws nothing. The first
// segment of a polyline has no segment before it to be tangent to: it starts along the X axis.
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "commands/DrawGeometry.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

struct Vertex {
  ZcGePoint2d point;
  // Of the segment that leaves this vertex.
  double bulge = 0.0;
  double startWidth = 0.0;
  double endWidth = 0.0;
};

class PolylineDraft {
 public:
  PolylineDraft(const ZcGePoint3d& start, double width)
      : elevation_(start.z), nextStart_(width), nextEnd_(width) {
    vertices_.push_back({flat(start), 0.0, width, width});
  }

  size_t size() const { return vertices_.size(); }
  ZcGePoint2d current() const { return vertices_.back().point; }
  ZcGePoint3d current3d() const { return raised(current(), elevation_); }
  ZcGePoint2d first() const { return vertices_.front().point; }
  ZcGePoint3d lift(const ZcGePoint3d& point) const { return {point.x, point.y, elevation_}; }
  double startWidth() const { return nextStart_; }
  double endWidth() const { return nextEnd_; }

  // The direction the pen moves in at the current point: along the last segment's end.
  ZcGeVector2d tangent() const {
    if (vertices_.size() < 2) return {1.0, 0.0};
    const Vertex& from = vertices_[vertices_.size() - 2];
    return endTangentOf({from.point, current(), from.bulge});
  }

  // `segment` starts at the current point.
  void add(const ArcSegment& segment) {
    Vertex& from = vertices_.back();
    from.bulge = segment.bulge;
    from.startWidth = nextStart_;
    from.endWidth = nextEnd_;
    // A taper happens once; the segments after it keep its ending width.
    nextStart_ = nextEnd_;
    vertices_.push_back({segment.end, 0.0, nextStart_, nextEnd_});
    setLastPoint(current3d());
  }

  bool undo() {
    if (vertices_.size() < 2) return false;
    vertices_.pop_back();
    vertices_.back().bulge = 0.0;
    setLastPoint(current3d());
    return true;
  }

  void setWidths(double start, double end) {
    nextStart_ = start;
    nextEnd_ = end;
  }

  // Closes with a segment of `bulge` back to the first point.
  void close(double bulge) {
    if (vertices_.size() > 2 && current().isEqualTo(first())) {
      // Degenerate case: the pen is on the first point already, so the last segment closes
      // the polyline and its end vertex would double the first one.
      vertices_.pop_back();
    } else {
      Vertex& last = vertices_.back();
      last.bulge = bulge;
      last.startWidth = nextStart_;
      last.endWidth = nextEnd_;
    }
    closed_ = true;
  }

  std::unique_ptr<ZcDbPolyline> build() const {
    auto polyline = std::make_unique<ZcDbPolyline>(static_cast<unsigned int>(vertices_.size()));
    for (unsigned int i = 0; i < vertices_.size(); ++i) {
      const Vertex& v = vertices_[i];
      polyline->addVertexAt(i, v.point, v.bulge, v.startWidth, v.endWidth);
    }
    polyline->setElevation(elevation_);
    polyline->setClosed(closed_);
    return polyline;
  }

 private:
  std::vector<Vertex> vertices_;
  double elevation_;
  double nextStart_;
  double nextEnd_;
  bool closed_ = false;
};

// What one prompt of the command led to.
enum class Step { kGoOn, kEnd };

void sayInvalidArc() { say(L"\nInvalid: no arc fits that input."); }

// Adds the segment when there is one (a construction that made none is answered); the
// command goes on either way.
Step addSegment(PolylineDraft& draft, const std::optional<ArcSegment>& arc) {
  if (!arc) {
    sayInvalidArc();
  } else if (inRange({arc->end.x, arc->end.y, arc->bulge})) {
    draft.add(*arc);
  }
  return Step::kGoOn;
}

Step askWidths(PolylineDraft& draft, bool half) {
  ZcGePoint3d at = draft.current3d();
  double factor = half ? 0.5 : 1.0;
  std::wstring which = half ? L"half-width" : L"width";
  Answer<double> start = getDist(
      &at, L"\nSpecify starting " + which + L" <" + formatLength(draft.startWidth() * factor) + L">: ",
      {.bits = RSG_NONEG});
  if (start.isCancel()) return Step::kEnd;
  double startWidth = start.isValue() ? start.value / factor : draft.startWidth();
  Answer<double> end =
      getDist(&at, L"\nSpecify ending " + which + L" <" + formatLength(startWidth * factor) + L">: ",
              {.bits = RSG_NONEG});
  if (end.isCancel()) return Step::kEnd;
  draft.setWidths(startWidth, end.isValue() ? end.value / factor : startWidth);
  return Step::kGoOn;
}

Step undoSegment(PolylineDraft& draft) {
  if (!draft.undo()) say(L"\nAll segments already undone.");
  return Step::kGoOn;
}

Step lineStep(PolylineDraft& draft, bool& arcMode) {
  ZcGePoint3d at = draft.current3d();
  bool canClose = draft.size() >= 2;
  Answer<ZcGePoint3d> next =
      canClose ? getPoint(&at, L"\nSpecify next point or [Arc/Close/Halfwidth/Length/Undo/Width]: ",
                          {.keywords = L"Arc Close Halfwidth Length Undo Width"})
               : getPoint(&at, L"\nSpecify next point or [Arc/Halfwidth/Length/Undo/Width]: ",
                          {.keywords = L"Arc Halfwidth Length Undo Width"});
  if (next.isCancel() || next.isNone()) return Step::kEnd;
  if (next.isValue()) {
    ZcGePoint2d end = flat(next.value);
    if (end.isEqualTo(draft.current())) {
      say(L"\nThe point is the last point again; give another one.");
    } else {
      draft.add({draft.current(), end, 0.0});
    }
    return Step::kGoOn;
  }
  if (next.is(L"Arc")) {
    arcMode = true;
  } else if (next.is(L"Close")) {
    draft.close(/*bulge=*/0.0);
    return Step::kEnd;
  } else if (next.is(L"Halfwidth") || next.is(L"Width")) {
    return askWidths(draft, next.is(L"Halfwidth"));
  } else if (next.is(L"Length")) {
    // Along the last segment (tangent to it when it is an arc); a negative length goes back.
    Answer<double> length = getDist(&at, L"\nSpecify length of line: ", {.bits = RSG_NONULL | RSG_NOZERO});
    if (!length.isValue()) return Step::kEnd;
    return addSegment(draft,
                      ArcSegment{draft.current(), draft.current() + draft.tangent() * length.value, 0.0});
  } else if (next.is(L"Undo")) {
    return undoSegment(draft);
  }
  return Step::kGoOn;
}

// An arc of known radius and included angle: the direction of its chord fixes the end.
Step arcWithRadiusAndAngle(PolylineDraft& draft, double radius, double sweep) {
  ZcGePoint3d at = draft.current3d();
  // Default: the chord of the arc that would continue tangentially.
  double tangentChord = directionAngle(draft.tangent()) + sweep / 2.0;
  Answer<double> chordAngle =
      getAngle(&at, L"\nSpecify direction of chord for arc <" + formatAngle(tangentChord) + L">: ");
  if (chordAngle.isCancel()) return Step::kEnd;
  double direction = chordAngle.isValue() ? chordAngle.value : tangentChord;
  double chord = 2.0 * radius * std::abs(std::sin(sweep / 2.0));
  return addSegment(draft,
                    arcStartEndAngle(draft.current(), draft.current() + unitAt(direction) * chord, sweep));
}

// The included angle's arc once its end is fixed some way: by an endpoint, a center, or a
// radius and the chord's direction.
Step arcWithAngle(PolylineDraft& draft, double sweep) {
  ZcGePoint3d at = draft.current3d();
  Answer<ZcGePoint3d> end = getPoint(&at, L"\nSpecify endpoint of arc or [CEnter/Radius]: ",
                                     {.bits = RSG_NONULL, .keywords = L"CEnter Radius"});
  if (end.isCancel()) return Step::kEnd;
  if (end.isValue()) return addSegment(draft, arcStartEndAngle(draft.current(), flat(end.value), sweep));
  if (end.is(L"CEnter")) {
    Answer<ZcGePoint3d> center = getPoint(&at, L"\nSpecify center point of arc: ", {.bits = RSG_NONULL});
    if (!center.isValue()) return Step::kEnd;
    return addSegment(draft, arcStartCenterAngle(draft.current(), flat(center.value), sweep));
  }
  Answer<double> radius =
      getDist(&at, L"\nSpecify radius of arc: ", {.bits = RSG_NONULL | RSG_NOZERO | RSG_NONEG});
  if (!radius.isValue()) return Step::kEnd;
  return arcWithRadiusAndAngle(draft, radius.value, sweep);
}

Step arcStep(PolylineDraft& draft, bool& arcMode) {
  ZcGePoint3d at = draft.current3d();
  bool canClose = draft.size() >= 2;
  Answer<ZcGePoint3d> next =
      canClose
          ? getPoint(&at,
                     L"\nSpecify endpoint of arc or "
                     L"[Angle/CEnter/CLose/Direction/Halfwidth/Line/Radius/Second pt/Undo/Width]: ",
                     {.keywords = L"Angle CEnter CLose Direction Halfwidth Line Radius Second Undo Width"})
          : getPoint(&at,
                     L"\nSpecify endpoint of arc or "
                     L"[Angle/CEnter/Direction/Halfwidth/Line/Radius/Second pt/Undo/Width]: ",
                     {.keywords = L"Angle CEnter Direction Halfwidth Line Radius Second Undo Width"});
  if (next.isCancel() || next.isNone()) return Step::kEnd;
  if (next.isValue())
    return addSegment(draft, arcStartEndDirection(draft.current(), draft.tangent(), flat(next.value)));
  if (next.is(L"Angle")) {
    Answer<double> sweep = getIncludedAngle(at, L"\nSpecify included angle: ", RSG_NONULL);
    if (!sweep.isValue()) return Step::kEnd;
    return arcWithAngle(draft, sweep.value);
  }
  if (next.is(L"CEnter")) {
    Answer<ZcGePoint3d> center = getPoint(&at, L"\nSpecify center point of arc: ", {.bits = RSG_NONULL});
    if (!center.isValue()) return Step::kEnd;
    ZcGePoint3d middle = draft.lift(center.value);
    Answer<ZcGePoint3d> end = getPoint(&middle, L"\nSpecify endpoint of arc or [Angle/Length]: ",
                                       {.bits = RSG_NONULL, .keywords = L"Angle Length"});
    if (end.isCancel()) return Step::kEnd;
    if (end.isValue())
      return addSegment(draft, arcStartCenterEnd(draft.current(), flat(center.value), flat(end.value)));
    if (end.is(L"Angle")) {
      Answer<double> sweep = getIncludedAngle(middle, L"\nSpecify included angle: ", RSG_NONULL);
      if (!sweep.isValue()) return Step::kEnd;
      return addSegment(draft, arcStartCenterAngle(draft.current(), flat(center.value), sweep.value));
    }
    Answer<double> chord = getDist(&at, L"\nSpecify length of chord: ", {.bits = RSG_NONULL | RSG_NOZERO});
    if (!chord.isValue()) return Step::kEnd;
    return addSegment(draft, arcStartCenterChord(draft.current(), flat(center.value), chord.value));
  }
  if (next.is(L"CLose")) {
    if (draft.current().isEqualTo(draft.first())) {
      draft.close(/*bulge=*/0.0);
      return Step::kEnd;
    }
    std::optional<ArcSegment> closing = arcStartEndDirection(draft.current(), draft.tangent(), draft.first());
    if (!closing) {
      sayInvalidArc();
      return Step::kGoOn;
    }
    draft.close(closing->bulge);
    return Step::kEnd;
  }
  if (next.is(L"Direction")) {
    Answer<double> direction =
        getAngle(&at, L"\nSpecify the tangent direction for the start point of arc: ", {.bits = RSG_NONULL});
    if (!direction.isValue()) return Step::kEnd;
    Answer<ZcGePoint3d> end = getPoint(&at, L"\nSpecify endpoint of the arc: ", {.bits = RSG_NONULL});
    if (!end.isValue()) return Step::kEnd;
    return addSegment(draft, arcStartEndDirection(draft.current(), unitAt(direction.value), flat(end.value)));
  }
  if (next.is(L"Halfwidth") || next.is(L"Width")) return askWidths(draft, next.is(L"Halfwidth"));
  if (next.is(L"Line")) {
    arcMode = false;
    return Step::kGoOn;
  }
  if (next.is(L"Radius")) {
    Answer<double> radius =
        getDist(&at, L"\nSpecify radius of arc: ", {.bits = RSG_NONULL | RSG_NOZERO | RSG_NONEG});
    if (!radius.isValue()) return Step::kEnd;
    Answer<ZcGePoint3d> end =
        getPoint(&at, L"\nSpecify endpoint of arc or [Angle]: ", {.bits = RSG_NONULL, .keywords = L"Angle"});
    if (end.isCancel()) return Step::kEnd;
    if (end.isValue()) {
      // The minor arc, turning towards the side of the last segment's direction the end lies on.
      std::optional<ArcSegment> arc = arcStartEndRadius(draft.current(), flat(end.value), radius.value);
      ZcGeVector2d chord = flat(end.value) - draft.current();
      ZcGeVector2d tangent = draft.tangent();
      if (arc && tangent.x * chord.y - tangent.y * chord.x < 0.0) arc->bulge = -arc->bulge;
      return addSegment(draft, arc);
    }
    Answer<double> sweep = getIncludedAngle(at, L"\nSpecify included angle: ", RSG_NONULL);
    if (!sweep.isValue()) return Step::kEnd;
    return arcWithRadiusAndAngle(draft, radius.value, sweep.value);
  }
  if (next.is(L"Second")) {
    Answer<ZcGePoint3d> second = getPoint(&at, L"\nSpecify second point on arc: ", {.bits = RSG_NONULL});
    if (!second.isValue()) return Step::kEnd;
    Answer<ZcGePoint3d> end = getPoint(&second.value, L"\nSpecify end point of arc: ", {.bits = RSG_NONULL});
    if (!end.isValue()) return Step::kEnd;
    return addSegment(draft, arcThreePoints(draft.current(), flat(second.value), flat(end.value)));
  }
  if (next.is(L"Undo")) return undoSegment(draft);
  return Step::kGoOn;
}

}  // namespace

void plineCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  Answer<ZcGePoint3d> start = getPoint(nullptr, L"\nSpecify start point: ");
  if (!start.isValue()) return;
  double width = realVariable(L"PLINEWID", 0.0);
  say(L"\nCurrent line-width is " + formatLength(width));
  PolylineDraft draft(start.value, width);
  bool arcMode = false;
  while ((arcMode ? arcStep(draft, arcMode) : lineStep(draft, arcMode)) == Step::kGoOn) {
  }
  if (draft.endWidth() != width) setRealVariable(L"PLINEWID", draft.endWidth());
  if (draft.size() < 2) {
    // Degenerate case: a start point alone is no polyline.
    say(L"\nA polyline needs two points at least; nothing was drawn.");
    return;
  }
  addEntity(db, draft.build());
}

}  // namespace vtcad::commands
