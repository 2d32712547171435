#pragma once
// EntityShapes: entities as the vector shapes of a picture file, in world coordinates (plan
// view: z is dropped by the caller): curves as polylines whose chords stay within a distance
// of the curve, texts and multiline texts as their glyph outlines (the same faces, sizes and
// places as the renderer and the extents use), block references through their blocks.
//
// Lines, arcs, circles, ellipses, splines and the three polyline kinds are curves; texts and
// multiline texts give filled contours. Hatches, points and entities of other kinds give nothing.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::commands {

struct ShapePath {
  std::vector<ZcGePoint3d> points;
  bool closed = false;
};

// Contours filled together by the non-zero winding rule (the glyphs of one text).
struct ShapeFill {
  std::vector<std::vector<ZcGePoint3d>> contours;
};

struct EntityShapes {
  std::vector<ShapePath> paths;
  std::vector<ShapeFill> fills;
  long entities = 0;  // entities that gave at least one shape
};

// The shapes of the entities, `chordTolerance` > 0 the largest distance between a chord and
// its curve. Entities that cannot be opened are left out.
EntityShapes shapesOfEntities(const std::vector<ZcDbObjectId>& ids, double chordTolerance);

}  // namespace vtcad::commands
