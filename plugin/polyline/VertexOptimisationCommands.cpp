#include "polyline/VertexOptimisationCommands.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "frame/FilteredSelection.h"
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/Selection.h"
#include "frame/SelectionSet.h"
#include "frame/WorkProgress.h"
#include "polyline/DuplicateVertices.h"
#include "polyline/OptimizePolyline.h"
#include "polyline/SelectionExtents.h"
#include "polyline/SmoothPolyline.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"请选择待优化的多段线>\n", L"Please select polyline >\n"};
constexpr MessagePair kNothingSelected{L"未选中多段线。\n", L"No polyline selected.\n"};
constexpr MessagePair kExtentsTooLow{L"多段线包围盒高度太低。\n",
                                     L"The height of the polyline bounding box is too low.\n"};
constexpr MessagePair kTolerancePrompt{L"\n请输入误差[1--10](1):",
                                       L"\nPlease input the tolerance[1--10](1):"};
constexpr MessagePair kOptimizationSummary{
    L"\n优化前顶点数: %d， 优化后顶点数: %d，优化效率%d％。 ",
    L"\nVertexs befor optimization : %d， nVertexs now: %d，optimization efficiency is %d percent."};
constexpr MessagePair kDuplicatesDeleted{L"\n删除了< %d >个重复顶点。 ",
                                         L"\nDeleted <%d > duplicate vertexs OK."};

// Below this diagonal of the selection's extents, the thresholds would vanish.
constexpr double kShortestDiagonal = 0.001;
constexpr int kLowestTolerance = 1;
constexpr int kHighestTolerance = 10;
// PLYH3 smooths with this tolerance factor.
constexpr double kSmoothingFactor = 1.0;

// The polylines the user selects, freed with this object whatever way the command ends.
class PolylineSelection {
 public:
  PolylineSelection() = default;
  PolylineSelection(const PolylineSelection&) = delete;
  PolylineSelection& operator=(const PolylineSelection&) = delete;

  // Prompts and selects polylines of the three kinds ("POLYLINE" takes the 2-D and 3-D ones).
  // False, after saying so, when the selection failed or is empty.
  bool select() { return selectFiltered(set_, kSelectPrompt, polylineFilter(), kNothingSelected); }

  const zds_name& name() const { return set_.name; }

  // The diagonal of the selection's extents, after saying so when it is too small to work
  // with (an empty box counts as 0).
  bool scale(double& diagonal) const {
    diagonal = extentsDiagonal(selectionExtents(set_.name));
    if (diagonal >= kShortestDiagonal) return true;
    printBilingual(kExtentsTooLow.chinese, kExtentsTooLow.english);
    return false;
  }

  // Opens each member in selection order and hands it to `work`; members that cannot be
  // opened are passed over. The work's progress is shown under `label`; false when the user
  // broke it off (the host then takes it all back).
  template <typename Work>
  bool forEachEntity(const wchar_t* label, ZcDb::OpenMode mode, Work work) const {
    const std::vector<ZcDbObjectId> ids = selectionSetIds(set_.name);
    WorkProgress progress(label, ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (!progress.advance(i)) return false;
      const ZcDbObjectId id = ids[i];
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, mode) != Zcad::eOk) continue;
      work(entity);
      entity->close();
    }
    return true;
  }

 private:
  SelectionSet set_;
};

// 1 to 10: larger numbers are taken as 10; Enter, Esc or a failed prompt as 1 (the command
// goes on). Zero and negative numbers are refused by the prompt itself.
int askTolerance() {
  zcedInitGet(RSG_NOZERO | RSG_NONEG, /*kwl=*/nullptr);
  int tolerance = kLowestTolerance;
  if (getIntBilingual(kTolerancePrompt.chinese, kTolerancePrompt.english, &tolerance) != RTNORM) {
    return kLowestTolerance;
  }
  return std::clamp(tolerance, kLowestTolerance, kHighestTolerance);
}

void reportSavedVertices() {
  VertexStatistics& statistics = vertexStatistics();
  if (statistics.before <= 0) return;
  statistics.after = std::min(statistics.after, statistics.before);
  const long long saved = static_cast<long long>(statistics.before) - statistics.after;
  const int percent = static_cast<int>(saved * 100 / statistics.before);
  printfBilingual(kOptimizationSummary, statistics.before, statistics.after, percent);
}

}  // namespace

void plyhCommand() {
  VertexStatistics& statistics = vertexStatistics();
  statistics = VertexStatistics();
  double diagonal = 0.0;
  {
    PolylineSelection selection;
    if (!selection.select() || !selection.scale(diagonal)) return;
    // The tolerance is counted from the middle of its step: 1 gives a factor of 0.5.
    const double factor = askTolerance() - 0.5;
    const bool done = selection.forEachEntity(L"PLYH", ZcDb::kForRead, [&](ZcDbEntity* entity) {
      optimizePolyline(entity, /*block=*/nullptr, diagonal, factor);
    });
    if (!done) return;
  }
  reportSavedVertices();
}

void plyh2Command() {
  deletedVertexCount() = 0;
  PolylineSelection selection;
  if (!selection.select()) return;
  if (!selection.forEachEntity(L"PLYH2", ZcDb::kForRead,
                               [](ZcDbEntity* entity) { removeDuplicateVertices(entity); })) {
    return;
  }
  printfBilingual(kDuplicatesDeleted, deletedVertexCount());
}

void plyh3Command() {
  PolylineSelection selection;
  double diagonal = 0.0;
  if (!selection.select() || !selection.scale(diagonal)) return;
  selection.forEachEntity(L"PLYH3", ZcDb::kForWrite, [&](ZcDbEntity* entity) {
    smoothPolyline(entity, /*block=*/nullptr, diagonal, kSmoothingFactor);
  });
}

}  // namespace veltrace
