#pragma once
// The vertex optimiser on a plain array of world points, without the drawing: the
// straightening passes that drop middle vertices lying close to the line of their neighbours,
// and the merging of vertex clusters into their centroids. Every pass works in place, in one
// linear walk, and answers the new count; the points past it are left over.
#include <cstddef>
#include <vector>

#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

// Straightening stops after this many passes, however much the last one removed.
inline constexpr int kStraighteningPasses = 5;
// A middle vertex whose two legs make an angle below this (radians) is a hairpin turn: it is
// kept however close it lies to the line of its neighbours.
inline constexpr double kHairpinAngle = 0.1;

// The straightness threshold and the merge radius of one optimisation, both 0.001 * D * t
// (D: the diagonal of the selection's extents, t: the tolerance factor).
inline double optimizationThreshold(double extentsDiagonal, double toleranceFactor) {
  return 0.001 * extentsDiagonal * toleranceFactor;
}

// One pass over overlapping triples (p[2k], p[2k+1], p[2k+2]): the middle vertex is kept when
// the first vertex lies farther than `threshold` from the line through the middle one along
// the last leg, or when the triple is a hairpin; the outer vertices are always kept, and so is
// the last vertex of an even count, which no triple reaches. A middle vertex that coincides
// with a neighbour has no direction to judge and is dropped (its neighbour stays in its place).
// Counts of 2 or less are answered unchanged.
std::size_t straighteningPass(ZcGePoint3d* points, std::size_t count, double threshold);
// kStraighteningPasses passes, or fewer once 2 vertices or less are left.
std::size_t straightenVertices(ZcGePoint3d* points, std::size_t count, double threshold);
// Walks the list in groups: a group is a vertex and every following vertex closer than
// `radius` to it (measured from the group's first vertex, so a slow drift makes a new group),
// and gives its centroid. The last vertex is appended once more unchanged, so the last
// vertex of the result is always the last vertex given. An empty list stays empty.
std::size_t mergeVertexClusters(ZcGePoint3d* points, std::size_t count, double radius);

// Straightening, then (when more than one vertex is left) cluster merging, with the same
// threshold; the vector is cut to the result.
void optimizeVertexList(std::vector<ZcGePoint3d>& points, double threshold);

}  // namespace veltrace
