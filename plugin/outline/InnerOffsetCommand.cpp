// INOFFSET: a picture of the selected entities shows where their enclosed areas are; the host's
// boundary search at a point of each area makes its outline, which is offset inward and erased.
#include <algorithm>
#include <cmath>
#include <optional>

#include "frame/Messages.h"
#include "frame/ReadOpen.h"
#include "frame/Selection.h"
#include "frame/SystemVariables.h"
#include "outline/BoundaryCalls.h"
#include "outline/EntityVisibility.h"
#include "outline/OutlineCommands.h"
#include "outline/ViewPicture.h"
#include "polyline/BatchOffset.h"
#include "polyline/OffsetPrompts.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/platform/zcfile.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr MessagePair kSelectPrompt{L"\n请选择需要产生内轮廓的所有物体：",
                                    L"\nPleas Select all entities for InnerOffset:"};
constexpr MessagePair kLongRunQuestion{
    L"\n您选择了较多的物体，计算内轮廓可能需要较长时间，确认继续吗？[Y/N]（N）:",
    L"\nMore objects selected, it may take a long time to calculate the inner contour. Are you sure to "
    L"continue[Y/N]（N）:"};
constexpr MessagePair kCopiesPrompt{L"\n偏移根数[1]:", L"\nOffset times[1]:"};
// The batch offset's list prompt, with this command's own distance questions; an unreadable
// list is asked again without a message.
SpacingPrompts spacingPrompts() {
  SpacingPrompts prompts = batchOffsetPrompts();
  prompts.distance[0] = L"\n请输入偏移距离:";
  prompts.distance[1] = L"\nPlease enter the offset distance:";
  prompts.distanceOrList[0] = L"\n请输入偏移距离[多个不同间距(M)]:";
  prompts.distanceOrList[1] = L"\nOffset Distance[Multi dist(M)]:";
  prompts.reportUnreadableList = false;
  return prompts;
}

// More entities than this make the command ask before it starts.
constexpr std::size_t kManyEntities = 100;

// One boundary the host made, and the side of it on which its area lies.
struct AreaBoundary {
  ZcDbObjectId id;
  OffsetSides inward;  // the outline: kInner; an island: kOutside
};

// Two seeds may lie in one area (a drawn pixel line that the geometry does not close): their
// outlines are the same curve, kept once.
struct OutlineKey {
  double area = 0.0;
  ZcDbExtents extents;
};
bool sameOutline(const OutlineKey& a, const OutlineKey& b) {
  const double size = std::max({std::abs(a.area), std::abs(b.area), 1e-12});
  return std::abs(a.area - b.area) <= 1e-9 * size && a.extents.minPoint().isEqualTo(b.extents.minPoint()) &&
         a.extents.maxPoint().isEqualTo(b.extents.maxPoint());
}
std::optional<OutlineKey> keyOf(ZcDbObjectId id) {
  ReadOpen<ZcDbEntity> entity(id);
  OutlineKey key;
  if (!entity.get() || entity.get()->getGeomExtents(key.extents) != Zcad::eOk) return std::nullopt;
  key.area = enclosedArea(id);
  return key;
}

// The point of the view a seed cell stands for: cells are pixel positions + 1.
std::optional<ZcGePoint3d> seedPoint(GridPoint seed) {
  const CPoint pixel{seed.column - 1, seed.row - 1};
  ZcGePoint3d world;
  if (!zcedCoordFromPixelToWorld(pixel, world)) return std::nullopt;
  world.z = 0.0;
  return world;
}

// Boundaries of every area but the open space around the drawing (the first seed's).
std::vector<AreaBoundary> findAreaBoundaries(const std::vector<GridPoint>& seeds) {
  std::vector<AreaBoundary> found;
  std::vector<OutlineKey> outlines;
  for (std::size_t i = 1; i < seeds.size(); ++i) {
    if (zcedUsrBrk()) break;
    const std::optional<ZcGePoint3d> point = seedPoint(seeds[i]);
    if (!point) continue;
    const ObjectIdList made = boundariesAt(*point);
    if (made.empty()) continue;
    // The outline encloses the islands, so it is the largest of what was made.
    std::size_t outline = 0;
    double largest = -1.0;
    for (std::size_t k = 0; k < made.size(); ++k) {
      const double area = std::abs(enclosedArea(made[k]));
      if (area > largest) {
        largest = area;
        outline = k;
      }
    }
    const std::optional<OutlineKey> key = keyOf(made[outline]);
    if (key && std::any_of(outlines.begin(), outlines.end(),
                           [&](const OutlineKey& o) { return sameOutline(o, *key); })) {
      eraseWithHost(made);
      continue;
    }
    if (key) outlines.push_back(*key);
    for (std::size_t k = 0; k < made.size(); ++k) {
      found.push_back({made[k], k == outline ? OffsetSides::kInner : OffsetSides::kOutside});
    }
  }
  return found;
}

void offsetInward(const std::vector<AreaBoundary>& boundaries) {
  const int copies = askCopies(kCopiesPrompt.chinese, kCopiesPrompt.english);
  const std::optional<SpacingTable> spacings = askSpacings(copies, spacingPrompts());
  if (!spacings) return;
  for (const AreaBoundary& boundary : boundaries) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, boundary.id, ZcDb::kForRead) != Zcad::eOk) continue;
    offsetCopies(entity, *spacings, copies, boundary.inward);
    entity->close();
  }
}

}  // namespace

void inoffsetCommand() {
  QuietHostCommands quiet;
  const ObjectIdList selected = selectEntities(kSelectPrompt.chinese, kSelectPrompt.english);
  if (selected.empty()) return;
  if (selected.size() > kManyEntities &&
      !getYesNoBilingual(kLongRunQuestion.chinese, kLongRunQuestion.english, /*defaultAnswer=*/false))
    return;
  HiddenWhileWorking hidden;
  hidden.ids = hideOtherEntities(selected);

  const Rgb background = modelBackground();
  const std::wstring path = exportViewPng();
  if (path.empty()) return;
  const SeedSearch search = findRegionSeeds(background, path);
  DeleteFileW(path.c_str());
  if (search.seeds.size() < 2) return;

  const std::vector<AreaBoundary> boundaries = findAreaBoundaries(search.seeds);
  if (boundaries.empty()) return;
  offsetInward(boundaries);
  ObjectIdList ids;
  for (const AreaBoundary& b : boundaries) ids.push_back(b.id);
  eraseWithHost(ids);
}

}  // namespace veltrace
