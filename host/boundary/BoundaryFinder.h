#pragma once
// BoundaryFinder: the boundary around a picked point, as BOUNDARY makes it: the outer ring
// of the face of the arrangement that holds the point and, with islands detected, the outer
// outline of each group of curves directly inside that face (islands inside islands are not
// the face's: they belong to the island's own faces). All rings run counter-clockwise; the
// outer ring comes first.
#include <vector>

#include "boundary/Arrangement.h"
#include "boundary/Ring.h"

namespace vtcad::boundary {

enum class IslandMode {
  kIgnore,  // the outer ring only
  kDetect,  // the outer ring, then the face's islands
};

struct BoundaryResult {
  enum class Status { kFound, kNotEnclosed };
  Status status = Status::kNotEnclosed;
  std::vector<Ring> rings;
};

BoundaryResult findBoundary(const Arrangement& arrangement, const ZcGePoint2d& point, IslandMode islands);
// Builds the arrangement of `curves` for one question.
BoundaryResult findBoundary(const std::vector<PlanEdge>& curves, const ZcGePoint2d& point,
                            IslandMode islands);

}  // namespace vtcad::boundary
