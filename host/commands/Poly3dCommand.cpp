// 3DPOLY: a polyline of straight segments through points in space (a ZcDb3dPolyline), point by
// point until Enter; Undo takes the last point back, Close joins the last point to the first
// and ends. The polyline goes into the drawing when the command ends (a cancel keeps what was
// given, as Enter does); a start point alone draws nothing.
#include <memory>
#include <vector>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/zced.h"

namespace vtcad::commands {

void poly3dCommand() {
  using namespace draw;
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  Answer<ZcGePoint3d> start = getPoint(nullptr, L"\nSpecify start point of polyline: ");
  if (!start.isValue()) return;
  std::vector<ZcGePoint3d> points{start.value};
  bool closed = false;
  for (;;) {
    // Closing needs two segments: with one, the closing segment would run back over it.
    bool canClose = points.size() >= 3;
    Answer<ZcGePoint3d> next =
        canClose ? getPoint(&points.back(), L"\nSpecify endpoint of line or [Close/Undo]: ",
                            {.keywords = L"Close Undo"})
                 : getPoint(&points.back(), L"\nSpecify endpoint of line or [Undo]: ", {.keywords = L"Undo"});
    if (next.isCancel() || next.isNone()) break;
    if (next.is(L"Close")) {
      closed = true;
      break;
    }
    if (next.is(L"Undo")) {
      if (points.size() == 1) {
        say(L"\nAll segments already undone.");
      } else {
        points.pop_back();
        setLastPoint(points.back());
      }
      continue;
    }
    if (!next.isValue()) continue;
    if (next.value.isEqualTo(points.back())) {
      say(L"\nThe point is the last point again; give another one.");
      continue;
    }
    points.push_back(next.value);
  }
  if (points.size() < 2) {
    // Degenerate case: a start point alone is no polyline.
    say(L"\nA polyline needs two points at least; nothing was drawn.");
    return;
  }
  ZcGePoint3dArray vertices;
  for (const ZcGePoint3d& point : points) vertices.append(point);
  addEntity(db, std::make_unique<ZcDb3dPolyline>(ZcDb::k3dSimplePoly, vertices, closed));
}

}  // namespace vtcad::commands
