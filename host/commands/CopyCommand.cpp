// COPY: copies the selected entities by displacements. In the multiple mode (the default,
// COPYMODE 0) the command keeps asking for second points from the same base point, each one
// making another set of copies, until Enter or Exit; Undo takes back the last set. "Array"
// makes a row of evenly spaced sets at once (Fit: spread over the given distance).
#include <string>

#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "editor/WaitingPrompt.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

// COPYMODE: 0 multiple, 1 single. Kept here as well for a host whose variables do not know it.
int fallbackCopyMode = 0;

bool singleCopyMode() { return shortVariable(L"COPYMODE", fallbackCopyMode) == 1; }

void setSingleCopyMode(bool single) {
  fallbackCopyMode = single ? 1 : 0;
  resbuf value{};
  value.restype = RTSHORT;
  value.resval.rint = static_cast<short>(fallbackCopyMode);
  (void)zcedSetVar(L"COPYMODE", &value);
}

// "Enter a copy mode option [Single/Multiple] <current>:". False when cancelled.
bool askCopyMode() {
  const bool single = singleCopyMode();
  const std::wstring prompt = std::wstring(L"Enter a copy mode option [Single/Multiple] <") +
                              (single ? L"Single" : L"Multiple") + L">: ";
  zcedInitGet(/*val=*/0, L"Single Multiple");
  ZTCHAR answer[64] = {};
  switch (zcedGetKword(prompt.c_str(), answer, sizeof answer / sizeof answer[0])) {
    case RTNORM:
      setSingleCopyMode(keywordIs(answer, L"Single"));
      return true;
    case RTNONE:
      return true;
    default:
      return false;
  }
}

// The sets of copies made so far, one per second point, so that Undo can take the last back.
using CopySet = std::vector<ZcDbObjectId>;

void copyBy(const std::vector<ZcDbObjectId>& ids, const ZcGeVector3d& displacement, CopySet& made) {
  reportRefused(copyEntities(ids, ZcGeMatrix3d::translation(displacement), &made).refused, L"copied");
}

// Array: "Enter number of items to array:" then the second point of the first copy, or Fit
// and the second point of the last one. False when cancelled.
bool copyArray(const std::vector<ZcDbObjectId>& ids, const zds_point base, CopySet& made) {
  int items = 0;
  zcedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  if (zcedGetInt(L"Enter number of items to array: ", &items) != RTNORM) return false;
  zds_point second{};
  zcedInitGet(RSG_NONULL, L"Fit");
  int result = zcedGetPoint(base, L"Specify second point or [Fit]: ", second);
  bool fit = false;
  if (result == RTKWORD) {
    fit = true;
    zcedInitGet(RSG_NONULL, /*kwl=*/nullptr);
    result = zcedGetPoint(base, L"Specify second point: ", second);
  }
  if (result != RTNORM) return false;
  // Degenerate case: one item is the original itself, so nothing is copied.
  if (items < 2) return true;
  ZcGeVector3d step = fromZds(second) - fromZds(base);
  if (fit) step /= static_cast<double>(items - 1);
  for (int i = 1; i < items; ++i) copyBy(ids, step * static_cast<double>(i), made);
  return true;
}

}  // namespace

void copyCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kChanging)) return;
  print(std::wstring(L"Current settings:  Copy mode = ") + (singleCopyMode() ? L"Single" : L"Multiple") +
        L"\n");

  zds_point base{};
  for (;;) {
    zcedInitGet(/*val=*/0, L"Displacement mOde");
    const int result =
        zcedGetPoint(/*pt=*/nullptr, L"Specify base point or [Displacement/mOde] <Displacement>: ", base);
    if (result == RTNORM) break;
    if (result == RTKWORD && keywordIs(lastKeyword(), L"mOde")) {
      if (!askCopyMode()) return;
      continue;
    }
    if (result != RTKWORD && result != RTNONE) return;
    // Displacement: one set of copies.
    ZcGeVector3d displacement;
    if (!askDisplacement(displacement)) return;
    CopySet made;
    copyBy(ids, displacement, made);
    return;
  }

  const bool single = singleCopyMode();
  std::vector<CopySet> sets;
  const editor::DragScope dragging(ids);
  for (;;) {
    const bool first = sets.empty();
    zcedInitGet(/*val=*/0, first ? L"Array" : L"Array Exit Undo");
    zds_point second{};
    const int result =
        zcedGetPoint(base,
                     first ? L"Specify second point or [Array] <use first point as displacement>: "
                           : L"Specify second point or [Array/Exit/Undo] <Exit>: ",
                     second);
    if (result == RTNORM) {
      sets.emplace_back();
      copyBy(ids, fromZds(second) - fromZds(base), sets.back());
    } else if (result == RTNONE) {
      if (first) {
        CopySet made;
        copyBy(ids, fromZds(base) - ZcGePoint3d::kOrigin, made);
      }
      return;
    } else if (result == RTKWORD) {
      const std::wstring keyword = lastKeyword();
      if (keywordIs(keyword, L"Exit")) return;
      if (keywordIs(keyword, L"Undo")) {
        // Undo with no copies left: the next prompt is the first one again.
        if (!sets.empty()) {
          eraseEntities(sets.back());
          sets.pop_back();
        }
        continue;
      }
      sets.emplace_back();
      if (!copyArray(ids, base, sets.back())) return;
    } else {
      return;  // cancelled: the copies made so far stay
    }
    if (single) return;
  }
}

}  // namespace vtcad::commands
