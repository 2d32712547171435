#pragma once
// PlanEdge: one piece of a drawing's curves in plan view (world XY, z dropped), the unit the
// boundary arrangement is built from: a straight segment (bulge 0) or a circular arc of at
// most half a turn (|bulge| <= 1, positive counter-clockwise). Curves that are neither
// (ellipses, splines, tilted arcs) arrive as chains of straight segments.
#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::boundary {

struct PlanEdge {
  ZcGePoint2d start;
  ZcGePoint2d end;
  double bulge = 0.0;

  bool operator==(const PlanEdge& other) const = default;
};

}  // namespace vtcad::boundary
