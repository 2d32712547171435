#include "editor/SelectionIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "database/ZcDbDatabaseImpl.h"
#include "database/ZcDbStub.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"

namespace vtcad::editor {
namespace {

constexpr const char* kKeptName = "editor.selection-index";
// An entity spanning more cells than this is tried by every window instead (a long line
// across the whole drawing would otherwise fill thousands of cells).
constexpr std::int64_t kMaxCellsPerEntity = 64;
// A window over more cells than this (or than there are entities) walks the entities.
constexpr std::int64_t kMaxWindowCells = 1 << 16;
// Cell numbers are kept within this so that keys and counts cannot overflow.
constexpr double kCellLimit = 1 << 30;

struct Entry {
  Zdesk::UInt64 order = 0;
  bool present = false;
  bool inCells = false;
  bool known = false;  // has a usable plan box
  ZcGePoint2d min, max;
  int cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
};

bool overlaps(const Entry& e, const ZcGePoint2d& min, const ZcGePoint2d& max) {
  return !(e.max.x < min.x || e.min.x > max.x || e.max.y < min.y || e.min.y > max.y);
}

std::uint64_t cellKey(int cx, int cy) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) | static_cast<std::uint32_t>(cy);
}

class Index : public ZcDbDatabaseImpl::Derived {
 public:
  Index(ZcDbDatabaseImpl& impl, ZcDbObjectId space) : space_(space) { build(impl); }

  ZcDbObjectId space() const { return space_; }

  // Reads again what changed since the index last looked; false when the log does not reach
  // back that far (the caller builds a new index).
  bool catchUp(const ZcDbDatabaseImpl& impl) {
    if (consumed_ == impl.changes) return true;
    if (consumed_ < impl.changeLogStart) return false;
    for (std::size_t i = static_cast<std::size_t>(consumed_ - impl.changeLogStart); i < impl.changeLog.size();
         ++i)
      refresh(impl.changeLog[i]);
    consumed_ = impl.changes;
    return true;
  }

  std::vector<ZcDbObjectId> near(const ZcGePoint2d& min, const ZcGePoint2d& max) const {
    std::vector<const std::pair<ZcDbStub* const, Entry>*> found;
    for (ZcDbStub* stub : uncelled_) {
      const auto it = entries_.find(stub);
      if (it->second.present && (!it->second.known || overlaps(it->second, min, max))) found.push_back(&*it);
    }
    const int qx0 = cellOf(min.x, originX_), qy0 = cellOf(min.y, originY_);
    const int qx1 = cellOf(max.x, originX_), qy1 = cellOf(max.y, originY_);
    const std::int64_t windowCells = (std::int64_t{qx1} - qx0 + 1) * (std::int64_t{qy1} - qy0 + 1);
    if (windowCells > kMaxWindowCells || windowCells > static_cast<std::int64_t>(entries_.size())) {
      for (const auto& item : entries_)
        if (item.second.present && item.second.inCells && overlaps(item.second, min, max))
          found.push_back(&item);
    } else {
      for (int cx = qx0; cx <= qx1; ++cx) {
        for (int cy = qy0; cy <= qy1; ++cy) {
          const auto cell = cells_.find(cellKey(cx, cy));
          if (cell == cells_.end()) continue;
          for (ZcDbStub* stub : cell->second) {
            const auto it = entries_.find(stub);
            const Entry& e = it->second;
            // An entity in several cells is reported by one: the first of the window's.
            if (cx != std::max(e.cx0, qx0) || cy != std::max(e.cy0, qy0) || !overlaps(e, min, max)) continue;
            found.push_back(&*it);
          }
        }
      }
    }
    std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->second.order < b->second.order; });
    std::vector<ZcDbObjectId> ids;
    ids.reserve(found.size());
    for (const auto* item : found) ids.emplace_back(item->first);
    return ids;
  }

 private:
  int cellOf(double v, double origin) const {
    return static_cast<int>(std::clamp(std::floor((v - origin) / cellSize_), -kCellLimit, kCellLimit));
  }

  void build(ZcDbDatabaseImpl& impl) {
    consumed_ = impl.changes;
    std::vector<ZcDbObjectId> members;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, space_, ZcDb::kForRead) == Zcad::eOk) {
      members = record->entityIds();
      record->close();
    }
    // The cell size: about two entities' share of the area the boxes cover.
    struct Box {
      ZcDbStub* stub;
      Entry entry;
    };
    std::vector<Box> boxes;
    boxes.reserve(members.size());
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const ZcDbObjectId& id : members) {
      Entry e;
      if (!read(id.stub(), e)) continue;
      e.order = nextOrder_++;
      if (e.known) {
        x0 = std::min(x0, e.min.x);
        y0 = std::min(y0, e.min.y);
        x1 = std::max(x1, e.max.x);
        y1 = std::max(y1, e.max.y);
      }
      boxes.push_back({id.stub(), e});
    }
    if (x1 >= x0 && y1 >= y0) {
      const double area = std::max((x1 - x0) * (y1 - y0), 1e-300);
      const double side = std::max(x1 - x0, y1 - y0);
      cellSize_ = std::sqrt(2.0 * area / static_cast<double>(std::max<std::size_t>(boxes.size(), 1)));
      // Very thin drawings (all on one line) take their size from their length.
      cellSize_ = std::max(cellSize_, side / static_cast<double>(std::max<std::size_t>(boxes.size(), 1)));
      if (!(cellSize_ > 0.0) || !std::isfinite(cellSize_)) cellSize_ = 1.0;
      originX_ = x0;
      originY_ = y0;
    }
    entries_.reserve(boxes.size());
    for (Box& box : boxes) place(box.stub, box.entry);
  }

  // The entity's state now: false when it is not a present entity of this space.
  bool read(ZcDbStub* stub, Entry& e) const {
    const ZcDbObject* object = stub ? stub->live() : nullptr;
    const ZcDbEntity* entity = ZcDbEntity::cast(object);
    if (!entity || stub->erased || stub->owner != space_) return false;
    e.present = true;
    e.known = false;
    if (ZcDbBlockReference::cast(entity)) return true;
    ZcDbExtents extents;
    if (entity->getGeomExtents(extents) != Zcad::eOk || extents.isEmpty()) return true;
    e.min = extents.minPoint().convert2d();
    e.max = extents.maxPoint().convert2d();
    e.known = zcgeIsFinite(e.min) && zcgeIsFinite(e.max);
    return true;
  }

  void place(ZcDbStub* stub, Entry e) {
    e.inCells = false;
    if (e.known) {
      e.cx0 = cellOf(e.min.x, originX_);
      e.cy0 = cellOf(e.min.y, originY_);
      e.cx1 = cellOf(e.max.x, originX_);
      e.cy1 = cellOf(e.max.y, originY_);
      e.inCells = (std::int64_t{e.cx1} - e.cx0 + 1) * (std::int64_t{e.cy1} - e.cy0 + 1) <= kMaxCellsPerEntity;
    }
    if (e.inCells) {
      for (int cx = e.cx0; cx <= e.cx1; ++cx)
        for (int cy = e.cy0; cy <= e.cy1; ++cy) cells_[cellKey(cx, cy)].push_back(stub);
    } else {
      uncelled_.push_back(stub);
    }
    entries_[stub] = e;
  }

  void unplace(ZcDbStub* stub, const Entry& e) {
    const auto drop = [stub](std::vector<ZcDbStub*>& list) {
      const auto it = std::find(list.begin(), list.end(), stub);
      if (it == list.end()) return;
      *it = list.back();
      list.pop_back();
    };
    if (e.inCells) {
      for (int cx = e.cx0; cx <= e.cx1; ++cx) {
        for (int cy = e.cy0; cy <= e.cy1; ++cy) {
          const auto cell = cells_.find(cellKey(cx, cy));
          if (cell == cells_.end()) continue;
          drop(cell->second);
          if (cell->second.empty()) cells_.erase(cell);
        }
      }
    } else {
      drop(uncelled_);
    }
  }

  void refresh(ZcDbStub* stub) {
    const auto it = entries_.find(stub);
    Entry now;
    const bool present = read(stub, now);
    if (it == entries_.end()) {
      if (!present) return;
      now.order = nextOrder_++;
      place(stub, now);
      return;
    }
    // An entity taken out (erased, undone) keeps its place in the drawing order for when it
    // comes back (unerase, redo).
    now.order = it->second.order;
    if (it->second.present) unplace(stub, it->second);
    if (present) {
      place(stub, now);
    } else {
      it->second.present = false;
      it->second.inCells = false;
    }
  }

  ZcDbObjectId space_;
  Zdesk::UInt64 consumed_ = 0;
  Zdesk::UInt64 nextOrder_ = 0;
  double cellSize_ = 1.0;
  double originX_ = 0.0, originY_ = 0.0;
  std::unordered_map<ZcDbStub*, Entry> entries_;
  std::unordered_map<std::uint64_t, std::vector<ZcDbStub*>> cells_;
  // Present entities without a box, or spanning too many cells.
  std::vector<ZcDbStub*> uncelled_;
};

}  // namespace

std::vector<ZcDbObjectId> entitiesNearWindow(ZcDbDatabase& db, ZcDbObjectId spaceId, const ZcGePoint2d& min,
                                             const ZcGePoint2d& max) {
  ZcDbDatabaseImpl* impl = ZcDbDatabaseImpl::of(&db);
  std::unique_ptr<ZcDbDatabaseImpl::Derived>& slot = impl->derived[kKeptName];
  auto* index = static_cast<Index*>(slot.get());
  if (!index || index->space() != spaceId || !index->catchUp(*impl)) {
    slot = std::make_unique<Index>(*impl, spaceId);
    index = static_cast<Index*>(slot.get());
  }
  return index->near(min, max);
}

}  // namespace vtcad::editor
