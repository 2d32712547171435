// SPLINE: a cubic spline through fit points given one by one until Enter. Options: start
// Tangency (after the first point), end Tangency (ends the spline), Fit tolerance (stored
// with the spline, which still passes through every point), Undo (the last point) and Close
// (a closed, smooth spline through the first point again).
//
// The spline goes into the drawing only when it is finished: a cancel draws nothing. Points
// keep their heights (a spline may leave the XY plane). A point equal to the one before it is
// refused; fewer than two points draw nothing. A closed spline is smooth through its first
// point by itself, so a start tangent given before Close is not used.
#include <memory>
#include <vector>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

struct FitInput {
  std::vector<ZcGePoint3d> points;
  ZcGeVector3d startTangent;  // zero: not given
  ZcGeVector3d endTangent;
  double tolerance = 0.0;
  bool closed = false;
};

Answer<ZcGePoint3d> askNextPoint(const FitInput& fit) {
  const ZcGePoint3d& last = fit.points.back();
  switch (fit.points.size()) {
    case 1:
      return getPoint(&last, L"\nEnter next point or [start Tangency/Fit tolerance]: ",
                      {.keywords = L"Tangency Fit"});
    case 2:
      return getPoint(&last, L"\nEnter next point or [end Tangency/Fit tolerance/Undo]: ",
                      {.keywords = L"Tangency Fit Undo"});
    default:
      return getPoint(&last, L"\nEnter next point or [end Tangency/Fit tolerance/Undo/Close]: ",
                      {.keywords = L"Tangency Fit Undo Close"});
  }
}

// A tangent direction from `from` towards a point; false after a cancel.
bool askTangent(const ZcGePoint3d& from, const wchar_t* prompt, ZcGeVector3d& tangent) {
  for (;;) {
    Answer<ZcGePoint3d> towards = getPoint(&from, prompt, {.bits = RSG_NONULL});
    if (!towards.isValue()) return false;
    ZcGeVector3d direction = towards.value - from;
    if (!direction.isZeroLength()) {
      tangent = direction.normal();
      return true;
    }
    say(L"\nThe point gives no direction; specify another one.");
  }
}

// Reads the fit data until the spline is finished (true) or the command is cancelled.
bool askFitData(FitInput& fit) {
  for (;;) {
    Answer<ZcGePoint3d> next = askNextPoint(fit);
    if (next.isCancel()) return false;
    if (next.isNone()) return true;
    if (next.isValue()) {
      if (next.value.isEqualTo(fit.points.back())) {
        say(L"\nThe point is the last point again; give another one.");
      } else {
        fit.points.push_back(next.value);
      }
    } else if (next.is(L"Tangency")) {
      if (fit.points.size() == 1) {
        if (!askTangent(fit.points.front(), L"\nSpecify start tangent: ", fit.startTangent)) return false;
      } else {
        // The end tangent is the last thing a spline needs.
        return askTangent(fit.points.back(), L"\nSpecify end tangent: ", fit.endTangent);
      }
    } else if (next.is(L"Fit")) {
      Answer<double> tolerance =
          getDist(&fit.points.back(), L"\nSpecify fit tolerance <" + formatLength(fit.tolerance) + L">: ",
                  {.bits = RSG_NONEG});
      if (tolerance.isCancel()) return false;
      if (tolerance.isValue()) fit.tolerance = tolerance.value;
    } else if (next.is(L"Undo")) {
      fit.points.pop_back();
    } else if (next.is(L"Close")) {
      fit.closed = true;
      return true;
    }
  }
}

}  // namespace

void splineCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  Answer<ZcGePoint3d> first = getPoint(nullptr, L"\nSpecify first point: ");
  if (!first.isValue()) return;
  FitInput fit;
  fit.points.push_back(first.value);
  if (!askFitData(fit)) return;
  if (fit.points.size() < 2) {
    // Degenerate case: one point is no curve.
    say(L"\nA spline needs two points at least; nothing was drawn.");
    return;
  }
  ZcGePoint3dArray points;
  for (const ZcGePoint3d& point : fit.points) points.append(point);
  if (fit.closed) {
    // First point again and no tangents: the database makes the closed, periodic spline.
    points.append(fit.points.front());
    fit.startTangent = fit.endTangent = ZcGeVector3d();
  }
  auto spline =
      std::make_unique<ZcDbSpline>(points, fit.startTangent, fit.endTangent, /*order=*/4, fit.tolerance);
  if (spline->isNull()) {
    say(L"\nNo spline fits those points; nothing was drawn.");
    return;
  }
  addEntity(db, std::move(spline));
}

}  // namespace vtcad::commands
