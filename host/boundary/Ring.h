#pragma once
// Ring: a closed loop of bulge segments (the vertices of a closed lightweight polyline), the
// shape a boundary is handed out in. Vertex i's bulge belongs to the segment from vertex i to
// vertex i + 1 (the last one closes back to the first).
//
// Area and containment are exact for the arcs: the loop is its chord polygon plus, for each
// arc, the circular segment between chord and arc (added for counter-clockwise arcs,
// taken away for clockwise ones).
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::boundary {

struct RingVertex {
  ZcGePoint2d point;
  double bulge = 0.0;
};

struct Ring {
  std::vector<RingVertex> vertices;

  // Signed area: positive when the ring runs counter-clockwise.
  double signedArea() const;
  // Winding number of the ring around `point` (0 outside). A point on the ring itself gets
  // whichever side rounding gives it.
  int winding(const ZcGePoint2d& point) const;
  bool contains(const ZcGePoint2d& point) const { return winding(point) != 0; }
  // The same loop run the other way round.
  Ring reversed() const;
};

}  // namespace vtcad::boundary
