// LINE: straight segments from point to point, one ZcDbLine each. Segments go into the
// drawing as they are given (the drawing shows them while the command goes on); Undo erases
// the last one, Close joins the last point to the first and ends, Enter or a cancel ends and
// keeps what was drawn. Enter at the first prompt continues from the end of the last line or
// arc (along an arc's end tangent, for a length the user gives).
#include <memory>
#include <optional>
#include <vector>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

struct Segment {
  ZcDbObjectId id;
  ZcGePoint3d from;
  ZcGePoint3d to;
};

class LineDrawing {
 public:
  explicit LineDrawing(ZcDbDatabase* db) : db_(db) {}

  // False when the drawing refused the line (the command then stops).
  bool add(const ZcGePoint3d& from, const ZcGePoint3d& to) {
    ZcDbObjectId id = addEntity(db_, std::make_unique<ZcDbLine>(from, to));
    if (id.isNull()) return false;
    segments_.push_back({id, from, to});
    remember();
    return true;
  }

  // The point the pen goes back to, or nothing when there was no segment to take back.
  std::optional<ZcGePoint3d> undo() {
    if (segments_.empty()) return std::nullopt;
    Segment last = segments_.back();
    segments_.pop_back();
    eraseEntity(last.id);
    remember();
    return last.from;
  }

  size_t count() const { return segments_.size(); }

 private:
  // Enter at LINE's or ARC's first prompt continues from the last segment that still exists.
  void remember() {
    if (segments_.empty()) return;
    const Segment& last = segments_.back();
    rememberContinuation(db_, last.id, {last.to, (last.to - last.from).normal(), /*afterArc=*/false});
  }

  ZcDbDatabase* db_;
  std::vector<Segment> segments_;
};

}  // namespace

void lineCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  LineDrawing drawing(db);
  ZcGePoint3d first;
  ZcGePoint3d current;  // where the pen is
  for (;;) {
    Answer<ZcGePoint3d> answer = getPoint(nullptr, L"\nSpecify first point: ");
    if (answer.isCancel()) return;
    if (answer.isValue()) {
      first = current = answer.value;
      break;
    }
    std::optional<Continuation> last = lastContinuation(db);
    if (!last) {
      say(L"\nNo line or arc to continue.");
      continue;
    }
    first = current = last->end;
    setLastPoint(first);
    if (!last->afterArc) break;
    // After an arc the line leaves along the arc's end tangent, so only its length is free.
    Answer<double> length =
        getDist(&first, L"\nSpecify length of line: ", {.bits = RSG_NONULL | RSG_NOZERO | RSG_NONEG});
    if (!length.isValue()) return;
    ZcGePoint3d end = first + last->direction * length.value;
    if (!inRange({end.x, end.y, end.z})) return;
    if (!drawing.add(first, end)) return;
    current = end;
    setLastPoint(end);
    break;
  }

  for (;;) {
    bool canClose = drawing.count() >= 2;
    Answer<ZcGePoint3d> next =
        canClose ? getPoint(&current, L"\nSpecify next point or [Close/Undo]: ", {.keywords = L"Close Undo"})
                 : getPoint(&current, L"\nSpecify next point or [Undo]: ", {.keywords = L"Undo"});
    if (next.isCancel() || next.isNone()) return;
    if (next.is(L"Undo")) {
      std::optional<ZcGePoint3d> back = drawing.undo();
      if (!back) {
        say(L"\nAll segments already undone.");
        continue;
      }
      current = *back;
      setLastPoint(current);
      continue;
    }
    if (next.is(L"Close")) {
      // Degenerate case: the pen is back at the first point already; there is nothing to join.
      if (!current.isEqualTo(first)) drawing.add(current, first);
      return;
    }
    if (!next.isValue()) continue;
    if (next.value.isEqualTo(current)) {
      // A zero-length segment is no line.
      say(L"\nThe point is the last point again; give another one.");
      continue;
    }
    if (!drawing.add(current, next.value)) return;
    current = next.value;
  }
}

}  // namespace vtcad::commands
