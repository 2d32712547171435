#include "polyline/VertexCommandSelection.h"

#include <memory>

#include "frame/ResbufChain.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

// "POLYLINE" takes the old-style 2-D and 3-D kinds.
ResbufChain filterFor(SelectableKinds kinds) {
  if (kinds == SelectableKinds::kCurves) {
    return ResbufChain(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0, L"LINE",
                                     RTDXF0, L"ELLIPSE", RTDXF0, L"CIRCLE", RTDXF0, L"HELIX", RTDXF0, L"ARC",
                                     RTDXF0, L"SPLINE", -4, L"or>", 0));
  }
  return ResbufChain(zcutBuildList(-4, L"<or", RTDXF0, L"POLYLINE", RTDXF0, L"LWPOLYLINE", RTDXF0, L"SPLINE",
                                   RTDXF0, L"LINE", RTDXF0, L"ARC", RTDXF0, L"ELLIPSE", -4, L"or>", 0));
}

}  // namespace

TypedSelection selectOfKinds(const MessagePair& prompt, SelectableKinds kinds) {
  printBilingual(prompt.chinese, prompt.english);
  const ResbufChain filter = filterFor(kinds);
  TypedSelection selection;
  zds_name set = {0, 0};
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, filter.get(), set) != RTNORM) {
    // A set that was never made is refused harmlessly.
    zcedSSFree(set);
    return selection;
  }
  Zdesk::Int32 count = 0;
  if (zcedSSLength(set, &count) == RTNORM) {
    for (Zdesk::Int32 i = 0; i < count; ++i) {
      zds_name member = {0, 0};
      ZcDbObjectId id;
      if (zcedSSName(set, i, member) == RTNORM && zcdbGetObjectId(id, member) == Zcad::eOk) {
        selection.ids.push_back(id);
      }
    }
  }
  zcedSSFree(set);
  selection.outcome = selection.ids.empty() ? SelectionOutcome::kEmpty : SelectionOutcome::kSelected;
  return selection;
}

}  // namespace veltrace
