#include "polyline/ReverseCurves.h"

#include "frame/Messages.h"
#include "polyline/VertexCommandSelection.h"
#include "zcad/db/ZcDbCurve.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择多段线>\n", L"Please select PLINE >\n"};
constexpr MessagePair kSelectionFailed{L"未选中多段线。\n", L"No PLINE selected.\n"};
constexpr MessagePair kSelectionEmpty{L"未选中多段线线。\n", L"No PLINE selected.\n"};
constexpr MessagePair kProcessed{L"\n处理了< %d >根曲线。 ", L"\nProcessed <%d > curve(s) OK."};

// An entity that cannot be opened for write (on a locked layer, say) is passed over.
bool reverse(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  ZcDbCurve* curve = ZcDbCurve::cast(entity);
  const bool reversed = curve && curve->reverseCurve() == Zcad::eOk;
  entity->close();
  return reversed;
}

}  // namespace

void plddCommand() {
  const TypedSelection selection = selectOfKinds(kSelectPrompt, SelectableKinds::kCurves);
  if (selection.outcome == SelectionOutcome::kFailed) {
    printBilingual(kSelectionFailed.chinese, kSelectionFailed.english);
    return;
  }
  if (selection.outcome == SelectionOutcome::kEmpty) {
    printBilingual(kSelectionEmpty.chinese, kSelectionEmpty.english);
    return;
  }
  int processed = 0;
  for (const ZcDbObjectId& id : selection.ids) {
    if (reverse(id)) ++processed;
  }
  printfBilingual(kProcessed, processed);
}

}  // namespace veltrace
