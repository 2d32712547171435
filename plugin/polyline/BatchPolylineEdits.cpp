#include "polyline/BatchPolylineEdits.h"

#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/Selection.h"
#include "frame/SelectionSet.h"
#include "frame/SystemVariables.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr MessagePair kProcessed{L"\n处理了< %d >根曲线。 ", L"\nProcessed <%d > curve(s) OK."};

bool selectPolylines(SelectionSet& set) {
  constexpr MessagePair kPrompt{L"请选择待优化的多段线>\n", L"Please select polyline >\n"};
  constexpr MessagePair kFailed{L"未选中多段线。\n", L"No polyline selected.\n"};
  return selectFiltered(set, kPrompt, polylineFilter(), kFailed);
}

// PEDIT Multiple on the whole set: the set, the end of selection, then `option` answered with
// the trailing arguments, then the end of editing.
void closeOrOpen(const wchar_t* option) {
  SelectionSet set;
  if (!selectPolylines(set)) return;
  QuietHostCommands quiet;
  zcedCommand(RTSTR, L"_PEDIT", RTSTR, L"M", RTPICKS, set.name, RTSTR, L"", RTSTR, option, RTSTR, L"",
              RTNONE);
}

// A lightweight polyline becomes an old-style one under the same id; the host answers the
// hand-over with eObjectToBeDeleted, and the old object is then ours to delete.
bool toOldStyle(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  ZcDbPolyline* lightweight = ZcDbPolyline::cast(entity);
  ZcDb2dPolyline* oldStyle = nullptr;
  if (!lightweight || lightweight->convertTo(oldStyle, /*transferId=*/true) != Zcad::eObjectToBeDeleted ||
      !oldStyle) {
    entity->close();
    return false;
  }
  delete lightweight;
  oldStyle->close();
  return true;
}

// An old-style 2-D polyline becomes a lightweight one under the same id. Anything else the
// filter lets through (3-D polylines, meshes) is refused by the conversion and stays.
bool toLightweight(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  auto* lightweight = new ZcDbPolyline();
  if (lightweight->convertFrom(entity, /*transferId=*/true) != Zcad::eOk) {
    delete lightweight;
    entity->close();
    return false;
  }
  // The old polyline is gone; `entity` is now the lightweight one, open for write.
  entity->close();
  return true;
}

template <typename Convert>
void convertEach(const MessagePair& prompt, const wchar_t* dxfName, const MessagePair& failed,
                 Convert convert) {
  SelectionSet set;
  const ResbufChain filter(zcutBuildList(RTDXF0, dxfName, 0));
  if (!selectFiltered(set, prompt, filter, failed)) return;
  int processed = 0;
  for (const ZcDbObjectId& id : selectionSetIds(set.name)) {
    if (convert(id)) ++processed;
  }
  printfBilingual(kProcessed, processed);
}

}  // namespace

void plgxkCommand() {
  SelectionSet set;
  if (!selectPolylines(set)) return;
  // Enter or Esc leave the width at 0 and the command goes on.
  double width = 0.0;
  zcedInitGet(RSG_NONEG, nullptr);
  getDistBilingual(/*base=*/nullptr, L"\n请输入新的线宽:", L"\nPlease enter a new line width:", &width);
  if (width < 1e-11) width = 0.0;
  QuietHostCommands quiet;
  zcedCommand(RTSTR, L"_PEDIT", RTSTR, L"M", RTPICKS, set.name, RTSTR, L"", RTSTR, L"W", RTREAL, width, RTSTR,
              L"", RTNONE);
}

void plcloseCommand() { closeOrOpen(L"C"); }

void plopenCommand() { closeOrOpen(L"O"); }

void pl2oldCommand() {
  convertEach({L"请选择轻量级多段线>\n", L"Please select Lightweight Polyline(s) >\n"}, L"LWPOLYLINE",
              {L"未选中。\n", L"No Polyline selected.\n"}, toOldStyle);
}

void oldpl2lwCommand() {
  convertEach({L"请选择老式多段线>\n", L"Please select old type Polyline(s) >\n"}, L"POLYLINE",
              {L"未选中。\n", L"No Polyline2D selected.\n"}, toLightweight);
}

}  // namespace veltrace
