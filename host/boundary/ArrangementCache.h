#pragma once
// ArrangementCache: the arrangement of a space's visible curves, kept from one BOUNDARY to
// the next while the curves stay the same.
//
// A plug-in that offsets every room of a floor plan calls BOUNDARY once per room, and each
// call adds its polylines to the drawing. Those polylines lie on the edges of the arrangement
// they were made from (their vertices are its vertices, their segments its pieces), so
// adding them changes no face: they are left out of the comparison while their curves are
// exactly what they were made with. Everything else is compared by content: the curves are
// read again on every call (cheap next to intersecting them) and the arrangement is built
// again when they differ in any way (an entity moved, hidden, on a layer turned off, a
// boundary polyline edited, another drawing). Nothing depends on ids or addresses being
// reused correctly: what is compared is the geometry itself.
#include <memory>
#include <vector>

#include "boundary/Arrangement.h"
#include "boundary/DrawingCurves.h"

namespace vtcad::boundary {

class ArrangementCache {
 public:
  // The arrangement of the visible curves of `spaceId` (valid until the next call).
  const Arrangement& arrangementOf(ZcDbObjectId spaceId);
  // `id` (a polyline the caller made from a ring of the last arrangement answered) is
  // left out of later comparisons while its curves stay as they are now.
  void noteMade(ZcDbObjectId id);
  // Whether the last arrangementOf answered the arrangement it had already.
  bool lastWasReused() const { return reused_; }
  void clear();

 private:
  std::vector<PlanEdge> curves_;
  std::unique_ptr<Arrangement> arrangement_;
  EntityCurves made_;
  bool reused_ = false;
};

}  // namespace vtcad::boundary
