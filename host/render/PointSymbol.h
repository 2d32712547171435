#pragma once
// PointSymbol: how a point entity looks (PDMODE) and how large (PDSIZE).
//
// PDMODE: 0 a dot, 1 nothing, 2 a plus, 3 a cross, 4 a tick upwards; plus 32 a circle around
// it, plus 64 a square. PDSIZE: 0 is 5 % of the view's height, a negative value that
// percentage of the view's height, a positive one a size in drawing units.
#include "render/Canvas.h"

namespace vtcad::render {

// The symbol's size in pixels for a view `viewHeightPx` pixels high and `pixelsPerUnit`.
double pointSymbolSize(double pdsize, double viewHeightPx, double pixelsPerUnit);

// Draws the symbol centred on `at` with the current pen.
void paintPointSymbol(Canvas& canvas, const ZcGePoint2d& at, int pdmode, double sizePx);

}  // namespace vtcad::render
