#include "polyline/BatchOffsetCommand.h"

#include "frame/FilteredSelection.h"
#include "frame/Selection.h"
#include "polyline/BatchOffset.h"
#include "polyline/OffsetPrompts.h"
#include "zcad/db/ZcDbEntity.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择线条>\n", L"Please select Curves >\n"};
constexpr MessagePair kNothingSelected{L"未选中线条。\n", L"No Curves selected.\n"};

}  // namespace

void ploffsetCommand() {
  const ObjectIdList ids = selectFilteredIds(kSelectPrompt, curveFilter(), kNothingSelected);
  if (ids.empty()) return;
  const std::optional<OffsetSides> sides = askOffsetSides();
  if (!sides) return;
  const int copies = askCopiesPerSide();
  const std::optional<SpacingTable> spacings = askSpacings(copies);
  if (!spacings) return;
  for (const ZcDbObjectId& id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    offsetCopies(entity, *spacings, copies, *sides);
    entity->close();
  }
}

}  // namespace veltrace
