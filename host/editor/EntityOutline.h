#pragma once
// EntityOutline: what an entity looks like in plan view, as 2-D polylines in world XY (z
// dropped), for the selection tests of the command line (picks, windows, fences).
//
// Each kind gives its drawn geometry:
// - curves (line, arc, circle, ellipse and elliptical arc, spline, helix, lightweight, 2-D
//   and 3-D polylines with their bulges): the curve, as a polygon whose chords stay within
//   `chordTolerance` of it (widths are ignored: the centre line is the outline);
// - point: the point (a part of one vertex);
// - text and mtext: their box, a closed rectangle that turns with the text, filled (a pick
//   between the letters or a crossing window inside the box takes the text);
// - block reference: the block's entities carried by the reference's transform, nested
//   references recursively (entities the block does not show are left out: invisible ones,
//   those on frozen or off layers other than "0");
// - hatch: its boundary loops, one closed part each (pattern lines are not generated); a
//   solid fill fills them (even-odd, so islands stay holes);
// - anything else: the XY rectangle of its extents.
//
// Bounded work: one outline holds at most `maxVertices` vertices in all (each entity visited
// inside a block costs at least one, so a block inserting blocks thousands of times cannot
// make the walk run away), and references nest at most `maxNesting` deep. A curve that would
// need more vertices than are left is drawn with fewer, longer chords (still all of it).
// When a limit leaves part of the entity out (the budget runs out inside a block, nesting
// goes deeper than the cap), the status is kTruncated: the parts are what was made, and the
// window tests do not take the entity as wholly inside (they cannot vouch for the rest).
// The entity's extents are not used for that: a block reference's extents walk the whole
// nesting with no budget.
//
// A curve that cannot be made a polygon (a circle of radius 0, an arc of no sweep) is its
// start point. Non-finite coordinates anywhere (an unreadable entity, a transform that
// overflows) give no outline at all (kNoGeometry): such an entity is never selected.
#include <cstddef>
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"

class ZcDbEntity;

namespace vtcad::editor {

struct OutlinePart {
  std::vector<ZcGePoint2d> points;
  // The last point joins the first (polygons: text boxes, closed polylines, hatch loops).
  bool closed = false;
  // 0: only the line is drawn. Closed parts that share a positive number together enclose
  // a filled area, by the even-odd rule (a text box; the loops of a solid hatch).
  int fillRegion = 0;
};

enum class OutlineStatus {
  kComplete,
  // A limit left part of the entity out: the parts hold what was made (perhaps nothing).
  kTruncated,
  // Nothing to select: no geometry, non-finite geometry, or a tolerance that is not a
  // finite positive number.
  kNoGeometry,
};

struct EntityOutline {
  std::vector<OutlinePart> parts;
  OutlineStatus status = OutlineStatus::kNoGeometry;

  std::size_t vertexCount() const;
};

struct OutlineLimits {
  std::size_t maxVertices = 1'000'000;
  int maxNesting = 16;
};

// `chordTolerance` in world units (about the size of a pixel). The entity must be open for
// read; the blocks of references are opened for read while the outline is made.
EntityOutline entityOutline(const ZcDbEntity& entity, double chordTolerance,
                            const OutlineLimits& limits = {});

}  // namespace vtcad::editor
