#pragma once
// What the outline commands ask of the host's drawing commands: the boundary search at a point,
// the entities a host command added, and erasing through the host.
#include <cstddef>

#include "frame/Selection.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// The drawing's last entity (null in an empty drawing).
ZcDbObjectId lastEntity();
// The entities after `last` in drawing order, at most `limit` (all of them for a null `last`).
ObjectIdList entitiesAfter(ZcDbObjectId last, std::size_t limit);

// Runs the host's BOUNDARY at `point` (echo off) and answers the entities it made, in the
// order made: the outer boundary of the area around the point, then its islands.
ObjectIdList boundariesAt(const ZcGePoint3d& point);

// Erases the entities with the host's ERASE (echo off). Nothing for an empty list.
void eraseWithHost(const ObjectIdList& ids);

// The area a closed curve encloses; 0 for an entity that is not a curve or has none.
double enclosedArea(ZcDbObjectId id);

// Keeps the listed entities invisible while it lives and shows them again when it ends, on
// every path out of a command.
class HiddenWhileWorking {
 public:
  HiddenWhileWorking() = default;
  ~HiddenWhileWorking();
  HiddenWhileWorking(const HiddenWhileWorking&) = delete;
  HiddenWhileWorking& operator=(const HiddenWhileWorking&) = delete;

  ObjectIdList ids;
};

}  // namespace veltrace
