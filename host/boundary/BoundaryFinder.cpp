#include "boundary/BoundaryFinder.h"

namespace vtcad::boundary {

BoundaryResult findBoundary(const Arrangement& arrangement, const ZcGePoint2d& point, IslandMode islands) {
  BoundaryResult result;
  const long face = arrangement.faceAt(point);
  if (face < 0) return result;
  const Arrangement::Face& found = arrangement.faces()[static_cast<size_t>(face)];
  result.status = BoundaryResult::Status::kFound;
  result.rings.push_back(found.ring);
  if (islands == IslandMode::kDetect) {
    for (size_t island : found.islands) result.rings.push_back(arrangement.outlines()[island]);
  }
  return result;
}

BoundaryResult findBoundary(const std::vector<PlanEdge>& curves, const ZcGePoint2d& point,
                            IslandMode islands) {
  return findBoundary(Arrangement(curves), point, islands);
}

}  // namespace vtcad::boundary
