#include "morph/LwPolylinePick.h"

#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

ZcDbObjectId pickOneLwPolyline(const wchar_t* chinesePrompt, const wchar_t* englishPrompt) {
  printBilingual(chinesePrompt, englishPrompt);
  const ResbufChain filter(
      zcutBuildList(-4, L"<or", RTDXF0, L"LWPOLYLINE", RTDXF0, L"LWPOLYLINE", -4, L"or>", /*end=*/0));
  SelectionSet set;
  ZcDbObjectId id;
  if (zcedSSGet(/*mode=*/L":S", /*pt1=*/nullptr, /*pt2=*/nullptr, filter.get(), set.name) == RTNORM) {
    const ObjectIdList picked = selectionSetIds(set.name);
    if (!picked.empty()) id = picked.front();
  }
  if (id.isNull()) printBilingual(L"没有选中轻量多段线。\n", L"No LWPOLYLINE selected.\n");
  return id;
}

std::optional<LwPolylinePicks> pickFirstAndSecondLwPolyline() {
  LwPolylinePicks picks;
  picks.first = pickOneLwPolyline(L"\n请选择第一根多段线： ", L"\nPlease select the first LWPolyline: ");
  if (picks.first.isNull()) {
    printBilingual(L"\n未选中。", L"\nSelected nothing.");
    return std::nullopt;
  }
  picks.second = pickOneLwPolyline(L"\n请选择第二根多段线： ", L"\nPlease select the second LWPolyline: ");
  return picks;
}

}  // namespace veltrace
