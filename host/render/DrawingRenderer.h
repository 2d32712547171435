#pragma once
// DrawingRenderer: a drawing's current space as a view shows it, drawn on a canvas.
//
// Each entity's pixels come from the view's own mapping (ViewTransform::pixelOf, as one affine
// Projection), so a pixel of the picture and zcedCoordFromPixelToWorld name the same point.
// Drawn: lines, arcs, circles, ellipses, splines, the three polyline kinds (3-D ones projected
// along the view direction), points (PDMODE, PDSIZE) and block references (nested, with their
// transforms; ByBlock colours come from the reference, entities on layer "0" take its layer).
// Left out: entities made invisible, entities on layers that are off or frozen, and entities
// whose box lies outside the picture (they cost the box test only).
//
// Colours: index 7 (and ByBlock outside any block) is the background's foreground: white on
// a dark background, black on a light one.
#include <unordered_set>

#include "editor/ViewTransform.h"
#include "render/Canvas.h"
#include "zcad/db/ZcDbObjectId.h"

class ZcDbDatabase;

namespace vtcad::render {

struct GridStyle {
  bool shown = false;
  double spacingX = 10.0;  // drawing units
  double spacingY = 10.0;
};

struct RenderOptions {
  Rgb background{0, 0, 0};
  GridStyle grid;
  // When set, only these entities of the current space are drawn (a selection's picture).
  const std::unordered_set<ZcDbObjectId>* only = nullptr;
};

struct RenderStats {
  long drawn = 0;   // entities drawn (block references count once, with what they hold)
  long culled = 0;  // entities left out by their box
};

// Paints the whole canvas: the background, the grid when shown, then the entities in their
// drawing order. A null drawing paints the background only.
RenderStats renderDrawing(ZcDbDatabase* db, const editor::ViewTransform& view, Canvas& canvas,
                          const RenderOptions& options);

}  // namespace vtcad::render
