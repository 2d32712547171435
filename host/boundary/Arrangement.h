#pragma once
// Arrangement: the planar subdivision the plan-view curves of a drawing make, with its faces.
//
// Building it:
// 1. every pair of edges whose boxes meet is intersected in closed form (crossings, tangent
//    points, the ends of overlapping stretches, ends that stop within the tolerance of
//    another edge); each edge is cut at its hits;
// 2. points within the tolerance of each other become one vertex (the edges' own ends are
//    placed first, so a vertex sits on a drawn end point whenever there is one);
// 3. pieces that join the same two vertices along the same line or arc (overlapping curves
//    drawn twice) are kept once;
// 4. the pieces leaving each vertex are ordered counter-clockwise by their tangent (ties, as
//    at a point where an arc touches a line, by curvature), and the faces are walked: each
//    half-edge is followed by the one before its twin around the vertex it reaches, so a
//    bounded face runs counter-clockwise and the outline of a connected group of curves
//    (its outer side) clockwise;
// 5. pieces with the same face on both sides bound nothing (dangling ends, trees, bridges
//    between groups) and are removed, and the faces walked again.
//
// Then every clockwise outline (a group of curves seen from outside) is given to the face it
// lies in: the smallest counter-clockwise ring of another group around it. Those are the
// face's islands.
//
// The tolerance is a distance: about 1e-9 of the size of the curves' box (never below a
// few units of rounding of their largest coordinate).
#include <cstddef>
#include <vector>

#include "boundary/PlanEdge.h"
#include "boundary/Ring.h"

namespace vtcad::boundary {

class Arrangement {
 public:
  // Edges with non-finite numbers are left out.
  explicit Arrangement(const std::vector<PlanEdge>& edges);

  double tolerance() const { return tolerance_; }

  struct Face {
    // Counter-clockwise; consecutive pieces of one drawn line or arc joined into one segment.
    Ring ring;
    double area = 0.0;
    double lo[2] = {0.0, 0.0};
    double hi[2] = {0.0, 0.0};
    // Indices into outlines(): the groups of curves directly inside this face.
    std::vector<std::size_t> islands;
  };
  const std::vector<Face>& faces() const { return faces_; }
  // Outer outlines of the connected groups of curves, counter-clockwise (reversed from the
  // walk) so that every ring handed out runs the same way.
  const std::vector<Ring>& outlines() const { return outlines_; }

  // The smallest face around `point`, or -1 when no face holds it (outside every closed
  // group, or in a gap between groups that does not close).
  long faceAt(const ZcGePoint2d& point) const;

 private:
  double tolerance_ = 0.0;
  std::vector<Face> faces_;
  std::vector<Ring> outlines_;
};

}  // namespace vtcad::boundary
