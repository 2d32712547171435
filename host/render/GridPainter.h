#pragma once
// GridPainter: the drawing grid (GRIDMODE, GRIDUNIT) as dots at the grid's points. A grid
// whose points would be fewer than kMinSpacing pixels apart is not drawn: it would only grey
// the picture over.
#include "editor/ViewTransform.h"
#include "render/Canvas.h"
#include "render/DrawingRenderer.h"

namespace vtcad::render {

inline constexpr double kMinGridSpacing = 5.0;

void paintGrid(Canvas& canvas, const editor::ViewTransform& view, const GridStyle& grid, Rgb color);

}  // namespace vtcad::render
