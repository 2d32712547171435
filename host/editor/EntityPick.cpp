#include "editor/EntityPick.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/EntityOutline.h"
#include "editor/SelectableEntities.h"
#include "editor/SelectionGeometry.h"
#include "editor/SelectionIndex.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::editor {
namespace {

// Distances this close (relative to the aperture) are the same pick: overlapping copies of
// one line, computed through different transforms, differ in their last bits.
constexpr double kTieFraction = 1e-9;

std::vector<ZcDbObjectId> pickableIds(ZcDbDatabase& db) {
  std::vector<ZcDbObjectId> ids;
  for (const SelectableEntity& entity : selectableEntities(db))
    if (!entity.onOffLayer) ids.push_back(entity.id);
  return ids;
}

// The pickable entities whose box may meet the plan box [min, max], found through the
// space's index instead of reading every entity.
std::vector<ZcDbObjectId> pickableIdsNear(ZcDbDatabase& db, const ZcGePoint2d& min, const ZcGePoint2d& max) {
  std::vector<ZcDbObjectId> ids;
  for (const SelectableEntity& entity :
       selectableAmong(entitiesNearWindow(db, db.currentSpaceId(), min, max)))
    if (!entity.onOffLayer) ids.push_back(entity.id);
  return ids;
}

bool isUsableTolerance(double chordTolerance) {
  return chordTolerance > 0.0 && std::isfinite(chordTolerance);
}

// The plan-view box of an entity's extents; unknown when it has none or it is not finite.
struct PlanBox {
  bool known = false;
  ZcGePoint2d min;
  ZcGePoint2d max;
};

PlanBox planBoxOf(const ZcDbEntity& entity) {
  // Unbounded work for a deeply nested block (see EntityPick.h): its outline decides.
  if (ZcDbBlockReference::cast(&entity)) return {};
  ZcDbExtents extents;
  if (entity.getGeomExtents(extents) != Zcad::eOk || extents.isEmpty()) return {};
  const ZcGePoint2d min = extents.minPoint().convert2d(), max = extents.maxPoint().convert2d();
  if (!zcgeIsFinite(min) || !zcgeIsFinite(max)) return {};
  return {true, min, max};
}

// The box as an outline, so the outline tests can judge it.
EntityOutline boxOutline(const PlanBox& box) {
  EntityOutline outline;
  outline.status = OutlineStatus::kComplete;
  outline.parts.push_back(
      {{box.min, ZcGePoint2d(box.max.x, box.min.y), box.max, ZcGePoint2d(box.min.x, box.max.y)},
       /*closed=*/true});
  return outline;
}

enum class BoxVerdict { kOutside, kInside, kUndecided };

// Opens each candidate for read and keeps those the tests take: `boxVerdict` on the
// extents box first, `takes` on the outline when the box does not decide.
template <typename BoxTest, typename OutlineTest>
std::vector<ZcDbObjectId> scan(const std::vector<ZcDbObjectId>& candidates, double chordTolerance,
                               BoxTest boxVerdict, OutlineTest takes) {
  std::vector<ZcDbObjectId> taken;
  for (const ZcDbObjectId& id : candidates) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    const PlanBox box = planBoxOf(*entity);
    const BoxVerdict verdict = box.known ? boxVerdict(box) : BoxVerdict::kUndecided;
    const bool take = verdict == BoxVerdict::kInside ||
                      (verdict == BoxVerdict::kUndecided && takes(entityOutline(*entity, chordTolerance)));
    entity->close();
    if (take) taken.push_back(id);
  }
  return taken;
}

}  // namespace

PickResult pickEntity(ZcDbDatabase& db, const ZcGePoint2d& point, double aperture, double chordTolerance) {
  return pickEntity(pickableIds(db), point, aperture, chordTolerance);
}

PickResult pickEntity(const std::vector<ZcDbObjectId>& candidates, const ZcGePoint2d& point, double aperture,
                      double chordTolerance) {
  PickResult best;
  if (!zcgeIsFinite(point) || !(aperture >= 0.0) || !std::isfinite(aperture) ||
      !isUsableTolerance(chordTolerance))
    return best;
  const double tie = kTieFraction * aperture;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (const ZcDbObjectId& id : candidates) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    const PlanBox box = planBoxOf(*entity);
    const bool near = !box.known || (point.x >= box.min.x - aperture && point.x <= box.max.x + aperture &&
                                     point.y >= box.min.y - aperture && point.y <= box.max.y + aperture);
    const double distance = near ? distanceTo(entityOutline(*entity, chordTolerance), point)
                                 : std::numeric_limits<double>::infinity();
    entity->close();
    if (!(distance <= aperture)) continue;
    // Later entities are drawn on top: at the same distance the later one wins.
    if (distance <= bestDistance + tie) {
      best.id = id;
      bestDistance = std::min(bestDistance, distance);
      best.distance = distance;
    }
  }
  return best;
}

std::vector<ZcDbObjectId> entitiesInWindow(ZcDbDatabase& db, const ZcGePoint2d& corner1,
                                           const ZcGePoint2d& corner2, WindowMode mode,
                                           double chordTolerance) {
  if (!zcgeIsFinite(corner1) || !zcgeIsFinite(corner2)) return {};
  const ZcGePoint2d min(std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y));
  const ZcGePoint2d max(std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y));
  return entitiesInWindow(pickableIdsNear(db, min, max), corner1, corner2, mode, chordTolerance);
}

std::vector<ZcDbObjectId> entitiesInWindow(const std::vector<ZcDbObjectId>& candidates,
                                           const ZcGePoint2d& corner1, const ZcGePoint2d& corner2,
                                           WindowMode mode, double chordTolerance) {
  if (!zcgeIsFinite(corner1) || !zcgeIsFinite(corner2) || !isUsableTolerance(chordTolerance)) return {};
  const ZcGePoint2d min(std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y));
  const ZcGePoint2d max(std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y));
  // A window must have an area; a crossing window may be flat (the extents of a straight
  // line drawn along an axis) and takes what touches that segment.
  if (mode == WindowMode::kWindow && (!(max.x > min.x) || !(max.y > min.y))) return {};
  const auto boxVerdict = [&](const PlanBox& box) {
    if (box.max.x < min.x || box.min.x > max.x || box.max.y < min.y || box.min.y > max.y)
      return BoxVerdict::kOutside;
    if (box.min.x >= min.x && box.max.x <= max.x && box.min.y >= min.y && box.max.y <= max.y)
      return BoxVerdict::kInside;
    return BoxVerdict::kUndecided;
  };
  if (mode == WindowMode::kWindow)
    return scan(candidates, chordTolerance, boxVerdict,
                [&](const EntityOutline& outline) { return insideWindow(outline, min, max); });
  return scan(candidates, chordTolerance, boxVerdict,
              [&](const EntityOutline& outline) { return crossesWindow(outline, min, max); });
}

std::vector<ZcDbObjectId> entitiesInPolygon(ZcDbDatabase& db, const std::vector<ZcGePoint2d>& polygon,
                                            WindowMode mode, double chordTolerance) {
  if (checkSelectionPolygon(polygon) != PolygonShape::kUsable) return {};
  ZcGePoint2d min = polygon.front(), max = polygon.front();
  for (const ZcGePoint2d& p : polygon) {
    min.set(std::min(min.x, p.x), std::min(min.y, p.y));
    max.set(std::max(max.x, p.x), std::max(max.y, p.y));
  }
  return entitiesInPolygon(pickableIdsNear(db, min, max), polygon, mode, chordTolerance);
}

std::vector<ZcDbObjectId> entitiesInPolygon(const std::vector<ZcDbObjectId>& candidates,
                                            const std::vector<ZcGePoint2d>& polygon, WindowMode mode,
                                            double chordTolerance) {
  if (checkSelectionPolygon(polygon) != PolygonShape::kUsable || !isUsableTolerance(chordTolerance))
    return {};
  ZcGePoint2d min = polygon.front(), max = polygon.front();
  for (const ZcGePoint2d& p : polygon) {
    min.set(std::min(min.x, p.x), std::min(min.y, p.y));
    max.set(std::max(max.x, p.x), std::max(max.y, p.y));
  }
  const auto boxVerdict = [&](const PlanBox& box) {
    if (box.max.x < min.x || box.min.x > max.x || box.max.y < min.y || box.min.y > max.y)
      return BoxVerdict::kOutside;
    // A box surrounding the polygon may still hold geometry that crosses it: only a box
    // wholly inside decides.
    return insidePolygon(boxOutline(box), polygon) ? BoxVerdict::kInside : BoxVerdict::kUndecided;
  };
  if (mode == WindowMode::kWindow)
    return scan(candidates, chordTolerance, boxVerdict,
                [&](const EntityOutline& outline) { return insidePolygon(outline, polygon); });
  return scan(candidates, chordTolerance, boxVerdict,
              [&](const EntityOutline& outline) { return crossesPolygon(outline, polygon); });
}

}  // namespace vtcad::editor
