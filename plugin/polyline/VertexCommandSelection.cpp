#include "polyline/VertexCommandSelection.h"

#include <memory>

#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// "POLYLINE" takes the old-style 2-D and 3-D kinds.
ResbufChain filterFor(SelectableKinds kinds) {
  if (kinds == SelectableKinds::kCurves) return curveFilter();
  return ResbufChain(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0, L"SPLINE",
                                   RTDXF0, L"LINE", RTDXF0, L"ARC", RTDXF0, L"ELLIPSE", -4, L"or>", 0));
}

}  // namespace

TypedSelection selectOfKinds(const MessagePair& prompt, SelectableKinds kinds) {
  printBilingual(prompt.chinese, prompt.english);
  const ResbufChain filter = filterFor(kinds);
  TypedSelection selection;
  SelectionSet set;
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, filter.get(), set.name) != RTNORM) {
    return selection;
  }
  selection.ids = selectionSetIds(set.name);
  selection.outcome = selection.ids.empty() ? SelectionOutcome::kEmpty : SelectionOutcome::kSelected;
  return selection;
}

}  // namespace veltrace
